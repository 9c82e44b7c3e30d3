// Data > Verify Radio and the backup each download keeps, through the window against the radio
// simulator at scaled timing.
#include "app/terminal_pane.h"
#include "window_fixture.h"

#include <cstring>

Q_DECLARE_METATYPE(Scenario)

namespace {

const QStringList kListed{"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};

QString backups()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

} // namespace

class TestVerify : public QObject {
    Q_OBJECT
private slots:
    // A verify and a download, each to the one box it ends with, shown while the commands are
    // locked and the port open (but for a dropped line). The table holds the radio's channels
    // but for 121.525 in the row given, and stays so; the radio's scenario applies to its record
    // or received byte 3. A verify reads the radio as Upload does.
    // A download keeps the radio's channels before "Y": a radio that drops the line on receiving
    // it leaves a backup behind, which the terminal pane names; with the backups folder blocked,
    // the radio hears nothing after its listing.
    void endsWithOneBox_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Scenario>("scenario");
        QTest::addColumn<bool>("sixChannels");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QByteArray>("received");

        const QByteArray verify = "\r6N\r", listing = "\r6";
        QTest::newRow("equal") << "mverify" << Scenario::Normal << true << 0
                               << "The radio holds the channels of the table." << verify;
        QTest::newRow("one differs") << "mverify" << Scenario::Normal << true << 4
                                     << "Channel 4: radio 123.450, table 121.525" << verify;
        QTest::newRow("record 3 unreadable") << "mverify" << Scenario::InvalidRecord << true << 5
                                             << "Channel 3: radio unreadable, table 122.475\n"
                                                "Channel 5: radio 129.975, table 121.525"
                                             << verify;
        QTest::newRow("one channel: the sixth record")
            << "mverify" << Scenario::Normal << false << 0 << "Channel 1: radio 134.125, table 118.600" << verify;
        QTest::newRow("silent") << "mverify" << Scenario::Silent << true << 0 << "Serial portTimeout Error" << listing;
        QTest::newRow("garbage") << "mverify" << Scenario::NoC << true << 0 << "Communication Error" << listing;
        QTest::newRow("line dropped at Y")
            << "mdownload" << Scenario::HangUp << true << 4 << "Communication Error" << QByteArray("\r6Y");
        QTest::newRow("backups blocked") << "mdownload" << Scenario::Normal << true << 4
                                         << "The radio was not changed: its channels could not be backed up ("
                + QString::fromLocal8Bit(std::strerror(ENOTDIR)) + ")."
                                         << listing;
    }
    void endsWithOneBox()
    {
        QFETCH(QString, command);
        QFETCH(Scenario, scenario);
        QFETCH(bool, sixChannels);
        QFETCH(int, row);
        WindowFixture fixture;
        MainWindow &window = fixture.start(quickTiming());
        // The download from a sound radio is the one whose backups folder is blocked.
        const bool blocked = command == "mdownload" && scenario == Scenario::Normal;
        QVERIFY(!blocked || (QDir().mkpath(QFileInfo(backups()).path()) && QFile(backups()).open(QFile::WriteOnly)));
        QVERIFY2(fixture.linkRadio({scenario, 3}), qPrintable(fixture.radio().errorString()));
        window.table().typeList()->setCurrentIndex(sixChannels ? 1 : 0);
        QStringList table = kListed;
        if (row > 0)
            table[row - 1] = QStringLiteral("121.525");
        putRows(window, table);
        action(window, command)->trigger();
        QVERIFY(transferCommandsEnabled(window) + int(action(window, "mverify")->isEnabled()) == 0
                && window.refusesClose());
        QMessageBox *box = fixture.awaitMessageBox();
        QTEST(box ? box->text() : QString(), "box");
        QCOMPARE(fixture.portOpen(), scenario != Scenario::HangUp);
        const QStringList kept = QDir(backups()).entryList({"*_COM1.vl"}, QDir::Files);
        QCOMPARE(kept.size(), scenario == Scenario::HangUp ? 1 : 0);
        QVERIFY(fixture.dismiss(box));
        QTRY_VERIFY_WITH_TIMEOUT(action(window, "mverify")->isEnabled(), kTimeout);

        QTEST(fixture.received(), "received");
        QCOMPARE(rowsOf(window), table);
        QVERIFY(!fixture.messageBox() && !fixture.portOpen());
        if (!kept.isEmpty())
            QVERIFY(window.terminal().text().endsWith(QDir(backups()).filePath(kept[0]) + "\r\n"));
    }
};

QTEST_MAIN(TestVerify)
#include "test_verify.moc"
