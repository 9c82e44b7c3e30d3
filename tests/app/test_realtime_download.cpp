// One download at the designed timing: the radio's own thread sees every character at
// least 345 ms after the one before it (350 ms of pause, less what the pseudo-terminal's
// delivery may shift one byte against the next).
#include "app/notices.h"
#include "transfer_fixture.h"

using namespace transfer;

class TestRealtimeDownload : public QObject {
    Q_OBJECT
private slots:
    void charactersArePacedAtTheRadio();
};

void TestRealtimeDownload::charactersArePacedAtTheRadio()
{
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(TransferFixture::radioOptions({}, 1s)),
             qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start(Timing{});
    putRows(window, kRows);
    NoticeLineLog notices(window.notices().noticeLine());

    QCoro::Task<> download = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), 60000);

    QVERIFY(!fixture.messageBox());
    QCOMPARE(fixture.received(), downloadBytes(kRows));
    QCOMPARE(channelsOf(fixture.radio()), kRows);
    QVERIFY(notices.captions().contains(kDownloadCompleted));
    const std::vector<ReceivedByte> received = fixture.radio().received();
    qInfo("shortest gap %.1f ms", shortestGap(received).count());
    for (size_t i = 1; i < received.size(); ++i) {
        const std::chrono::duration<double, std::milli> gap = received[i].time - received[i - 1].time;
        QVERIFY2(gap >= 345ms, qPrintable(QStringLiteral("byte %1 came %2 ms after the one before")
                                              .arg(i + 1)
                                              .arg(gap.count())));
    }
    QVERIFY(!fixture.portOpen());
    QVERIFY(!window.connectionActive());
}

QTEST_MAIN(TestRealtimeDownload)
#include "test_realtime_download.moc"
