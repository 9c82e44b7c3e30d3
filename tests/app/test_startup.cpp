#include "channels/channel_table.h"
#include "files/recent_menu.h"
#include "window_fixture.h"

#include <QtGui/QAction>
#include <QtTest/QtTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QTreeWidget>

namespace {

QByteArray record(qint16 port, qint16 type, const QByteArray &serial = QByteArray(8, ' '))
{
    QByteArray bytes(2012, ' ');
    bytes.replace(0, 2, QByteArray(reinterpret_cast<const char *>(&port), 2));
    bytes.replace(2, 2, QByteArray(reinterpret_cast<const char *>(&type), 2));
    bytes.replace(4, 8, serial);
    bytes.replace(12, 500, QByteArray(500, '\0'));
    return bytes;
}

void setRecent(QByteArray &bytes, int k, const QByteArray &path)
{
    bytes.replace(12 + 500 * k, 500, path.leftJustified(500, ' '));
}

QAction *action(MainWindow &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}

QStringList checkedPortItems(MainWindow &window)
{
    QStringList checked;
    for (int n = 1; n <= 5; ++n)
        if (action(window, QStringLiteral("mcom%1").arg(n))->isChecked())
            checked << QStringLiteral("mcom%1").arg(n);
    return checked;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void firstRun();
    void storedPort_data();
    void storedPort();
    void storedType_data();
    void storedType();
    void recentEntries_data();
    void recentEntries();
    void elementsCarryTheirNames();
    void recentFilesMenuFollowsOpens();
};

void TestStartup::firstRun()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    QCOMPARE(fixture.settingsBytes(), record(1, 1));
    QCOMPARE(window.windowTitle(), QStringLiteral("VarloW [v1.31]"));
    QCOMPARE(checkedPortItems(window), QStringList{"mcom1"});
    QVERIFY(window.findChild<QWidget *>(QStringLiteral("Frame1"))->isVisible());
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Label9"))->text(), QStringLiteral("FREQUENCY"));
    QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("1 Channel TxRx"));
    for (const char *name : {"mmru1", "mmru2", "mmru3", "mspace6"})
        QVERIFY2(!action(window, QString::fromLatin1(name))->isVisible(), name);
    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("ListF"));
    QCOMPARE(list->topLevelItemCount(), 6);
    for (int row = 0; row < 6; ++row) {
        QCOMPARE(list->topLevelItem(row)->text(0), QStringLiteral("118.000"));
        QCOMPARE(list->topLevelItem(row)->text(1), QStringLiteral("W"));
    }
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("FRQ"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("Band"));
}

void TestStartup::storedPort_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QStringList>("checked");

    QTest::newRow("port 3") << 3 << QStringList{"mcom3"};
    QTest::newRow("port 7") << 7 << QStringList{"mcom5"};
    QTest::newRow("negative") << -4 << QStringList{};
}

void TestStartup::storedPort()
{
    QFETCH(int, port);
    QFETCH(QStringList, checked);
    WindowFixture fixture;
    fixture.storeSettings(record(qint16(port), 6));
    MainWindow &window = fixture.start();
    QCOMPARE(checkedPortItems(window), checked);
    QCOMPARE(fixture.settingsBytes(), record(qint16(port), 6));
}

void TestStartup::storedType_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("single");

    QTest::newRow("one channel") << 1 << true;
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("five") << 5 << false;
    QTest::newRow("six") << 6 << false;
}

void TestStartup::storedType()
{
    QFETCH(int, stored);
    QFETCH(bool, single);
    WindowFixture fixture;
    fixture.storeSettings(record(2, qint16(stored)));
    MainWindow &window = fixture.start();
    QCOMPARE(window.table().singleChannel(), single);
    QCOMPARE(window.findChild<QWidget *>(QStringLiteral("Frame1"))->isVisible(), single);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Label9"))->text(),
             single ? QStringLiteral("FREQUENCY") : QStringLiteral("FREQUENCIES"));
    QCOMPARE(fixture.settingsBytes(), record(2, single ? 1 : 6));
}

