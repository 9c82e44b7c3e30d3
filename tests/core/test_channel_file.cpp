#include "files/channel_file.h"
#include "files/settings_file.h"
#include "print/channel_report.h"

#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QStringList kSix{"118.000", "118.025", "121.500", "122.750", "130.000", "138.000"};
const QByteArray kSixLines = "118.000\r\n118.025\r\n121.500\r\n122.750\r\n130.000\r\n138.000\r\n";

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

bool putContent(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Saves in a child whose files may not grow past limit bytes (-1 is RLIM_INFINITY), so that
// the disk fails part-way even for root.
bool saveInChild(const QString &path, const QStringList &frequencies, const QString &settings, int limit)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{rlim_t(limit), rlim_t(limit)};
        setrlimit(RLIMIT_FSIZE, &small);
        _exit(writeChannelFile(path, frequencies, settings) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

class TestChannelFile : public QObject {
    Q_OBJECT
private slots:
    void saveReplacesWholeFile_data()
    {
        // The folder holds the settings file Varlo, a link to it and tower.vl with six lines.
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("frequencies");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QByteArray>("saved"); // empty when the save must fail
        QTest::newRow("six channels, new file") << "new.vl" << kSix << -1 << kSixLines;
        QTest::newRow("one over six") << "tower.vl" << QStringList{"121.500"} << -1 << QByteArray("121.500\r\n");
        QTest::newRow("disk full in a line") << "tower.vl" << kSix << 12 << QByteArray();
        QTest::newRow("folder is a file") << "tower.vl/new.vl" << kSix << -1 << QByteArray();
        QTest::newRow("settings through dot") << "./Varlo" << kSix << -1 << QByteArray();
        QTest::newRow("settings through link") << "link" << kSix << -1 << QByteArray();
    }
    void saveReplacesWholeFile()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, frequencies);
        QFETCH(int, limit);
        QFETCH(QByteArray, saved);
        QTemporaryDir dir;
        QVERIFY(putContent(dir.filePath("Varlo"), QByteArray(2012, 'S')) && putContent(dir.filePath("tower.vl"), kSixLines));
        QVERIFY(QFile::link(dir.filePath("Varlo"), dir.filePath("link")));
        const bool saves = !saved.isEmpty();
        QCOMPARE(saveInChild(dir.filePath(target), frequencies, dir.filePath("Varlo"), limit), saves);
        QCOMPARE(contentOf(dir.filePath("new.vl")), target == "new.vl" ? saved : QByteArray("(none)"));
        QCOMPARE(contentOf(dir.filePath("tower.vl")), saves && target == "tower.vl" ? saved : kSixLines);
        QCOMPARE(contentOf(dir.filePath("Varlo")), QByteArray(2012, 'S'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), target == "new.vl" ? 4 : 3); // no leftovers
    }

    void loadingRunsToFirstInvalidLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QStringList>("loaded");
        QTest::newRow("six read as one") << kSixLines << 1 << QStringList{"118.000"};
        QTest::newRow("one read as six") << QByteArray("121.500\r\n") << 6 << QStringList{"121.500"};
        QTest::newRow("junk after 7th") << QByteArray("121.500xyz\r\n122.000 9\r\n") << 6 << QStringList{"121.500", "122.000"};
        QTest::newRow("leading spaces") << QByteArray("   121.500\r\n") << 1 << QStringList{"121.500"};
        QTest::newRow("invalid first") << QByteArray("hello\r\n121.500\r\n") << 6 << QStringList{};
        QTest::newRow("invalid second") << QByteArray("121.500\r\n121.510\r\n122.000\r\n") << 6 << QStringList{"121.500"};
        QTest::newRow("LF only") << QByteArray("121.500\n122.000\n123.000") << 6 << QStringList{"121.500", "122.000", "123.000"};
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
        QTest::newRow("two points") << "/data/tower.backup.vl" << "/data/tower";
        QTest::newRow("point in folder") << "/home/j.smith/tower.vl" << "/home/j.smith/tower";
        QTest::newRow("hidden folder") << "/home/j/.radios/tower.vl" << "/home/j/.radios/tower";
        QTest::newRow("no extension") << "/home/j.smith/tower" << "/home/j.smith/tower";
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
        QTest::newRow("six channels") << kSix << head + "\tChannel 1:\t118.000\tMHz\r\n\tChannel 2:\t118.025\tMHz\r\n"
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

    // The settings file follows the same rule as channel files: no open ever waits.
    void settingsFileOnPipeReturnsAtOnce()
    {
        QTemporaryDir dir;
        const QString path = settingsFilePath(dir.path());
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const pid_t child = fork();
        if (child == 0) {
            alarm(10); // an open that waits ends the child
            SettingsStore store(path);
            store.load();
            _exit(store.record().comPort() == 1 && !writeSettings(path, store.record()) ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "blocked on the pipe, or read or wrote it");
        QVERIFY(!QFileInfo(path).isFile());
    }
};

QTEST_GUILESS_MAIN(TestChannelFile)
#include "test_channel_file.moc"
