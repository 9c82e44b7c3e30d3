#pragma once

#include "core/timing.h"

#include <QtCore/QList>
#include <QtCore/QObject>

class QAction;
class QLabel;
class QTimer;
class QWidget;

// What the window shows while a transfer runs: the "DOWNLOADING" / "UPLOADING" animation
// (TimerFL), the EEPROM countdown (Timer1, Label4) and the lock of the transfer commands.
class TransferProgress : public QObject {
    Q_OBJECT
public:
    // notice is the notice line Label3, heading the table's heading Label9.
    TransferProgress(QWidget *window, const Timing &timing, QLabel *notice, QLabel *heading);

    [[nodiscard]] QLabel *counter() const { return Label4; }
    [[nodiscard]] QTimer *animationTimer() const { return TimerFL; }
    [[nodiscard]] QTimer *countdownTimer() const { return Timer1; }

    // 0 idle, 1 upload, 2 download: chooses the animation's word.
    qint16 TransferMode = 0;
    // Kept between transfers: a new one goes on from where the last one stopped.
    qint16 DotPhase = 0;
    qint16 EepromSeconds = 0;
    qint32 EepromTicks = 0;

    // The commands locked during a transfer: the upload and download buttons and menu items.
    void setLockedCommands(QList<QAction *> commands) { locked_ = std::move(commands); }

    void TimerFL_Timer();
    void Timer1_Timer();
    void EndEepromCountdown();
    void EnableTransferCommands(bool enable);
    void startAnimation();
    void stopAnimation();
    void startEepromCountdown(qint16 seconds);

private:
    QLabel *Label3;
    QLabel *Label9;
    QLabel *Label4;
    QTimer *TimerFL;
    QTimer *Timer1;
    QList<QAction *> locked_;
};
