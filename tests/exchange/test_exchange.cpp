// The radio exchange on virtual time against a scripted radio: the bytes and their moments,
// each reply wait at its thresholds and limits, the failures and what follows them; the
// listing parser; and the simulator's menu read through the program's own parser.
// Timeline of an undisturbed download: byte i is written at i x 350 ms and answered 20 ms
// later. The listing wait starts at 700 ms, so its whole-second limit passes at 4000 ms.
#include "link/exchange_listing.h"
#include "radio_menu.h"
#include "tests/exchange/exchange_bench.h"

#include <QtTest/QtTest>

namespace {

const QString kCommunication = QStringLiteral("Communication Error");
const QString kTimeout = QStringLiteral("Serial portTimeout Error");
const QString kInvalidPort = QStringLiteral("Invalid COM Port");
const QByteArray kDownload = "\r6Y180252150022475234502997536975S\r";
const QByteArray kDownloadOfRow1 = "\r6Y180251802518025180251802518025S\r";
const QStringList kListed{"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};

QByteArray filler(qsizetype count)
{
    return QByteArray(count, 'x');
}

// "row=frequency" for each stored channel, so the tables read plainly.
QStringList described(const QList<ListedChannel> &channels)
{
    QStringList text;
    for (const ListedChannel &c : channels)
        text.append(QStringLiteral("%1=%2").arg(c.row).arg(c.frequency));
    return text;
}

// 156 dashes with each text placed at a 1-based character position.
QString placed(const QList<std::pair<int, QString>> &texts)
{
    QString listing(156, u'-');
    for (const auto &[position, text] : texts)
        listing.replace(position - 1, text.size(), text);
    return listing;
}

} // namespace

class TestExchange : public QObject {
    Q_OBJECT
private slots:
    void transfer_data();
    void transfer();
    void failureOrder_data();
    void failureOrder();
    void afterAFailedTransfer_data();
    void afterAFailedTransfer();
    void changeDuringDownload_data();
    void changeDuringDownload();
    void typeSwitchDuringUpload_data();
    void typeSwitchDuringUpload();
    void listingWait_data();
    void listingWait();
    void editQuestionWait_data();
    void editQuestionWait();
    void channelPromptWait_data();
    void channelPromptWait();
    void waitsThatNeverFail_data();
    void waitsThatNeverFail();
    void paneShows_data();
    void paneShows();
    void parseListing_data();
    void parseListing();
    void simulatorListing_data();
    void simulatorListing();
};

void TestExchange::transfer_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("listed"); // by the radio; empty: its own six channels

    const QStringList begin{"countdown end", "lock", "running", "animation on"};
    const QStringList end{"unlock", "idle", "unlock"};
    const QStringList download = begin
        + QStringList{"highlight 1",   "highlight 2",   "highlight 3",
                      "highlight 4",   "highlight 5",   "highlight 6",
                      "deselect 6",    "refresh",       "countdown 30",
                      "countdown end", "animation off", "notice Download Completed. Power Radio OFF / ON.",
                      "notice over"}
        + end;
    const QStringList upload = QStringList{"animation off", "notice Upload Completed", "notice over"} + end;
    QStringList puts;
    for (int row = 1; row <= 6; ++row)
        puts << QStringLiteral("put %1 %2").arg(row).arg(kListed[row - 1]);
    QStringList single = kSixChannels;
    single[0] = kListed[5];

    QStringList twoBad = kListed;
    twoBad[1] = QStringLiteral("999.999");
    twoBad[4] = QStringLiteral("118.010");
    QStringList sixthBad = kListed;
    sixthBad[5] = QStringLiteral("117.000");
    const QByteArray up = "\r6N\r";

