// Whole transfers through the window's own commands, against the radio simulator on a real
// pseudo-terminal at scaled timing: what reaches the radio, what the window shows and locks,
// the failures with their message boxes, and the progress display.
#include "app/notices.h"
#include "app/terminal_pane.h"
#include "link/com_port_resolver.h"
#include "link/transfer_progress.h"
#include "transfer_fixture.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QPlainTextEdit>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace transfer;

Q_DECLARE_METATYPE(Scenario)

namespace {

const QString kAbortLines = QStringLiteral("Connection is active!\nCould not close the application.");

QStringList linesOf(const QString &text)
{
    return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// The animation's caption for a phase: the word, then none, one, two or three points.
QString animationCaption(const QString &word, int phase)
{
    static constexpr int kPoints[] = {0, 1, 2, 3, 3, 3};
    return word + QString(phase >= 0 && phase <= 5 ? kPoints[phase] : 0, u'.');
}

// Holds an exclusive advisory lock on a device, as another program using the port would.
class DeviceLock {
public:
    explicit DeviceLock(const QString &device)
        : fd_(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC))
    {
        locked_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~DeviceLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    DeviceLock(const DeviceLock &) = delete;
    DeviceLock &operator=(const DeviceLock &) = delete;
    [[nodiscard]] bool locked() const { return locked_; }

private:
    int fd_;
    bool locked_ = false;
};

} // namespace

class TestWindowTransfers : public QObject {
    Q_OBJECT
private slots:
    void downloadWritesTheTable_data();
    void downloadWritesTheTable();
    void uploadFillsTheRows_data();
    void uploadFillsTheRows();
    void failureShowsItsMessage_data();
    void failureShowsItsMessage();
    void faultyRadioStillCompletes_data();
    void faultyRadioStillCompletes();
    void invalidRecordLeavesItsRow_data();
    void invalidRecordLeavesItsRow();
    void portThatWillNotOpen_data();
    void portThatWillNotOpen();
    void secondTransferAfterAFailedOne_data();
    void secondTransferAfterAFailedOne();
    void lockedCommandsDoNothingDuringATransfer();
    void animationGoesOnFromItsPhase();
    void countdownEndsWhenTheRadioIsReady();
    void leftoverCountdownEndsAtTheNextTransfer();
    void closeRefusedDuringTransferAndItsNotice();
};

void TestWindowTransfers::downloadWritesTheTable_data()
{
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<bool>("fromToolbar");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("stored");

    QTest::newRow("six channels, toolbar") << false << true << kRows << kRows;
    QStringList rows = kRows;
    rows[0] = QStringLiteral("136.975");
    QTest::newRow("one channel, menu: row 1 in all six steps")
        << true << false << rows << QStringList(6, QStringLiteral("136.975"));
}

void TestWindowTransfers::downloadWritesTheTable()
{
    QFETCH(bool, singleChannel);
    QFETCH(bool, fromToolbar);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, stored);
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    window.table().typeList()->setCurrentIndex(singleChannel ? 0 : 1);
    putRows(window, rows);
    NoticeLineLog notices(window.notices().noticeLine());
    ChannelSteps steps(window);
    bool lockedDuring = false;
    bool openDuring = false;
    bool activeDuring = false;
    steps.at(3, [&] {
        lockedDuring = transferCommandsLocked(window);
        openDuring = fixture.portOpen();
        activeDuring = window.connectionActive();
    });
    QVERIFY(!fixture.portOpen());

    QCoro::Task<> download = fromToolbar ? window.onToolbarAction(action(window, "download"))
                                         : window.download();
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);

    QCOMPARE(fixture.received(), downloadBytes(stored));
    QCOMPARE(channelsOf(fixture.radio()), stored);
    QCOMPARE(rowsOf(window), rows);
    QCOMPARE(steps.highlighted(), (QList<int>{1, 2, 3, 4, 5, 6}));
    QVERIFY(notices.captions().contains(kDownloadCompleted));
    QVERIFY(window.terminal().text().contains(QStringLiteral("The radio is now ready for use.")));
    QVERIFY(!window.terminal().text().contains(QStringLiteral("did not report ready")));
    QVERIFY(lockedDuring);
    QVERIFY(openDuring);
    QVERIFY(activeDuring);
    QVERIFY(transferCommandsEnabled(window));
    QVERIFY(!fixture.portOpen());
    QVERIFY(!window.connectionActive());
    QVERIFY(!fixture.messageBox());
    QVERIFY(!window.notices().noticeLine()->isVisible());
    QVERIFY(!window.progress().animationTimer()->isActive());
    QCOMPARE(int(window.progress().transferMode()), fromToolbar ? 0 : 2);
}

