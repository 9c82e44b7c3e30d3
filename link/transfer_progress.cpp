#include "link/transfer_progress.h"

#include "core/fonts.h"

#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtWidgets/QLabel>

namespace {

const QString kWrongFrequency = QStringLiteral("Wrong Frequency!");

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

TransferProgress::TransferProgress(QWidget *window, const Timing &timing, QLabel *notice, QLabel *heading)
    : QObject(window), Label3(notice), Label9(heading), Label4(new QLabel(window)),
      TimerFL(new QTimer(this)), Timer1(new QTimer(this))
{
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(VarloFont(QStringLiteral("Small Fonts"), 6.75));
    Label4->hide();
    TimerFL->setObjectName(QStringLiteral("TimerFL"));
    TimerFL->setInterval(timing.animation);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer); // counts seconds the user reads as such
    Timer1->setInterval(timing.countdownTick);
    connect(TimerFL, &QTimer::timeout, this, &TransferProgress::TimerFL_Timer);
    connect(Timer1, &QTimer::timeout, this, &TransferProgress::Timer1_Timer);
}

void TransferProgress::TimerFL_Timer()
{
    QString word;
    if (TransferMode == 2)
        word = QStringLiteral("DOWNLOADING");
    else if (TransferMode == 1)
        word = QStringLiteral("UPLOADING");
    else
        return;
    Label3->show();
    Label3->setText(animationCaption(word, DotPhase));
    DotPhase = nextPhase(DotPhase);
}

void TransferProgress::Timer1_Timer()
{
    TimerFL->stop();
    ++EepromTicks;
    Label4->setText(QString::number(EepromTicks));
    Label4->show();
    Label3->show();
    Label9->hide();
    Label3->setText(QStringLiteral("WRITING EEPROM... %1 sec").arg(EepromTicks));
    if (EepromTicks == EepromSeconds)
        EndEepromCountdown();
}

void TransferProgress::EndEepromCountdown()
{
    Timer1->stop();
    Label4->clear();
    Label3->hide();
    Label9->show();
    Label3->setText(kWrongFrequency);
    EepromTicks = 0;
}

void TransferProgress::EnableTransferCommands(bool enable)
{
    for (QAction *command : std::as_const(locked_))
        command->setEnabled(enable);
}

void TransferProgress::startAnimation()
{
    TimerFL->start();
}

void TransferProgress::stopAnimation()
{
    TimerFL->stop();
}

void TransferProgress::startEepromCountdown(qint16 seconds)
{
    EepromSeconds = seconds;
    Timer1->start();
}