    QTest::newRow("download, six channels") << false << false << kDownload << kSixChannels << download << QStringList();
    QTest::newRow("download, one channel: row 1 in all six steps")
        << false << true << kDownloadOfRow1 << kSixChannels << download << QStringList();
    QTest::newRow("upload, six channels") << true << false << up << kListed << begin + puts + upload << QStringList();
    QTest::newRow("upload, one channel: the sixth record into row 1")
        << true << true << up << single << begin + QStringList{"put 1 134.125"} + upload << QStringList();
    QTest::newRow("upload, records 2 and 5 invalid: named")
        << true << false << up << kListed
        << begin + puts.mid(0, 1) + puts.mid(2, 2) + puts.mid(5) + QStringList{"line channels not read: 2, 5"} + upload
        << twoBad;
    QTest::newRow("upload, one channel, sixth record invalid: named")
        << true << true << up << kSixChannels << begin + QStringList{"line channels not read: 1"} + upload << sixthBad;
}

void TestExchange::transfer()
{
    QFETCH(bool, upload);
    QFETCH(bool, singleChannel);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, events);
    QFETCH(QStringList, listed);
    ExchangeBench bench;
    bench.view.oneChannel = singleChannel;
    bench.radio.eepromTime = 0ms;
    if (!listed.isEmpty())
        bench.radio.listing = FakeRadio::listingOf(listed) + FakeRadio::editQuestion;
    QVERIFY(bench.run(upload));
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.link.writtenBytes, bytes);
    QList<ms> paced;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        paced.append(350ms * i);
    QCOMPARE(bench.link.writtenTimes, paced);
    QCOMPARE(bench.view.rows, rows);
    QCOMPARE(bench.view.events, events);
    // The notice follows the pause after the last byte.
    QCOMPARE(bench.link.closedAt, QList<ms>{350ms * bytes.size() + 4000ms});
    QVERIFY(!bench.link.hasListeners());
}

// A loss in a wait is seen at once, one in a pause at the next write. A port that will not
// open leaves nothing to close; a failed write is reported while the port is still open.
void TestExchange::failureOrder_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("failureAt");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<int>("closedAt");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("line");

    const int none = -1;
    QTest::newRow("download, line lost in the pause after 6")
        << false << "lost" << 600 << kCommunication << 700 << false << none << QByteArray("\r6") << "";
    QTest::newRow("download, line lost during a channel's digits")
        << false << "lost" << 3000 << kCommunication << 3150 << false << none << QByteArray("\r6Y180252") << "";
    QTest::newRow("download, line lost while the EEPROM is written")
        << false << "lost" << 20000 << kCommunication << 20000 << false << none << kDownload.chopped(1) << "";
    QTest::newRow("upload, line lost waiting for the menu line")
        << true << "lost" << 2000 << kCommunication << 2000 << false << none << QByteArray("\r6N") << "";
    QTest::newRow("download, write 11 fails: the message, then the close")
        << false << "writes" << 10 << kCommunication << 3500 << true << 5500 << QByteArray("\r6Y1802521") << "";
    QTest::newRow("upload, the first carriage return may fail")
        << true << "one write" << 0 << "" << -1 << false << 5050 << QByteArray("6N\r") << "";
    QTest::newRow("download, port number refused") << false << "number" << 0 << kInvalidPort << 0 << false << none
                                                   << QByteArray() << "COM7: not a serial port number";
    QTest::newRow("download, no port for the number")
        << false << "absent" << 0 << kInvalidPort << 0 << false << none << QByteArray()
        << "COM7: no serial port is present for this number";
    QTest::newRow("upload, no permission") << true << "open" << 0 << kInvalidPort << 0 << false << none << QByteArray()
                                           << "COM7 is /dev/ttyUSB0: Permission denied (join the dialout group)";
    QTest::newRow("download, buffer cannot be cleared: the port stays open")
        << false << "discard" << 0 << kInvalidPort << 0 << true << none << QByteArray()
        << "COM7: the receive buffer could not be cleared";
}

