#pragma once

#include "pseudo_terminal.h"
#include "radio_menu.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <atomic>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

struct ReceivedByte {
    SimClock::time_point time;
    char byte;
};

// A stand-in for the radio on a pseudo-terminal, linked as COMn. Its own thread answers the
// line and timestamps every received byte, however busy the caller is.
class RadioSimulator {
public:
    struct Options {
        ScenarioChoice scenario;
        std::chrono::milliseconds eepromDelay{3000};
        Channels channels = defaultChannels();
        int comNumber = 1;
        QString directory; // where COMn is linked; empty: no link
        QString logPath; // received bytes appended here; empty: no log
        int noiseLength = 16;
        // The radio's answers wait this long behind a noise burst, so a reader sees the noise alone.
        std::chrono::milliseconds noiseHold{1000};
    };

    explicit RadioSimulator(Options options);
    ~RadioSimulator();
    RadioSimulator(const RadioSimulator &) = delete;
    RadioSimulator &operator=(const RadioSimulator &) = delete;

    // Opens the pseudo-terminal, links COMn and starts answering. False with errorString().
    bool start();
    // Stops answering, closes the line and removes the link. Also after a hang-up.
    void stop();
    // Drops the line now: master and own slave closed, as if the cable were pulled.
    void hangUp();

    [[nodiscard]] bool isRunning() const { return running_; }
    [[nodiscard]] QString errorString() const { return error_; }
    [[nodiscard]] QString slavePath() const { return line_.slavePath(); }
    [[nodiscard]] QString linkPath() const { return linkPath_; }
    [[nodiscard]] SimClock::time_point startedAt() const { return startedAt_; }

    // Thread-safe copies.
    [[nodiscard]] std::vector<ReceivedByte> received() const;
    [[nodiscard]] QByteArray sent() const;
    [[nodiscard]] Channels channels() const;

private:
    void run();
    void serveLine();
    void answer(char byte, SimClock::time_point now);
    void log(const ReceivedByte &received);
    void say(const QByteArray &bytes, SimClock::time_point now);
    void releaseHeld(SimClock::time_point now);
    [[nodiscard]] std::optional<SimClock::time_point> nextDeadline() const;
    void write(const QByteArray &bytes);
    void dropLine();
    void wake();
    bool link();
    void unlink();

    Options options_;
    PseudoTerminal line_;
    RadioMenu menu_;
    QString linkPath_;
    QString error_;
    SimClock::time_point startedAt_;
    std::ofstream log_;
    std::thread thread_;
    int wakeFd_ = -1;
    std::atomic<bool> running_ = false;
    std::atomic<bool> stopRequested_ = false;
    std::atomic<bool> hangUpRequested_ = false;

    mutable std::mutex mutex_;
    std::vector<ReceivedByte> received_;
    QByteArray sent_;
    QByteArray held_;
    SimClock::time_point heldUntil_;
};
