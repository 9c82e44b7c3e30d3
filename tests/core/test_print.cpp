// The channel report, byte for byte.
#include "print/channel_report.h"

#include <QtTest/QtTest>

class TestPrint : public QObject {
    Q_OBJECT
private slots:
    void reportIsExact_data()
    {
        QTest::addColumn<QStringList>("frequencies");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head = "\r\n\r\n\r\n\r\n\tSerial No:  \tAB123\t\t\t\t24/12/2025   09:05\r\n\t"
            + QByteArray(68, '\xaf') + "\r\n\r\n";
        QTest::newRow("one channel") << QStringList{"121.500"} << head + "\tChannel 1:\t121.500\tMHz\r\n";
        QTest::newRow("six channels") << QStringList{"118.000", "118.025", "121.500", "122.750", "130.000", "138.000"}
                                      << head
                + "\tChannel 1:\t118.000\tMHz\r\n\tChannel 2:\t118.025\tMHz\r\n"
                  "\tChannel 3:\t121.500\tMHz\r\n\tChannel 4:\t122.750\tMHz\r\n"
                  "\tChannel 5:\t130.000\tMHz\r\n\tChannel 6:\t138.000\tMHz\r\n";
    }
    void reportIsExact()
    {
        QFETCH(QStringList, frequencies);
        // The rule is U+00AF, one byte in Latin-1.
        QTEST(channelReport("AB123", "24/12/2025", "09:05", frequencies).toLatin1(), "expected");
    }
};

QTEST_GUILESS_MAIN(TestPrint)
#include "test_print.moc"
