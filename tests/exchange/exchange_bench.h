#pragma once

#include "core/timing.h"
#include "link/exchange.h"
#include "radio_menu.h"
#include "tests/support/fake_link.h"
#include "tests/support/recording_view.h"

#include <QtCore/QStringList>

using namespace std::chrono_literals;
using ms = std::chrono::milliseconds;

inline const QStringList kSixChannels{"118.025", "121.500", "122.475", "123.450", "129.975", "136.975"};

// The simulator's radio menu behind a FakeLink, on virtual time: it answers each byte 20 ms
// after it was written and ends the EEPROM write when it falls due. Of the line's faults it
// plays the hang-up; a test adds any other text on the line itself.
class SimulatedRadio {
public:
    SimulatedRadio(VirtualTimeSource &time, FakeLink &link) : time_(time), link_(link)
    {
        link_.responder = [this](char byte) { receive(byte); };
    }

    // A radio that behaves as chosen; what the one before still had to say is dropped.
    void setUp(ScenarioChoice choice, ms eepromDelay = 12s, Channels channels = defaultChannels())
    {
        choice_ = choice;
        menu_ = RadioMenu(choice, eepromDelay, std::move(channels));
        received_ = 0;
        eepromEnd_.reset();
    }

private:
    [[nodiscard]] SimClock::time_point simNow() const { return SimClock::time_point(time_.now()); }

    void receive(char byte)
    {
        if (choice_.scenario == Scenario::HangUp && ++received_ == choice_.value) {
            link_.loseLineAt(time_.now());
            return;
        }
        link_.deliverAfter(20ms, menu_.receive(byte, simNow()));
        if (const auto end = menu_.deadline()) {
            eepromEnd_ = time_.alarmAt(std::chrono::ceil<ms>(end->time_since_epoch()),
                                       [this] { link_.deliverAfter(0ms, menu_.due(simNow())); });
        }
    }

    VirtualTimeSource &time_;
    FakeLink &link_;
    ScenarioChoice choice_;
    RadioMenu menu_{{}, 12s, defaultChannels()};
    int received_ = 0;
    std::unique_ptr<Alarm> eepromEnd_;
};

// One radio, one window and the exchange between them, on virtual time.
struct ExchangeBench {
    VirtualTimeSource time;
    FakeLink link{time};
    SimulatedRadio radio{time, link};
    RecordingView view{time, link};
    RadioExchange exchange{link, view, time, Timing{}};
    std::vector<std::unique_ptr<Alarm>> alarms;

    explicit ExchangeBench(ScenarioChoice choice = {})
    {
        view.rows = kSixChannels;
        radio.setUp(choice);
    }

    // Runs a transfer to its end; false when it hangs with nothing left to happen.
    bool run(bool upload)
    {
        QCoro::Task<> task = upload ? exchange.uploadFromRadio() : exchange.downloadToRadio();
        while (!task.isReady()) {
            if (!time.runNext())
                return false;
        }
        return true;
    }

    // Runs an action at a moment in the middle of a transfer.
    void at(ms when, std::function<void()> action) { alarms.push_back(time.alarmAt(when, std::move(action))); }

    [[nodiscard]] QString failure() const
    {
        return view.failures.isEmpty() ? QString() : failureMessage(view.failures.last().kind);
    }
    // The window's line for a port that would not open; empty after any other end.
    [[nodiscard]] QString portProblemLine() const
    {
        const auto &failures = view.failures;
        const bool invalidPort = !failures.isEmpty() && failures.last().kind == TransferFailure::InvalidPort;
        return invalidPort ? ::portProblemLine(view.port, failures.last().portProblem) : QString();
    }
    [[nodiscard]] ms failureTime() const { return view.failures.isEmpty() ? ms(-1) : view.failures.last().at; }
    // When the n-th byte (0-based) was written, or -1 when it never was.
    [[nodiscard]] ms writtenAt(int index) const { return link.writtenTimes.value(index, ms(-1)); }
};
