// What needs neither a window nor a line: the clocks, frequencies, the settings file, the
// recent list, channel files and the report text, port numbers typed and resolved, the serial trace's lines, and the
// benchmark's own arithmetic.
#include "bench/figures.h"
#include "channels/frequency.h"
#include "core/serial_trace.h"
#include "core/time_source.h"
#include "files/channel_file.h"
#include "files/recent_files.h"
#include "files/settings_file.h"
#include "link/com_port_resolver.h"
#include "link/port_number.h"
#include "print/channel_report.h"

#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;
using Number = std::optional<qint16>;
Q_DECLARE_METATYPE(Number)

namespace {

const QByteArray kFirstRun =
    QByteArray("\x01\x00\x01\x00", 4) + QByteArray(8, ' ') + QByteArray(500, '\0') + QByteArray(1500, ' ');

const QStringList kSix{"118.000", "118.025", "121.500", "122.750", "130.000", "138.000"};
const QByteArray kSixLines = "118.000\r\n118.025\r\n121.500\r\n122.750\r\n130.000\r\n138.000\r\n";

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// What this process has read from files so far, by the kernel's count.
qint64 bytesRead()
{
    const QByteArray io = readAll(QStringLiteral("/proc/self/io"));
    return io.mid(io.indexOf("rchar: ") + 7).split('\n').constFirst().toLongLong();
}

SettingsRecord sampleRecord()
{
    SettingsRecord record;
    record.applyFirstRunDefaults();
    record.setComPort(7);
    record.setTransceiverType(TransceiverType::SixChannels);
    record.setRecentFile(1, QStringLiteral("/data/tower.vl"));
    return record;
}

// Runs work in a child whose files may not grow past limit bytes, so that a write fails
// part-way as on a full disk, whoever runs the test; an open that waits ends it in 10 s.
bool succeedsInChild(const std::function<bool()> &work, rlim_t limit = RLIM_INFINITY)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{limit, limit};
        setrlimit(RLIMIT_FSIZE, &small);
        alarm(10);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

class TestCore : public QObject {
    Q_OBJECT
private slots:
    void saveReplacesWholeFile_data()
    {
        // The folder holds the settings file Varlo, a link to it and tower.vl with six lines,
        // owned by another user or with a second name "twin" when the row says so.
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("frequencies");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("tower");
        QTest::addColumn<QByteArray>("saved"); // empty when the save must fail
        QTest::addColumn<QString>("failure");
        const QByteArray one("121.500\r\n");
        const QStringList oneLine{"121.500"};
        QTest::newRow("six channels, new file") << "new.vl" << kSix << -1 << "" << kSixLines << "";
        QTest::newRow("one over six") << "tower.vl" << oneLine << -1 << "" << one << "";
        QTest::newRow("another user's") << "tower.vl" << oneLine << -1 << "nobody" << one << "";
        QTest::newRow("two names") << "tower.vl" << oneLine << -1 << "twin" << one << "";
        QTest::newRow("disk full in a line") << "tower.vl" << kSix << 12 << "" << QByteArray() << "File too large";
        QTest::newRow("folder is a file") << "tower.vl/new.vl" << kSix << -1 << "" << QByteArray() << "Not a directory";
        const QString settings = "the settings are kept there";
        QTest::newRow("settings through link") << "link" << kSix << -1 << "" << QByteArray() << settings;
    }
    void saveReplacesWholeFile()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, frequencies);
        QFETCH(int, limit);
        QFETCH(QString, tower);
        QFETCH(QByteArray, saved);
        QFETCH(QString, failure);
        if (tower == "nobody" && geteuid() != 0)
            QSKIP("only root can give a file to another user");
        QTemporaryDir dir;
        const QString towerPath = dir.filePath("tower.vl");
        writeAll(dir.filePath("Varlo"), QByteArray(2012, 'S'));
        writeAll(towerPath, kSixLines);
        QVERIFY(QFile::link(dir.filePath("Varlo"), dir.filePath("link")));
        QVERIFY(tower != "nobody" || chown(QFile::encodeName(towerPath).constData(), 65534, 65534) == 0);
        QVERIFY(tower != "twin" || link(QFile::encodeName(towerPath), QFile::encodeName(dir.filePath("twin"))) == 0);
        const auto save = [&] {
            return writeChannelFile(dir.filePath(target), frequencies, dir.filePath("Varlo")).value_or("") == failure;
        };
        const bool saves = failure.isEmpty();
        QVERIFY(succeedsInChild(save, rlim_t(limit)));
        QCOMPARE(readAll(dir.filePath("new.vl")), target == "new.vl" ? saved : QByteArray());
        QCOMPARE(readAll(towerPath), saves && target == "tower.vl" ? saved : kSixLines);
        QCOMPARE(readAll(dir.filePath("twin")), tower == "twin" ? saved : QByteArray());
        QCOMPARE(QFileInfo(towerPath).ownerId(), tower == "nobody" ? 65534u : geteuid());
        QCOMPARE(readAll(dir.filePath("Varlo")), QByteArray(2012, 'S'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(),
                 target == "new.vl" || tower == "twin" ? 4 : 3); // no leftovers
    }

    void loadingRunsToFirstInvalidLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QStringList>("loaded");
        QTest::newRow("six read as one") << kSixLines << 1 << QStringList{"118.000"};
        QTest::newRow("one read as six") << QByteArray("121.500\r\n") << 6 << QStringList{"121.500"};
        QTest::newRow("junk after 7th") << QByteArray("121.500xyz\r\n122.000 9\r\n") << 6
                                        << QStringList{"121.500", "122.000"};
        QTest::newRow("leading spaces") << QByteArray("   121.500\r\n") << 1 << QStringList{"121.500"};
        QTest::newRow("invalid first") << QByteArray("hello\r\n121.500\r\n") << 6 << QStringList{};
        QTest::newRow("invalid second") << QByteArray("121.500\r\n121.510\r\n122.000\r\n") << 6
                                        << QStringList{"121.500"};
        QTest::newRow("LF only") << QByteArray("121.500\n122.000\n123.000") << 6
                                 << QStringList{"121.500", "122.000", "123.000"};
    }
    void loadingRunsToFirstInvalidLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, channels);
        QFETCH(QStringList, loaded);
        QCOMPARE(decodeChannelFile(text, channels), loaded);
    }

    void proposedNameKeepsFolder_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("two points") << "/data/tower.backup.vl"
                                    << "/data/tower";
        QTest::newRow("point in folder") << "/home/j.smith/tower.vl"
                                         << "/home/j.smith/tower";
        QTest::newRow("no extension") << "/home/j.smith/tower"
                                      << "/home/j.smith/tower";
    }
    void proposedNameKeepsFolder()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, proposed);
        QCOMPARE(proposedFileName(chosen), proposed);
    }

    void reportIsExact_data()
    {
        QTest::addColumn<QStringList>("frequencies");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head = "\r\n\r\n\r\n\r\n\tSerial No:  \tAB123\t\t\t\t24/12/2025   09:05\r\n\t"
            + QByteArray(68, '\xaf') + "\r\n\r\n";
        QTest::newRow("one channel") << QStringList{"121.500"} << head + "\tChannel 1:\t121.500\tMHz\r\n";
        QTest::newRow("six channels") << kSix
                                      << head
                + "\tChannel 1:\t118.000\tMHz\r\n\tChannel 2:\t118.025\tMHz\r\n"
                  "\tChannel 3:\t121.500\tMHz\r\n\tChannel 4:\t122.750\tMHz\r\n"
                  "\tChannel 5:\t130.000\tMHz\r\n\tChannel 6:\t138.000\tMHz\r\n";
    }
    void reportIsExact()
    {
        QFETCH(QStringList, frequencies);
        QFETCH(QByteArray, expected);
        const QString report = channelReport("AB123", "24/12/2025", "09:05", frequencies);
        QCOMPARE(report.toLatin1(), expected); // the rule is U+00AF, one byte in Latin-1
    }

    // The settings file may stand on a FIFO: no open waits, and the failed write is logged while
    // the program runs on with the record in memory.
    void settingsFileOnPipeReturnsAtOnce()
    {
        QTemporaryDir dir;
        const QString path = settingsFilePath(dir.path());
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        SettingsStore store(path);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^Could not save the settings to .*/Varlo: No such device"));
        alarm(10); // an open that waits ends the test
        store.load();
        alarm(0);
        QCOMPARE(store.record().comPort(), 1);
        QVERIFY(!QFileInfo(path).isFile());
    }

    void traceLineEscapesAndAligns_data()
    {
        QTest::addColumn<double>("ms");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");
        QTest::newRow("a digit sent") << 350.2136 << true << QByteArray("6") << "   350.214 > 6";
        QTest::newRow("line ends, backslash") << 0.0 << false << QByteArray("C1\r\n\\") << "     0.000 < C1\\r\\n\\\\";
        QTest::newRow("control and raw bytes")
            << 12345.6 << false << QByteArray("\x00\x1b \x7f\xe9~", 6) << " 12345.600 < \\x00\\x1B \\x7F\\xE9~";
        QTest::newRow("wider than ten: nothing cut")
            << 1234567.0 << true << QByteArray("\xff") << "1234567.000 > \\xFF";
    }
    void traceLineEscapesAndAligns()
    {
        QFETCH(double, ms);
        QFETCH(bool, sent);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line);
        QCOMPARE(traceLine(ms, sent ? TraceDirection::Sent : TraceDirection::Received, bytes), line);
    }

    void virtualAlarmsFireInOrderOfTime();
    void frequencyText_data();
    void frequencyText();
    void frequencySweep();
    void firstRunWritesItsBytes();
    void settingsSaveKeepsTheFile();
    void recentListKeepsNewestFirst();
    void shortensPath_data();
    void shortensPath();
    void numberFromText_data();
    void numberFromText();
    void resolver_data();
    void resolver();
    void gapSummary_data();
    void gapSummary();
    void addsUpProtocolFloor_data();
    void addsUpProtocolFloor();
};

