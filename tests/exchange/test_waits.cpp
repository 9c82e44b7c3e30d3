// The waits for the radio's answers, one group per wait, over a scripted radio on virtual time.
// Timeline of an undisturbed download: byte i is written at i x 350 ms; the radio answers 20 ms
// after each byte. W1 starts at 700 ms, so its limit passes at 4000 ms.
#include "tests/exchange/exchange_bench.h"

#include <QtTest/QtTest>

namespace {

const QString kCommunication = QStringLiteral("Communication Error");
const QString kTimeout = QStringLiteral("Serial portTimeout Error");

QByteArray filler(qsizetype count)
{
    return QByteArray(count, 'x');
}

QByteArray shortPrompt(int channel)
{
    // 51 characters from "Channel k" on: one short of what the program waits for.
    const QByteArray prompt = QStringLiteral("Channel %1").arg(channel).toLatin1();
    return prompt + filler(51 - prompt.size());
}

} // namespace

class TestWaits : public QObject {
    Q_OBJECT
private slots:
    void listingWait_data();
    void listingWait();
    void listingWaitInTheDownload_data();
    void listingWaitInTheDownload();
    void markerCompletedAtTheLimit_data();
    void markerCompletedAtTheLimit();
    void editQuestionWait_data();
    void editQuestionWait();
    void channelPromptWait_data();
    void channelPromptWait();
    void channelPromptKeepsTheDecimalsAnswer();
    void pointWait_data();
    void pointWait();
    void storeQuestionWait_data();
    void storeQuestionWait();
    void storeQuestionKeepsTheLastChannelsAnswer();
    void readyWait_data();
    void readyWait();
    void menuWaitAfterReady_data();
    void menuWaitAfterReady();
    void uploadMenuWait_data();
    void uploadMenuWait();
};

// U1, the same wait as W1: marker "C", at least 150 characters from it on.
void TestWaits::listingWait_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("failureAt");

    QTest::newRow("full listing") << FakeRadio::defaultListing() << QString() << -1;
    QTest::newRow("C and 149 more") << "C" + filler(149) << QString() << -1;
    QTest::newRow("noise before the C") << "\r\n~~ C" + filler(149) << QString() << -1;
    QTest::newRow("40000 characters after the C") << "C" + filler(40000) << QString() << -1;
    QTest::newRow("silent") << QByteArray() << kTimeout << 4000;
    QTest::newRow("blanks only") << QByteArray("      ") << kTimeout << 4000;
    QTest::newRow("C and 148 more") << "C" + filler(148) << kTimeout << 4000;
    QTest::newRow("no C") << QByteArray("Option 6 is not available on this unit.") << kCommunication
                          << 700;
    QTest::newRow("lower-case c") << "c" + filler(200) << kCommunication << 700;
}

void TestWaits::listingWait()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, failure);
    QFETCH(int, failureAt);
    ExchangeBench bench;
    bench.radio.listing = answer;
    QVERIFY(bench.upload());
    QCOMPARE(bench.failure(), failure);
    QCOMPARE(bench.failureTime(), ms(failureAt));
    QCOMPARE(bench.link.writtenBytes(), failure.isEmpty() ? QByteArray("\r6N\r") : "\r6");
}

void TestWaits::listingWaitInTheDownload_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("failureAt");

    QTest::newRow("silent") << QByteArray() << kTimeout << 4000;
    QTest::newRow("C and 148 more") << "C" + filler(148) << kTimeout << 4000;
    QTest::newRow("no C") << QByteArray("Unknown option") << kCommunication << 700;
}

void TestWaits::listingWaitInTheDownload()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, failure);
    QFETCH(int, failureAt);
    ExchangeBench bench;
    bench.radio.listing = answer;
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), failure);
    QCOMPARE(bench.failureTime(), ms(failureAt));
    QCOMPARE(bench.link.writtenBytes(), QByteArray("\r6"));
    QVERIFY(!bench.link.isOpen());
    QVERIFY(bench.view.commandsEnabled);
}

// The last characters of the listing arrive around the moment W1's limit passes (4000 ms).
void TestWaits::markerCompletedAtTheLimit_data()
{
    QTest::addColumn<int>("completedAt");
    QTest::addColumn<QString>("failure");

    QTest::newRow("just before") << 3999 << QString();
    QTest::newRow("in the check that passes the limit") << 4000 << kTimeout;
    QTest::newRow("after") << 4001 << kTimeout;
}

void TestWaits::markerCompletedAtTheLimit()
{
    QFETCH(int, completedAt);
    QFETCH(QString, failure);
    ExchangeBench bench;
    bench.radio.listing = "C" + filler(100);
    bench.link.deliverAt(ms(completedAt), filler(49));
    QVERIFY(bench.upload());
    QCOMPARE(bench.failure(), failure);
    QCOMPARE(bench.view.text1.size() >= 150, completedAt <= 4000);
}