void TestExchange::failureOrder()
{
    QFETCH(bool, upload);
    QFETCH(QString, fault);
    QFETCH(int, at);
    QFETCH(QString, message);
    QFETCH(int, failureAt);
    QFETCH(bool, portOpen);
    QFETCH(int, closedAt);
    QFETCH(QByteArray, written);
    QFETCH(QString, line);
    ExchangeBench bench;
    bench.view.port = 7;
    bench.radio.sendsMenuLine = fault != "lost";
    if (fault == "lost")
        bench.link.loseLineAt(ms(at));
    bench.link.failWritesFrom = fault.contains("write") ? at : 1 << 30;
    bench.link.failWritesUntil = fault == "one write" ? at + 1 : 1 << 30;
    bench.link.refusePortNumbers = fault == "number";
    if (fault == "open")
        bench.link.openFailure = OpenFailure{"/dev/ttyUSB0", "Permission denied (join the dialout group)"};
    if (fault == "absent")
        bench.link.openFailure = OpenFailure{"", "no serial port is present for this number"};
    bench.link.failDiscard = fault == "discard";
    QVERIFY(bench.run(upload));
    QCOMPARE(bench.failure(), message);
    if (!message.isEmpty()) {
        QCOMPARE(bench.view.failures.size(), 1);
        QCOMPARE(bench.failureTime(), ms(failureAt));
        QCOMPARE(bench.view.failures.last().portOpen, portOpen);
        QVERIFY(bench.view.failures.last().commandsLocked);
        QVERIFY(bench.view.notices.isEmpty());
        QCOMPARE(bench.view.rows, kSixChannels);
    }
    QCOMPARE(bench.link.closedAt, closedAt < 0 ? QList<ms>() : QList<ms>{ms(closedAt)});
    QCOMPARE(bench.link.writtenBytes, written);
    QCOMPARE(bench.view.infoLines, line.isEmpty() ? QStringList() : QStringList{line});
    QVERIFY(bench.view.commandsEnabled);
    QVERIFY(!bench.view.transferRunning);
    QVERIFY(!bench.link.hasListeners());
}

void TestExchange::afterAFailedTransfer_data()
{
    QTest::addColumn<bool>("lineLost");
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("a download after a time-out") << false << false << kDownload;
    // The lost download leaves its countdown running.
    QTest::newRow("an upload after a line lost in the EEPROM write") << true << true << QByteArray("\r6N\r");
}

void TestExchange::afterAFailedTransfer()
{
    QFETCH(bool, lineLost);
    QFETCH(bool, upload);
    QFETCH(QByteArray, bytes);
    ExchangeBench bench;
    if (lineLost)
        bench.link.loseLineAt(15000ms);
    else
        bench.radio.listing.clear();
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), lineLost ? kCommunication : kTimeout);
    QCOMPARE(bench.view.countdownRunning, lineLost);
    bench.radio.listing = FakeRadio::defaultListing();
    const qsizetype written = bench.link.writtenBytes.size();
    const qsizetype events = bench.view.events.size();
    QVERIFY(bench.run(upload));
    QCOMPARE(bench.view.failures.size(), 1);
    QCOMPARE(bench.link.writtenBytes.mid(written), bytes);
    QCOMPARE(bench.link.openCount, 2);
    QCOMPARE(bench.view.notices.size(), 1);
    QCOMPARE(bench.view.events.mid(events, 2), (QStringList{"countdown end", "lock"}));
    QVERIFY(!bench.view.countdownRunning);
    QVERIFY(!bench.link.hasListeners());
}

// A row is read when its step begins; the transceiver type when the download begins.
void TestExchange::changeDuringDownload_data()
{
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("six channels switched to one") << false << "switch" << 3000 << kDownload;
    QTest::newRow("one channel switched to six") << true << "switch" << 3000 << kDownloadOfRow1;
    QTest::newRow("rows 1 and 4 edited at 5 s: row 4's step is still to come")
        << false << "edit" << 5000 << QByteArray("\r6Y180252150022475275002997536975S\r");
    QTest::newRow("row 1 edited while its prompt is awaited")
        << false << "edit while prompted" << 2000 << QByteArray("\r6Y300002150022475234502997536975S\r");
}

