#pragma once

#include "cli/channel_check.h"
#include "cli/cli_view.h"
#include "cli/console.h"
#include "cli/options.h"
#include "core/timing.h"
#include "link/exchange.h"

#include <QtCore/QStringList>
#include <qcoro/qcorotask.h>

#include <optional>

class SerialLink;

enum ExitStatus {
    kDone = 0,
    kUsage = 1,
    kFileProblem = 2,
    kPortProblem = 3,
    kRadioProblem = 4,
    kChannelsDiffer = 5,
};

// One read, write or verify run of the tool against the radio on the link.
class CliSession {
public:
    CliSession(const CliOptions &options, SerialLink &link, TimeSource &time, Timing timing, Console &console,
               QString settingsPath);

    // The exit status, after saying what went wrong.
    QCoro::Task<int> run();
    // A stop signal arrived: nothing more is sent or said, the port is closed now, and the run
    // ends here with exitStatus.
    void interrupt(int exitStatus);

private:
    struct RadioChannels {
        std::optional<int> failureStatus;
        QStringList rows; // empty where a record could not be read
    };

    QCoro::Task<int> read();
    QCoro::Task<int> write();
    QCoro::Task<int> verify();
    QCoro::Task<int> compareWithRadio(const QStringList &file);
    QCoro::Task<RadioChannels> readRadio();
    std::optional<CheckedChannels> checkedFile();
    std::optional<int> failureStatus();
    QCoro::Task<ListingVerdict> keepBackup(QString listing);
    bool save(const QString &path, const QStringList &frequencies);
    [[nodiscard]] TransceiverType type() const;
    [[nodiscard]] int channelCount() const { return channelCountFor(type()); }

    CliOptions options_;
    SerialLink &link_;
    Console &console_;
    QString settingsPath_;
    CliView view_;
    RadioExchange exchange_;
    // Why the backup stopped the write before it began.
    std::optional<int> backupRefusal_;
    bool transferring_ = false;
    std::optional<int> interruptStatus_;
};
