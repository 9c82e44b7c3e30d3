// Channel files, the settings file and the recent list, down to the bytes on disk.
#include "files/backup_file.h"
#include "files/channel_file.h"
#include "files/recent_files.h"
#include "files/settings_file.h"

#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// tower.vl as the save finds it: ours, another user's, or with the second name "twin".
enum class Tower { Own, Others, Twin };

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void saveReplacesWholeFile_data()
    {
        // The folder holds the settings file Varlo, a link to it and tower.vl with six lines,
        // as the row says.
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("frequencies");
        QTest::addColumn<int>("limit");
        QTest::addColumn<Tower>("tower");
        QTest::addColumn<QByteArray>("saved"); // empty when the save must fail
        QTest::addColumn<QString>("failure");
        const QByteArray one("121.500\r\n");
        const QStringList oneLine{"121.500"};
        const QByteArray none;
        QTest::newRow("six channels, new file") << "new.vl" << kSix << -1 << Tower::Own << kSixLines << "";
        QTest::newRow("one over six") << "tower.vl" << oneLine << -1 << Tower::Own << one << "";
        QTest::newRow("another user's") << "tower.vl" << oneLine << -1 << Tower::Others << one << "";
        QTest::newRow("two names") << "tower.vl" << oneLine << -1 << Tower::Twin << one << "";
        QTest::newRow("disk full in a line") << "tower.vl" << kSix << 12 << Tower::Own << none << "File too large";
        QTest::newRow("folder is a file") << "tower.vl/new.vl" << kSix << -1 << Tower::Own << none << "Not a directory";
        const QString settings = "the settings are kept there";
        QTest::newRow("settings through link") << "link" << kSix << -1 << Tower::Own << none << settings;
    }
    void saveReplacesWholeFile()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, frequencies);
        QFETCH(int, limit);
        QFETCH(Tower, tower);
        QFETCH(QByteArray, saved);
        QFETCH(QString, failure);
        if (tower == Tower::Others && geteuid() != 0)
            QSKIP("only root can give a file to another user");
        QTemporaryDir dir;
        const QString towerPath = dir.filePath("tower.vl");
        writeAll(dir.filePath("Varlo"), QByteArray(2012, 'S'));
        writeAll(towerPath, kSixLines);
        QVERIFY(QFile::link(dir.filePath("Varlo"), dir.filePath("link")));
        QVERIFY(tower != Tower::Others || chown(QFile::encodeName(towerPath).constData(), 65534, 65534) == 0);
        QVERIFY(tower != Tower::Twin
                || link(QFile::encodeName(towerPath), QFile::encodeName(dir.filePath("twin"))) == 0);
        const auto save = [&] {
            return writeChannelFile(dir.filePath(target), frequencies, dir.filePath("Varlo")).value_or("") == failure;
        };
        const bool saves = failure.isEmpty();
        QVERIFY(succeedsInChild(save, rlim_t(limit)));
        QCOMPARE(readAll(dir.filePath("new.vl")), target == "new.vl" ? saved : QByteArray());
        QCOMPARE(readAll(towerPath), saves && target == "tower.vl" ? saved : kSixLines);
        QCOMPARE(readAll(dir.filePath("twin")), tower == Tower::Twin ? saved : QByteArray());
        QCOMPARE(QFileInfo(towerPath).ownerId(), tower == Tower::Others ? 65534u : geteuid());
        QCOMPARE(readAll(dir.filePath("Varlo")), QByteArray(2012, 'S'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(),
                 target == "new.vl" || tower == Tower::Twin ? 4 : 3); // no leftovers
    }

    void loadingRunsToFirstInvalidLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<QString>("invalid"); // its number and text, or empty
        QTest::addColumn<int>("extra");
        QTest::newRow("six read as one") << kSixLines << 1 << QStringList{"118.000"} << "" << 5;
        QTest::newRow("one read as six") << QByteArray("   121.500\r\n") << 6 << QStringList{"121.500"} << "" << 0;
        QTest::newRow("junk after 7th, LF or CR LF") << QByteArray("121.500xyz\n122.000 9\r\n123.000") << 6
                                                     << QStringList{"121.500", "122.000", "123.000"} << "" << 0;
        QTest::newRow("invalid first") << QByteArray("hello\r\n121.500\r\n") << 6 << QStringList{} << "1 hello" << 0;
        QTest::newRow("invalid second") << QByteArray("121.500\r\n121.510 kHz\r\n122.000\r\n") << 6
                                        << QStringList{"121.500"} << "2 121.510 kHz" << 0;
        QTest::newRow("empty line") << QByteArray("121.500\n\n122.000") << 6 << QStringList{"121.500"} << "2 " << 0;
    }
    void loadingRunsToFirstInvalidLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, channels);
        const ChannelLines read = decodeChannelFile(text, channels);
        QTEST(read.frequencies, "loaded");
        QTEST(read.invalid ? QString::number(read.invalid->number) + u' ' + read.invalid->text : QString(), "invalid");
        QTEST(int(read.extraLines), "extra");
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

    void firstRunWritesItsBytes()
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
    void settingsSaveKeepsTheFile()
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

    void recentListKeepsNewestFirst()
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
    }

    // What a download overwrote: kept as listed, never over an earlier backup, and not kept in
    // part when the disk fills.
    void backupsNeverReplace()
    {
        const QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("data/backups"));
        const QDateTime taken(QDate(2026, 12, 8), QTime(18, 30, 15));
        const BackupWrite first = writeBackup(folder, taken, 3, {"121.500", "1x9.00"});
        const BackupWrite second = writeBackup(folder, taken, 3, kSix);
        QCOMPARE(QFileInfo(first.path).fileName(), QStringLiteral("2026-12-08_183015_COM3.vl"));
        QCOMPARE(QFileInfo(second.path).fileName(), QStringLiteral("2026-12-08_183015_COM3_2.vl"));
        QCOMPARE(readAll(first.path), QByteArray("121.500\r\n1x9.00\r\n"));
        QCOMPARE(readAll(second.path), kSixLines);
        QVERIFY(!succeedsInChild([&] { return writeBackup(folder, taken, 3, kSix).failure.isEmpty(); }, 10));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
        writeAll(dir.filePath(QStringLiteral("plain")), "x");
        QCOMPARE(writeBackup(dir.filePath(QStringLiteral("plain/backups")), taken, 3, kSix).failure,
                 QStringLiteral("Not a directory"));
    }

    void shortensPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");

        QTest::newRow("short with blanks") << "  C:/work/tower.vl  " << QString("C:/work/tower.vl");
        QTest::newRow("exactly 30") << "/abcdefghij/klmnopqrst/uvw.vlx" << QString("/abcdefghij/klmnopqrst/uvw.vlx");
        QTest::newRow("long") << "C:/Program Files/Radio/Data/channels/tower.vl"
                              << QString("C:/Program Files/ ... /tower.vl");
        QTest::newRow("no separator after the head")
            << "D:/radios/airfield/approach-frequencies.vl" << QString("D:/radios/ ... ");
        QTest::newRow("no separator at all") << QString(40, u'x') << " ... ";
    }

    void shortensPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        QCOMPARE(shortenPath(QDir::toNativeSeparators(path)), QDir::toNativeSeparators(shown));
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "test_files.moc"
