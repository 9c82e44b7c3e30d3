#include "core/time_source.h"

#include <QtTest/QtTest>

using namespace std::chrono_literals;

class TestTime : public QObject {
    Q_OBJECT
private slots:
    void virtualAlarmsFireInOrderOfTime();
    void cancelledAlarmNeverFires();
    void sleepUntilResumesAtItsTime();
    void realAlarmIsNeverEarly();
};

void TestTime::virtualAlarmsFireInOrderOfTime()
{
    VirtualTimeSource time;
    QList<int> fired;
    auto late = time.alarmAt(300ms, [&] { fired << 3; });
    auto early = time.alarmAt(100ms, [&] { fired << 1; });
    auto same = time.alarmAt(100ms, [&] { fired << 2; });
    time.advanceTo(250ms);
    QCOMPARE(fired, (QList<int>{1, 2}));
    QCOMPARE(time.now(), 250ms);
    QVERIFY(time.runNext());
    QCOMPARE(fired, (QList<int>{1, 2, 3}));
    QCOMPARE(time.now(), 300ms);
    QVERIFY(!time.runNext());
}

void TestTime::cancelledAlarmNeverFires()
{
    VirtualTimeSource time;
    bool fired = false;
    time.alarmAt(10ms, [&] { fired = true; }).reset();
    QVERIFY(!time.hasPending());
    time.advanceTo(1s);
    QVERIFY(!fired);
}

void TestTime::sleepUntilResumesAtItsTime()
{
    VirtualTimeSource time;
    TimeSource::ms resumedAt{-1};
    // Kept alive while the coroutine runs: it reads its captures after resuming.
    const auto sleeper = [&]() -> QCoro::Task<> {
        co_await sleepUntil(time, 350ms);
        resumedAt = time.now();
    };
    auto task = sleeper();
    QVERIFY(!task.isReady());
    time.advanceTo(349ms);
    QVERIFY(!task.isReady());
    time.advanceTo(350ms);
    QVERIFY(task.isReady());
    QCOMPARE(resumedAt, 350ms);
}

void TestTime::realAlarmIsNeverEarly()
{
    RealTimeSource time;
    const auto due = time.now() + 120ms;
    TimeSource::ms firedAt{-1};
    auto alarm = time.alarmAt(due, [&] { firedAt = time.now(); });
    QTRY_VERIFY_WITH_TIMEOUT(firedAt.count() >= 0, 2000);
    QVERIFY(firedAt >= due);
}

QTEST_GUILESS_MAIN(TestTime)
#include "test_time.moc"
