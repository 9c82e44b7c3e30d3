#include "app/notice_line.h"

#include "app/fonts.h"

#include <QtWidgets/QLabel>

namespace {

const QString kWrongFrequency = QStringLiteral("Wrong Frequency!");

} // namespace

NoticeLine::NoticeLine(QWidget *parent, QWidget *heading)
    : label_(new QLabel(kWrongFrequency, parent)), heading_(heading)
{
    label_->setObjectName(QStringLiteral("Label3"));
    label_->setFont(varloFont(QStringLiteral("Arial"), 11.25, true));
    label_->setForegroundRole(QPalette::WindowText);
    label_->hide();
}

void NoticeLine::showWrongFrequency()
{
    showCoveringHeading(kWrongFrequency);
}

void NoticeLine::showNotice(const QString &text)
{
    label_->setText(text);
    notNoticePalette_ = label_->palette();
    QPalette menuText = notNoticePalette_;
    menuText.setColor(QPalette::WindowText, notNoticePalette_.color(QPalette::ButtonText));
    label_->setPalette(menuText);
    label_->show();
}

void NoticeLine::endNotice()
{
    label_->clear();
    label_->hide();
    label_->setPalette(notNoticePalette_);
}

void NoticeLine::showProgress(const QString &caption)
{
    label_->show();
    label_->setText(caption);
}

void NoticeLine::showEepromCountdown(int seconds)
{
    showCoveringHeading(QStringLiteral("WRITING EEPROM... %1 sec").arg(seconds));
}

void NoticeLine::hide()
{
    label_->hide();
}

void NoticeLine::uncoverHeading()
{
    label_->hide();
    heading_->show();
    label_->setText(kWrongFrequency);
}

void NoticeLine::showCoveringHeading(const QString &text)
{
    label_->setText(text);
    label_->show();
    heading_->hide();
}