// W2: marker "E", 45 characters from it on; the reply goes on from W1; never a time-out.
void TestWaits::editQuestionWait_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("completedAt");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("confirmedAt");

    const QByteArray records = FakeRadio::listingOf(kSixChannels);
    QTest::newRow("question within the listing") << records + FakeRadio::editQuestion << -1
                                                 << QString() << 700;
    QTest::newRow("question completed later") << records + "E" + filler(43) << 2500 << QString()
                                              << 2500;
    QTest::newRow("question never completed: goes on at the limit")
        << records + "E" + filler(43) << -1 << QString() << 4000;
    QTest::newRow("no E at all: fails at once") << records << -1 << kCommunication << -1;
}

void TestWaits::editQuestionWait()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, completedAt);
    QFETCH(QString, failure);
    QFETCH(int, confirmedAt);
    ExchangeBench bench;
    bench.radio.listing = answer;
    if (completedAt >= 0)
        bench.link.deliverAt(ms(completedAt), "x");
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), failure);
    QCOMPARE(bench.writtenAt(2), ms(confirmedAt));
    if (failure.isEmpty()) {
        QCOMPARE(bench.link.writtenBytes(), downloadBytes(QStringList(6, "118.000")));
    } else {
        QCOMPARE(bench.failureTime(), ms(700));
        QCOMPARE(bench.view.text1, QString::fromLatin1(answer));
    }
}

// W3: marker "Channel k", 52 characters from it on, within 3 s.
void TestWaits::channelPromptWait_data()
{
    QTest::addColumn<int>("badChannel");
    QTest::addColumn<QByteArray>("badPrompt");
    QTest::addColumn<int>("promptDelay");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("failureAt");

    QTest::newRow("all prompts in time") << 0 << QByteArray() << 0 << QString() << -1;
    QTest::newRow("prompts 2..6 just before the decimals end") << 0 << QByteArray() << 300 << QString()
                                                      << -1;
    QTest::newRow("channel 1: 51 characters") << 1 << shortPrompt(1) << 0 << kTimeout << 5000;
    QTest::newRow("channel 4: 51 characters") << 4 << shortPrompt(4) << 0 << kTimeout << 10000;
    QTest::newRow("channel 1: another channel's prompt")
        << 1 << FakeRadio::channelPrompt(2) << 0 << kCommunication << 1050;
    QTest::newRow("channel 1: lower case")
        << 1 << FakeRadio::channelPrompt(1).toLower() << 0 << kCommunication << 1050;
    QTest::newRow("prompt 2 after the decimals: fails on the echo kept from W4")
        << 0 << QByteArray() << 1500 << kCommunication << 2800;
}

void TestWaits::channelPromptWait()
{
    QFETCH(int, badChannel);
    QFETCH(QByteArray, badPrompt);
    QFETCH(int, promptDelay);
    QFETCH(QString, failure);
    QFETCH(int, failureAt);
    ExchangeBench bench;
    bench.radio.promptFor = [&](int channel) {
        return channel == badChannel ? badPrompt : FakeRadio::channelPrompt(channel);
    };
    bench.radio.promptDelay = ms(promptDelay);
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), failure);
    QCOMPARE(bench.failureTime(), ms(failureAt));
    const int channelsWritten = failure.isEmpty() ? 6 : int(bench.view.highlighted.size());
    QCOMPARE(bench.link.written().size(), failure.isEmpty() ? 35 : 3 + 5 * channelsWritten);
}

// Channel 2's wait begins with the answer to channel 1's digits, and the pane shows it all.
void TestWaits::channelPromptKeepsTheDecimalsAnswer()
{
    ExchangeBench bench;
    bench.view.rows = kSixChannels;
    QString duringChannel1;
    QString duringChannel2;
    bench.at(1300ms, [&] { duringChannel1 = bench.view.text1; });
    bench.at(3300ms, [&] { duringChannel2 = bench.view.text1; });
    QVERIFY(bench.download());
    QCOMPARE(duringChannel1, "Y\r\n" + FakeRadio::channelPrompt(1));
    QCOMPARE(duringChannel2, "18.025\r\n" + FakeRadio::channelPrompt(2));
    QVERIFY(bench.view.caretHistory.contains(10000));
}

// W4: marker ".", anywhere; never a time-out.
void TestWaits::pointWait_data()
{
    QTest::addColumn<bool>("echoesPoint");
    QTest::addColumn<int>("firstDecimalAt");
    QTest::addColumn<int>("readyAskedAt");

    QTest::newRow("point echoed") << true << 1750 << 11550;
    QTest::newRow("no point: decimals after each limit") << false << 5000 << -1;
}

void TestWaits::pointWait()
{
    QFETCH(bool, echoesPoint);
    QFETCH(int, firstDecimalAt);
    ExchangeBench bench;
    bench.radio.echoesPoint = echoesPoint;
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.writtenAt(5), ms(firstDecimalAt));
    QCOMPARE(bench.link.writtenBytes(), downloadBytes(QStringList(6, "118.000")));
}