// Equal times fire first come first served; a cancelled alarm never fires.
void TestCore::virtualAlarmsFireInOrderOfTime()
{
    VirtualTimeSource time;
    QList<int> fired;
    auto late = time.alarmAt(300ms, [&] { fired << 3; });
    auto early = time.alarmAt(100ms, [&] { fired << 1; });
    auto same = time.alarmAt(100ms, [&] { fired << 2; });
    time.alarmAt(200ms, [&] { fired << 0; }).reset();
    time.advanceTo(250ms);
    QCOMPARE(fired, (QList<int>{1, 2}));
    QCOMPARE(time.now(), 250ms);
    QVERIFY(time.runNext());
    QCOMPARE(fired, (QList<int>{1, 2, 3}));
    QCOMPARE(time.now(), 300ms);
    QVERIFY(!time.runNext());
}

// The sweep below covers the band and the raster; these are the other shapes of a text.
void TestCore::frequencyText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("canonical"); // empty: refused

    QTest::newRow("blanks both sides") << "  118.025  "
                                       << "118.025";
    QTest::newRow("leading zero") << "0118.00"
                                  << "118.000";
    QTest::newRow("plus sign") << "+138.00"
                               << "138.000";
    QTest::newRow("no fraction digits") << "000118."
                                        << "118.000";
    QTest::newRow("six characters") << "118.01" << QString();
    QTest::newRow("eight characters") << "118.0250" << QString();
    QTest::newRow("trailing blank leaves six") << "118.00 " << QString();
    QTest::newRow("minus sign") << "-118.00" << QString();
    QTest::newRow("empty") << "" << QString();
    QTest::newRow("exponent") << "1.2E+02" << QString();
    QTest::newRow("decimal comma") << "118,025" << QString();
    QTest::newRow("two points") << "118.0.0" << QString();
    QTest::newRow("inner blank") << "118 025" << QString();
    QTest::newRow("tab padded") << "\t118.025" << QString();
}

void TestCore::frequencyText()
{
    QFETCH(QString, text);
    QFETCH(QString, canonical);
    QCOMPARE(validFrequency(text), !canonical.isEmpty());
    if (!canonical.isEmpty())
        QCOMPARE(canonicalFrequency(text), canonical);
}

void TestCore::frequencySweep()
{
    for (int khz = 117000; khz <= 139000; khz += 5) {
        const QString text = QStringLiteral("%1.%2").arg(khz / 1000).arg(khz % 1000, 3, 10, QChar(u'0'));
        const bool expected = khz >= 118000 && khz <= 138000 && khz % 25 == 0;
        QVERIFY2(validFrequency(text) == expected, qPrintable(text));
        QVERIFY2(!expected || canonicalFrequency(text) == text, qPrintable(text));
    }
}

void TestCore::firstRunWritesItsBytes()
{
    QTemporaryDir dir;
    SettingsStore store(settingsFilePath(dir.path()));
    store.load();
    QCOMPARE(readAll(dir.filePath("Varlo")), kFirstRun);
    QCOMPARE(store.record().comPort(), 1);
    QCOMPARE(store.record().transceiverType(), TransceiverType::OneChannel);
    QCOMPARE(store.record().radioSerial(), QString());
}

