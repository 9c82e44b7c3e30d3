#include "app/serial_entry.h"

#include "app/fonts.h"
#include "app/rounded_outline.h"
#include "print/channel_report.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>

SerialEntry::SerialEntry(QWidget *parent)
    : QObject(parent), panel_(new QWidget(parent)),
      label_(new QLabel(QStringLiteral("Please Enter Serial No:"), panel_)), entry_(new QPlainTextEdit(panel_))
{
    panel_->setObjectName(QStringLiteral("Picture2"));
    panel_->setFixedSize(113, 41);
    auto *shape = new RoundedOutline(panel_);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(0, 0, 113, 41);

    label_->setObjectName(QStringLiteral("Label5"));
    label_->setFont(varloFont(QStringLiteral("Small Fonts"), 6.75));
    label_->setGeometry(6, 3, 101, 13);

    entry_->setObjectName(QStringLiteral("Text3"));
    entry_->setFont(varloFont(QStringLiteral("Courier New"), 8.25));
    entry_->setGeometry(6, 16, 101, 20);
    entry_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    entry_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(entry_, &QPlainTextEdit::textChanged, this, &SerialEntry::onTextChanged);
    // Enter in the box, and a double-click on the box, its label or the panel.
    const QList<QObject *> watched{entry_, entry_->viewport(), label_, panel_};
    for (QObject *object : watched)
        object->installEventFilter(this);
    panel_->hide();
}

bool SerialEntry::isOpen() const
{
    return !panel_->isHidden();
}

void SerialEntry::open()
{
    panel_->show();
    panel_->raise();
    filling_ = true;
    entry_->setPlainText(serialNo_);
    filling_ = false;
    entry_->setFocus();
    entry_->moveCursor(QTextCursor::End);
}

void SerialEntry::close()
{
    panel_->hide();
}

void SerialEntry::onTextChanged()
{
    if (!filling_ && entryIsComplete(entry_->toPlainText()))
        complete();
}

void SerialEntry::complete()
{
    if (!isOpen())
        return;
    serialNo_ = serialNumberFromEntry(entry_->toPlainText());
    panel_->hide();
    emit completed(serialNo_);
}

bool SerialEntry::eventFilter(QObject *watched, QEvent *event)
{
    const bool enter = watched == entry_ && event->type() == QEvent::KeyPress
        && (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return
            || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Enter);
    if (!enter && event->type() != QEvent::MouseButtonDblClick)
        return QObject::eventFilter(watched, event);
    complete();
    return true;
}
