// Data > Verify Radio and the backup each download keeps, through the window against the radio
// simulator at scaled timing.
#include "app/notice_line.h"
#include "app/terminal_pane.h"
#include "app/transfer_progress.h"
#include "window_fixture.h"

#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLabel>

#include <cstring>

Q_DECLARE_METATYPE(Scenario)

namespace {

const QStringList kListed{"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};

QStringList changed(QStringList rows, int row, const QString &frequency)
{
    rows[row - 1] = frequency;
    return rows;
}

QString appData()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString backups()
{
    return appData() + QStringLiteral("/backups");
}

} // namespace

class TestVerify : public QObject {
    Q_OBJECT
private slots:
    // The radio is read as Upload reads it and the table stays as it was; one box says the
    // result, or the failure as Upload words it.
    void verifyRadio_data()
    {
        QTest::addColumn<Scenario>("scenario");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("type"); // 0: one channel, 1: six
        QTest::addColumn<QStringList>("table");
        QTest::addColumn<QString>("box");

        const QString equal = QStringLiteral("The radio holds the channels of the table.");
        QTest::newRow("equal") << Scenario::Normal << 0 << 1 << kListed << equal;
        QTest::newRow("channel 4 differs") << Scenario::Normal << 0 << 1 << changed(kListed, 4, "121.525")
                                           << "Channel 4: radio 123.450, table 121.525";
        QTest::newRow("record 2 unreadable, channel 5 differs")
            << Scenario::InvalidRecord << 2 << 1 << changed(kListed, 5, "136.000")
            << "Channel 2: radio unreadable, table 121.500\nChannel 5: radio 129.975, table 136.000";
        QTest::newRow("one channel: the sixth record")
            << Scenario::Normal << 0 << 0 << changed(kListed, 1, "134.125") << equal;
        QTest::newRow("one channel: not the first")
            << Scenario::Normal << 0 << 0 << kListed << "Channel 1: radio 134.125, table 118.600";
        QTest::newRow("silent radio") << Scenario::Silent << 0 << 1 << kListed << "Serial portTimeout Error";
        QTest::newRow("garbage") << Scenario::NoC << 0 << 1 << kListed << "Communication Error";
    }
    void verifyRadio()
    {
        QFETCH(Scenario, scenario);
        QFETCH(int, value);
        QFETCH(int, type);
        QFETCH(QStringList, table);
        WindowFixture fixture;
        QVERIFY2(fixture.linkRadio({scenario, value}), qPrintable(fixture.radio().errorString()));
        MainWindow &window = fixture.start(quickTiming());
        window.table().typeList()->setCurrentIndex(type);
        putRows(window, table);
        QStringList words;
        connect(window.progress().animationTimer(), &QTimer::timeout, &window,
                [&] { words << window.noticeLine().label()->text().remove(u'.'); });
        action(window, "mverify")->trigger();
        QCOMPARE(transferCommandsEnabled(window) + int(action(window, "mverify")->isEnabled()), 0);
        QMessageBox *box = fixture.awaitMessageBox();
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Varlo"));
        QTEST(box->text(), "box");
        QVERIFY(window.refusesClose());
        QVERIFY(fixture.dismiss(box));
        QTRY_VERIFY_WITH_TIMEOUT(action(window, "mverify")->isEnabled(), kTimeout);

        const bool answered = scenario != Scenario::Silent && scenario != Scenario::NoC;
        QCOMPARE(fixture.received(), answered ? QByteArray("\r6N\r") : QByteArray("\r6"));
        QCOMPARE(words.isEmpty(), !answered);
        QCOMPARE(words.filter(QStringLiteral("VERIFYING")).size(), words.size());
        QCOMPARE(rowsOf(window), table);
        QVERIFY(!fixture.messageBox());
        QVERIFY(!fixture.portOpen());
    }

    // The backup is written before "Y": a radio that drops the line on receiving it leaves one
    // behind, which File > Open Backup restores into the table. When the backups folder cannot
    // be made, the radio hears nothing after its listing and the box says why.
    void backupBeforeTheChannels_data()
    {
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QByteArray>("received");

        QTest::newRow("line dropped at Y") << false << "Communication Error" << QByteArray("\r6Y");
        QTest::newRow("backups folder blocked") << true
                                                << "The radio was not changed: its channels could not be backed up ("
                + QString::fromLocal8Bit(std::strerror(ENOTDIR)) + ")."
                                                << QByteArray("\r6");
    }
    void backupBeforeTheChannels()
    {
        QFETCH(bool, blocked);
        WindowFixture fixture;
        QVERIFY(!blocked || (QDir().mkpath(appData()) && QFile(backups()).open(QIODevice::WriteOnly)));
        QVERIFY2(fixture.linkRadio({Scenario::HangUp, 3}), qPrintable(fixture.radio().errorString()));
        MainWindow &window = fixture.start(quickTiming());
        window.table().typeList()->setCurrentIndex(1);
        putRows(window, kRows);
        QCoro::Task<> download = window.download();
        QMessageBox *box = fixture.awaitMessageBox();
        QVERIFY(box);
        QTEST(box->text(), "box");
        QCOMPARE(fixture.portOpen(), blocked);
        const QStringList kept = QDir(backups()).entryList({"*_COM1.vl"}, QDir::Files);
        QCOMPARE(kept.size(), blocked ? 0 : 1);
        QVERIFY(fixture.dismiss(box));
        QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
        QTEST(fixture.received(), "received");
        QCOMPARE(transferCommandsEnabled(window), 4);
        if (blocked)
            return;
        const QString path = QDir(backups()).filePath(kept[0]);
        QVERIFY(window.terminal().text().endsWith(path + "\r\n"));

        action(window, "mopenbackup")->trigger();
        auto *dialog = window.findChild<QFileDialog *>("ComDiag");
        QVERIFY(dialog);
        QCOMPARE(dialog->directory().absolutePath(), backups());
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
        QTRY_COMPARE(rowsOf(window), kListed);
        QVERIFY(window.windowTitle().endsWith("  -  " + kept[0]));
    }
};

QTEST_MAIN(TestVerify)
#include "test_verify.moc"
