#include "bench_run.h"

#include "simulator_process.h"
#include "tool_run.h"

#include "app/channel_table.h"
#include "app/main_window.h"
#include "app/terminal_pane.h"

#include <QtCore/QTimer>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QMessageBox>

#include <cstdio>

namespace {

using namespace std::chrono_literals;

constexpr int kSixChannelsEntry = 1; // "6 Channels TxRx" in the type list
const QByteArray kUploadBytes = "\r6N\r";
const QStringList kClearedRows(6, QStringLiteral("118.000"));
const QString kNotReady = QStringLiteral("the radio did not report ready");
// Beyond the floor before a transfer counts as hung on a message box.
constexpr Milliseconds kGrace = 10s;
constexpr Milliseconds kDismissGrace = 5s;

Milliseconds wallNow()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

// What the radio must receive for the table: the two digits after the fixed leading 1,
// then the three decimals, for each channel.
QByteArray downloadBytes(const QStringList &channels)
{
    QByteArray bytes = "\r6Y";
    for (const QString &channel : channels)
        bytes += (channel.mid(1, 2) + channel.mid(4, 3)).toLatin1();
    return bytes + "S\r";
}

QByteArray bytesOf(const std::vector<LoggedByte> &logged, std::size_t from, std::size_t count)
{
    QByteArray bytes;
    for (std::size_t i = from; i < std::min(logged.size(), from + count); ++i)
        bytes += logged[i].byte;
    return bytes;
}

// The wait after "S" is the radio's EEPROM write, not a pause between characters.
std::vector<double> paceGaps(const std::vector<LoggedByte> &logged, std::size_t from, std::size_t count)
{
    std::vector<double> gaps;
    for (std::size_t i = from + 1; i < from + count; ++i) {
        if (logged[i - 1].byte != 'S')
            gaps.push_back(logged[i].ms - logged[i - 1].ms);
    }
    return gaps;
}

QStringList dismissMessages(MainWindow &window)
{
    QStringList texts;
    for (QMessageBox *box : window.findChildren<QMessageBox *>()) {
        texts.append(box->text());
        box->done(QMessageBox::Ok);
    }
    return texts;
}

QCoro::Task<> runTransfer(MainWindow &window, TransferKind kind, Heartbeat &heartbeat,
                          std::shared_ptr<TransferWatch> watch)
{
    heartbeat.restart();
    watch->wallStart = wallNow();
    watch->cpuStart = processCpuTime();
    if (kind == TransferKind::Download)
        co_await window.download();
    else
        co_await window.upload();
    watch->cpuEnd = processCpuTime();
    watch->wallEnd = wallNow();
    watch->longestStall = heartbeat.longestGap();
    watch->terminal = window.terminal().text();
    watch->finished = true;
    // Woken from the event loop, not from inside the handler's last step.
    QTimer::singleShot(0, [watch] { watch->done.fire(); });
}

TransferFigures figuresOf(const QString &name, const TransferWatch &watch, const FloorTerms &terms,
                          const std::vector<LoggedByte> &logged, std::size_t from)
{
    const auto count = std::size_t(terms.characters);
    TransferFigures figures;
    figures.name = name;
    figures.floorTerms = terms;
    figures.wall = watch.wallEnd - watch.wallStart;
    figures.cpu = watch.cpuEnd - watch.cpuStart;
    figures.longestStall = watch.longestStall;
    figures.atRadio = Milliseconds(logged[from + count - 1].ms - logged[from].ms);
    figures.gaps = summarizeGaps(paceGaps(logged, from, count));
    return figures;
}

void addOutcome(QStringList &problems, const QString &name, const TransferWatch &watch)
{
    if (!watch.finished)
        problems.append(name + QStringLiteral(" did not end"));
    for (const QString &message : watch.messages)
        problems.append(name + QStringLiteral(" failed: ") + message);
}

void printProblems(const QStringList &problems)
{
    for (const QString &problem : problems)
        std::fprintf(stderr, "varlo-bench: %s\n", qPrintable(problem));
}

} // namespace

BenchRun::BenchRun(MainWindow &window, SimulatorProcess &simulator, Milliseconds eepromDelay,
                   QStringList downloadChannels)
    : window_(window), simulator_(simulator), eepromDelay_(eepromDelay), downloadChannels_(std::move(downloadChannels))
{
}