// Inode, owner, size and the bytes past the record stay; as root the file is nobody's. The
// 300 MB the file is cut to are neither read nor written.
void TestCore::settingsSaveKeepsTheFile()
{
    QTemporaryDir dir;
    const QString path = settingsFilePath(dir.path());
    const QByteArray tail("tail bytes that belong to someone else");
    writeAll(path, QByteArray(2012, '\0') + tail);
    QVERIFY(QFile::resize(path, 300 * 1024 * 1024));
    QCOMPARE(chown(QFile::encodeName(path), 65534, 65534) == 0, geteuid() == 0);
    struct stat before {};
    QCOMPARE(stat(QFile::encodeName(path), &before), 0);
    const qint64 readBefore = bytesRead();
    QCOMPARE(readSettings(path), SettingsRecord());
    QCOMPARE(writeSettings(path, sampleRecord()), std::nullopt);
    QVERIFY(bytesRead() - readBefore < 100000);
    struct stat after {};
    QCOMPARE(stat(QFile::encodeName(path), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_size, before.st_size);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2012 + tail.size()), sampleRecord().encode() + tail);
}

void TestCore::recentListKeepsNewestFirst()
{
    SettingsRecord record;
    record.applyFirstRunDefaults();
    for (const char *name : {"A", "B", "C", "B"})
        QVERIFY(pushRecentFile(record, QString::fromLatin1(name)));
    const SettingsRecord before = record;
    QVERIFY(!pushRecentFile(record, QStringLiteral(" B ")));
    QCOMPARE(record, before);
    QCOMPARE(QStringList({record.recentFile(1), record.recentFile(2), record.recentFile(3)}),
             (QStringList{"B", "C", "B"}));
    QCOMPARE(recentFileCaption(2, QStringLiteral("/r&d/x.vl")), QStringLiteral("&2. /r&&d/x.vl"));
}

void TestCore::shortensPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");

    QTest::newRow("short with blanks") << "  C:/work/tower.vl  "
                                       << "C:/work/tower.vl";
    QTest::newRow("exactly 30") << "/abcdefghij/klmnopqrst/uvw.vlx"
                                << "/abcdefghij/klmnopqrst/uvw.vlx";
    QTest::newRow("long") << "C:/Program Files/Radio/Data/channels/tower.vl"
                          << "C:/Program Files/ ... /tower.vl";
    QTest::newRow("no separator after the head") << "D:/radios/airfield/approach-frequencies.vl"
                                                 << "D:/radios/ ... ";
    QTest::newRow("no separator at all") << QString(40, u'x') << " ... ";
}

void TestCore::shortensPath()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);
    QCOMPARE(shortenPath(QDir::toNativeSeparators(path)), QDir::toNativeSeparators(shown));
}

void TestCore::numberFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Number>("integer");
    QTest::addColumn<Number>("port");

    QTest::newRow("empty") << "" << Number() << Number();
    QTest::newRow("blanks around") << " 12 " << Number(12) << Number(12);
    QTest::newRow("plus sign") << "+7" << Number(7) << Number(7);
    QTest::newRow("minus sign") << "-3" << Number(-3) << Number();
    QTest::newRow("blank after the sign") << "- 3" << Number() << Number();
    QTest::newRow("leading zeros") << "0000012" << Number(12) << Number(12);
    QTest::newRow("half to even, down") << "2.5" << Number(2) << Number(2);
    QTest::newRow("half to even, up") << "3.5" << Number(4) << Number(4);
    QTest::newRow("beyond half") << "2.5000001" << Number(3) << Number(3);
    QTest::newRow("negative half to even") << "-2.5" << Number(-2) << Number();
    QTest::newRow("leading point") << ".6" << Number(1) << Number(1);
    QTest::newRow("rounds to zero") << "0.5" << Number(0) << Number();
    QTest::newRow("two points") << "1.2.3" << Number() << Number();
    QTest::newRow("exponent") << "1e3" << Number() << Number();
    QTest::newRow("grouping comma") << "1,000" << Number() << Number();
    QTest::newRow("line break inside") << "1\r\n2" << Number() << Number();
    QTest::newRow("largest") << "32767" << Number(32767) << Number(32767);
    QTest::newRow("rounds past the largest") << "32767.5" << Number() << Number();
    QTest::newRow("rounds to the smallest") << "-32768.5" << Number(-32768) << Number();
    QTest::newRow("negative overflow") << "-32769" << Number() << Number();
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << Number() << Number();
}

void TestCore::numberFromText()
{
    QFETCH(QString, text);
    QFETCH(Number, integer);
    QFETCH(Number, port);
    QCOMPARE(integerFromText(text), integer);
    QCOMPARE(portFromText(text), port);
}

