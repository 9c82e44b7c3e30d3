// The benchmark's own arithmetic.
#include "bench/figures.h"

#include <QtTest/QtTest>

class TestBench : public QObject {
    Q_OBJECT
private slots:
    void gapSummary_data()
    {
        QTest::addColumn<QList<double>>("gaps");
        QTest::addColumn<QList<double>>("minMedianP99Max");

        QList<double> hundred(99, 350.0);
        hundred.append(400.0);
        QList<double> twoHigh = hundred;
        twoHigh[0] = 360.0;
        QTest::newRow("one high gap in 100: p99 is the 99th") << hundred << QList<double>{350, 350, 350, 400};
        QTest::newRow("two high gaps in 100") << twoHigh << QList<double>{350, 350, 360, 400};
        QTest::newRow("unsorted four: nearest rank") << QList<double>{4, 1, 3, 2} << QList<double>{1, 2, 4, 4};
        QTest::newRow("one gap") << QList<double>{5} << QList<double>{5, 5, 5, 5};
    }
    void gapSummary()
    {
        QFETCH(QList<double>, gaps);
        QFETCH(QList<double>, minMedianP99Max);
        const GapSummary summary = summarizeGaps(std::vector<double>(gaps.begin(), gaps.end()));
        QCOMPARE(summary.count, int(gaps.size()));
        QCOMPARE((QList<double>{summary.min, summary.median, summary.p99, summary.max}), minMedianP99Max);
    }

    // The same ends as the transfers on virtual time: 27.9 s and 5.4 s.
    void addsUpProtocolFloor_data()
    {
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("radioDelay");
        QTest::addColumn<double>("floor");

        QTest::newRow("download, the EEPROM written in 12 s") << 35 << 12000 << 27900.0;
        QTest::newRow("upload, answers within the pace") << 4 << 20 << 5400.0;
    }
    void addsUpProtocolFloor()
    {
        QFETCH(int, characters);
        QFETCH(int, radioDelay);
        QFETCH(double, floor);
        const FloorTerms terms{characters, Milliseconds(350), Milliseconds(radioDelay), Milliseconds(4000)};
        QCOMPARE(protocolFloor(terms).count(), floor);
    }
};

QTEST_GUILESS_MAIN(TestBench)
#include "test_bench.moc"