void TestStartup::recentEntries_data()
{
    QTest::addColumn<QByteArray>("entry1");
    QTest::addColumn<QByteArray>("entry2");
    QTest::addColumn<QList<bool>>("shown");
    QTest::addColumn<QString>("caption2");

    QTest::newRow("blanks only") << QByteArray("     ") << QByteArray() << QList<bool>{false, false, false, false}
                                 << QStringLiteral("&2. ");
    QTest::newRow("only entry 2") << QByteArray() << QByteArray("/data/r&d/tower.vl")
                                  << QList<bool>{false, true, false, true} << QStringLiteral("&2. /data/r&&d/tower.vl");
    QTest::newRow("zero bytes") << QByteArray(40, '\0') << QByteArray() << QList<bool>{false, false, false, false}
                                << QStringLiteral("&2. ");
}

void TestStartup::recentEntries()
{
    QFETCH(QByteArray, entry1);
    QFETCH(QByteArray, entry2);
    QFETCH(QList<bool>, shown);
    QFETCH(QString, caption2);
    WindowFixture fixture;
    QByteArray bytes = record(1, 1);
    setRecent(bytes, 1, entry1);
    setRecent(bytes, 2, entry2);
    fixture.storeSettings(bytes);
    MainWindow &window = fixture.start();
    const QStringList names{"mmru1", "mmru2", "mmru3", "mspace6"};
    for (int i = 0; i < names.size(); ++i)
        QVERIFY2(action(window, names[i])->isVisible() == shown[i], qPrintable(names[i]));
    QCOMPARE(action(window, QStringLiteral("mmru2"))->text(), caption2);
    QCOMPARE(fixture.settingsBytes().mid(512, 1000), bytes.mid(512, 1000));
}

void TestStartup::elementsCarryTheirNames()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    for (const char *name : {"Toolbar1", "Combo1", "Label9", "ListF", "Frame1", "Label4", "Label3", "picCOM",
                             "Picture2", "Picture1", "Text1", "Label1", "Text2", "Label11", "Text11", "Label21"})
        QVERIFY2(window.findChild<QWidget *>(QString::fromLatin1(name)), name);
    for (const char *name : {"Timer1", "Timer2", "TimerFL"})
        QVERIFY2(window.findChild<QTimer *>(QString::fromLatin1(name)), name);
    for (const char *name : {"picCOM", "Picture2", "Picture1", "Label3"})
        QVERIFY2(!window.findChild<QWidget *>(QString::fromLatin1(name))->isVisible(), name);
    const QStringList keys{"open", "save", "print", "upload", "download", "com", "combo1"};
    const QStringList tips{"Open File", "Save File", "Print", "Upload (From Radio)", "Download (To Radio)",
                           "Select COM port", ""};
    const QList<QAction *> buttons = window.findChild<QWidget *>(QStringLiteral("Toolbar1"))->actions();
    QCOMPARE(buttons.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(buttons[i]->data().toString(), keys[i]);
        if (!tips[i].isEmpty())
            QCOMPARE(buttons[i]->toolTip(), tips[i]);
    }
}

void TestStartup::recentFilesMenuFollowsOpens()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    RecentFilesMenu &recent = window.recentFiles();
    recent.addToRecentFiles(QStringLiteral("/data/a.vl"));
    QCOMPARE(action(window, QStringLiteral("mmru1"))->text(), QStringLiteral("&1. /data/a.vl"));
    QVERIFY(action(window, QStringLiteral("mmru1"))->isVisible());
    QVERIFY(action(window, QStringLiteral("mspace6"))->isVisible());
    QCOMPARE(action(window, QStringLiteral("mmru2"))->text(), QStringLiteral("&2. "));
    QVERIFY(!action(window, QStringLiteral("mmru2"))->isVisible());

    // The same head again writes nothing: the file removed meanwhile stays away.
    QVERIFY(QFile::remove(fixture.path(QStringLiteral("Varlo"))));
    recent.addToRecentFiles(QStringLiteral("/data/a.vl"));
    QVERIFY(!QFile::exists(fixture.path(QStringLiteral("Varlo"))));

    recent.addToRecentFiles(QStringLiteral("/data/b.vl"));
    QCOMPARE(action(window, QStringLiteral("mmru2"))->text(), QStringLiteral("&2. /data/a.vl"));
    QVERIFY(action(window, QStringLiteral("mmru2"))->isVisible());
    QCOMPARE(fixture.settingsBytes().mid(512, 10), QByteArray("/data/b.vl"));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
