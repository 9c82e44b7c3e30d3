#pragma once

#include "core/lifetime.h"
#include "core/serial_trace.h"
#include "core/time_source.h"
#include "link/exchange_view.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <qcoro/qcorotask.h>

#include <optional>

class SerialLink;

// Length rule: satisfied once the text from the marker's first occurrence to the end of the
// trimmed reply reaches the threshold; a reply without the marker is an error at once.
// Position rule: satisfied once the marker occurs anywhere.
enum class MatchRule { Length, Position };

struct ReplyWait {
    QString marker;
    MatchRule rule = MatchRule::Position;
    qsizetype threshold = 0;
    int limitSeconds = 0;
    // Shown at each check, when the wait echoes its reply.
    std::optional<Echo> echo;
};

struct WaitEnd {
    bool communicationError = false;
    bool satisfied = false;
    qint64 elapsedSeconds = 0;
};

// Waits for the radio's answer without polling: checks what is buffered at once, then at every
// arrival, and a last time when the whole-second limit has passed. The reply text is kept from
// one wait to the next until the caller clears it. When the lifetime ends, a wait ends at once
// as a communication error, so the dialogue unwinds without another step.
class ReplyWaiter {
public:
    ReplyWaiter(SerialLink &link, ExchangeView &view, TimeSource &time, TimeSource::ms second, Lifetime &lifetime,
                const SerialTrace &trace);

    [[nodiscard]] const QString &reply() const { return reply_; }
    void clearReply() { reply_.clear(); }
    QCoro::Task<WaitEnd> wait(ReplyWait expected);

private:
    // Reads and matches once; false on an error of the port or a missing length-rule marker.
    bool check(const ReplyWait &expected, qsizetype &match);
    [[nodiscard]] qint64 wholeSeconds(TimeSource::ms at) const { return at / second_; }

    SerialLink &link_;
    ExchangeView &view_;
    TimeSource &time_;
    TimeSource::ms second_;
    Lifetime &lifetime_;
    const SerialTrace &trace_;
    QString reply_;
    QObject signalContext_;
};
