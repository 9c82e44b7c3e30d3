#include "program_client.h"
#include "radio_simulator.h"

#include <QtTest/QtTest>

#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using ProgramClient::Outcome;
using ProgramClient::listedFrequency;

Q_DECLARE_METATYPE(ProgramClient::Outcome)

namespace {

const Channels typedChannels = {"118.025", "119.100", "127.850", "131.000", "136.975", "120.000"};
const ProgramClient::Pacing pacing{20ms, 400ms, 600ms};

RadioSimulator::Options optionsIn(const QTemporaryDir &folder, ScenarioChoice scenario = {})
{
    RadioSimulator::Options options;
    options.scenario = scenario;
    options.eepromDelay = 100ms;
    options.directory = folder.path();
    options.noiseHold = 300ms;
    return options;
}

QByteArray bytesOf(const std::vector<ReceivedByte> &received)
{
    QByteArray bytes;
    for (const ReceivedByte &each : received)
        bytes += each.byte;
    return bytes;
}

std::chrono::nanoseconds processCpuTime()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

QString simulatorTool()
{
    return QStringLiteral(VARLO_SIM_PATH);
}

} // namespace

class TestRadioSimulator : public QObject {
    Q_OBJECT
private slots:
    void downloadIsListedByTheNextUpload();
    void downloadOutcome_data();
    void downloadOutcome();
    void uploadListsAnInvalidRecord();
    void noiseIsPrintableWithoutC();
    void timestampsFollowTheSenderWhileTheCallerIsBusy();
    void logHasOneLinePerByte();
    void survivesRepeatedOpenAndClose();
    void hangUpIsSeenOnTheSlave();
    void linkReplacesAStaleLinkAndGoesOnStop();
    void existingFileIsNotReplaced();
    void toolDocumentsItsOptions();
    void toolServesUntilTerminated();
    void toolExitsWhenTheLineDrops();
    void toolRefusesBadOptions_data();
    void toolRefusesBadOptions();
};

void TestRadioSimulator::downloadIsListedByTheNextUpload()
{
    QTemporaryDir folder;
    RadioSimulator simulator(optionsIn(folder));
    QVERIFY2(simulator.start(), qPrintable(simulator.errorString()));

    const auto download = ProgramClient::download(simulator.linkPath(), typedChannels, pacing);
    QCOMPARE(download.outcome, Outcome::Completed);
    QCOMPARE(download.timedOut, QStringList());
    QCOMPARE(simulator.channels(), typedChannels);

    const auto upload = ProgramClient::upload(simulator.linkPath(), pacing);
    QCOMPARE(upload.outcome, Outcome::Completed);
    QCOMPARE(upload.timedOut, QStringList());
    for (int k = 1; k <= 6; ++k)
        QCOMPARE(listedFrequency(upload.listing, k), typedChannels[k - 1].toLatin1());
    QCOMPARE(bytesOf(simulator.received()),
             "\r6Y18025191002785031000369752000" "0S\r" "\r6N\r");
    QVERIFY(simulator.sent().endsWith(upload.transcript));
}

void TestRadioSimulator::downloadOutcome_data()
{
    QTest::addColumn<int>("scenario");
    QTest::addColumn<int>("value");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("timedOut");
    const int none = 0;
    const QStringList noWait;
    const QStringList everyPoint = {"W4", "W4", "W4", "W4", "W4", "W4"};
    const auto row = [](const char *name, Scenario scenario, int value) -> QTestData & {
        return QTest::newRow(name) << static_cast<int>(scenario) << value;
    };
    row("normal", Scenario::Normal, none) << Outcome::Completed << noWait;
    row("silent", Scenario::Silent, none) << Outcome::Timeout << QStringList{"W1"};
    row("no C", Scenario::NoC, none) << Outcome::CommunicationError << noWait;
    row("short listing", Scenario::ShortListing, none) << Outcome::Timeout << QStringList{"W1"};
    row("no point", Scenario::NoPoint, none) << Outcome::Completed << everyPoint;
    row("no S or R", Scenario::NoStoreQuestion, none) << Outcome::Completed << QStringList{"W5"};
    row("never ready", Scenario::NeverReady, none) << Outcome::Completed << QStringList{"W6"};
    row("ready after 1 s", Scenario::ReadyAfter, 1) << Outcome::Completed << QStringList{"W6"};
    row("invalid record", Scenario::InvalidRecord, 3) << Outcome::Completed << noWait;
    row("hang-up on 6", Scenario::HangUp, 2) << Outcome::LineLost << noWait;
    row("hang-up in channel 3", Scenario::HangUp, 15) << Outcome::LineLost << noWait;
    row("noise before the listing", Scenario::LineNoise, 2) << Outcome::CommunicationError << noWait;
    row("noise before channel 1", Scenario::LineNoise, 3) << Outcome::CommunicationError << noWait;
    row("noise while writing", Scenario::LineNoise, 34) << Outcome::Completed << noWait;
}