void TestWindowTransfers::uploadFillsTheRows_data()
{
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QStringList>("rows");

    QStringList radio;
    for (const QString &channel : defaultChannels())
        radio << channel;
    QTest::newRow("six channels") << false << radio;
    QStringList single = kDefaultRows;
    single[0] = radio[5];
    QTest::newRow("one channel: the sixth record into row 1") << true << single;
}

void TestWindowTransfers::uploadFillsTheRows()
{
    QFETCH(bool, singleChannel);
    QFETCH(QStringList, rows);
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    window.table().typeList()->setCurrentIndex(singleChannel ? 0 : 1);
    NoticeLineLog notices(window.notices().noticeLine());

    QCoro::Task<> upload = window.onToolbarAction(action(window, "upload"));
    QVERIFY(transferCommandsLocked(window));
    QTRY_VERIFY_WITH_TIMEOUT(upload.isReady(), kTimeout);

    QCOMPARE(fixture.received(), kUploadBytes);
    QCOMPARE(rowsOf(window), rows);
    QVERIFY(!window.terminal().text().contains(QStringLiteral("channels not read")));
    // The notice stays in view until it ends: no animation caption writes over it.
    const QStringList &captions = notices.captions();
    const qsizetype shown = captions.indexOf(kUploadCompleted);
    QVERIFY2(shown > 0, qPrintable(captions.join(u'|')));
    for (const QString &after : captions.mid(shown + 1))
        QVERIFY2(after.isEmpty(), qPrintable(captions.join(u'|')));
    QVERIFY(transferCommandsEnabled(window));
    QVERIFY(!fixture.portOpen());
    QVERIFY(!window.connectionActive());
    QVERIFY(!fixture.messageBox());
}

void TestWindowTransfers::failureShowsItsMessage_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<bool>("openWhileShown");

    const QString timeout = QStringLiteral("Serial portTimeout Error");
    const QString communication = QStringLiteral("Communication Error");
    const QByteArray download = downloadBytes(kDefaultRows);
    QTest::newRow("download, silent radio") << false << Scenario::Silent << 0 << timeout << download.left(2) << true;
    QTest::newRow("download, short listing") << false << Scenario::ShortListing << 0 << timeout << download.left(2) << true;
    QTest::newRow("download, no C") << false << Scenario::NoC << 0 << communication << download.left(2) << true;
    QTest::newRow("download, noise before the listing")
        << false << Scenario::LineNoise << 2 << communication << download.left(2) << true;
    // Byte 14 is the first digit of channel 3.
    QTest::newRow("download, line dropped on channel 3")
        << false << Scenario::HangUp << 14 << communication << download.left(14) << false;
    QTest::newRow("upload, silent radio") << true << Scenario::Silent << 0 << timeout << kUploadBytes.left(2) << true;
    QTest::newRow("upload, no C") << true << Scenario::NoC << 0 << communication << kUploadBytes.left(2) << true;
    QTest::newRow("upload, line dropped at N")
        << true << Scenario::HangUp << 3 << communication << kUploadBytes.left(3) << false;
}

void TestWindowTransfers::failureShowsItsMessage()
{
    QFETCH(bool, upload);
    QFETCH(Scenario, scenario);
    QFETCH(int, value);
    QFETCH(QString, message);
    QFETCH(QByteArray, received);
    QFETCH(bool, openWhileShown);
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(TransferFixture::radioOptions({scenario, value})),
             qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();

    QCoro::Task<> transfer = upload ? window.upload() : window.download();
    QMessageBox *box = fixture.awaitMessageBox();
    QVERIFY2(box, fixture.exchanged().constData());
    QCOMPARE(box->windowTitle(), QStringLiteral("Varlo"));
    QCOMPARE(box->text(), message);
    QCOMPARE(box->standardButtons(), QMessageBox::Ok);
    // The box comes before the closing steps, and holds them up until it is dismissed.
    QTest::qWait(100);
    QVERIFY(!transfer.isReady());
    QVERIFY(transferCommandsLocked(window));
    QVERIFY(window.connectionActive());
    QCOMPARE(fixture.portOpen(), openWhileShown);
    QVERIFY(!window.close());

    QVERIFY(fixture.dismiss(box));
    QTRY_VERIFY_WITH_TIMEOUT(transfer.isReady(), kTimeout);
    QCOMPARE(fixture.received(), received);
    QVERIFY(!fixture.portOpen());
    QVERIFY(transferCommandsEnabled(window));
    QVERIFY(!window.connectionActive());
    QVERIFY(!window.notices().noticeLine()->isVisible());
    QCOMPARE(rowsOf(window), kDefaultRows);
}

