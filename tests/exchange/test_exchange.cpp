// The radio exchange on virtual time against the simulator's radio menu: the bytes and their
// moments, each reply wait at its thresholds and limits, the failures and what follows them;
// and the listing parser.
// Timeline of an undisturbed download: byte i is written at i x 350 ms and answered 20 ms
// later. The listing wait starts at 700 ms, so its whole-second limit passes at 4000 ms.
#include "app/terminal_pane.h"
#include "link/exchange_listing.h"
#include "tests/exchange/exchange_bench.h"

#include <QtTest/QtTest>
#include <QtWidgets/QPlainTextEdit>

Q_DECLARE_METATYPE(Scenario)
Q_DECLARE_METATYPE(Channels)
Q_DECLARE_METATYPE(ListedChannel)
Q_DECLARE_METATYPE(TransceiverType)

namespace {

const QString kCommunication = QStringLiteral("Communication Error");
const QString kTimeout = QStringLiteral("Serial portTimeout Error");
const QString kInvalidPort = QStringLiteral("Invalid COM Port");
const QByteArray kDownload = "\r6Y180252150022475234502997536975S\r";
const QByteArray kDownloadOfRow1 = "\r6Y180251802518025180251802518025S\r";
const QStringList kListed{"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};
const QStringList kCleared(6, QStringLiteral("118.000"));
constexpr TransceiverType kOne = TransceiverType::OneChannel;
constexpr TransceiverType kSix = TransceiverType::SixChannels;

QByteArray filler(qsizetype count)
{
    return QByteArray(count, 'x');
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
    void changeDuringTransfer_data();
    void changeDuringTransfer();
    void replyWait_data();
    void replyWait();
    void paneShows_data();
    void paneShows();
    void parseListing_data();
    void parseListing();
};

// An upload starts from cleared rows, so each row it stores shows.
void TestExchange::transfer_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<TransceiverType>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("notes");
    QTest::addColumn<Channels>("radio"); // the channels the radio holds

    QStringList single = kCleared;
    single[0] = kListed[5];
    QStringList twoUnread = kListed;
    twoUnread[1] = twoUnread[4] = kCleared[0];

    const Channels own = defaultChannels();
    Channels twoBad = own;
    twoBad[1] = QStringLiteral("999.999");
    twoBad[4] = QStringLiteral("118.010");
    Channels sixthBad = own;
    sixthBad[5] = QStringLiteral("117.000");
    const QByteArray up = "\r6N\r";
    const QStringList none;

    QTest::newRow("download, six channels") << false << kSix << kDownload << kSixChannels << none << own;
    QTest::newRow("download, one channel: row 1 in all six steps")
        << false << kOne << kDownloadOfRow1 << kSixChannels << none << own;
    QTest::newRow("upload, six channels") << true << kSix << up << kListed << none << own;
    QTest::newRow("upload, one channel: the sixth record into row 1") << true << kOne << up << single << none << own;
    QTest::newRow("upload, records 2 and 5 invalid: named")
        << true << kSix << up << twoUnread << QStringList{"channels not read: 2, 5"} << twoBad;
    QTest::newRow("upload, one channel, sixth record invalid: named")
        << true << kOne << up << kCleared << QStringList{"channels not read: 1"} << sixthBad;
}

void TestExchange::transfer()
{
    QFETCH(bool, upload);
    QFETCH(TransceiverType, type);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QFETCH(Channels, radio);
    ExchangeBench bench;
    bench.view.type = type;
    bench.view.rows = upload ? kCleared : kSixChannels;
    bench.radio.setUp({}, 0ms, radio);
    QVERIFY(bench.run(upload));
    QCOMPARE(bench.failure(), QString());
    QCOMPARE(bench.link.writtenBytes, bytes);
    QList<ms> paced;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        paced.append(350ms * i);
    QCOMPARE(bench.link.writtenTimes, paced);
    QCOMPARE(bench.view.rows, rows);
    QTEST(bench.view.notes, "notes");
    QCOMPARE(bench.view.notices,
             QStringList{upload ? "Upload Completed" : "Download Completed. Power Radio OFF / ON."});
    QCOMPARE(bench.view.answeredAt, 700ms);
    QCOMPARE(bench.view.channels, (upload ? QList<int>() : QList<int>{1, 2, 3, 4, 5, 6, 0}));
    QCOMPARE(bench.view.countdowns, (upload ? QList<int>() : QList<int>{30}));
    QVERIFY(!bench.view.countdownRunning && !bench.view.running);
    // The notice follows the pause after the last byte.
    QCOMPARE(bench.link.closedAt, QList<ms>{350ms * bytes.size() + 4000ms});
    QVERIFY(!bench.link.hasListeners());
}

// A loss in a wait is seen at once, one in a pause when the next write or wait begins. A port
// that will not open leaves nothing to close; a failed write is reported while the port is
// still open.
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
    QTest::newRow("upload, line dropped on N: seen as the next wait begins")
        << true << "hang-up" << 3 << kCommunication << 1050 << false << none << QByteArray("\r6N") << "";
    QTest::newRow("download, line dropped on a channel's digit: seen at the next write")
        << false << "hang-up" << 9 << kCommunication << 3150 << false << none << QByteArray("\r6Y180252") << "";
    QTest::newRow("download, line lost while the EEPROM is written: seen at once")
        << false << "lost" << 20000 << kCommunication << 20000 << false << none << kDownload.chopped(1) << "";
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
    ExchangeBench bench(fault == "hang-up" ? ScenarioChoice{Scenario::HangUp, at} : ScenarioChoice{});
    bench.view.port = 7;
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
        QVERIFY(bench.view.failures.last().running);
        QVERIFY(bench.view.notices.isEmpty());
        QCOMPARE(bench.view.rows, kSixChannels);
    }
    QCOMPARE(bench.link.closedAt, closedAt < 0 ? QList<ms>() : QList<ms>{ms(closedAt)});
    QCOMPARE(bench.link.writtenBytes, written);
    QTEST(bench.portProblemLine(), "line");
    QVERIFY(bench.view.notes.isEmpty());
    QVERIFY(!bench.view.running);
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
    ExchangeBench bench(lineLost ? ScenarioChoice{} : ScenarioChoice{Scenario::Silent});
    if (lineLost)
        bench.link.loseLineAt(15000ms);
    QVERIFY(bench.run(false));
    QCOMPARE(bench.failure(), lineLost ? kCommunication : kTimeout);
    QCOMPARE(bench.view.countdownRunning, lineLost);
    bench.radio.setUp({});
    const qsizetype written = bench.link.writtenBytes.size();
    QVERIFY(bench.run(upload));
    QCOMPARE(bench.view.failures.size(), 1);
    QCOMPARE(bench.link.writtenBytes.mid(written), bytes);
    QCOMPARE(bench.link.openCount, 2);
    QCOMPARE(bench.view.notices.size(), 1);
    QVERIFY(!bench.view.startedUnderCountdown);
    QVERIFY(!bench.view.countdownRunning);
    QVERIFY(!bench.link.hasListeners());
}

