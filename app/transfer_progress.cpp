#include "app/transfer_progress.h"

#include "app/fonts.h"
#include "app/notice_line.h"

#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtWidgets/QLabel>

namespace {

// Points after the word, by phase: none, one, two, then three for three ticks.
QString animationCaption(const QString &word, qint16 phase)
{
    static constexpr int kPoints[] = {0, 1, 2, 3, 3, 3};
    const int points = phase >= 0 && phase <= 5 ? kPoints[phase] : 0;
    return word + QString(points, u'.');
}

qint16 nextPhase(qint16 phase)
{
    return phase >= 0 && phase <= 5 ? qint16(phase + 1) : qint16(0);
}

} // namespace

TransferProgress::TransferProgress(QWidget *parent, const Timing &timing, NoticeLine &noticeLine)
    : QObject(parent), noticeLine_(noticeLine), counter_(new QLabel(parent)), animationTimer_(new QTimer(this)),
      countdownTimer_(new QTimer(this))
{
    counter_->setObjectName(QStringLiteral("Label4"));
    counter_->setFont(varloFont(QStringLiteral("Small Fonts"), 6.75));
    counter_->hide();
    animationTimer_->setObjectName(QStringLiteral("TimerFL"));
    animationTimer_->setInterval(timing.animation);
    countdownTimer_->setObjectName(QStringLiteral("Timer1"));
    countdownTimer_->setTimerType(Qt::PreciseTimer); // counts seconds the user reads as such
    countdownTimer_->setInterval(timing.countdownTick);
    connect(animationTimer_, &QTimer::timeout, this, &TransferProgress::advanceAnimation);
    connect(countdownTimer_, &QTimer::timeout, this, &TransferProgress::countDown);
}

void TransferProgress::advanceAnimation()
{
    QString word;
    switch (transferMode_) {
    case TransferMode::Download:
        word = QStringLiteral("DOWNLOADING");
        break;
    case TransferMode::Upload:
        word = QStringLiteral("UPLOADING");
        break;
    case TransferMode::Verify:
        word = QStringLiteral("VERIFYING");
        break;
    case TransferMode::Idle:
        return;
    }
    noticeLine_.showProgress(animationCaption(word, dotPhase_));
    dotPhase_ = nextPhase(dotPhase_);
}

void TransferProgress::countDown()
{
    animationTimer_->stop();
    ++eepromTicks_;
    counter_->setText(QString::number(eepromTicks_));
    counter_->show();
    noticeLine_.showEepromCountdown(eepromTicks_);
    if (eepromTicks_ == eepromSeconds_)
        endEepromCountdown();
}

void TransferProgress::endEepromCountdown()
{
    countdownTimer_->stop();
    counter_->clear();
    noticeLine_.uncoverHeading();
    eepromTicks_ = 0;
}

void TransferProgress::enableTransferCommands(bool enable)
{
    for (QAction *command : std::as_const(locked_))
        command->setEnabled(enable);
    emit transferCommandsEnabled(enable);
}

void TransferProgress::startAnimation()
{
    animationTimer_->start();
}

void TransferProgress::stopAnimation()
{
    animationTimer_->stop();
}

void TransferProgress::quieten()
{
    animationTimer_->stop();
    noticeLine_.hide();
}

void TransferProgress::startEepromCountdown(qint16 seconds)
{
    eepromSeconds_ = seconds;
    countdownTimer_->start();
}
