#include "app/terminal_pane.h"

#include "app/fonts.h"

#include <QtCore/QEvent>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>

#include <climits>
#include <utility>

namespace {

// Far beyond any echo: the pane cuts it to its end, so the newest text is in view.
constexpr int kCaretAtEnd = 10000;
constexpr int kCaretFarEnd = 40000;
const QString kLineBreaks = QStringLiteral("\r\n\r\n");

} // namespace

TerminalPane::TerminalPane(QWidget *parent)
    : QObject(parent), caption_(new QLabel(QStringLiteral("Terminal window"), parent)),
      pane_(new QPlainTextEdit(parent))
{
    caption_->setObjectName(QStringLiteral("Label1"));
    caption_->setFont(varloFont(QStringLiteral("Small Fonts"), 6.75));
    pane_->setObjectName(QStringLiteral("Text1"));
    pane_->setReadOnly(true);
    pane_->setFont(varloFont(QStringLiteral("Small Fonts"), 6.75));
    pane_->setBackgroundRole(QPalette::Button);
    pane_->viewport()->installEventFilter(this);
}

void TerminalPane::setText(const QString &text)
{
    echo_ = text;
    if (held_)
        echoedWhileHeld_ = true;
    else
        pane_->setPlainText(text);
}

// The listing and the prompts keep their newest text in view; what comes while the radio
// stores or returns to its menu shows from its start; the end of a dialogue goes to the far end.
void TerminalPane::showEcho(Echo stage, const QString &answer)
{
    switch (stage) {
    case Echo::Listing:
    case Echo::Prompt:
        setText(answer);
        placeCaret(kCaretAtEnd);
        break;
    case Echo::StoreQuestion:
        setText(echo_ + answer);
        placeCaret(kCaretAtEnd);
        break;
    case Echo::Storing:
    case Echo::Returning:
        setText(answer);
        break;
    case Echo::Stored:
        setText(echo_ + kLineBreaks);
        placeCaret(kCaretFarEnd);
        break;
    case Echo::Returned:
        placeCaret(kCaretFarEnd);
        break;
    }
}

void TerminalPane::placeCaret(int position)
{
    if (held_)
        return;
    QTextCursor cursor = pane_->textCursor();
    const int end = int(pane_->document()->characterCount()) - 1;
    const int at = std::min(position, end);
    cursor.setPosition(at);
    cursor.setPosition(std::min(at + 1, end), QTextCursor::KeepAnchor);
    pane_->setTextCursor(cursor);
    pane_->ensureCursorVisible();
}

void TerminalPane::addLine(const QString &line)
{
    QString text = echo_;
    // The radio's last line may lack its break.
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += QStringLiteral("\r\n");
    setText(text + line + QStringLiteral("\r\n"));
    placeCaret(INT_MAX);
}

void TerminalPane::hold(const QString &lines, const QFont &font)
{
    held_ = true;
    pane_->clear();
    pane_->setFont(font);
    pane_->setPlainText(lines);
}

void TerminalPane::release(const QFont &font)
{
    held_ = false;
    pane_->setFont(font);
    pane_->clear();
    // A transfer that wrote while the notice held the pane may write nothing more.
    if (std::exchange(echoedWhileHeld_, false)) {
        pane_->setPlainText(echo_);
        placeCaret(INT_MAX);
    }
}

void TerminalPane::clearOnDoubleClick()
{
    echo_.clear();
    pane_->clear();
}

bool TerminalPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == pane_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        clearOnDoubleClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