// A row is read when its step begins; the transceiver type when the transfer begins, and an
// upload stores its listing for that type, after the last carriage return.
void TestExchange::changeDuringTransfer_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<TransceiverType>("type");
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("row1");

    QTest::newRow("download, six channels switched to one")
        << false << kSix << "switch" << 3000 << kDownload << kSixChannels[0];
    QTest::newRow("download, rows 1 and 4 edited at 5 s: row 4's step is still to come")
        << false << kSix << "edit" << 5000 << QByteArray("\r6Y180252150022475275002997536975S\r") << "130.000";
    QTest::newRow("download, row 1 edited while its prompt is awaited, whose 52nd character comes at 2.5 s")
        << false << kSix << "edit while prompted" << 2000 << QByteArray("\r6Y300002150022475234502997536975S\r")
        << "130.000";
    // In the final wait, which begins after the pause that follows "N" at 700 ms.
    QTest::newRow("upload, one channel switched to six")
        << true << kOne << "switch" << 1050 << QByteArray("\r6N\r") << kListed[5];
}

void TestExchange::changeDuringTransfer()
{
    QFETCH(bool, upload);
    QFETCH(TransceiverType, type);
    QFETCH(QString, change);
    QFETCH(int, at);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, row1);
    const bool prompted = change == "edit while prompted";
    ExchangeBench bench(prompted ? ScenarioChoice{Scenario::ShortPrompt, 1} : ScenarioChoice{});
    bench.view.type = type;
    bench.link.deliverAt(2500ms, prompted ? "x" : "");
    bench.at(ms(at), [&] {
        if (change == "switch")
            bench.view.type = type == kOne ? kSix : kOne;
        else
            bench.view.rows[0] = QStringLiteral("130.000");
        if (change == "edit")
            bench.view.rows[3] = QStringLiteral("127.500");
    });
    QVERIFY(bench.run(upload));
    QCOMPARE(bench.link.writtenBytes, bytes);
    QCOMPARE(bench.view.rows[0], row1);
    QCOMPARE(bench.writtenAt(3), prompted ? 2500ms : 1050ms);
}

