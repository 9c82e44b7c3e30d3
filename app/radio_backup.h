#pragma once

#include "link/exchange.h"

#include <QtCore/QString>
#include <qcoro/qcorotask.h>

#include <functional>

class PortChoice;
class TerminalPane;

// Keeps what a radio held before the window's download overwrites it: the listed channels,
// as the radio listed them, in a new channel file of the backups folder.
class RadioBackup {
public:
    // Shows a message box and returns when it has been dismissed.
    using ShowMessage = std::function<QCoro::Task<>(QString)>;

    // Becomes the download's listing check.
    RadioBackup(RadioExchange &download, const PortChoice &ports, TerminalPane &terminal, ShowMessage showMessage);

    // The backups folder of this user; made when missing.
    static QString folder();

    // The download goes on once the backup is written; if it cannot be, the box says why and
    // the radio is sent nothing more.
    QCoro::Task<ListingVerdict> keep(QString listing, TransceiverType type);
    // Names in the terminal pane the backup written since the last call, if any. The pane is
    // emptied while the channels are written, so this comes once the download has ended.
    void nameBackup();

private:
    const PortChoice &ports_;
    TerminalPane &terminal_;
    ShowMessage showMessage_;
    QString written_;
};