// W5: marker "S or R", anywhere; never a time-out.
void TestWaits::storeQuestionWait_data()
{
    QTest::addColumn<bool>("asks");
    QTest::addColumn<int>("saveAt");

    QTest::newRow("asked") << true << 11550;
    QTest::newRow("never asked: S after the limit") << false << 15000;
}

void TestWaits::storeQuestionWait()
{
    QFETCH(bool, asks);
    QFETCH(int, saveAt);
    ExchangeBench bench;
    bench.radio.asksStoreQuestion = asks;
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.writtenAt(33), ms(saveAt));
    QCOMPARE(bench.link.written()[33].byte, 'S');
}

// W5 goes on from channel 6's W4; the pane gets that reply after what W3 showed.
void TestWaits::storeQuestionKeepsTheLastChannelsAnswer()
{
    ExchangeBench bench;
    bench.view.rows = kSixChannels;
    QString beforeSave;
    bench.at(11700ms, [&] { beforeSave = bench.view.text1; });
    QVERIFY(bench.download());
    QCOMPARE(beforeSave, "29.975\r\n" + FakeRadio::channelPrompt(6) + "36.975\r\n" +
                             FakeRadio::storeQuestion);
}

// W6: the ready report within EepromSeconds (30 s); never a time-out.
void TestWaits::readyWait_data()
{
    QTest::addColumn<int>("eepromTime");
    QTest::addColumn<int>("returnAt");
    QTest::addColumn<QStringList>("infoLines");

    QTest::newRow("ready after 12 s") << 12000 << 23550 << QStringList();
    QTest::newRow("ready after 29 s") << 29000 << 40550 << QStringList();
    QTest::newRow("never ready: goes on after 30 s and says so")
        << -1 << 46000 << QStringList{"the radio did not report ready"};
}

void TestWaits::readyWait()
{
    QFETCH(int, eepromTime);
    QFETCH(int, returnAt);
    QFETCH(QStringList, infoLines);
    ExchangeBench bench;
    bench.radio.eepromTime =
        eepromTime < 0 ? std::optional<ms>() : std::optional<ms>(ms(eepromTime));
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.writtenAt(34), ms(returnAt));
    QCOMPARE(bench.view.infoLines, infoLines);
    QCOMPARE(bench.view.notices, QStringList{"Download Completed. Power Radio OFF / ON."});
    const QString expected = eepromTime < 0
        ? QStringLiteral("S\r\nWriting EEPROM...\r\n\r\n\r\nthe radio did not report ready\r\n")
        : "S\r\nWriting EEPROM...\r\n" + FakeRadio::readyReport + "\r\n" + FakeRadio::menuLine +
            "\r\n\r\n";
    QCOMPARE(bench.view.text1, expected);
    QVERIFY(bench.view.caretHistory.contains(40000));
}

// W7: "menu.)", going on from W6's reply; never a time-out.
void TestWaits::menuWaitAfterReady_data()
{
    QTest::addColumn<int>("menuAfterReady");
    QTest::addColumn<int>("returnAt");

    QTest::newRow("with the ready report") << 0 << 23550;
    QTest::newRow("a second later") << 1000 << 24550;
    QTest::newRow("never: return after the limit") << -1 << 27000;
}

void TestWaits::menuWaitAfterReady()
{
    QFETCH(int, menuAfterReady);
    QFETCH(int, returnAt);
    ExchangeBench bench;
    bench.radio.sendsMenuLine = menuAfterReady == 0;
    if (menuAfterReady > 0)
        bench.link.deliverAt(ms(23550 + menuAfterReady), FakeRadio::menuLine);
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.writtenAt(34), ms(returnAt));
}

// U2: "menu.)" after "N", going on from U1's reply; never a time-out.
void TestWaits::uploadMenuWait_data()
{
    QTest::addColumn<bool>("menuInListing");
    QTest::addColumn<bool>("answersN");
    QTest::addColumn<int>("returnAt");

    QTest::newRow("menu line after N") << false << true << 1050;
    QTest::newRow("menu line already in the listing") << true << false << 1050;
    QTest::newRow("no menu line: return after the limit") << false << false << 5000;
}

void TestWaits::uploadMenuWait()
{
    QFETCH(bool, menuInListing);
    QFETCH(bool, answersN);
    QFETCH(int, returnAt);
    ExchangeBench bench;
    if (menuInListing)
        bench.radio.listing += "(ENTER: back to the menu.)";
    bench.radio.sendsMenuLine = answersN;
    QVERIFY(bench.upload());
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.writtenAt(3), ms(returnAt));
    QCOMPARE(bench.view.notices, QStringList{"Upload Completed"});
    const QString shown = QString::fromLatin1(bench.radio.listing) + "N\r\n" +
                          (answersN ? QString::fromLatin1(FakeRadio::menuLine) : QString());
    QCOMPARE(bench.view.text1, shown);
    QCOMPARE(bench.view.caretHistory.last(), qsizetype(40000));
    QCOMPARE(bench.view.rows.first(), QStringLiteral("118.600"));
}

QTEST_GUILESS_MAIN(TestWaits)
#include "test_waits.moc"
