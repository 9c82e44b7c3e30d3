#pragma once

#include "bench/figures.h"
#include "heartbeat.h"

#include "core/time_source.h"

#include <QtCore/QStringList>
#include <qcoro/qcorotask.h>

#include <memory>
#include <optional>
#include <vector>

class SimulatorProcess;
class ToolBench;
struct LoggedByte;
class MainWindow;

enum class TransferKind { Download, Upload };

// How one transfer went, as the window's handler ran it.
struct TransferWatch {
    bool finished = false;
    Milliseconds wallStart{0}, wallEnd{0};
    Milliseconds cpuStart{0}, cpuEnd{0};
    Milliseconds longestStall{0};
    QStringList messages; // failure message boxes seen on the way
    QString terminal; // the terminal pane as the transfer left it
    Wakeup done;
};

// One download of the table, then one upload, through the window's own handlers at real
// timing, measured from the window's side and from the radio's.
class BenchRun {
public:
    BenchRun(MainWindow &window, SimulatorProcess &simulator, Milliseconds eepromDelay, QStringList downloadChannels);

    // 0 with the report printed, the tool's runs beside the window's; 1 when a transfer failed.
    QCoro::Task<int> run(ToolBench &tool);

private:
    void putRows(const QStringList &frequencies);
    QCoro::Task<> pause(Milliseconds length);
    QCoro::Task<IdleFigures> measureIdle(Milliseconds length);
    QCoro::Task<std::shared_ptr<TransferWatch>> measure(TransferKind kind);
    QCoro::Task<bool> endsWithin(TransferWatch &watch, Milliseconds limit);
    [[nodiscard]] FloorTerms floorTerms(TransferKind kind) const;
    [[nodiscard]] QStringList problems(const TransferWatch &download, const TransferWatch &upload,
                                       const std::vector<LoggedByte> &logged) const;

    MainWindow &window_;
    SimulatorProcess &simulator_;
    Milliseconds eepromDelay_;
    QStringList downloadChannels_;
    RealTimeSource time_;
    Heartbeat heartbeat_;
};
