// Whole downloads and uploads over a scripted radio on virtual time: the bytes and their
// moments, the failures and what follows them, and what the window is told.
#include "tests/exchange/exchange_bench.h"

#include <QtTest/QtTest>

namespace {

const QString kInvalidPort = QStringLiteral("Invalid COM Port");
const QString kCommunication = QStringLiteral("Communication Error");
const QString kDownloadCompleted = QStringLiteral("Download Completed. Power Radio OFF / ON.");

QList<ms> everyPace(qsizetype count)
{
    QList<ms> times;
    for (qsizetype i = 0; i < count; ++i)
        times.append(ms(350 * i));
    return times;
}

} // namespace

class TestTransfers : public QObject {
    Q_OBJECT
private slots:
    void downloadSendsTheTableAtThePace_data();
    void downloadSendsTheTableAtThePace();
    void downloadTellsTheWindowInOrder();
    void uploadReadsTheListing_data();
    void uploadReadsTheListing();
    void uploadTellsTheWindowInOrder();
    void sendPacedResumesOnePaceAfterEachWrite();
    void portThatWillNotOpen_data();
    void portThatWillNotOpen();
    void lineLostMidTransfer_data();
    void lineLostMidTransfer();
    void writeErrorClosesAfterTheMessage();
    void firstCarriageReturnMayFail();
    void secondTransferAfterAFailedOne();
    void eepromCountdownLasts30Seconds_data();
    void eepromCountdownLasts30Seconds();
    // Mended faults.
    void typeSwitchMidDownloadChangesNothingSent_data();
    void typeSwitchMidDownloadChangesNothingSent();
    void editBeforeItsStepIsSent();
    void editWhileItsPromptIsAwaitedIsSent();
    void leftoverCountdownEndsAtTheNextTransfer();
    void uploadNoticeIsNotOverwrittenByTheAnimation();
    void channelsNotReadAreNamed_data();
    void channelsNotReadAreNamed();
};

void TestTransfers::downloadSendsTheTableAtThePace_data()
{
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("six channels") << false << kSixChannels << downloadBytes(kSixChannels);
    QTest::newRow("one channel: row 1 in all six steps")
        << true << QStringList{"136.975", "120.000", "121.000", "122.000", "123.000", "124.000"}
        << downloadBytes(QStringList(6, "136.975"));
}

void TestTransfers::downloadSendsTheTableAtThePace()
{
    QFETCH(bool, singleChannel);
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, bytes);
    ExchangeBench bench;
    bench.view.oneChannel = singleChannel;
    bench.view.rows = rows;
    bench.radio.eepromTime = 0ms;
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.link.writtenBytes(), bytes);
    QCOMPARE(bench.link.writtenTimes(), everyPace(35));
    QCOMPARE(bench.view.highlighted, (QList<int>{1, 2, 3, 4, 5, 6}));
    QCOMPARE(bench.view.rows, rows);
    // The notice follows the last pause.
    QCOMPARE(bench.link.closedAt(), QList<ms>{12250ms + 4000ms});
}

void TestTransfers::downloadTellsTheWindowInOrder()
{
    ExchangeBench bench;
    QVERIFY(bench.download());
    QCOMPARE(bench.view.events,
             (QStringList{"countdown end", "lock", "running", "animation on", "highlight 1",
                          "highlight 2", "highlight 3", "highlight 4", "highlight 5",
                          "highlight 6", "deselect 6", "refresh", "countdown 30", "countdown end",
                          "animation off", "notice " + kDownloadCompleted, "notice over",
                          "unlock", "idle", "unlock"}));
    QCOMPARE(bench.view.text1History.first(), QString());
    QCOMPARE(bench.view.text1History[1], QString::fromLatin1(FakeRadio::defaultListing()));
    QVERIFY(!bench.link.isOpen());
}

void TestTransfers::uploadReadsTheListing_data()
{
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("six channels") << false
                                  << QStringList{"118.600", "121.500", "122.475", "123.450",
                                                 "129.975", "134.125"};
    QTest::newRow("one channel: the sixth record into row 1")
        << true
        << QStringList{"134.125", "118.000", "118.000", "118.000", "118.000", "118.000"};
}

