#include "program_client.h"
#include "radio_menu.h"

#include <QtTest/QtTest>

using namespace std::chrono_literals;
using ProgramClient::listedFrequency;
using ProgramClient::matchLength;

namespace {

const SimClock::time_point start{};
const Channels typedChannels = {"118.025", "119.100", "127.850", "131.000", "136.975", "120.000"};

// The answers to the 35 bytes of a download, by byte number (1 = the first carriage return).
struct Download {
    QList<QByteArray> answers{QByteArray()};
    QByteArray afterWrite;

    [[nodiscard]] QByteArray to(int byte) const { return answers.value(byte); }
};

QByteArray downloadBytes(const Channels &channels)
{
    QByteArray bytes = "\r6Y";
    for (const QString &frequency : channels)
        bytes += frequency.toLatin1().mid(1, 2) + frequency.toLatin1().mid(4, 3);
    return bytes + "S";
}

Download runDownload(RadioMenu &menu, const Channels &channels = typedChannels)
{
    Download run;
    for (const char byte : downloadBytes(channels))
        run.answers << menu.receive(byte, start);
    run.afterWrite = menu.due(menu.deadline().value_or(start + 1h));
    run.answers << menu.receive('\r', start);
    return run;
}

QByteArray feed(RadioMenu &menu, const QByteArray &bytes)
{
    QByteArray answer;
    for (const char byte : bytes)
        answer += menu.receive(byte, start);
    return answer;
}

RadioMenu menuFor(Scenario scenario, int value = 0)
{
    return RadioMenu({scenario, value}, 3s, defaultChannels());
}

int lastDecimalOf(int channel)
{
    return 5 * channel + 3;
}

} // namespace

class TestRadioMenu : public QObject {
    Q_OBJECT
private slots:
    void listingFollowsTheFixedLayout_data();
    void listingFollowsTheFixedLayout();
    void carriageReturnIsAnsweredWithSilence_data();
    void carriageReturnIsAnsweredWithSilence();
    void channelPromptComesWithTheLastDecimal_data();
    void channelPromptComesWithTheLastDecimal();
    void pointFollowsTheTwoLeadingDigits();
    void downloadStoresTheDigitsAfterTheEepromWrite();
    void returnWithoutStoringKeepsTheChannels();
    void uploadIsAnsweredWithTheMenuLine();
    void silentRadioNeverAnswers();
    void answerWithoutC();
    void shortListingEndsOneCharacterEarly();
    void noPointKeepsThePrompts();
    void noStoreQuestionStillTakesS();
    void neverReadySendsOnlyTheMenuLine();
    void readyAfterOverridesTheEepromDelay();
    void invalidRecord_data();
    void invalidRecord();
};

void TestRadioMenu::listingFollowsTheFixedLayout_data()
{
    QTest::addColumn<Channels>("channels");
    QTest::newRow("default") << defaultChannels();
    QTest::newRow("typed") << typedChannels;
    QTest::newRow("band edges") << Channels{"118.000", "137.975", "118.000", "137.975", "125.000", "130.025"};
}

void TestRadioMenu::listingFollowsTheFixedLayout()
{
    QFETCH(Channels, channels);
    RadioMenu menu({}, 3s, channels);
    const QByteArray answer = feed(menu, "\r6");
    QVERIFY(answer.startsWith('C'));
    QVERIFY(matchLength(answer, "C") >= 150);
    for (int k = 1; k <= 6; ++k) {
        QCOMPARE(listedFrequency(answer, k), channels[k - 1].toLatin1());
        QVERIFY(answer.mid((k - 1) * 26).startsWith("Channel " + QByteArray::number(k)));
        QCOMPARE(answer.mid(k * 26 - 2, 2), QByteArray("\r\n"));
    }
    QVERIFY(!answer.left(6 * 26).contains('E'));
    QVERIFY(matchLength(answer, "E") >= 45);
    QVERIFY(!answer.contains("menu.)"));
}

void TestRadioMenu::carriageReturnIsAnsweredWithSilence_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("idle") << QByteArray();
    QTest::newRow("listing shown") << QByteArray("\r6");
    QTest::newRow("typing a channel") << QByteArray("\r6Y180");
    QTest::newRow("asked S or R") << downloadBytes(typedChannels).chopped(1);
    QTest::newRow("upload ended") << QByteArray("\r6N");
}

void TestRadioMenu::carriageReturnIsAnsweredWithSilence()
{
    QFETCH(QByteArray, before);
    RadioMenu menu = menuFor(Scenario::Normal);
    feed(menu, before);
    QCOMPARE(menu.receive('\r', start), QByteArray());
    QVERIFY(menu.receive('6', start).startsWith('C'));
}

void TestRadioMenu::channelPromptComesWithTheLastDecimal_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("byte");
    QTest::newRow("channel 1 after Y") << 1 << 3;
    for (int k = 2; k <= 6; ++k)
        QTest::addRow("channel %d", k) << k << lastDecimalOf(k - 1);
}

void TestRadioMenu::channelPromptComesWithTheLastDecimal()
{
    QFETCH(int, channel);
    QFETCH(int, byte);
    RadioMenu menu = menuFor(Scenario::Normal);
    const QByteArray answer = runDownload(menu).to(byte);
    QVERIFY(matchLength(answer, "Channel " + QByteArray::number(channel)) >= 52);
    QVERIFY(!answer.contains('.'));
}

