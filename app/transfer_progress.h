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

    [[nodiscard]] QLabel *counter() const { return counter_; }
    [[nodiscard]] QTimer *animationTimer() const { return animationTimer_; }
    [[nodiscard]] QTimer *countdownTimer() const { return countdownTimer_; }

    // 0 idle, 1 upload, 2 download: chooses the animation's word.
    [[nodiscard]] qint16 transferMode() const { return transferMode_; }
    void setTransferMode(qint16 mode) { transferMode_ = mode; }
    [[nodiscard]] qint16 dotPhase() const { return dotPhase_; }
    [[nodiscard]] qint32 eepromTicks() const { return eepromTicks_; }

    // The commands locked during a transfer: the upload and download buttons and menu items.
    void setLockedCommands(QList<QAction *> commands) { locked_ = std::move(commands); }

    void advanceAnimation();
    void countDown();
    void endEepromCountdown();
    void enableTransferCommands(bool enable);
    void startAnimation();
    void stopAnimation();
    void startEepromCountdown(qint16 seconds);

private:
    QLabel *noticeLine_;
    QLabel *heading_;
    QLabel *counter_;
    QTimer *animationTimer_;
    QTimer *countdownTimer_;
    QList<QAction *> locked_;
    qint16 transferMode_ = 0;
    // Kept between transfers: a new one goes on from where the last one stopped.
    qint16 dotPhase_ = 0;
    qint16 eepromSeconds_ = 0;
    qint32 eepromTicks_ = 0;
};