void TestWindowTransfers::faultyRadioStillCompletes_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<bool>("ready");

    QTest::newRow("never echoes the point") << Scenario::NoPoint << true;
    QTest::newRow("never asks S or R") << Scenario::NoStoreQuestion << true;
    QTest::newRow("never reports ready") << Scenario::NeverReady << false;
}

void TestWindowTransfers::faultyRadioStillCompletes()
{
    QFETCH(Scenario, scenario);
    QFETCH(bool, ready);
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(TransferFixture::radioOptions({scenario, 0})),
             qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    putRows(window, kRows);
    NoticeLineLog notices(window.notices().noticeLine());

    QCoro::Task<> download = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);

    QVERIFY(!fixture.messageBox());
    QCOMPARE(fixture.received(), downloadBytes(kRows));
    QCOMPARE(channelsOf(fixture.radio()), kRows);
    QVERIFY(notices.captions().contains(kDownloadCompleted));
    QCOMPARE(linesOf(window.terminal().text()).contains(QStringLiteral("the radio did not report ready")), !ready);
    QVERIFY(transferCommandsEnabled(window));
    QVERIFY(!fixture.portOpen());
    QVERIFY(!window.connectionActive());
}

void TestWindowTransfers::invalidRecordLeavesItsRow_data()
{
    QTest::addColumn<int>("record");
    QTest::newRow("record 1") << 1;
    QTest::newRow("record 4") << 4;
    QTest::newRow("record 6") << 6;
}

void TestWindowTransfers::invalidRecordLeavesItsRow()
{
    QFETCH(int, record);
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(TransferFixture::radioOptions({Scenario::InvalidRecord, record})),
             qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    NoticeLineLog notices(window.notices().noticeLine());

    QCoro::Task<> upload = window.upload();
    QTRY_VERIFY_WITH_TIMEOUT(upload.isReady(), kTimeout);

    QStringList rows = channelsOf(fixture.radio());
    rows[record - 1] = kDefaultRows[record - 1];
    QCOMPARE(rowsOf(window), rows);
    QVERIFY(notices.captions().contains(kUploadCompleted));
    QVERIFY2(linesOf(window.terminal().text()).contains(QStringLiteral("channels not read: %1").arg(record)),
             qPrintable(window.terminal().text()));
    QVERIFY(!fixture.messageBox());
    QVERIFY(!window.connectionActive());
}

void TestWindowTransfers::portThatWillNotOpen_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("reason");

    QTest::newRow("no COM1 anywhere") << "none" << "No serial port is present";
    QTest::newRow("COM1 links to a missing device") << "dangling" << "No such file or directory";
    QTest::newRow("COM1 in use by another program") << "locked" << "in use by another program";
}

