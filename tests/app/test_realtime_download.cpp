// One download at the designed pace, timed by the radio's own thread. The exact pace is
// proven on virtual time; here a shared machine may shift one byte against the next, and the
// simulator stamps all bytes of one read alike.
#include "window_fixture.h"

class TestRealtimeDownload : public QObject {
    Q_OBJECT
private slots:
    void charactersArePacedAtTheRadio();
};

void TestRealtimeDownload::charactersArePacedAtTheRadio()
{
    WindowFixture fixture;
    QVERIFY2(fixture.linkRadio({}, 1s), qPrintable(fixture.radio().errorString()));
    // The designed timing but a short completion notice, which is not measured here.
    Timing timing;
    timing.noticeLong = timing.noticeShort = 300ms;
    MainWindow &window = fixture.start(timing);
    window.table().typeList()->setCurrentIndex(1);
    putRows(window, kRows);

    QCoro::Task<> download = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);

    QVERIFY(!fixture.messageBox());
    QCOMPARE(fixture.received(), kRowsDownload);
    const std::vector<ReceivedByte> received = fixture.radio().received();
    for (size_t i = 1; i < received.size(); ++i) {
        const std::chrono::duration<double, std::milli> gap = received[i].time - received[i - 1].time;
        const QString late = QStringLiteral("byte %1 came %2 ms after the one before").arg(i + 1).arg(gap.count());
        QVERIFY2(gap >= 300ms, qPrintable(late));
    }
    // From the first byte to "S": 33 pauses.
    const std::chrono::duration<double, std::milli> span = received[33].time - received[0].time;
    QVERIFY2(span >= 33 * 350ms - 10ms, qPrintable(QString::number(span.count())));
    QVERIFY(!fixture.portOpen());
}

QTEST_MAIN(TestRealtimeDownload)
#include "test_realtime_download.moc"
