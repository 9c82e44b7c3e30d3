#include "link/exchange_wait.h"

#include "core/blanks.h"
#include "core/logging.h"
#include "link/serial_link.h"

#include <QtCore/QList>

namespace {

// Disconnects on scope exit, so no slot outlives the wait that owns its captures.
class ScopedConnections {
public:
    ScopedConnections() = default;
    ScopedConnections(const ScopedConnections &) = delete;
    ScopedConnections &operator=(const ScopedConnections &) = delete;
    ~ScopedConnections()
    {
        for (const auto &connection : connections_)
            QObject::disconnect(connection);
    }
    void add(QMetaObject::Connection connection) { connections_.append(connection); }

private:
    QList<QMetaObject::Connection> connections_;
};

} // namespace

ReplyWaiter::ReplyWaiter(SerialLink &link, ExchangeView &view, TimeSource &time, TimeSource::ms second,
                         Lifetime &lifetime, const SerialTrace &trace)
    : link_(link), view_(view), time_(time), second_(second), lifetime_(lifetime), trace_(trace)
{
}

QCoro::Task<WaitEnd> ReplyWaiter::wait(ReplyWait expected)
{
    const TimeSource::ms start = time_.now();
    Wakeup woken;
    const Lifetime::Watch watch(lifetime_, woken);
    bool lineLost = false;
    ScopedConnections connections;
    connections.add(QObject::connect(&link_, &SerialLink::dataArrived, &signalContext_, [&woken] { woken.fire(); }));
    connections.add(QObject::connect(&link_, &SerialLink::lineLost, &signalContext_, [&woken, &lineLost] {
        lineLost = true;
        woken.fire();
    }));
    const auto limitPassed =
        time_.alarmAt(second_ * (wholeSeconds(start) + expected.limitSeconds + 1), [&woken] { woken.fire(); });

    // Lets the event loop take in what the device already holds before the first check.
    co_await sleepUntil(time_, start, lifetime_);
    qsizetype match = 0;
    for (;;) {
        if (lifetime_.ended() || lineLost || !check(expected, match))
            co_return WaitEnd{.communicationError = true};
        if (expected.echo)
            view_.echo(*expected.echo, reply_);
        const bool satisfied = expected.rule == MatchRule::Length ? match >= expected.threshold : match > 0;
        const qint64 elapsed = wholeSeconds(time_.now()) - wholeSeconds(start);
        if (satisfied || elapsed > expected.limitSeconds)
            co_return WaitEnd{.satisfied = satisfied, .elapsedSeconds = elapsed};
        co_await woken;
    }
}

bool ReplyWaiter::check(const ReplyWait &expected, qsizetype &match)
{
    const std::optional<QString> received = link_.readAll();
    if (!received)
        return false;
    trace_.received(received->toLatin1());
    reply_ += *received;
    const QStringView trimmed = trimmedOfSpaces(reply_);
    if (trimmed.isEmpty())
        return true;
    const qsizetype at = trimmed.indexOf(expected.marker);
    if (expected.rule == MatchRule::Position) {
        match = at + 1;
        return true;
    }
    if (at < 0) {
        qCWarning(lcSerial) << "the radio's reply lacks" << expected.marker;
        return false;
    }
    match = trimmed.size() - at;
    return true;
}