void TestExchange::changeDuringDownload()
{
    QFETCH(bool, singleChannel);
    QFETCH(QString, change);
    QFETCH(int, at);
    QFETCH(QByteArray, bytes);
    ExchangeBench bench;
    bench.view.oneChannel = singleChannel;
    const bool prompted = change == "edit while prompted";
    if (prompted) {
        bench.radio.promptFor = [](int k) { return k == 1 ? QByteArray("Channel 1") : FakeRadio::channelPrompt(k); };
        bench.link.deliverAt(2500ms, filler(50));
    }
    bench.at(ms(at), [&] {
        if (change == "switch")
            bench.view.oneChannel = !singleChannel;
        else
            bench.view.rows[0] = QStringLiteral("130.000");
        if (change == "edit")
            bench.view.rows[3] = QStringLiteral("127.500");
    });
    QVERIFY(bench.download());
    QCOMPARE(bench.link.writtenBytes, bytes);
    QCOMPARE(bench.writtenAt(3), prompted ? 2500ms : 1050ms);
}

// The listing is stored after the last carriage return, for the type in force at the start.
void TestExchange::typeSwitchDuringUpload_data()
{
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QStringList>("rows");

    QStringList single = kSixChannels;
    single[0] = kListed[5];
    QTest::newRow("six channels switched to one") << false << kListed;
    QTest::newRow("one channel switched to six") << true << single;
}

void TestExchange::typeSwitchDuringUpload()
{
    QFETCH(bool, singleChannel);
    QFETCH(QStringList, rows);
    ExchangeBench bench;
    bench.view.oneChannel = singleChannel;
    // In the final wait, which begins after the pause that follows "N" at 700 ms.
    bench.at(1050ms, [&] { bench.view.oneChannel = !singleChannel; });
    QVERIFY(bench.upload());
    QCOMPARE(bench.view.rows, rows);
}

// Marker "C", at least 150 characters from it on, within three whole seconds. The last
// characters may complete it around the moment the limit passes, half a second after a part
// that arrives within the last whole second.
void TestExchange::listingWait_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("completedAt");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("failureAt");

    QTest::newRow("C and 149 more") << true << "C" + filler(149) << -1 << QString() << -1;
    QTest::newRow("noise before the C") << true << "\r\n~~ C" + filler(149) << -1 << QString() << -1;
    QTest::newRow("upload, C and 148 more") << true << "C" + filler(148) << -1 << kTimeout << 4000;
    QTest::newRow("download, C and 148 more") << false << "C" + filler(148) << -1 << kTimeout << 4000;
    QTest::newRow("silent") << false << QByteArray() << -1 << kTimeout << 4000;
    QTest::newRow("blanks only") << true << QByteArray("      ") << -1 << kTimeout << 4000;
    QTest::newRow("no C") << true << QByteArray("Option 6 is not available.") << -1 << kCommunication << 700;
    QTest::newRow("lower-case c") << false << "c" + filler(200) << -1 << kCommunication << 700;
    QTest::newRow("completed just before the limit") << true << "C" + filler(100) << 3999 << QString() << -1;
    QTest::newRow("completed in the check that passes the limit")
        << true << "C" + filler(100) << 4000 << kTimeout << 4000;
    QTest::newRow("completed after the limit") << true << "C" + filler(100) << 4001 << kTimeout << 4000;
}

void TestExchange::listingWait()
{
    QFETCH(bool, upload);
    QFETCH(QByteArray, answer);
    QFETCH(int, completedAt);
    QFETCH(QString, failure);
    QFETCH(int, failureAt);
    ExchangeBench bench;
    bench.radio.listing = answer;
    if (completedAt >= 0) {
        bench.link.deliverAt(ms(completedAt - 500), filler(1));
        bench.link.deliverAt(ms(completedAt), filler(48));
    }
    QVERIFY(bench.run(upload));
    QCOMPARE(bench.failure(), failure);
    QCOMPARE(bench.failureTime(), ms(failureAt));
    QCOMPARE(bench.link.writtenBytes, failure.isEmpty() ? QByteArray("\r6N\r") : "\r6");
}

