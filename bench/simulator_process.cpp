#include "simulator_process.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>

namespace {

constexpr int kStartMs = 5000;
constexpr int kStopMs = 3000;

// "nanoseconds hex-byte", one line per byte.
std::optional<LoggedByte> parseLogLine(const QByteArray &line)
{
    const QList<QByteArray> fields = line.trimmed().split(' ');
    bool timeOk = false;
    bool byteOk = false;
    if (fields.size() != 2)
        return std::nullopt;
    const qint64 nanoseconds = fields[0].toLongLong(&timeOk);
    const int byte = fields[1].toInt(&byteOk, 16);
    if (!timeOk || !byteOk)
        return std::nullopt;
    return LoggedByte{double(nanoseconds) / 1e6, char(byte)};
}

} // namespace

SimulatorProcess::SimulatorProcess(Options options) : options_(std::move(options))
{
}

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

std::optional<QString> SimulatorProcess::start()
{
    const QStringList arguments{
        QStringLiteral("-d"), options_.folder,
        QStringLiteral("-p"), QString::number(options_.comNumber),
        QStringLiteral("-e"), QString::number(double(options_.eepromDelay.count()) / 1000),
        QStringLiteral("-c"), options_.channels.join(u','),
        QStringLiteral("-l"), logPath(),
    };
    process_.start(options_.program, arguments);
    // It prints the terminal's path once COMn is linked.
    if (!process_.waitForStarted(kStartMs) || !process_.waitForReadyRead(kStartMs))
        return options_.program + QStringLiteral(": ") + process_.errorString() + u' '
            + QString::fromLocal8Bit(process_.readAllStandardError()).trimmed();
    const QString link = QDir(options_.folder).filePath(QStringLiteral("COM%1").arg(options_.comNumber));
    if (!QFileInfo(link).isSymLink())
        return QStringLiteral("varlo-sim did not link ") + link;
    return std::nullopt;
}

void SimulatorProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(kStopMs))
        process_.kill();
    process_.waitForFinished(kStopMs);
}

std::vector<LoggedByte> SimulatorProcess::received() const
{
    std::vector<LoggedByte> bytes;
    QFile log(logPath());
    if (!log.open(QIODevice::ReadOnly))
        return bytes;
    while (!log.atEnd()) {
        if (const auto byte = parseLogLine(log.readLine()))
            bytes.push_back(*byte);
    }
    return bytes;
}

QString SimulatorProcess::logPath() const
{
    return QDir(options_.folder).filePath(QStringLiteral("varlo-sim.log"));
}
