#include "cli/cli_session.h"

#include "files/channel_file.h"
#include "link/exchange_listing.h"
#include "link/serial_link.h"

namespace {

QString numbered(const QList<int> &rows)
{
    QStringList numbers;
    for (const int row : rows)
        numbers << QString::number(row);
    return numbers.join(QStringLiteral(", "));
}

QList<int> unreadRows(const QStringList &rows)
{
    QList<int> missing;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].isEmpty())
            missing << int(i + 1);
    }
    return missing;
}

} // namespace

CliSession::CliSession(const CliOptions &options, SerialLink &link, TimeSource &time, Timing timing, Console &console,
                       QString settingsPath)
    : options_(options), link_(link), console_(console), settingsPath_(std::move(settingsPath)),
      view_(console, time, options.port.value_or(1), type()), exchange_(link, view_, time, timing)
{
}

QCoro::Task<int> CliSession::run()
{
    if (interruptStatus_)
        co_return *interruptStatus_;
    if (options_.command == CommandKind::Read)
        co_return co_await read();
    if (options_.command == CommandKind::Write)
        co_return co_await write();
    if (options_.command == CommandKind::Verify)
        co_return co_await verify();
    co_return kUsage;
}

// The exchange ends before the port closes, so it neither sends nor says anything more.
void CliSession::interrupt(int exitStatus)
{
    interruptStatus_ = exitStatus;
    const bool transferring = transferring_;
    if (transferring)
        console_.report(view_.portName()
                        + (options_.command == CommandKind::Write
                               ? QStringLiteral(": interrupted; the radio may hold part of the new channels: "
                                                "power it off and on and write it again")
                               : QStringLiteral(": interrupted")));
    console_.mute();
    exchange_.lifetime().end();
    if (transferring)
        link_.close();
}

QCoro::Task<int> CliSession::read()
{
    const RadioChannels radio = co_await readRadio();
    if (radio.failureStatus)
        co_return *radio.failureStatus;
    if (const QList<int> missing = unreadRows(radio.rows); !missing.isEmpty()) {
        console_.report(view_.portName() + QStringLiteral(": channels not read: ") + numbered(missing));
        co_return kRadioProblem;
    }
    co_return save(options_.file, radio.rows) ? kDone : kFileProblem;
}

QCoro::Task<int> CliSession::write()
{
    const auto checked = checkedFile();
    if (!checked)
        co_return kFileProblem;
    view_.setRows(checked->frequencies);
    backupRefusal_.reset();
    if (!options_.backup.isEmpty())
        exchange_.setListingCheck([this](QString listing, TransceiverType) { return keepBackup(std::move(listing)); });
    transferring_ = true;
    co_await exchange_.downloadToRadio();
    transferring_ = false;
    if (const auto status = failureStatus())
        co_return *status;
    if (backupRefusal_)
        co_return *backupRefusal_;
    for (const QString &note : view_.notes())
        console_.report(view_.portName() + QStringLiteral(": ") + note);
    if (!options_.verify)
        co_return kDone;
    co_return co_await compareWithRadio(checked->frequencies);
}

QCoro::Task<int> CliSession::verify()
{
    const auto checked = checkedFile();
    if (!checked)
        co_return kFileProblem;
    co_return co_await compareWithRadio(checked->frequencies);
}

QCoro::Task<int> CliSession::compareWithRadio(const QStringList &file)
{
    const RadioChannels radio = co_await readRadio();
    if (radio.failureStatus)
        co_return *radio.failureStatus;
    const QStringList differences = channelDifferences(radio.rows, file);
    for (const QString &line : differences)
        console_.printLine(line);
    if (differences.isEmpty())
        console_.printLine(channelsMatch(channelCount()));
    co_return differences.isEmpty() ? kDone : kChannelsDiffer;
}

QCoro::Task<CliSession::RadioChannels> CliSession::readRadio()
{
    view_.setRows({});
    transferring_ = true;
    co_await exchange_.uploadFromRadio();
    transferring_ = false;
    co_return RadioChannels{failureStatus(), view_.rowsRead()};
}

// Nothing, with the reason said, when the file cannot be read or holds an invalid line.
std::optional<CheckedChannels> CliSession::checkedFile()
{
    const auto text = readChannelFileText(options_.file);
    if (!text.failure.isEmpty()) {
        console_.report(openFailure(options_.file, text.failure));
        return std::nullopt;
    }
    CheckedChannels checked = checkChannelFile(options_.file, text.bytes, channelCount());
    if (!checked.error.isEmpty()) {
        console_.report(checked.error);
        return std::nullopt;
    }
    if (!checked.warning.isEmpty())
        console_.report(checked.warning);
    return checked;
}

// The status of a transfer that ended early: interrupted, or failed, which is said.
std::optional<int> CliSession::failureStatus()
{
    if (interruptStatus_)
        return interruptStatus_;
    const auto &failure = view_.failure();
    if (!failure)
        return std::nullopt;
    const QString line = view_.portName() + QStringLiteral(": ") + failureMessage(failure->kind);
    if (failure->kind == TransferFailure::InvalidPort) {
        // The reason is the window's text, advice included.
        console_.report(line + QStringLiteral(": ") + failure->portProblem.reason);
        return kPortProblem;
    }
    console_.report(line);
    return kRadioProblem;
}

// Before "Y": the write goes on only once the radio's present channels are safe in the backup.
QCoro::Task<ListingVerdict> CliSession::keepBackup(QString listing)
{
    QStringList held(channelCount());
    for (const ListedChannel &channel : parseChannelListing(listing, type()))
        held[channel.row - 1] = channel.frequency;
    if (const QList<int> missing = unreadRows(held); !missing.isEmpty()) {
        console_.report(view_.portName() + QStringLiteral(": channels not read: ") + numbered(missing)
                        + QStringLiteral("; no backup, nothing written"));
        backupRefusal_ = kRadioProblem;
        co_return ListingVerdict::Decline;
    }
    if (!save(options_.backup, held)) {
        console_.report(QStringLiteral("nothing written to the radio"));
        backupRefusal_ = kFileProblem;
        co_return ListingVerdict::Decline;
    }
    co_return ListingVerdict::GoOn;
}

// "-" is standard output; a file is replaced whole, as the window saves it.
bool CliSession::save(const QString &path, const QStringList &frequencies)
{
    if (path == u"-") {
        console_.print(encodeChannelFile(frequencies));
        return true;
    }
    const auto failure = writeChannelFile(path, frequencies, settingsPath_);
    if (failure)
        console_.report(saveFailure(path, *failure));
    return !failure;
}

TransceiverType CliSession::type() const
{
    return options_.transceiverType.value_or(TransceiverType::SixChannels);
}