// Marker "E", 45 characters from it on; the reply goes on from the listing; never a time-out.
void TestExchange::editQuestionWait_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("completedAt");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("confirmedAt");

    const QByteArray records = FakeRadio::listingOf(kSixChannels);
    QTest::newRow("question within the listing") << records + FakeRadio::editQuestion << -1 << QString() << 700;
    QTest::newRow("45 characters at 2.5 s") << records + "E" + filler(43) << 2500 << QString() << 2500;
    QTest::newRow("44 characters: goes on at the limit") << records + "E" + filler(43) << -1 << QString() << 4000;
    QTest::newRow("no E at all: fails at once") << records << -1 << kCommunication << -1;
}

void TestExchange::editQuestionWait()
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
        QCOMPARE(bench.link.writtenBytes, kDownload);
    } else {
        QCOMPARE(bench.failureTime(), 700ms);
        QCOMPARE(bench.view.terminal, QString::fromLatin1(answer));
    }
}

// Marker "Channel k", 52 characters from it on, within three whole seconds.
void TestExchange::channelPromptWait_data()
{
    QTest::addColumn<int>("badChannel");
    QTest::addColumn<QByteArray>("badPrompt");
    QTest::addColumn<int>("promptDelay");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("failureAt");

    QTest::newRow("channel 1: 52 characters") << 1 << "Channel 1" + filler(43) << 0 << QString() << -1;
    QTest::newRow("prompts 2..6 just before the decimals end") << 0 << QByteArray() << 300 << QString() << -1;
    QTest::newRow("channel 1: 51 characters") << 1 << "Channel 1" + filler(42) << 0 << kTimeout << 5000;
    QTest::newRow("channel 4: 51 characters") << 4 << "Channel 4" + filler(42) << 0 << kTimeout << 10000;
    QTest::newRow("channel 1: another channel's prompt")
        << 1 << FakeRadio::channelPrompt(2) << 0 << kCommunication << 1050;
    QTest::newRow("channel 1: lower case") << 1 << FakeRadio::channelPrompt(1).toLower() << 0 << kCommunication << 1050;
    QTest::newRow("prompt 2 after the decimals: fails on the echo kept from the point wait")
        << 0 << QByteArray() << 1500 << kCommunication << 2800;
}

void TestExchange::channelPromptWait()
{
    QFETCH(int, badChannel);
    QFETCH(QByteArray, badPrompt);
    QFETCH(int, promptDelay);
    QFETCH(QString, failure);
    QFETCH(int, failureAt);
    ExchangeBench bench;
    bench.radio.promptFor = [&](int k) { return k == badChannel ? badPrompt : FakeRadio::channelPrompt(k); };
    bench.radio.promptDelay = ms(promptDelay);
    QVERIFY(bench.download());
    QCOMPARE(bench.failure(), failure);
    QCOMPARE(bench.failureTime(), ms(failureAt));
    const qsizetype channels = failure.isEmpty() ? 6 : bench.view.events.filter("highlight").size();
    QCOMPARE(bench.link.writtenBytes.size(), failure.isEmpty() ? 35 : 3 + 5 * channels);
}