void TestTransfers::uploadReadsTheListing()
{
    QFETCH(bool, singleChannel);
    QFETCH(QStringList, rows);
    ExchangeBench bench;
    bench.view.oneChannel = singleChannel;
    QVERIFY(bench.upload());
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.link.writtenBytes(), QByteArray("\r6N\r"));
    QCOMPARE(bench.link.writtenTimes(), everyPace(4));
    QCOMPARE(bench.view.rows, rows);
    QCOMPARE(bench.view.infoLines, QStringList());
}

void TestTransfers::uploadTellsTheWindowInOrder()
{
    ExchangeBench bench;
    QVERIFY(bench.upload());
    QCOMPARE(bench.view.events,
             (QStringList{"countdown end", "lock", "running", "animation on", "put 1 118.600",
                          "put 2 121.500", "put 3 122.475", "put 4 123.450", "put 5 129.975",
                          "put 6 134.125", "animation off", "notice Upload Completed",
                          "notice over", "unlock", "idle", "unlock"}));
    QCOMPARE(bench.link.closedAt(), QList<ms>{1400ms + 4000ms});
}

void TestTransfers::sendPacedResumesOnePaceAfterEachWrite()
{
    ExchangeBench bench;
    QVERIFY(!bench.link.open());
    TimeSource::ms resumedAt{-1};
    bool sent = false;
    auto send = [&]() -> QCoro::Task<> {
        sent = co_await bench.exchange.sendPaced(QStringLiteral("abc"));
        resumedAt = bench.time.now();
    };
    QVERIFY(bench.finish(send()));
    QVERIFY(sent);
    QCOMPARE(bench.link.writtenBytes(), QByteArray("abc"));
    QCOMPARE(bench.link.writtenTimes(), everyPace(3));
    QCOMPARE(resumedAt, 1050ms);
}

void TestTransfers::portThatWillNotOpen_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("line");

    QTest::newRow("number refused") << "number" << "COM7: not a serial port number";
    QTest::newRow("no permission")
        << "open" << "COM7 is /dev/ttyUSB0: Permission denied (join the dialout group)";
    QTest::newRow("buffer cannot be cleared")
        << "discard" << "COM7: the receive buffer could not be cleared";
}

void TestTransfers::portThatWillNotOpen()
{
    QFETCH(QString, fault);
    QFETCH(QString, line);
    for (const bool upload : {false, true}) {
        ExchangeBench bench;
        bench.view.port = 7;
        if (fault == "number")
            bench.link.refusePortNumbers();
        else if (fault == "open")
            bench.link.failOpen({"/dev/ttyUSB0", "Permission denied (join the dialout group)"});
        else
            bench.link.failDiscard();
        QVERIFY(upload ? bench.upload() : bench.download());
        QCOMPARE(bench.failure(), kInvalidPort);
        QVERIFY(bench.view.failures.last().commandsLocked);
        QCOMPARE(bench.view.infoLines, QStringList{line});
        QCOMPARE(bench.view.text1, line + "\r\n");
        QVERIFY(bench.link.written().isEmpty());
        QVERIFY(bench.link.closedAt().isEmpty());
        QCOMPARE(bench.view.lockCalls, (QList<bool>{false, true}));
        QVERIFY(!bench.view.transferRunning);
    }
}

// A loss in a wait is seen at once; one in a pause at the next write.
void TestTransfers::lineLostMidTransfer_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<int>("lostAt");
    QTest::addColumn<int>("failureAt");

    QTest::newRow("download, waiting for the listing") << false << 600 << 700;
    QTest::newRow("download, during a channel's digits") << false << 3000 << 3150;
    QTest::newRow("download, while the EEPROM is written") << false << 20000 << 20000;
    QTest::newRow("upload, waiting for the menu line") << true << 2000 << 2000;
}