void TestWindowTransfers::portThatWillNotOpen()
{
    QFETCH(QString, setUp);
    QFETCH(QString, reason);
    TransferFixture fixture;
    QString device = QStringLiteral("COM1");
    std::unique_ptr<DeviceLock> lock;
    if (setUp == QLatin1String("none") && !availableSystemPorts().isEmpty())
        QSKIP("this machine has serial ports: COM1 would be one of them");
    if (setUp == QLatin1String("dangling")) {
        device = fixture.path(QStringLiteral("COM1"));
        QVERIFY(QFile::link(fixture.path(QStringLiteral("no-such-device")), device));
    }
    if (setUp == QLatin1String("locked")) {
        QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
        device = fixture.radio().slavePath();
        lock = std::make_unique<DeviceLock>(device);
        QVERIFY(lock->locked());
    }
    MainWindow &window = fixture.start();

    QCoro::Task<> download = window.download();
    QMessageBox *box = fixture.awaitMessageBox();
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QStringLiteral("Varlo"));
    QCOMPARE(box->text(), QStringLiteral("Invalid COM Port"));
    QVERIFY(transferCommandsLocked(window));
    QVERIFY(window.connectionActive());
    const QStringList lines = linesOf(window.terminal().text());
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith(QStringLiteral("COM1 is ") + device + QStringLiteral(": ")), qPrintable(lines[0]));
    QVERIFY2(lines[0].contains(reason), qPrintable(lines[0]));

    QVERIFY(fixture.dismiss(box));
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
    QVERIFY(transferCommandsEnabled(window));
    QVERIFY(!window.connectionActive());
    if (lock)
        QVERIFY(fixture.received().isEmpty());
}

void TestWindowTransfers::secondTransferAfterAFailedOne_data()
{
    QTest::addColumn<bool>("radioFirst");
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<int>("value");

    QTest::newRow("after Invalid COM Port") << false << Scenario::Normal << 0;
    QTest::newRow("after a time-out") << true << Scenario::Silent << 0;
    QTest::newRow("after a dropped line") << true << Scenario::HangUp << 20;
}

void TestWindowTransfers::secondTransferAfterAFailedOne()
{
    QFETCH(bool, radioFirst);
    QFETCH(Scenario, scenario);
    QFETCH(int, value);
    TransferFixture fixture;
    if (radioFirst)
        QVERIFY2(fixture.linkRadio(TransferFixture::radioOptions({scenario, value})),
                 qPrintable(fixture.radio().errorString()));
    else // never a port of the machine's own
        QVERIFY(QFile::link(fixture.path(QStringLiteral("no-such-device")), fixture.path(QStringLiteral("COM1"))));
    MainWindow &window = fixture.start();
    {
        QCoro::Task<> failed = window.download();
        QMessageBox *box = fixture.awaitMessageBox();
        QVERIFY(box);
        QVERIFY(fixture.dismiss(box));
        QTRY_VERIFY_WITH_TIMEOUT(failed.isReady(), kTimeout);
    }

    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    NoticeLineLog notices(window.notices().noticeLine());
    QCoro::Task<> upload = window.upload();
    QTRY_VERIFY_WITH_TIMEOUT(upload.isReady(), kTimeout);
    QVERIFY(!fixture.messageBox());
    QCOMPARE(fixture.received(), kUploadBytes);
    QCOMPARE(rowsOf(window), channelsOf(fixture.radio()));
    QVERIFY(notices.captions().contains(kUploadCompleted));
    QVERIFY(!fixture.portOpen());
    QVERIFY(!window.connectionActive());
}

void TestWindowTransfers::lockedCommandsDoNothingDuringATransfer()
{
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    putRows(window, kRows);
    ChannelSteps steps(window);
    QStringList stillAvailable;
    steps.at(2, [&] {
        for (const char *name : {"mdownload", "mupload", "download", "upload"})
            action(window, name)->trigger();
        for (const char *name : {"open", "save", "print", "com", "mexit", "mabout"})
            if (action(window, name)->isEnabled())
                stillAvailable << QString::fromLatin1(name);
        if (window.table().typeList()->isEnabled())
            stillAvailable << QStringLiteral("Combo1");
    });

    QCoro::Task<> download = window.download();
    QVERIFY(transferCommandsLocked(window));
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);

    QCOMPARE(stillAvailable, (QStringList{"open", "save", "print", "com", "mexit", "mabout", "Combo1"}));
    QCOMPARE(fixture.received(), downloadBytes(kRows));
    QVERIFY(!fixture.messageBox());
    QVERIFY(transferCommandsEnabled(window));
}

void TestWindowTransfers::animationGoesOnFromItsPhase()
{
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    QLabel *line = window.notices().noticeLine();
    QStringList captions;
    connect(window.progress().animationTimer(), &QTimer::timeout, this,
            [&] { captions << line->text(); });

    {
        QCoro::Task<> download = window.download();
        QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
    }
    QVERIFY(captions.size() > 1);
    const int phase = window.progress().dotPhase();
    captions.clear();

    QCoro::Task<> again = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(again.isReady(), kTimeout);
    QVERIFY(!captions.isEmpty());
    QCOMPARE(captions.first(), animationCaption(QStringLiteral("DOWNLOADING"), phase));
    QVERIFY(!fixture.messageBox());
}

