#pragma once

#include "core/timing.h"

#include <QtCore/QList>
#include <QtCore/QObject>

class NoticeLine;
class QAction;
class QLabel;
class QTimer;
class QWidget;

// Which word the progress animation shows.
enum class TransferMode { Idle, Upload, Download, Verify };

// What the window shows while a transfer runs: the "DOWNLOADING" / "UPLOADING" / "VERIFYING"
// animation in the notice line, the EEPROM countdown with its counter, and the lock of the
// transfer commands.
class TransferProgress : public QObject {
    Q_OBJECT
public:
    // The counter is made in parent.
    TransferProgress(QWidget *parent, const Timing &timing, NoticeLine &noticeLine);

    [[nodiscard]] QLabel *counter() const { return counter_; }
    [[nodiscard]] QTimer *animationTimer() const { return animationTimer_; }

    void setTransferMode(TransferMode mode) { transferMode_ = mode; }

    // The commands locked during a transfer: the upload and download buttons and menu items,
    // and Verify Radio.
    void setLockedCommands(QList<QAction *> commands) { locked_ = std::move(commands); }

    void advanceAnimation();
    void countDown();
    void endEepromCountdown();
    void enableTransferCommands(bool enable);
    void startAnimation();
    void stopAnimation();
    // The animation stopped and the notice line hidden, before and after a command.
    void quieten();
    void startEepromCountdown(qint16 seconds);

signals:
    // The lock of the transfer commands was set (false) or lifted (true).
    void transferCommandsEnabled(bool enabled);

private:
    NoticeLine &noticeLine_;
    QLabel *counter_;
    QTimer *animationTimer_;
    QTimer *countdownTimer_;
    QList<QAction *> locked_;
    TransferMode transferMode_ = TransferMode::Idle;
    // Kept between transfers: a new one goes on from where the last one stopped.
    qint16 dotPhase_ = 0;
    qint16 eepromSeconds_ = 0;
    qint32 eepromTicks_ = 0;
};