QCoro::Task<int> BenchRun::run(ToolBench &tool)
{
    // A first run starts on the one-channel radio: choose the six-channel one, as a user would.
    window_.table().typeList()->setCurrentIndex(kSixChannelsEntry);
    if (window_.table().singleChannel()) {
        std::fprintf(stderr, "varlo-bench: the window stays on the one-channel radio\n");
        co_return 1;
    }
    // The first show lays out and paints; that is not what is measured.
    co_await pause(1s);
    const IdleFigures idle = co_await measureIdle(3s);
    putRows(downloadChannels_);

    const auto download = co_await measure(TransferKind::Download);
    QStringList failed;
    addOutcome(failed, QStringLiteral("the download"), *download);
    if (!failed.isEmpty()) {
        printProblems(failed);
        co_return 1;
    }
    co_await pause(1s);
    // So the rows prove what the upload read.
    putRows(kClearedRows);
    const auto upload = co_await measure(TransferKind::Upload);

    const std::vector<LoggedByte> logged = simulator_.received();
    if (const QStringList found = problems(*download, *upload, logged); !found.isEmpty()) {
        printProblems(found);
        co_return 1;
    }
    const auto sentByDownload = std::size_t(floorTerms(TransferKind::Download).characters);
    std::vector<TransferFigures> figures{
        figuresOf(QStringLiteral("download"), *download, floorTerms(TransferKind::Download), logged, 0),
        figuresOf(QStringLiteral("upload"), *upload, floorTerms(TransferKind::Upload), logged, sentByDownload)};
    const auto toolFigures = co_await tool.run();
    if (!toolFigures)
        co_return 1;
    figures.insert(figures.end(), toolFigures->begin(), toolFigures->end());
    printFiguresReport(stdout, figures, idle);
    co_return 0;
}

void BenchRun::putRows(const QStringList &frequencies)
{
    for (int row = 1; row <= frequencies.size(); ++row)
        window_.table().putFrequency(row, frequencies[row - 1]);
}

QCoro::Task<> BenchRun::pause(Milliseconds length)
{
    co_await sleepUntil(time_, time_.now() + std::chrono::ceil<TimeSource::ms>(length));
}

QCoro::Task<IdleFigures> BenchRun::measureIdle(Milliseconds length)
{
    heartbeat_.restart();
    const Milliseconds wallStart = wallNow();
    const Milliseconds cpuStart = processCpuTime();
    co_await pause(length);
    co_return IdleFigures{wallNow() - wallStart, processCpuTime() - cpuStart, heartbeat_.longestGap()};
}

QCoro::Task<std::shared_ptr<TransferWatch>> BenchRun::measure(TransferKind kind)
{
    auto watch = std::make_shared<TransferWatch>();
    runTransfer(window_, kind, heartbeat_, watch);
    // A failure's message box holds the transfer until it is dismissed.
    if (!co_await endsWithin(*watch, protocolFloor(floorTerms(kind)) + kGrace)) {
        watch->messages += dismissMessages(window_);
        co_await endsWithin(*watch, kDismissGrace);
    }
    co_return watch;
}

QCoro::Task<bool> BenchRun::endsWithin(TransferWatch &watch, Milliseconds limit)
{
    if (!watch.finished) {
        const auto alarm =
            time_.alarmAt(time_.now() + std::chrono::ceil<TimeSource::ms>(limit), [&watch] { watch.done.fire(); });
        co_await watch.done;
    }
    co_return watch.finished;
}

FloorTerms BenchRun::floorTerms(TransferKind kind) const
{
    const Timing &timing = window_.timing();
    if (kind == TransferKind::Download)
        return {int(downloadBytes(downloadChannels_).size()), timing.pace, eepromDelay_, timing.noticeLong};
    return {int(kUploadBytes.size()), timing.pace, Milliseconds(0), timing.noticeLong};
}

QStringList BenchRun::problems(const TransferWatch &download, const TransferWatch &upload,
                               const std::vector<LoggedByte> &logged) const
{
    QStringList found;
    addOutcome(found, QStringLiteral("the download"), download);
    addOutcome(found, QStringLiteral("the upload"), upload);
    const QByteArray expected = downloadBytes(downloadChannels_);
    if (bytesOf(logged, 0, std::size_t(expected.size())) != expected)
        found.append(QStringLiteral("the radio did not receive the table's bytes"));
    if (bytesOf(logged, std::size_t(expected.size()), std::size_t(kUploadBytes.size())) != kUploadBytes
        || logged.size() != std::size_t(expected.size() + kUploadBytes.size()))
        found.append(QStringLiteral("the radio did not receive exactly an upload's bytes after the download"));
    if (download.terminal.contains(kNotReady))
        found.append(QStringLiteral("the download ended without the radio's ready report"));
    for (int row = 1; row <= downloadChannels_.size(); ++row) {
        if (window_.table().frequencyOfRow(row) != downloadChannels_[row - 1])
            found.append(QStringLiteral("row %1 reads %2 after the upload, not %3")
                             .arg(row)
                             .arg(window_.table().frequencyOfRow(row), downloadChannels_[row - 1]));
    }
    return found;
}