void TestTransfers::lineLostMidTransfer()
{
    QFETCH(bool, upload);
    QFETCH(int, lostAt);
    QFETCH(int, failureAt);
    ExchangeBench bench;
    bench.radio.sendsMenuLine = false;
    bench.link.loseLineAt(ms(lostAt));
    QVERIFY(upload ? bench.upload() : bench.download());
    QCOMPARE(bench.failure(), kCommunication);
    QCOMPARE(bench.failureTime(), ms(failureAt));
    QVERIFY(bench.view.failures.last().commandsLocked);
    QVERIFY(!bench.link.isOpen());
    QVERIFY(bench.view.commandsEnabled);
    QVERIFY(!bench.view.transferRunning);
    QVERIFY(bench.view.notices.isEmpty());
    QCOMPARE(bench.view.rows, QStringList(6, "118.000"));
    QVERIFY(!bench.link.hasListeners());
}

void TestTransfers::writeErrorClosesAfterTheMessage()
{
    ExchangeBench bench;
    bench.link.failWrites(10);
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), kCommunication);
    QCOMPARE(bench.failureTime(), 3500ms);
    QVERIFY(bench.view.failures.last().portOpen);
    QVERIFY(bench.view.failures.last().commandsLocked);
    QCOMPARE(bench.link.closedAt(), QList<ms>{3500ms + 2000ms});
    QCOMPARE(bench.link.written().size(), 10);
}

void TestTransfers::firstCarriageReturnMayFail()
{
    ExchangeBench bench;
    bench.link.failWrites(0, 1);
    QVERIFY(bench.upload());
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.link.writtenBytes(), QByteArray("6N\r"));
    QCOMPARE(bench.link.writtenTimes(), everyPace(3));
}

void TestTransfers::secondTransferAfterAFailedOne()
{
    ExchangeBench bench;
    bench.radio.listing.clear();
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), QStringLiteral("Serial portTimeout Error"));
    QVERIFY(bench.view.text1.isEmpty());
    bench.radio.listing = FakeRadio::defaultListing();
    bench.view.rows = kSixChannels;
    const qsizetype before = bench.link.written().size();
    QVERIFY(bench.download());
    QCOMPARE(bench.view.failures.size(), 1);
    QCOMPARE(bench.link.writtenBytes().mid(before), downloadBytes(kSixChannels));
    QCOMPARE(bench.link.openCount(), 2);
    QCOMPARE(bench.view.notices, QStringList{kDownloadCompleted});
    QVERIFY(!bench.link.hasListeners());
}

void TestTransfers::eepromCountdownLasts30Seconds_data()
{
    QTest::addColumn<bool>("singleChannel");
    QTest::newRow("six channels") << false;
    QTest::newRow("one channel") << true;
}

void TestTransfers::eepromCountdownLasts30Seconds()
{
    QFETCH(bool, singleChannel);
    ExchangeBench bench;
    bench.view.oneChannel = singleChannel;
    bench.radio.eepromTime.reset();
    bool countingAfterS = false;
    bench.at(11950ms, [&] { countingAfterS = bench.view.countdownRunning; });
    QVERIFY(bench.download());
    QVERIFY(countingAfterS);
    QCOMPARE(bench.view.eepromSeconds, 30);
    // The wait for the ready report has the same length: from 11.9 s to the end of second 41.
    QCOMPARE(bench.writtenAt(34), 46000ms);
    QVERIFY(!bench.view.countdownRunning);
}

void TestTransfers::typeSwitchMidDownloadChangesNothingSent_data()
{
    QTest::addColumn<bool>("singleAtStart");
    QTest::newRow("six channels, switched to one") << false;
    QTest::newRow("one channel, switched to six") << true;
}

void TestTransfers::typeSwitchMidDownloadChangesNothingSent()
{
    QFETCH(bool, singleAtStart);
    ExchangeBench bench;
    bench.view.oneChannel = singleAtStart;
    bench.view.rows = kSixChannels;
    bench.at(3000ms, [&] { bench.view.oneChannel = !singleAtStart; });
    QVERIFY(bench.download());
    const QStringList sent = singleAtStart ? QStringList(6, kSixChannels.first()) : kSixChannels;
    QCOMPARE(bench.link.writtenBytes(), downloadBytes(sent));
}

