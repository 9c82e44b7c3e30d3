#pragma once

#include <QtCore/QProcess>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <chrono>
#include <optional>
#include <vector>

struct LoggedByte {
    double ms; // since the simulator started, on its own clock
    char byte;
};

// varlo-sim as a process of its own, so its CPU time and its timestamps are apart from ours.
class SimulatorProcess {
public:
    struct Options {
        QString program;
        QString folder; // where COMn is linked, and the log written
        int comNumber = 1;
        std::chrono::milliseconds eepromDelay{3000};
        QStringList channels;
    };

    explicit SimulatorProcess(Options options);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess &) = delete;
    SimulatorProcess &operator=(const SimulatorProcess &) = delete;

    // Returns once COMn is linked; otherwise the reason.
    std::optional<QString> start();
    void stop();
    // Every byte the radio received so far, in order.
    [[nodiscard]] std::vector<LoggedByte> received() const;

private:
    [[nodiscard]] QString logPath() const;

    Options options_;
    QProcess process_;
};
