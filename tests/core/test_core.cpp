// The virtual clock and the serial trace's lines.
#include "core/serial_trace.h"
#include "core/time_source.h"

#include <QtTest/QtTest>

using namespace std::chrono_literals;

class TestCore : public QObject {
    Q_OBJECT
private slots:
    // Equal times fire first come first served; a cancelled alarm never fires.
    void virtualAlarmsFireInOrderOfTime()
    {
        VirtualTimeSource time;
        QList<int> fired;
        auto late = time.alarmAt(300ms, [&] { fired << 3; });
        auto early = time.alarmAt(100ms, [&] { fired << 1; });
        auto same = time.alarmAt(100ms, [&] { fired << 2; });
        time.alarmAt(200ms, [&] { fired << 0; }).reset();
        time.advanceTo(250ms);
        QCOMPARE(fired, (QList<int>{1, 2}));
        QCOMPARE(time.now(), 250ms);
        QVERIFY(time.runNext());
        QCOMPARE(fired, (QList<int>{1, 2, 3}));
        QCOMPARE(time.now(), 300ms);
        QVERIFY(!time.runNext());
    }

    void traceLineEscapesAndAligns_data()
    {
        QTest::addColumn<double>("ms");
        QTest::addColumn<TraceDirection>("direction");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");
        QTest::newRow("a digit sent") << 350.2136 << TraceDirection::Sent << QByteArray("6") << "   350.214 > 6";
        QTest::newRow("line ends, backslash")
            << 0.0 << TraceDirection::Received << QByteArray("C1\r\n\\") << "     0.000 < C1\\r\\n\\\\";
        QTest::newRow("control and raw bytes")
            << 12345.6 << TraceDirection::Received << QByteArray("\x00\x1b \x7f\xe9~", 6)
            << " 12345.600 < \\x00\\x1B \\x7F\\xE9~";
        QTest::newRow("wider than ten: nothing cut")
            << 1234567.0 << TraceDirection::Sent << QByteArray("\xff") << "1234567.000 > \\xFF";
    }
    void traceLineEscapesAndAligns()
    {
        QFETCH(double, ms);
        QFETCH(TraceDirection, direction);
        QFETCH(QByteArray, bytes);
        QTEST(traceLine(ms, direction, bytes), "line");
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "test_core.moc"
