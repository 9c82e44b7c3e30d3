#include "files/settings_file.h"

#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray firstRunBytes()
{
    return QByteArray("\x01\x00\x01\x00", 4) + QByteArray(8, ' ') + QByteArray(500, '\0')
        + QByteArray(1500, ' ');
}

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

SettingsRecord sampleRecord()
{
    SettingsRecord record;
    record.applyFirstRunDefaults();
    record.setComPort(7);
    record.setTransceiverType(6);
    record.setRadioSerial(QStringLiteral("AB123"));
    record.setRecentFile(1, QStringLiteral("/data/tower.vl"));
    return record;
}

// Runs WriteSettings in a child whose files may not grow past limit bytes; the write then
// fails part-way, as on a full disk, whoever runs the test.
bool writeWithFileSizeLimit(const QString &path, const SettingsRecord &record, rlim_t limit)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{limit, limit};
        setrlimit(RLIMIT_FSIZE, &small);
        _exit(writeSettings(path, record) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void firstRunWritesExactBytes();
    void missingFileIsCreatedEmptyBeforeDefaults();
    void readPadsShortFiles_data();
    void readPadsShortFiles();
    void blankFieldsReadEmpty_data();
    void blankFieldsReadEmpty();
    void bytesPastRecordSurviveSave();
    void untouchedFieldTravelsUnchanged();
    void serialIsLatin1_data();
    void serialIsLatin1();
    void pathIsCutWithoutSplittingCharacter();
    void failedWriteLeavesOldFileWhole_data();
    void failedWriteLeavesOldFileWhole();
    void directoryInPlaceOfFile();
    void nonRegularFileIsWrittenInPlace();
};

void TestSettings::firstRunWritesExactBytes()
{
    QTemporaryDir dir;
    SettingsStore store(settingsFilePath(dir.path()));
    store.load();
    QCOMPARE(readAll(dir.filePath("Varlo")), firstRunBytes());
    QCOMPARE(store.record().comPort(), 1);
    QCOMPARE(store.record().transceiverType(), 1);
    QCOMPARE(store.record().radioSerial(), QString());
}

void TestSettings::missingFileIsCreatedEmptyBeforeDefaults()
{
    QTemporaryDir dir;
    const QString path = settingsFilePath(dir.path());
    QCOMPARE(readSettings(path), SettingsRecord());
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestSettings::readPadsShortFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("comPort");
    QTest::addColumn<int>("type");

    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("one byte") << QByteArray("\x05", 1) << 5 << 0;
    QTest::newRow("three bytes") << QByteArray("\x03\x00\x06", 3) << 3 << 6;
    QTest::newRow("zero filled") << QByteArray(2012, '\0') << 0 << 0;
    QTest::newRow("negative port") << QByteArray("\xfe\xff\x01\x00", 4) << -2 << 1;
    QTest::newRow("longer file") << QByteArray("\x02\x00\x06\x00", 4) + QByteArray(5000, 'x') << 2 << 6;
    QTest::newRow("garbage") << QByteArray(2012, '\xa5') << int(qint16(0xa5a5)) << int(qint16(0xa5a5));
}

void TestSettings::readPadsShortFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(int, comPort);
    QFETCH(int, type);
    QTemporaryDir dir;
    const QString path = settingsFilePath(dir.path());
    writeAll(path, content);
    const SettingsRecord record = readSettings(path);
    QCOMPARE(record.comPort(), comPort);
    QCOMPARE(record.transceiverType(), type);
    QCOMPARE(record.encode().size(), SettingsRecord::kSize);
    QCOMPARE(record.encode().first(std::min<qsizetype>(content.size(), 2012)), content.first(std::min<qsizetype>(content.size(), 2012)));
}

void TestSettings::blankFieldsReadEmpty_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("serial");

    QTest::newRow("spaces") << QByteArray(8, ' ') << QString();
    QTest::newRow("zeros") << QByteArray(8, '\0') << QString();
    QTest::newRow("mixed") << QByteArray("  \0 \0\0  ", 8) << QString();
    QTest::newRow("padded") << QByteArray(" 1234 ", 6) + "  " << QStringLiteral("1234");
    QTest::newRow("full") << QByteArray("12345678") << QStringLiteral("12345678");
}