void TestRadioMenu::pointFollowsTheTwoLeadingDigits()
{
    RadioMenu menu = menuFor(Scenario::Normal);
    const Download run = runDownload(menu);
    for (int k = 1; k <= 6; ++k) {
        QCOMPARE(run.to(5 * k - 1), typedChannels[k - 1].toLatin1().mid(1, 1));
        QCOMPARE(run.to(5 * k), typedChannels[k - 1].toLatin1().mid(2, 1) + ".");
    }
    QVERIFY(run.to(lastDecimalOf(6)).contains("S or R"));
}

void TestRadioMenu::downloadStoresTheDigitsAfterTheEepromWrite()
{
    RadioMenu menu = menuFor(Scenario::Normal);
    feed(menu, downloadBytes(typedChannels));
    QCOMPARE(menu.channels(), defaultChannels());
    QCOMPARE(menu.deadline(), std::optional(start + 3s));
    QCOMPARE(menu.due(start + 2999ms), QByteArray());
    const QByteArray afterWrite = menu.due(start + 3s);
    const qsizetype ready = afterWrite.indexOf("The radio is now ready for use.");
    QVERIFY(ready >= 0);
    QVERIFY(afterWrite.indexOf("menu.)") > ready);
    QCOMPARE(menu.channels(), typedChannels);
    QCOMPARE(menu.receive('\r', start), QByteArray());
    const QByteArray listing = feed(menu, "6");
    QCOMPARE(listedFrequency(listing, 5), QByteArray("136.975"));
}

void TestRadioMenu::returnWithoutStoringKeepsTheChannels()
{
    RadioMenu menu = menuFor(Scenario::Normal);
    feed(menu, downloadBytes(typedChannels).chopped(1));
    QVERIFY(menu.receive('R', start).contains("menu.)"));
    QCOMPARE(menu.deadline(), std::nullopt);
    QCOMPARE(menu.channels(), defaultChannels());
}

void TestRadioMenu::uploadIsAnsweredWithTheMenuLine()
{
    RadioMenu menu = menuFor(Scenario::Normal);
    feed(menu, "\r6");
    QVERIFY(menu.receive('N', start).contains("menu.)"));
    QCOMPARE(menu.receive('\r', start), QByteArray());
}

void TestRadioMenu::silentRadioNeverAnswers()
{
    RadioMenu menu = menuFor(Scenario::Silent);
    const Download run = runDownload(menu);
    QCOMPARE(run.answers.join(), QByteArray());
    QCOMPARE(run.afterWrite, QByteArray());
}

void TestRadioMenu::answerWithoutC()
{
    RadioMenu menu = menuFor(Scenario::NoC);
    const QByteArray answer = ProgramClient::trimmed(feed(menu, "\r6"));
    QVERIFY(!answer.isEmpty());
    QVERIFY(!answer.contains('C'));
}

void TestRadioMenu::shortListingEndsOneCharacterEarly()
{
    RadioMenu menu = menuFor(Scenario::ShortListing);
    QCOMPARE(matchLength(feed(menu, "\r6"), "C"), 149);
}

void TestRadioMenu::noPointKeepsThePrompts()
{
    RadioMenu menu = menuFor(Scenario::NoPoint);
    const Download run = runDownload(menu);
    QVERIFY(!run.answers.mid(4, 30).join().contains('.'));
    QVERIFY(matchLength(run.to(lastDecimalOf(5)), "Channel 6") >= 52);
    QVERIFY(run.afterWrite.contains("The radio is now ready for use."));
}

void TestRadioMenu::noStoreQuestionStillTakesS()
{
    RadioMenu menu = menuFor(Scenario::NoStoreQuestion);
    const Download run = runDownload(menu);
    QVERIFY(!run.answers.join().contains("S or R"));
    QVERIFY(run.afterWrite.contains("The radio is now ready for use."));
    QCOMPARE(menu.channels(), typedChannels);
}

void TestRadioMenu::neverReadySendsOnlyTheMenuLine()
{
    RadioMenu menu = menuFor(Scenario::NeverReady);
    const Download run = runDownload(menu);
    QVERIFY(!run.afterWrite.contains("ready"));
    QVERIFY(run.afterWrite.contains("menu.)"));
}

void TestRadioMenu::readyAfterOverridesTheEepromDelay()
{
    RadioMenu menu = menuFor(Scenario::ReadyAfter, 40);
    feed(menu, downloadBytes(typedChannels));
    QCOMPARE(menu.deadline(), std::optional(start + 40s));
    QCOMPARE(menu.due(start + 39s), QByteArray());
    QVERIFY(menu.due(start + 40s).contains("The radio is now ready for use."));
}

void TestRadioMenu::invalidRecord_data()
{
    QTest::addColumn<int>("record");
    for (int k = 1; k <= 6; ++k)
        QTest::addRow("record %d", k) << k;
}

void TestRadioMenu::invalidRecord()
{
    QFETCH(int, record);
    RadioMenu menu = menuFor(Scenario::InvalidRecord, record);
    const QByteArray listing = feed(menu, "\r6");
    for (int k = 1; k <= 6; ++k)
        QCOMPARE(listedFrequency(listing, k), k == record ? QByteArray("999.999") : defaultChannels()[k - 1].toLatin1());
    QVERIFY(matchLength(listing, "E") >= 45);
}

QTEST_GUILESS_MAIN(TestRadioMenu)
#include "test_radio_menu.moc"