// Each wait against its marker, threshold and whole-second limit: the listing ("C", 150
// characters from it, fails), the edit question ("E", 45, goes on), the channel prompts
// ("Channel k", 52, fails), the point, "S or R", the ready report and the menu line (go on).
// `line` is text on the line beside the radio's answers; `byte` is the write whose moment is
// checked, or -1 for the failure's.
void TestExchange::replyWait_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("lineAt");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("written");

    const QByteArray up = "\r6N\r";
    const QByteArray none;
    const Scenario silent = Scenario::Silent;
    const Scenario noQuestion = Scenario::NoEditQuestion;
    QTest::newRow("listing: 150 from the C just before the limit")
        << true << silent << 0 << "C" + filler(149) << 3999 << QString() << 2 << 3999 << up;
    QTest::newRow("listing: 150 in the check that passes the limit")
        << true << silent << 0 << "C" + filler(149) << 4000 << kTimeout << -1 << 4000 << QByteArray("\r6");
    QTest::newRow("listing: noise before the C")
        << true << silent << 0 << "\r\n~~ C" + filler(149) << 370 << QString() << 2 << 700 << up;
    QTest::newRow("listing: 149 from the C")
        << false << Scenario::ShortListing << 0 << none << 0 << kTimeout << -1 << 4000 << QByteArray("\r6");
    QTest::newRow("listing: blanks only, in its last second")
        << true << silent << 0 << QByteArray("      ") << 3500 << kTimeout << -1 << 4000 << QByteArray("\r6");
    QTest::newRow("listing: no C") << true << Scenario::NoC << 0 << none << 0 << kCommunication << -1 << 700
                                   << QByteArray("\r6");
    QTest::newRow("listing: lower-case c")
        << false << silent << 0 << "c" + filler(200) << 370 << kCommunication << -1 << 700 << QByteArray("\r6");
    QTest::newRow("no edit question: fails at once")
        << false << noQuestion << 0 << none << 0 << kCommunication << -1 << 700 << QByteArray("\r6");
    QTest::newRow("edit question of 45") << false << noQuestion << 0 << "E" + filler(44) << 400 << QString() << 2 << 700
                                         << kDownload;
    QTest::newRow("edit question of 44: goes on at the limit")
        << false << noQuestion << 0 << "E" + filler(43) << 400 << QString() << 2 << 4000 << kDownload;
    QTest::newRow("channel 4's prompt of 51: time-out") << false << Scenario::ShortPrompt << 4 << none << 0 << kTimeout
                                                        << -1 << 10000 << QByteArray("\r6Y180252150022475");
    QTest::newRow("channel 1's prompt names channel 2")
        << false << Scenario::WrongChannel << 1 << none << 0 << kCommunication << -1 << 1050 << QByteArray("\r6Y");
    QTest::newRow("no point: the decimals after the limit")
        << false << Scenario::NoPoint << 0 << none << 0 << QString() << 5 << 5000 << kDownload;
    QTest::newRow("no S or R: S after the limit")
        << false << Scenario::NoStoreQuestion << 0 << none << 0 << QString() << 33 << 15000 << kDownload;
    QTest::newRow("ready after 29 s") << false << Scenario::ReadyAfter << 29 << none << 0 << QString() << 34 << 40550
                                      << kDownload;
    QTest::newRow("never ready: 30 s") << false << Scenario::NeverReady << 0 << none << 0 << QString() << 34 << 42000
                                       << kDownload;
    QTest::newRow("no menu line: the return after the limit")
        << false << Scenario::NoMenuLine << 0 << none << 0 << QString() << 34 << 27000 << kDownload;
    QTest::newRow("upload, no menu line: the return after the limit")
        << true << Scenario::NoMenuLine << 0 << none << 0 << QString() << 3 << 5000 << up;
}

