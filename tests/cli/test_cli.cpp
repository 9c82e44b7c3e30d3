#include "cli/channel_check.h"
#include "cli/cli_session.h"
#include "cli/log_routing.h"
#include "core/logging.h"
#include "files/settings_record.h"
#include "radio_menu.h"
#include "tests/support/fake_link.h"

#include <QtCore/QBuffer>
#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

using namespace std::chrono_literals;

namespace {

const QByteArray kNewTable = "119.100\r\n120.950\r\n124.375\r\n126.700\r\n131.025\r\n135.850\r\n";
const QByteArray kRadioTable = "118.600\r\n121.500\r\n122.475\r\n123.450\r\n129.975\r\n134.125\r\n";
const QByteArray kDownloadBytes = "\r6Y191002095024375267003102535850S\r";
const QByteArray kUploadBytes = "\r6N\r";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "missing";
}

QCoro::Task<> runInto(CliSession &session, int &status)
{
    status = co_await session.run();
}

// The simulator's menu answering behind the fake link, on virtual time, in a folder of its own.
struct Bench {
    explicit Bench(ScenarioChoice scenario) : menu(scenario, 2s, defaultChannels())
    {
        QDir::setCurrent(folder.path());
        link.responder = [this](char byte) {
            link.deliverAfter(20ms, menu.receive(byte, SimClock::time_point(time.now())));
            if (const auto due = menu.deadline())
                link.deliverAt(std::chrono::ceil<FakeLink::ms>(due->time_since_epoch()), menu.due(*due));
        };
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
    }
    // A stop signal at stopAt, when given, ends the run at once; the session goes right after,
    // as in the tool.
    int run(const CliOptions &options, int stopAt)
    {
        int status = -1;
        {
            CliSession session(options, link, time, Timing(), console, folder.filePath("Varlo"));
            const auto task = runInto(session, status);
            if (stopAt > 0) {
                time.advanceTo(FakeLink::ms(stopAt));
                session.interrupt(130);
            }
            while (stopAt == 0 && !task.isReady() && time.runNext()) {
            }
        }
        while (time.runNext()) {
        }
        return status;
    }
    QTemporaryDir folder;
    VirtualTimeSource time;
    FakeLink link{time};
    RadioMenu menu;
    QBuffer out, err;
    Console console{out, err, false};
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void checksTheWholeFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("warning");
        const QString none;
        QTest::newRow("six") << kNewTable << 6 << none << none;
        QTest::newRow("third line") << QByteArray("118.000\n118.025\n139.000\n") << 6
                                    << "bad.vl:3: \"139.000\" is not a channel frequency" << none;
        QTest::newRow("too short") << QByteArray("118.000\r\n") << 6 << "bad.vl:2: no line for channel 2 of 6" << none;
        QTest::newRow("one of six") << kNewTable << 1 << none
                                    << "bad.vl: lines after line 1 ignored: the radio has no more channels";
    }
    void checksTheWholeFile()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, channels);
        const CheckedChannels checked = checkChannelFile("bad.vl", text, channels);
        QTEST(checked.error, "error");
        QTEST(checked.warning, "warning");
        QCOMPARE(checked.frequencies.size() == channels, checked.error.isEmpty());
    }

    void runsCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("backup");
        QTest::addColumn<int>("scenario");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<int>("stopAt");
        const int write = int(CommandKind::Write), read = int(CommandKind::Read), verify = int(CommandKind::Verify);
        const int badRecord2 = 2, badRecord5 = 5, silent = -1;
        QTest::newRow("write, verify, backup") << write << kNewTable << "old.vl" << 0 << 0 << "6 channels match\n"
                                               << "" << kDownloadBytes + kUploadBytes << kRadioTable << 0;
        QTest::newRow("backup unreadable") << write << kNewTable << "old.vl" << badRecord2 << 4 << ""
                                           << "COM1: channels not read: 2; no backup, nothing written\n"
                                           << kUploadBytes << QByteArray("missing") << 0;
        QTest::newRow("backup unsaved")
            << write << kNewTable << "none/old.vl" << 0 << 2 << ""
            << "Could not save none/old.vl: No such file or directory\nnothing written to the radio\n"
            << kUploadBytes << QByteArray("missing") << 0;
        QTest::newRow("silent radio") << write << kNewTable << "" << silent << 4 << ""
                                      << "COM1: Serial portTimeout Error\n"
                                      << QByteArray("\r6") << QByteArray() << 0;
        QTest::newRow("invalid line") << write << QByteArray("118.000\r\n118.025\r\n139.000\r\n") << "" << 0 << 2 << ""
                                      << "table.vl:3: \"139.000\" is not a channel frequency\n"
                                      << QByteArray() << QByteArray() << 0;
        QTest::newRow("verify differs")
            << verify << QByteArray(kRadioTable).replace("122.475", "122.500") << "" << badRecord5 << 5
            << "channel 3: radio 122.475, file 122.500\nchannel 5: radio unreadable, file 129.975\n"
            << "" << kUploadBytes << QByteArray() << 0;
        QTest::newRow("read unreadable") << read << QByteArray() << "" << badRecord5 << 4 << ""
                                         << "COM1: channels not read: 5\n"
                                         << kUploadBytes << QByteArray("missing") << 0;
        QTest::newRow("read") << read << QByteArray() << "" << 0 << 0 << ""
                              << "" << kUploadBytes << kRadioTable << 0;
        // Nothing after the stop reaches the radio, or is said.
        QTest::newRow("write stopped in channel 2's step") << write << kNewTable << "" << 0 << 130 << ""
                                                           << "COM1: interrupted; the radio may hold part of the new "
                                                              "channels: power it off and on and write it again\n"
                                                           << kDownloadBytes.first(10) << QByteArray() << 3200;
    }
    void runsCommands()
    {
        QFETCH(int, command);
        QFETCH(int, scenario);
        QFETCH(QByteArray, file);
        QFETCH(QString, backup);
        Bench bench({scenario < 0   ? Scenario::Silent
                         : scenario ? Scenario::InvalidRecord
                                    : Scenario::Normal,
                     scenario});
        QFile table(bench.folder.filePath("table.vl"));
        QVERIFY(file.isEmpty() || (table.open(QIODevice::WriteOnly) && table.write(file) && table.flush()));
        CliOptions options;
        options.command = CommandKind(command);
        options.file = "table.vl";
        options.backup = backup;
        options.verify = !backup.isEmpty();
        QFETCH(int, stopAt);
        QTEST(bench.run(options, stopAt), "status");
        QTEST(QString(bench.out.data()), "out");
        QTEST(QString(bench.err.data()), "err");
        QTEST(bench.link.writtenBytes, "sent");
        QFETCH(QByteArray, saved);
        if (!saved.isEmpty())
            QCOMPARE(contents(options.command == CommandKind::Read ? "table.vl" : backup), saved);
    }

    void tracesTheSerialLineOnly()
    {
        QTemporaryDir folder;
        QBuffer out, err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        Console console(out, err, false);
        {
            LogRouting routing(console);
            QVERIFY(routing.traceTo(folder.filePath("trace")));
            qCDebug(lcSerial, "%s", "0.350 > 0d \"\\r\"");
            qCDebug(lcFiles, "not traced");
            qCWarning(lcFiles, "settings unreadable");
        }
        QCOMPARE(contents(folder.filePath("trace")), "0.350 > 0d \"\\r\"\n");
        QCOMPARE(QString(err.data()), "varlo.files: settings unreadable\n");
    }

    void takesPortAndTypeFromStoredSettings()
    {
        SettingsRecord record;
        record.setComPort(7);
        record.setTransceiverType(TransceiverType::OneChannel);
        CliOptions stored;
        applyStoredSettings(stored, record.encode());
        QCOMPARE(stored.port, 7);
        QCOMPARE(stored.transceiverType, TransceiverType::OneChannel);
        CliOptions none;
        applyStoredSettings(none, SettingsRecord().encode());
        QCOMPARE(none.port, 1);
        QCOMPARE(none.transceiverType, TransceiverType::SixChannels);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
