#include "app/terminal_pane.h"

#include "core/fonts.h"

#include <QtCore/QEvent>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>

TerminalPane::TerminalPane(QWidget *parent)
    : QObject(parent), Label1(new QLabel(QStringLiteral("Terminal window"), parent)),
      Text1(new QPlainTextEdit(parent))
{
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(VarloFont(QStringLiteral("Small Fonts"), 6.75));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFont(VarloFont(QStringLiteral("Small Fonts"), 6.75));
    Text1->setBackgroundRole(QPalette::Button);
    Text1->viewport()->installEventFilter(this);
}

void TerminalPane::setText(const QString &text)
{
    echo_ = text;
    if (!held_)
        Text1->setPlainText(text);
}

void TerminalPane::placeCaret(int position)
{
    if (held_)
        return;
    QTextCursor cursor = Text1->textCursor();
    const int end = int(Text1->document()->characterCount()) - 1;
    const int at = std::min(position, end);
    cursor.setPosition(at);
    cursor.setPosition(std::min(at + 1, end), QTextCursor::KeepAnchor);
    Text1->setTextCursor(cursor);
    Text1->ensureCursorVisible();
}

void TerminalPane::hold(const QString &lines, const QFont &font)
{
    held_ = true;
    Text1->clear();
    Text1->setFont(font);
    Text1->setPlainText(lines);
}

void TerminalPane::release(const QFont &font)
{
    held_ = false;
    Text1->setFont(font);
    Text1->clear();
}

void TerminalPane::Text1_DblClick()
{
    echo_.clear();
    Text1->clear();
}

bool TerminalPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Text1_DblClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
