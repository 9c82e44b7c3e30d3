#include "tool_run.h"

#include "simulator_process.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <qcoro/qcoroprocess.h>

#include <sys/resource.h>

namespace {

using namespace std::chrono_literals;

constexpr Milliseconds kPace = 350ms;
constexpr int kRunLimitMs = 60000;
const QByteArray kReadBytes = "\r6N\r";

Milliseconds wallNow()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

// CPU time of the children that have ended and been waited for.
Milliseconds childrenCpuTime()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto time = [](const timeval &t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return time(usage.ru_utime) + time(usage.ru_stime);
}

QByteArray writeBytes(const QStringList &channels)
{
    QByteArray bytes = "\r6Y";
    for (const QString &channel : channels)
        bytes += (channel.mid(1, 2) + channel.mid(4, 3)).toLatin1();
    return bytes + "S\r";
}

QByteArray bytesFrom(const std::vector<LoggedByte> &logged, std::size_t from)
{
    QByteArray bytes;
    for (std::size_t i = from; i < logged.size(); ++i)
        bytes += logged[i].byte;
    return bytes;
}

// Pauses between the characters of each transfer; the EEPROM write after "S" is the radio's.
std::vector<double> gapsOf(const std::vector<LoggedByte> &logged, std::size_t from, const QList<int> &transfers)
{
    std::vector<double> gaps;
    for (const int count : transfers) {
        for (std::size_t i = from + 1; i < from + std::size_t(count); ++i) {
            if (logged[i - 1].byte != 'S')
                gaps.push_back(logged[i].ms - logged[i - 1].ms);
        }
        from += std::size_t(count);
    }
    return gaps;
}

// What the radio's log shows of one run whose transfers sent the given numbers of characters
// from byte `from` on; the first byte on the radio's clock.
TransferFigures figuresAtRadio(const QString &name, const std::vector<LoggedByte> &logged, std::size_t from,
                               const QList<int> &transfers, Milliseconds radioDelay)
{
    int characters = 0;
    for (const int count : transfers)
        characters += count;
    TransferFigures figures;
    figures.name = name;
    figures.floorTerms = {characters, kPace, radioDelay, 0ms};
    figures.atRadio = Milliseconds(logged[from + std::size_t(characters) - 1].ms - logged[from].ms);
    figures.gaps = summarizeGaps(gapsOf(logged, from, transfers));
    figures.firstByte = Milliseconds(logged[from].ms);
    return figures;
}

} // namespace

ToolBench::ToolBench(QString program, QString folder, SimulatorProcess &simulator, Milliseconds eepromDelay,
                     QStringList channels)
    : program_(std::move(program)), folder_(std::move(folder)), simulator_(simulator), eepromDelay_(eepromDelay),
      channels_(std::move(channels))
{
}

QCoro::Task<std::optional<std::vector<TransferFigures>>> ToolBench::run()
{
    QFile table(QDir(folder_).filePath(QStringLiteral("tool.vl")));
    if (!table.open(QIODevice::WriteOnly) || !table.write(channels_.join(QStringLiteral("\r\n")).toLatin1() + "\r\n"))
        co_return std::nullopt;
    table.close();
    const std::optional<ClockMark> mark = markClock();
    const std::size_t writeFrom = mark ? mark->index + 1 : 0;
    // Lists built apart from the awaits: GCC 12 cannot keep an initializer list across one.
    const QStringList writeArguments{QStringLiteral("write"), table.fileName(), QStringLiteral("--verify")};
    const QStringList readArguments{QStringLiteral("read"), QStringLiteral("read.vl")};
    const ProcessRun write = co_await runTool(writeArguments);
    const ProcessRun read = co_await runTool(readArguments);
    const std::vector<LoggedByte> logged = simulator_.received();
    QStringList found = problems(write, read);
    if (!mark || logged.size() < writeFrom)
        found << QStringLiteral("the clocks of the tool's runs and of the radio could not be matched");
    else if (bytesFrom(logged, writeFrom) != writeBytes(channels_) + kReadBytes + kReadBytes)
        found << QStringLiteral("the radio did not receive a write, a read and a read from the tool");
    for (const QString &problem : found)
        std::fprintf(stderr, "varlo-bench: %s\n", qPrintable(problem));
    if (!found.isEmpty())
        co_return std::nullopt;

    const Milliseconds offset = mark->at - Milliseconds(logged[mark->index].ms);
    const auto writeCount = int(writeBytes(channels_).size());
    const auto readCount = int(kReadBytes.size());
    std::vector<TransferFigures> figures{
        figuresAtRadio(QStringLiteral("tool write"), logged, writeFrom, {writeCount, readCount}, eepromDelay_),
        figuresAtRadio(QStringLiteral("tool read"), logged, writeFrom + std::size_t(writeCount + readCount),
                       {readCount}, 0ms)};
    for (TransferFigures &each : figures) {
        const ProcessRun &run = &each == &figures.front() ? write : read;
        each.wall = run.end - run.start;
        each.cpu = run.cpu;
        *each.firstByte += offset - run.start;
    }
    co_return figures;
}

QCoro::Task<ToolBench::ProcessRun> ToolBench::runTool(const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder_);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ProcessRun run;
    const Milliseconds cpuBefore = childrenCpuTime();
    run.start = wallNow();
    process.start(program_,
                  QStringList{QStringLiteral("-q"), QStringLiteral("-p"), QStringLiteral("1"), QStringLiteral("-t"),
                              QStringLiteral("6")}
                      + arguments);
    const bool finished = co_await qCoro(process).waitForFinished(kRunLimitMs);
    run.end = wallNow();
    run.cpu = childrenCpuTime() - cpuBefore;
    if (finished && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    co_return run;
}

// The radio logs on its own clock: a carriage return written to it now, which its menu
// ignores, ties that clock to ours once the log is read.
std::optional<ToolBench::ClockMark> ToolBench::markClock()
{
    const std::size_t index = simulator_.received().size();
    QFile line(QDir(folder_).filePath(QStringLiteral("COM1")));
    if (!line.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return std::nullopt;
    const Milliseconds sentFrom = wallNow();
    const bool sent = line.write("\r", 1) == 1;
    const Milliseconds sentBy = wallNow();
    if (!sent)
        return std::nullopt;
    return ClockMark{index, (sentFrom + sentBy) / 2};
}

QStringList ToolBench::problems(const ProcessRun &write, const ProcessRun &read) const
{
    QStringList found;
    if (write.status != 0)
        found << QStringLiteral("varlo-cli write --verify ended with status %1").arg(write.status);
    if (read.status != 0)
        found << QStringLiteral("varlo-cli read ended with status %1").arg(read.status);
    QFile readBack(QDir(folder_).filePath(QStringLiteral("read.vl")));
    if (read.status == 0
        && (!readBack.open(QIODevice::ReadOnly)
            || readBack.readAll() != channels_.join(QStringLiteral("\r\n")).toLatin1() + "\r\n"))
        found << QStringLiteral("varlo-cli read did not save the channels written");
    return found;
}
