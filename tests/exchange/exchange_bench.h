#pragma once

#include "core/time_source.h"
#include "core/timing.h"
#include "link/exchange.h"
#include "tests/support/fake_link.h"
#include "tests/support/fake_radio.h"
#include "tests/support/recording_view.h"

#include <QtCore/QStringList>

using namespace std::chrono_literals;
using ms = std::chrono::milliseconds;

// One radio, one window and the exchange between them, on virtual time.
struct ExchangeBench {
    VirtualTimeSource time;
    FakeLink link{time};
    FakeRadio radio{link};
    RecordingView view{time, &link};
    RadioExchange exchange{link, view, time, Timing{}};

    // Runs a transfer to its end; false when it hangs with nothing left to happen.
    bool finish(QCoro::Task<> task)
    {
        while (!task.isReady()) {
            if (!time.runNext())
                return false;
        }
        return true;
    }
    bool download() { return finish(exchange.downloadToRadio()); }
    bool upload() { return finish(exchange.uploadFromRadio()); }

    // Runs an action at a moment in the middle of a transfer.
    void at(ms when, std::function<void()> action) { alarms.push_back(time.alarmAt(when, action)); }

    [[nodiscard]] QString failure() const
    {
        return view.failures.isEmpty() ? QString() : view.failures.last().message;
    }
    [[nodiscard]] ms failureTime() const
    {
        return view.failures.isEmpty() ? ms(-1) : view.failures.last().at;
    }
    // When the n-th byte (0-based) was written, or -1 when it never was.
    [[nodiscard]] ms writtenAt(int index) const
    {
        const auto &written = link.written();
        return index < written.size() ? written[index].at : ms(-1);
    }

    std::vector<std::unique_ptr<Alarm>> alarms;
};

// The download's bytes for six frequency texts.
inline QByteArray downloadBytes(const QStringList &frequencies)
{
    QByteArray bytes = "\r6Y";
    for (const QString &f : frequencies)
        bytes += (f.mid(1, 2) + f.mid(4, 3)).toLatin1();
    return bytes + "S\r";
}

inline const QStringList kSixChannels{"118.025", "121.500", "122.475",
                                      "123.450", "129.975", "136.975"};