void TestRadioSimulator::downloadOutcome()
{
    QFETCH(int, scenario);
    QFETCH(int, value);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, timedOut);
    QTemporaryDir folder;
    RadioSimulator simulator(optionsIn(folder, {static_cast<Scenario>(scenario), value}));
    QVERIFY(simulator.start());

    const auto download = ProgramClient::download(simulator.linkPath(), typedChannels, pacing);
    QCOMPARE(download.outcome, outcome);
    QCOMPARE(download.timedOut, timedOut);
    QCOMPARE(simulator.isRunning(), outcome != Outcome::LineLost);
}

void TestRadioSimulator::uploadListsAnInvalidRecord()
{
    QTemporaryDir folder;
    RadioSimulator simulator(optionsIn(folder, {Scenario::InvalidRecord, 4}));
    QVERIFY(simulator.start());
    const auto upload = ProgramClient::upload(simulator.linkPath(), pacing);
    QCOMPARE(upload.outcome, Outcome::Completed);
    QCOMPARE(listedFrequency(upload.listing, 4), QByteArray("999.999"));
    QCOMPARE(listedFrequency(upload.listing, 5), defaultChannels()[4].toLatin1());
}

void TestRadioSimulator::noiseIsPrintableWithoutC()
{
    QTemporaryDir folder;
    RadioSimulator::Options options = optionsIn(folder, {Scenario::LineNoise, 1});
    options.noiseLength = 400;
    RadioSimulator simulator(options);
    QVERIFY(simulator.start());
    const int line = ::open(simulator.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    QVERIFY(line >= 0);
    QCOMPARE(::write(line, "\r", 1), 1);
    QTRY_COMPARE(simulator.sent().size(), 400);
    const QByteArray burst = simulator.sent();
    QVERIFY(!burst.contains('C'));
    QVERIFY(std::all_of(burst.begin(), burst.end(), [](char byte) { return byte > ' ' && byte <= '~'; }));
    ::close(line);
}

void TestRadioSimulator::timestampsFollowTheSenderWhileTheCallerIsBusy()
{
    QTemporaryDir folder;
    RadioSimulator simulator(optionsIn(folder));
    QVERIFY(simulator.start());
    const int line = ::open(simulator.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    QVERIFY(line >= 0);
    std::vector<SimClock::time_point> writtenAt;
    std::atomic<bool> done = false;
    std::thread sender([&] {
        for (const char byte : QByteArray("\r6N\r\r6N\r")) {
            writtenAt.push_back(SimClock::now());
            (void)!::write(line, &byte, 1);
            std::this_thread::sleep_for(30ms);
        }
        done = true;
    });
    while (!done) {
        // Busy on purpose: the simulator must not need this thread to timestamp.
    }
    sender.join();
    ::close(line);

    const auto received = simulator.received();
    QCOMPARE(received.size(), writtenAt.size());
    for (size_t i = 0; i < received.size(); ++i) {
        const auto delay = received[i].time - writtenAt[i];
        QVERIFY2(delay >= 0ms && delay < 20ms, qPrintable(QString::number(i)));
        if (i > 0)
            QVERIFY(received[i].time > received[i - 1].time);
    }
}

void TestRadioSimulator::logHasOneLinePerByte()
{
    QTemporaryDir folder;
    RadioSimulator::Options options = optionsIn(folder);
    options.logPath = folder.filePath("bytes.log");
    RadioSimulator simulator(options);
    QVERIFY(simulator.start());
    QCOMPARE(ProgramClient::upload(simulator.linkPath(), pacing).outcome, Outcome::Completed);
    simulator.stop();

    QFile log(options.logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    const auto received = simulator.received();
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.last(), QByteArray());
    const QList<QByteArray> hex = {"0d", "36", "4e", "0d"};
    for (int i = 0; i < 4; ++i) {
        const QList<QByteArray> fields = lines[i].split(' ');
        QCOMPARE(fields.size(), 2);
        QCOMPARE(fields[1], hex[i]);
        QCOMPARE(fields[0].toLongLong(), (received[i].time - simulator.startedAt()).count());
    }
}

void TestRadioSimulator::survivesRepeatedOpenAndClose()
{
    QTemporaryDir folder;
    RadioSimulator simulator(optionsIn(folder));
    QVERIFY(simulator.start());
    for (int i = 0; i < 100; ++i) {
        const int line = ::open(simulator.linkPath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QVERIFY(line >= 0);
        ::close(line);
    }
    const auto cpuBefore = processCpuTime();
    std::this_thread::sleep_for(300ms);
    QVERIFY(processCpuTime() - cpuBefore < 30ms);
    QVERIFY(simulator.isRunning());
    for (int i = 0; i < 2; ++i)
        QCOMPARE(ProgramClient::upload(simulator.linkPath(), pacing).outcome, Outcome::Completed);
}

void TestRadioSimulator::hangUpIsSeenOnTheSlave()
{
    QTemporaryDir folder;
    RadioSimulator simulator(optionsIn(folder));
    QVERIFY(simulator.start());
    const int line = ::open(simulator.linkPath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(line >= 0);
    simulator.hangUp();
    QVERIFY(!simulator.isRunning());
    pollfd watched{line, POLLIN, 0};
    QCOMPARE(poll(&watched, 1, 1000), 1);
    QVERIFY(watched.revents & POLLHUP);
    QCOMPARE(::write(line, "6", 1), -1);
    QCOMPARE(errno, EIO);
    ::close(line);
}

void TestRadioSimulator::linkReplacesAStaleLinkAndGoesOnStop()
{
    QTemporaryDir folder;
    const QString stale = folder.filePath("COM4");
    QVERIFY(QFile::link(folder.filePath("gone"), stale));
    RadioSimulator::Options options = optionsIn(folder);
    options.comNumber = 4;
    RadioSimulator simulator(options);
    QVERIFY(simulator.start());
    QCOMPARE(simulator.linkPath(), stale);
    QCOMPARE(QFileInfo(stale).symLinkTarget(), simulator.slavePath());
    simulator.stop();
    QVERIFY(!QFileInfo(stale).isSymLink());
}

void TestRadioSimulator::existingFileIsNotReplaced()
{
    QTemporaryDir folder;
    QFile file(folder.filePath("COM1"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("mine");
    file.close();
    RadioSimulator simulator(optionsIn(folder));
    QVERIFY(!simulator.start());
    QVERIFY(simulator.errorString().contains("COM1"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("mine"));
}

void TestRadioSimulator::toolDocumentsItsOptions()
{
    QProcess tool;
    tool.start(simulatorTool(), {"--help"});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 0);
    const QByteArray help = tool.readAllStandardOutput();
    for (const char *word : {"--directory", "--com", "--scenario", "--channels", "--eeprom-delay", "--log",
                             "silent", "no-c", "short-listing", "no-point", "no-s-or-r", "never-ready",
                             "ready-after:N", "invalid-record:K", "hang-up:N", "noise:N"})
        QVERIFY2(help.contains(word), word);
}

void TestRadioSimulator::toolServesUntilTerminated()
{
    QTemporaryDir folder;
    QProcess tool;
    tool.start(simulatorTool(), {"-d", folder.path(), "-p", "3", "-c",
                                 "120.000,121.000,122.000,123.000,124.000,125.025"});
    QVERIFY(tool.waitForReadyRead());
    const QString slave = QString::fromLocal8Bit(tool.readLine().trimmed());
    const QString link = folder.filePath("COM3");
    QCOMPARE(QFileInfo(link).symLinkTarget(), slave);

    const auto upload = ProgramClient::upload(link, pacing);
    QCOMPARE(upload.outcome, Outcome::Completed);
    QCOMPARE(listedFrequency(upload.listing, 6), QByteArray("125.025"));

    tool.terminate();
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestRadioSimulator::toolExitsWhenTheLineDrops()
{
    QTemporaryDir folder;
    QProcess tool;
    tool.start(simulatorTool(), {"-d", folder.path(), "-s", "hang-up:2"});
    QVERIFY(tool.waitForReadyRead());
    QCOMPARE(ProgramClient::upload(folder.filePath("COM1"), pacing).outcome, Outcome::LineLost);
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY(!QFileInfo(folder.filePath("COM1")).isSymLink());
}

void TestRadioSimulator::toolRefusesBadOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown scenario") << QStringList{"-s", "grumpy"};
    QTest::newRow("scenario without its number") << QStringList{"-s", "hang-up"};
    QTest::newRow("number where none belongs") << QStringList{"-s", "silent:3"};
    QTest::newRow("five channels") << QStringList{"-c", "120.000,121.000,122.000,123.000,124.000"};
    QTest::newRow("COM 0") << QStringList{"-p", "0"};
    QTest::newRow("negative EEPROM delay") << QStringList{"-e", "-1"};
}

void TestRadioSimulator::toolRefusesBadOptions()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir folder;
    QProcess tool;
    tool.start(simulatorTool(), QStringList{"-d", folder.path()} + arguments);
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 2);
    QVERIFY(!QFileInfo(folder.filePath("COM1")).isSymLink());
}

QTEST_GUILESS_MAIN(TestRadioSimulator)
#include "test_radio_simulator.moc"