void TestExchange::replyWait()
{
    QFETCH(bool, upload);
    QFETCH(Scenario, scenario);
    QFETCH(int, value);
    QFETCH(QByteArray, line);
    QFETCH(int, lineAt);
    QFETCH(QString, failure);
    QFETCH(int, byte);
    QFETCH(int, at);
    QFETCH(QByteArray, written);
    ExchangeBench bench({scenario, value});
    bench.link.deliverAt(ms(lineAt), line);
    QVERIFY(bench.run(upload));
    QCOMPARE(bench.failure(), failure);
    QCOMPARE(byte < 0 ? bench.failureTime() : bench.writtenAt(byte), ms(at));
    QCOMPARE(bench.link.writtenBytes, written);
    QCOMPARE(bench.view.notes.contains("the radio did not report ready"), scenario == Scenario::NeverReady);
}

// What the window's terminal pane shows during and after a transfer, and whether its caret
// is at the end.
void TestExchange::paneShows_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("atEnd");

    const Scenario normal = Scenario::Normal;
    const QByteArray writing = "S\r\n" + RadioMenu::writingText;
    const QByteArray listing = RadioMenu({}, 0ms, defaultChannels()).receive('6', {});
    QTest::newRow("channel 1's prompt") << false << normal << 1300 << "Y\r\n\r\n" + RadioMenu::channelPrompt(1) << true;
    QTest::newRow("channel 2's wait begins with the answer to channel 1's digits")
        << false << normal << 3300 << "18.025\r\n" + RadioMenu::channelPrompt(2) << true;
    QTest::newRow("S or R goes on from channel 6's point wait")
        << false << normal << 11700
        << "29.975\r\n" + RadioMenu::channelPrompt(6) + "36.975\r\n" + RadioMenu::storeQuestion << true;
    QTest::newRow("while the radio stores: from the start")
        << false << Scenario::NeverReady << 20000 << writing << false;
    QTest::newRow("after the ready report")
        << false << normal << -1 << writing + RadioMenu::readyText + "\r\n" + RadioMenu::menuLine + "\r\n\r\n"
        << true;
    QTest::newRow("never ready") << false << Scenario::NeverReady << -1
                                 << writing + RadioMenu::menuLine + "\r\n\r\nthe radio did not report ready\r\n"
                                 << true;
    QTest::newRow("upload: everything since 6")
        << true << normal << -1 << listing + "N\r\n" + RadioMenu::menuLine << true;
}

void TestExchange::paneShows()
{
    QFETCH(bool, upload);
    QFETCH(Scenario, scenario);
    QFETCH(int, at);
    QFETCH(QByteArray, text);
    ExchangeBench bench({scenario});
    QWidget window;
    TerminalPane pane(&window);
    bench.view.echoed = [&pane](Echo stage, const QString &answer) { pane.showEcho(stage, answer); };
    bench.view.noted = [&pane](const QString &line) { pane.addLine(line); };
    QString shown;
    bool atEnd = false;
    const auto look = [&] {
        shown = pane.text();
        atEnd = pane.pane()->textCursor().atEnd();
    };
    bench.at(ms(at), look);
    QVERIFY(bench.run(upload));
    if (at < 0)
        look();
    QCOMPARE(shown, QString::fromLatin1(text));
    QTEST(atEnd, "atEnd");
}

// Records are 26 characters apart; the frequency stands at characters 14..20 of each. The
// valid ones are stored; every one, as listed, is what the radio holds.
void TestExchange::parseListing_data()
{
    QTest::addColumn<QString>("listing");
    QTest::addColumn<QList<ListedChannel>>("stored");
    QTest::addColumn<QStringList>("listed");

    const QString six = placed(
        {{14, kListed[0]}, {40, kListed[1]}, {66, kListed[2]}, {92, kListed[3]}, {118, kListed[4]}, {144, kListed[5]}});
    QList<ListedChannel> allSix;
    for (int row = 1; row <= 6; ++row)
        allSix.append({row, kListed[row - 1]});
    QTest::newRow("150 characters reach the sixth frequency") << six.left(150) << allSix << kListed;
    QTest::newRow("149 characters cut it short")
        << six.left(149) << allSix.mid(0, 5) << (kListed.mid(0, 5) << kListed[5].left(6));
    QTest::newRow("one character later: nothing")
        << "-" + six << QList<ListedChannel>()
        << QStringList{"-118.60", "-121.50", "-122.47", "-123.45", "-129.97", "-134.12"};
}

void TestExchange::parseListing()
{
    QFETCH(QString, listing);
    QFETCH(QList<ListedChannel>, stored);
    QCOMPARE(parseChannelListing(listing, kSix), stored);
    QTEST(listedFrequencies(listing, kSix), "listed");
}

QTEST_MAIN(TestExchange)
#include "test_exchange.moc"