// The point, "S or R", the ready report and the menu line: the transfer goes on at the limit.
void TestExchange::waitsThatNeverFail_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("writtenAt");

    QTest::newRow("point echoed") << false << "" << 5 << 1750;
    QTest::newRow("no point: decimals after each limit") << false << "no point" << 5 << 5000;
    QTest::newRow("S or R asked") << false << "" << 33 << 11550;
    QTest::newRow("never asked: S after the limit") << false << "no store question" << 33 << 15000;
    QTest::newRow("ready after 12 s") << false << "" << 34 << 23550;
    QTest::newRow("ready after 29 s") << false << "ready at 29 s" << 34 << 40550;
    QTest::newRow("never ready: 30 s") << false << "never ready" << 34 << 46000;
    QTest::newRow("one channel, never ready: 30 s") << false << "one channel, never ready" << 34 << 46000;
    QTest::newRow("menu line a second after ready") << false << "late menu line" << 34 << 24550;
    QTest::newRow("no menu line: return after the limit") << false << "no menu line" << 34 << 27000;
    QTest::newRow("upload, menu line after N") << true << "" << 3 << 1050;
    QTest::newRow("upload, menu line within the listing") << true << "menu line in the listing" << 3 << 1050;
    QTest::newRow("upload, no menu line: return after the limit") << true << "no menu line" << 3 << 5000;
}

void TestExchange::waitsThatNeverFail()
{
    QFETCH(bool, upload);
    QFETCH(QString, radio);
    QFETCH(int, byte);
    QFETCH(int, writtenAt);
    ExchangeBench bench;
    bench.view.oneChannel = radio.startsWith("one channel");
    bench.radio.echoesPoint = radio != "no point";
    bench.radio.asksStoreQuestion = radio != "no store question";
    if (radio == "ready at 29 s")
        bench.radio.eepromTime = 29000ms;
    if (radio.endsWith("never ready"))
        bench.radio.eepromTime.reset();
    bench.radio.sendsMenuLine = !radio.contains("menu line");
    if (radio == "late menu line")
        bench.link.deliverAt(24550ms, FakeRadio::menuLine);
    if (radio == "menu line in the listing")
        bench.radio.listing += "(ENTER: back to the menu.)";
    QVERIFY(bench.run(upload));
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.writtenAt(byte), ms(writtenAt));
    QCOMPARE(bench.view.notices.size(), 1);
    QCOMPARE(bench.view.eepromSeconds, upload ? 0 : 30);
    QVERIFY(!bench.view.countdownRunning);
    const bool ready = !radio.endsWith("never ready");
    QCOMPARE(bench.view.infoLines, ready ? QStringList() : QStringList{"the radio did not report ready"});
}

// What the terminal pane shows during and after a transfer, and where its caret is.
void TestExchange::paneShows_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("caret");

    const QByteArray writing = "S\r\nWriting EEPROM...\r\n";
    QTest::newRow("channel 1's prompt") << false << "" << 1300 << "Y\r\n" + FakeRadio::channelPrompt(1) << 10000;
    QTest::newRow("channel 2's wait begins with the answer to channel 1's digits")
        << false << "" << 3300 << "18.025\r\n" + FakeRadio::channelPrompt(2) << 10000;
    QTest::newRow("S or R goes on from channel 6's point wait")
        << false << "" << 11700 << "29.975\r\n" + FakeRadio::channelPrompt(6) + "36.975\r\n" + FakeRadio::storeQuestion
        << 10000;
    QTest::newRow("after the ready report")
        << false << "" << -1 << writing + FakeRadio::readyReport + "\r\n" + FakeRadio::menuLine + "\r\n\r\n"
        << 40000;
    QTest::newRow("never ready") << false << "never ready, no menu line" << -1
                                 << writing + "\r\n\r\nthe radio did not report ready\r\n"
                                 << 40000;
    QTest::newRow("upload: everything since 6")
        << true << "" << -1 << FakeRadio::defaultListing() + "N\r\n" + FakeRadio::menuLine << 40000;
    QTest::newRow("upload without a menu line")
        << true << "never ready, no menu line" << -1 << FakeRadio::defaultListing() + "N\r\n"
        << 40000;
}

