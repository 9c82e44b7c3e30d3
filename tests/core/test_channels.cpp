// Which frequency texts the table admits, and the form it stores them in.
#include "channels/channel_comparison.h"
#include "channels/frequency.h"
#include "channels/frequency_paste.h"

#include <QtTest/QtTest>

class TestChannels : public QObject {
    Q_OBJECT
private slots:
    // The sweep below covers the band and the raster; these are the other shapes of a text.
    void frequencyText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("canonical"); // empty: refused

        QTest::newRow("blanks both sides") << "  118.025  " << QString("118.025");
        QTest::newRow("leading zero") << "0118.00" << QString("118.000");
        QTest::newRow("plus sign") << "+138.00" << QString("138.000");
        QTest::newRow("no fraction digits") << "000118." << QString("118.000");
        QTest::newRow("six characters") << "118.01" << QString();
        QTest::newRow("eight characters") << "118.0250" << QString();
        QTest::newRow("trailing blank leaves six") << "118.00 " << QString();
        QTest::newRow("minus sign") << "-118.00" << QString();
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("exponent") << "1.2E+02" << QString();
        QTest::newRow("decimal comma") << "118,025" << QString();
        QTest::newRow("two points") << "118.0.0" << QString();
        QTest::newRow("inner blank") << "118 025" << QString();
        QTest::newRow("tab padded") << "\t118.025" << QString();
    }
    void frequencyText()
    {
        QFETCH(QString, text);
        QFETCH(QString, canonical);
        QCOMPARE(validFrequency(text), !canonical.isEmpty());
        if (!canonical.isEmpty())
            QCOMPARE(canonicalFrequency(text), canonical);
    }

    // Pasted text as editors and spreadsheets copy it, into rows 2 to 6.
    void pastePlan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<int>("beyond");
        QTest::addColumn<bool>("admissible");

        QTest::newRow("lines") << "121.500\n122.750\n" << QStringList{"121.500", "122.750"} << 0 << true;
        QTest::newRow("tabs, CR LF") << "121.500\tTower\r\n122.750\tGround\r\n"
                                     << QStringList{"121.500", "122.750"} << 0 << true;
        QTest::newRow("commas, quotes, heading")
            << "Frequency,Name\n\"121.500\",Tower\n 122.750 ,Ground" << QStringList{"121.500", "122.750"} << 0 << true;
        QTest::newRow("off the raster") << "121.500\n121.510" << QStringList{"121.500", "121.510"} << 0 << false;
        QTest::newRow("too many lines") << "118.000\n118.025\n118.050\n118.075\n118.100\n118.125\n118.150"
                                        << QStringList{"118.000", "118.025", "118.050", "118.075", "118.100"} << 2
                                        << true;
        QTest::newRow("no number") << "Tower\nGround" << QStringList{} << 0 << false;
    }
    void pastePlan()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, values);
        QFETCH(int, beyond);
        QFETCH(bool, admissible);
        const PastePlan plan = planPaste(text, 2, 6);
        QCOMPARE(plan.values, values);
        QCOMPARE(plan.valuesBeyondLastRow, beyond);
        QCOMPARE(plan.admissible, admissible);
    }

    // The radio's channels against the ones meant for it; empty stands for an unread record.
    void differingChannels_data()
    {
        QTest::addColumn<QStringList>("radio");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QList<ChannelDifference>>("differences");

        QTest::newRow("same in another form")
            << QStringList{"0118.00", "121.500"} << QStringList{"118.000", "121.500"} << QList<ChannelDifference>{};
        QTest::newRow("differs, unread, no frequency, missing")
            << QStringList{"122.475", "", "121.500"} << QStringList{"122.500", "121.500", "121.5", "118.000"}
            << QList<ChannelDifference>{
                   {1, "122.475", "122.500"}, {2, "", "121.500"}, {3, "121.500", "121.5"}, {4, "", "118.000"}};
    }
    void differingChannels()
    {
        QFETCH(QStringList, radio);
        QFETCH(QStringList, expected);
        QTEST(::differingChannels(radio, expected), "differences");
    }

    void frequencySweep()
    {
        for (int khz = 117000; khz <= 139000; khz += 5) {
            const QString text = QStringLiteral("%1.%2").arg(khz / 1000).arg(khz % 1000, 3, 10, QChar(u'0'));
            const bool expected = khz >= 118000 && khz <= 138000 && khz % 25 == 0;
            QVERIFY2(validFrequency(text) == expected, qPrintable(text));
            QVERIFY2(!expected || canonicalFrequency(text) == text, qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestChannels)
#include "test_channels.moc"
