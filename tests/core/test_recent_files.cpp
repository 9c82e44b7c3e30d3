#include "files/recent_files.h"

#include <QtCore/QDir>
#include <QtTest/QtTest>

namespace {

// Examples are written with "/" and turned into this platform's separator.
QString native(const char *path)
{
    return QDir::toNativeSeparators(QString::fromUtf8(path));
}

} // namespace

class TestRecentFiles : public QObject {
    Q_OBJECT
private slots:
    void shortensPath_data();
    void shortensPath();
    void listKeepsNewestFirst();
    void sameHeadChangesNothing();
    void captionShowsAmpersand();
};

void TestRecentFiles::shortensPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");

    QTest::newRow("short") << native("C:/work/tower.vl") << native("C:/work/tower.vl");
    QTest::newRow("short with blanks") << native("  C:/work/tower.vl  ") << native("C:/work/tower.vl");
    QTest::newRow("exactly 30") << native("/abcdefghij/klmnopqrst/uvw.vl") + "x"
                                << native("/abcdefghij/klmnopqrst/uvw.vl") + "x";
    QTest::newRow("long") << native("C:/Program Files/Radio/Data/channels/tower.vl")
                          << native("C:/Program Files/ ... /tower.vl");
    QTest::newRow("no separator after start") << native("D:/radios/airfield/approach-frequencies.vl")
                                              << native("D:/radios/ ... ");
    QTest::newRow("no separator at all") << QString(40, u'x') << QStringLiteral(" ... ");
    QTest::newRow("unix home") << native("/home/technician/radios/airfield/tower-east.vl")
                               << native("/home/ ... /tower-east.vl");
}

void TestRecentFiles::shortensPath()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);
    QCOMPARE(shortenPath(path), shown);
}

void TestRecentFiles::listKeepsNewestFirst()
{
    SettingsRecord record;
    record.applyFirstRunDefaults();
    for (const char *name : {"A", "B", "C"})
        QVERIFY(pushRecentFile(record, QString::fromLatin1(name)));
    QCOMPARE(record.recentFile(1), "C");
    QCOMPARE(record.recentFile(2), "B");
    QCOMPARE(record.recentFile(3), "A");
    QVERIFY(pushRecentFile(record, QStringLiteral("B")));
    QCOMPARE(record.recentFile(1), "B");
    QCOMPARE(record.recentFile(2), "C");
    QCOMPARE(record.recentFile(3), "B");
}

void TestRecentFiles::sameHeadChangesNothing()
{
    SettingsRecord record;
    record.applyFirstRunDefaults();
    pushRecentFile(record, QStringLiteral("/a/b.vl"));
    const SettingsRecord before = record;
    QVERIFY(!pushRecentFile(record, QStringLiteral(" /a/b.vl ")));
    QCOMPARE(record, before);
}

void TestRecentFiles::captionShowsAmpersand()
{
    QCOMPARE(recentFileCaption(1, QStringLiteral("/r&d/x.vl")), QStringLiteral("&1. /r&&d/x.vl"));
    QCOMPARE(recentFileCaption(3, QString()), QStringLiteral("&3. "));
}

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "test_recent_files.moc"