// COMn in the working folder (a symlink or a device, even a dangling link) wins; otherwise
// the n-th system port, USB adapters first, numbers in numeric order.
void TestCore::resolver_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device"); // empty: none

    const QStringList mixed{"ttyS0", "ttyACM0", "ttyS1", "ttyUSB0"};
    QTest::newRow("then the others in order") << mixed << "" << 4 << "/dev/ttyS1";
    QTest::newRow("past the list") << mixed << "" << 5 << "";
    QTest::newRow("zero") << mixed << "" << 0 << "";
    QTest::newRow("ttyUSB2 before ttyUSB10") << QStringList{"ttyUSB10", "ttyUSB2"} << "" << 1 << "/dev/ttyUSB2";
    QTest::newRow("all USB before ACM") << QStringList{"ttyACM0", "ttyUSB11", "ttyUSB3"} << "" << 3 << "/dev/ttyACM0";
    QTest::newRow("ACM in numeric order") << QStringList{"ttyACM10", "ttyUSB0", "ttyACM9"} << "" << 2 << "/dev/ttyACM9";
    QTest::newRow("others by name") << QStringList{"ttyS0", "ttyAMA0"} << "" << 1 << "/dev/ttyAMA0";
    QTest::newRow("COM1 linked to a device") << mixed << "link" << 1 << "COM1";
    QTest::newRow("COM1 linked to nothing") << mixed << "dangling" << 1 << "COM1";
    QTest::newRow("COM1 a plain file: no entry") << mixed << "file" << 1 << "/dev/ttyUSB0";
    QTest::newRow("COM1 leaves COM3 to the list") << mixed << "link" << 3 << "/dev/ttyS0";
}

void TestCore::resolver()
{
    QFETCH(QStringList, ports);
    QFETCH(QString, entry);
    QFETCH(int, number);
    QFETCH(QString, device);
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    if (entry == "link")
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), QStringLiteral("COM1")));
    if (entry == "dangling")
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), QStringLiteral("COM1")));
    if (entry == "file")
        writeAll(QStringLiteral("COM1"), "not a device");
    const ComPortResolver resolver([ports] {
        QList<SystemPort> listed;
        for (const QString &name : ports)
            listed.append({name, QStringLiteral("/dev/") + name});
        return listed;
    });
    const QString expected = device.startsWith("COM") ? dir.filePath(device) : device;
    const std::optional<QString> resolved = resolver.resolve(number);
    const QString described = resolver.describe(number);
    QDir::setCurrent(previous);
    QCOMPARE(resolved.value_or(QString()), expected);
    if (device.isEmpty())
        QCOMPARE(described, QStringLiteral("No serial port present for COM %1").arg(number));
    else
        QVERIFY2(described.startsWith(expected), qPrintable(described));
}

void TestCore::gapSummary_data()
{
    QTest::addColumn<QList<double>>("gaps");
    QTest::addColumn<QList<double>>("minMedianP99Max");

    QList<double> hundred(99, 350.0);
    hundred.append(400.0);
    QList<double> twoHigh = hundred;
    twoHigh[0] = 360.0;
    QTest::newRow("one high gap in 100: p99 is the 99th") << hundred << QList<double>{350, 350, 350, 400};
    QTest::newRow("two high gaps in 100") << twoHigh << QList<double>{350, 350, 360, 400};
    QTest::newRow("unsorted four: nearest rank") << QList<double>{4, 1, 3, 2} << QList<double>{1, 2, 4, 4};
    QTest::newRow("one gap") << QList<double>{5} << QList<double>{5, 5, 5, 5};
}

void TestCore::gapSummary()
{
    QFETCH(QList<double>, gaps);
    QFETCH(QList<double>, minMedianP99Max);
    const GapSummary summary = summarizeGaps(std::vector<double>(gaps.begin(), gaps.end()));
    QCOMPARE(summary.count, int(gaps.size()));
    QCOMPARE((QList<double>{summary.min, summary.median, summary.p99, summary.max}), minMedianP99Max);
}

// The same ends as the transfers on virtual time: 27.9 s and 5.4 s.
void TestCore::addsUpProtocolFloor_data()
{
    QTest::addColumn<int>("characters");
    QTest::addColumn<int>("radioDelay");
    QTest::addColumn<double>("floor");

    QTest::newRow("download, the EEPROM written in 12 s") << 35 << 12000 << 27900.0;
    QTest::newRow("upload, answers within the pace") << 4 << 20 << 5400.0;
}

void TestCore::addsUpProtocolFloor()
{
    QFETCH(int, characters);
    QFETCH(int, radioDelay);
    QFETCH(double, floor);
    const FloorTerms terms{characters, Milliseconds(350), Milliseconds(radioDelay), Milliseconds(4000)};
    QCOMPARE(protocolFloor(terms).count(), floor);
}

QTEST_GUILESS_MAIN(TestCore)
#include "test_core.moc"