void TestExchange::paneShows()
{
    QFETCH(bool, upload);
    QFETCH(QString, radio);
    QFETCH(int, at);
    QFETCH(QByteArray, text);
    QFETCH(int, caret);
    ExchangeBench bench;
    if (!radio.isEmpty()) {
        bench.radio.eepromTime.reset();
        bench.radio.sendsMenuLine = false;
    }
    QString shown;
    qsizetype caretThen = -1;
    bench.at(ms(at), [&] {
        shown = bench.view.terminal;
        caretThen = bench.view.caret;
    });
    QVERIFY(bench.run(upload));
    QCOMPARE(at < 0 ? bench.view.terminal : shown, QString::fromLatin1(text));
    QCOMPARE(at < 0 ? bench.view.caret : caretThen, qsizetype(caret));
}

// Records are 26 characters apart; the frequency stands at characters 14..20 of each.
void TestExchange::parseListing_data()
{
    QTest::addColumn<QString>("listing");
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QStringList>("stored");

    const QString six = placed(
        {{14, kListed[0]}, {40, kListed[1]}, {66, kListed[2]}, {92, kListed[3]}, {118, kListed[4]}, {144, kListed[5]}});
    QStringList allSix;
    for (int row = 1; row <= 6; ++row)
        allSix << QStringLiteral("%1=%2").arg(row).arg(kListed[row - 1]);
    QTest::newRow("six records") << six << false << allSix;
    QTest::newRow("150 characters reach the sixth frequency") << six.left(150) << false << allSix;
    QTest::newRow("149 characters cut it short") << six.left(149) << false << allSix.mid(0, 5);
    QTest::newRow("one character later: nothing") << "-" + six << false << QStringList();
    QTest::newRow("record 3 invalid") << placed({{14, "118.600"}, {66, "117.975"}, {92, "12x.975"}}) << false
                                      << QStringList{"1=118.600"};
    QTest::newRow("one channel: the sixth record into row 1") << six << true << QStringList{"1=134.125"};
    QTest::newRow("one channel: a valid first record is not used")
        << placed({{14, "118.600"}, {144, "999.999"}}) << true << QStringList();
}

void TestExchange::parseListing()
{
    QFETCH(QString, listing);
    QFETCH(bool, singleChannel);
    QFETCH(QStringList, stored);
    QCOMPARE(described(parseChannelListing(listing, singleChannel)), stored);
}

Q_DECLARE_METATYPE(Scenario)

void TestExchange::simulatorListing_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QList<int>>("rows");

    QTest::newRow("six records") << Scenario::Normal << 0 << false << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("record 4 invalid") << Scenario::InvalidRecord << 4 << false << QList<int>{1, 2, 3, 5, 6};
    QTest::newRow("149 characters") << Scenario::ShortListing << 0 << false << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("one channel") << Scenario::Normal << 0 << true << QList<int>{1};
}

void TestExchange::simulatorListing()
{
    QFETCH(Scenario, scenario);
    QFETCH(int, value);
    QFETCH(bool, singleChannel);
    QFETCH(QList<int>, rows);
    RadioMenu menu({scenario, value}, 3s, defaultChannels());
    menu.receive('\r', {});
    const QString listing = QString::fromLatin1(menu.receive('6', {}));
    QList<int> stored;
    for (const ListedChannel &channel : parseChannelListing(listing, singleChannel)) {
        stored << channel.row;
        QCOMPARE(channel.frequency, defaultChannels()[singleChannel ? 5 : channel.row - 1]);
    }
    QCOMPARE(stored, rows);
    // Counted here, not taken from the parser, so an offset error shared by both still fails.
    const int positions[] = {14, 40, 66, 92, 118, 144};
    for (int k = 1; k <= 6; ++k) {
        const bool shown = rows.contains(k) || singleChannel;
        QCOMPARE(listing.mid(positions[k - 1] - 1, 7) == defaultChannels()[k - 1], shown);
    }
}

QTEST_GUILESS_MAIN(TestExchange)
#include "test_exchange.moc"