void TestWindowTransfers::countdownEndsWhenTheRadioIsReady()
{
    TransferFixture fixture;
    // The radio reports ready twelve of the window's seconds after "S".
    QVERIFY2(fixture.linkRadio(TransferFixture::radioOptions({}, quickTiming().second * 12)),
             qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    const TransferProgress &progress = window.progress();
    QList<int> ticks;
    connect(progress.countdownTimer(), &QTimer::timeout, this, [&] { ticks << progress.eepromTicks(); });

    for (int run = 1; run <= 2; ++run) {
        ticks.clear();
        QCoro::Task<> download = window.download();
        QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
        QVERIFY(!fixture.messageBox());
        QVERIFY2(ticks.size() >= 6 && ticks.size() <= 13, qPrintable(QString::number(ticks.size())));
        QCOMPARE(ticks.first(), 1);
        QCOMPARE(ticks.last(), int(ticks.size()));
        QVERIFY(!progress.countdownTimer()->isActive());
        QCOMPARE(progress.eepromTicks(), 0);
        QVERIFY(progress.counter()->text().isEmpty());
        QVERIFY(window.table().heading()->isVisible());
    }
}

void TestWindowTransfers::leftoverCountdownEndsAtTheNextTransfer()
{
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(TransferFixture::radioOptions({}, 10s)),
             qPrintable(fixture.radio().errorString()));
    // A countdown longer than the wait for the ready report, so it outlasts a failure.
    Timing timing = quickTiming();
    timing.countdownTick *= 4;
    MainWindow &window = fixture.start(timing);
    const TransferProgress &progress = window.progress();
    {
        QCoro::Task<> failed = window.download();
        QTRY_VERIFY_WITH_TIMEOUT(progress.eepromTicks() >= 2, kTimeout);
        fixture.radio().hangUp();
        QMessageBox *box = fixture.awaitMessageBox();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Communication Error"));
        QVERIFY(fixture.dismiss(box));
        QTRY_VERIFY_WITH_TIMEOUT(failed.isReady(), kTimeout);
    }
    // A failed download leaves its countdown running.
    QVERIFY(progress.countdownTimer()->isActive());

    QVERIFY2(fixture.linkRadio(TransferFixture::radioOptions({}, timing.countdownTick * 3)),
             qPrintable(fixture.radio().errorString()));
    QList<int> ticks;
    connect(progress.countdownTimer(), &QTimer::timeout, this, [&] { ticks << progress.eepromTicks(); });
    QCoro::Task<> download = window.download();
    QVERIFY(!progress.countdownTimer()->isActive());
    QCOMPARE(progress.eepromTicks(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
    QVERIFY(!ticks.isEmpty());
    QCOMPARE(ticks.first(), 1);
    QVERIFY(!fixture.messageBox());
}

void TestWindowTransfers::closeRefusedDuringTransferAndItsNotice()
{
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    putRows(window, kRows);
    QPlainTextEdit *pane = window.terminal().pane();
    ChannelSteps steps(window);
    bool closedDuringSteps = true;
    QString paneDuringSteps;
    steps.at(2, [&] {
        closedDuringSteps = window.close();
        paneDuringSteps = pane->toPlainText();
    });

    QCoro::Task<> download = window.download();
    QLabel *line = window.notices().noticeLine();
    QTRY_VERIFY_WITH_TIMEOUT(line->isVisible() && line->text() == kDownloadCompleted, kTimeout);
    action(window, "mexit")->trigger();
    QVERIFY(window.isVisible());
    QCOMPARE(pane->toPlainText(), kAbortLines);
    QVERIFY(pane->font().bold());
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);

    QVERIFY(!closedDuringSteps);
    QCOMPARE(paneDuringSteps, kAbortLines);
    QCOMPARE(fixture.received(), downloadBytes(kRows));
    QCOMPARE(channelsOf(fixture.radio()), kRows);
    QVERIFY(!fixture.messageBox());
    QVERIFY(window.close());
}

QTEST_MAIN(TestWindowTransfers)
#include "test_window_transfers.moc"