void TestTransfers::editBeforeItsStepIsSent()
{
    ExchangeBench bench;
    bench.view.rows = kSixChannels;
    // Channel 4's step begins at 6.3 s; channel 1's is over by 5 s.
    bench.at(5000ms, [&] {
        bench.view.rows[3] = QStringLiteral("127.500");
        bench.view.rows[0] = QStringLiteral("130.000");
    });
    QVERIFY(bench.download());
    QStringList sent = kSixChannels;
    sent[3] = QStringLiteral("127.500");
    QCOMPARE(bench.link.writtenBytes(), downloadBytes(sent));
}

// The row is read once the radio asks for the channel, not when its wait begins.
void TestTransfers::editWhileItsPromptIsAwaitedIsSent()
{
    ExchangeBench bench;
    bench.view.rows = kSixChannels;
    bench.radio.promptFor = [](int channel) {
        return channel == 1 ? QByteArray("Channel 1") : FakeRadio::channelPrompt(channel);
    };
    bench.link.deliverAt(2500ms, QByteArray(50, '-'));
    bench.at(2000ms, [&] { bench.view.rows[0] = QStringLiteral("130.000"); });
    QVERIFY(bench.download());
    QStringList sent = kSixChannels;
    sent[0] = QStringLiteral("130.000");
    QCOMPARE(bench.link.writtenBytes(), downloadBytes(sent));
    QCOMPARE(bench.writtenAt(3), 2500ms);
}

void TestTransfers::leftoverCountdownEndsAtTheNextTransfer()
{
    ExchangeBench bench;
    bench.link.loseLineAt(15000ms);
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), kCommunication);
    QVERIFY(bench.view.countdownRunning);
    const qsizetype before = bench.view.events.size();
    QVERIFY(bench.upload());
    QCOMPARE(bench.view.events.mid(before, 2), (QStringList{"countdown end", "lock"}));
    QVERIFY(!bench.view.countdownRunning);
}

void TestTransfers::uploadNoticeIsNotOverwrittenByTheAnimation()
{
    ExchangeBench bench;
    bool animatingDuringNotice = true;
    bench.at(1500ms, [&] { animatingDuringNotice = bench.view.animationRunning; });
    QVERIFY(bench.upload());
    QCOMPARE(bench.view.notices, QStringList{"Upload Completed"});
    QVERIFY(!animatingDuringNotice);
}

void TestTransfers::channelsNotReadAreNamed_data()
{
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("infoLines");

    const QStringList valid = kSixChannels;
    QStringList twoBad = valid;
    twoBad[1] = QStringLiteral("999.999");
    twoBad[4] = QStringLiteral("118.010");
    QTest::newRow("all read") << false << valid << QStringList();
    QTest::newRow("2 and 5 invalid") << false << twoBad
                                     << QStringList{"channels not read: 2, 5"};
    QTest::newRow("one channel, sixth valid") << true << twoBad << QStringList();
    QStringList sixthBad = valid;
    sixthBad[5] = QStringLiteral("117.000");
    QTest::newRow("one channel, sixth invalid") << true << sixthBad
                                                << QStringList{"channels not read: 1"};
}

void TestTransfers::channelsNotReadAreNamed()
{
    QFETCH(bool, singleChannel);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, infoLines);
    ExchangeBench bench;
    bench.view.oneChannel = singleChannel;
    bench.radio.listing = FakeRadio::listingOf(listed) + FakeRadio::editQuestion;
    QVERIFY(bench.upload());
    QCOMPARE(bench.view.infoLines, infoLines);
    QCOMPARE(bench.view.notices, QStringList{"Upload Completed"});
}

QTEST_GUILESS_MAIN(TestTransfers)
#include "test_transfers.moc"