void TestSettings::blankFieldsReadEmpty()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, serial);
    QByteArray bytes(2012, '\0');
    bytes.replace(4, 8, field);
    bytes.replace(512, 500, QByteArray(250, ' ') + QByteArray(250, '\0'));
    const SettingsRecord record = SettingsRecord::decode(bytes);
    QCOMPARE(record.radioSerial(), serial);
    QCOMPARE(record.recentFile(1), QString());
    QCOMPARE(record.encode(), bytes);
}

void TestSettings::bytesPastRecordSurviveSave()
{
    QTemporaryDir dir;
    const QString path = settingsFilePath(dir.path());
    const QByteArray tail("tail bytes that belong to someone else");
    writeAll(path, QByteArray(2012, '\0') + tail);
    QVERIFY(writeSettings(path, sampleRecord()));
    QCOMPARE(readAll(path), sampleRecord().encode() + tail);
}

void TestSettings::untouchedFieldTravelsUnchanged()
{
    QByteArray bytes = firstRunBytes();
    bytes.replace(12, 6, "legacy");
    SettingsRecord record = SettingsRecord::decode(bytes);
    record.applyFirstRunDefaults();
    record.setRecentFile(2, QStringLiteral("/x"));
    QCOMPARE(record.encode().mid(12, 500), bytes.mid(12, 500));
}

void TestSettings::serialIsLatin1_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("short") << "1234567" << QByteArray("1234567 ");
    QTest::newRow("empty") << "" << QByteArray(8, ' ');
    QTest::newRow("long") << "123456789AB" << QByteArray("12345678");
    QTest::newRow("latin1") << QStringLiteral("Ä-Ø") << QByteArray("\xc4-\xd8     ");
    QTest::newRow("outside latin1") << QStringLiteral("A€B") << QByteArray("A?B     ");
}

void TestSettings::serialIsLatin1()
{
    QFETCH(QString, serial);
    QFETCH(QByteArray, stored);
    SettingsRecord record;
    record.setRadioSerial(serial);
    QCOMPARE(record.encode().mid(4, 8), stored);
}

void TestSettings::pathIsCutWithoutSplittingCharacter()
{
    SettingsRecord record;
    // 499 ASCII bytes, then a two-byte character that would straddle the limit.
    const QString path = QString(499, u'a') + QStringLiteral("é") + QStringLiteral("tail");
    record.setRecentFile(1, path);
    const QByteArray field = record.encode().mid(512, 500);
    QCOMPARE(field, QByteArray(499, 'a') + ' ');
    QCOMPARE(record.recentFile(1), QString(499, u'a'));

    const QString fits = QString(498, u'b') + QStringLiteral("é");
    record.setRecentFile(2, fits);
    QCOMPARE(record.recentFile(2), fits);
}

void TestSettings::failedWriteLeavesOldFileWhole_data()
{
    QTest::addColumn<int>("limit");
    QTest::newRow("nothing may be written") << 0;
    QTest::newRow("cut inside the record") << 1000;
    QTest::newRow("cut inside the tail") << 2020;
}

void TestSettings::failedWriteLeavesOldFileWhole()
{
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path = settingsFilePath(dir.path());
    const QByteArray old = firstRunBytes() + QByteArray(100, 't');
    writeAll(path, old);
    QVERIFY(!writeWithFileSizeLimit(path, sampleRecord(), rlim_t(limit)));
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Varlo"});
}

void TestSettings::directoryInPlaceOfFile()
{
    QTemporaryDir dir;
    const QString path = settingsFilePath(dir.path());
    QVERIFY(QDir(dir.path()).mkdir("Varlo"));
    QCOMPARE(readSettings(path), SettingsRecord());
    QVERIFY(!writeSettings(path, sampleRecord()));
    QVERIFY(QFileInfo(path).isDir());

    SettingsStore store(path);
    store.load(); // runs on defaults in memory without complaint
    QCOMPARE(store.record().comPort(), 1);
}

void TestSettings::nonRegularFileIsWrittenInPlace()
{
    QTemporaryDir dir;
    const QString path = settingsFilePath(dir.path());
    QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QFile reader(path);
    QVERIFY(reader.open(QIODevice::ReadWrite | QIODevice::Unbuffered)); // keeps the pipe open
    QVERIFY(writeSettings(path, sampleRecord()));
    QVERIFY(!QFileInfo(path).isFile());
    QCOMPARE(reader.read(SettingsRecord::kSize), sampleRecord().encode());
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
