#include "link/exchange_listing.h"
#include "tests/support/fake_radio.h"

#include <QtTest/QtTest>

namespace {

const QStringList kListed{"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};

QString listingOf(const QStringList &frequencies)
{
    return QString::fromLatin1(FakeRadio::listingOf(frequencies));
}

// "row=frequency" for each stored channel, so the tables read plainly.
QStringList described(const QList<ListedChannel> &channels)
{
    QStringList text;
    for (const ListedChannel &c : channels)
        text.append(QStringLiteral("%1=%2").arg(c.row).arg(c.frequency));
    return text;
}

QStringList withReplaced(QStringList list, int index, const QString &value)
{
    list[index] = value;
    return list;
}

} // namespace

class TestListing : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void listsRowsNotRead_data();
    void listsRowsNotRead();
};

void TestListing::parse_data()
{
    QTest::addColumn<QString>("listing");
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QStringList>("stored");

    const QStringList allSix{"1=118.600", "2=121.500", "3=122.475",
                             "4=123.450", "5=129.975", "6=134.125"};
    const QString listing = listingOf(kListed);
    QTest::newRow("six valid records") << listing << false << allSix;
    QTest::newRow("just the 150 characters that reach the sixth frequency")
        << listing.left(150) << false << allSix;
    QTest::newRow("149 characters: sixth frequency cut short")
        << listing.left(149) << false << allSix.mid(0, 5);
    QTest::newRow("cut inside the third record")
        << listing.left(60) << false << allSix.mid(0, 2);
    QTest::newRow("empty") << QString() << false << QStringList();
    QTest::newRow("shifted by one character: nothing valid")
        << (QStringLiteral("C") + listing) << false << QStringList();
    QTest::newRow("shifted by one record: rows take the next record")
        << (QStringLiteral("Channel listing follows:\r\n") + listing) << false
        << QStringList{"2=118.600", "3=121.500", "4=122.475", "5=123.450", "6=129.975"};
    QTest::newRow("outside the band")
        << listingOf(withReplaced(kListed, 2, "117.975")) << false
        << QStringList{"1=118.600", "2=121.500", "4=123.450", "5=129.975", "6=134.125"};
    QTest::newRow("off the raster")
        << listingOf(withReplaced(kListed, 0, "118.010")) << false << allSix.mid(1);
    QTest::newRow("not a number")
        << listingOf(withReplaced(kListed, 4, "12x.975")) << false
        << QStringList{"1=118.600", "2=121.500", "3=122.475", "4=123.450", "6=134.125"};
    QTest::newRow("one channel: sixth record into row 1")
        << listing << true << QStringList{"1=134.125"};
    QTest::newRow("one channel: a valid first record is not used")
        << listingOf(withReplaced(kListed, 5, "999.999")) << true << QStringList();
}

void TestListing::parse()
{
    QFETCH(QString, listing);
    QFETCH(bool, singleChannel);
    QFETCH(QStringList, stored);
    QCOMPARE(described(parseChannelListing(listing, singleChannel)), stored);
}

void TestListing::listsRowsNotRead_data()
{
    QTest::addColumn<QList<int>>("storedRows");
    QTest::addColumn<int>("channelCount");
    QTest::addColumn<QList<int>>("missing");

    QTest::newRow("all six") << QList<int>{1, 2, 3, 4, 5, 6} << 6 << QList<int>{};
    QTest::newRow("two gaps") << QList<int>{1, 3, 4, 6} << 6 << QList<int>{2, 5};
    QTest::newRow("one channel read") << QList<int>{1} << 1 << QList<int>{};
    QTest::newRow("one channel not read") << QList<int>{} << 1 << QList<int>{1};
}

void TestListing::listsRowsNotRead()
{
    QFETCH(QList<int>, storedRows);
    QFETCH(int, channelCount);
    QFETCH(QList<int>, missing);
    QList<ListedChannel> stored;
    for (const int row : storedRows)
        stored.append({row, QStringLiteral("118.000")});
    QCOMPARE(rowsNotRead(stored, channelCount), missing);
}

QTEST_GUILESS_MAIN(TestListing)
#include "test_listing.moc"
