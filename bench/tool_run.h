#pragma once

#include "figures.h"

#include <QtCore/QStringList>
#include <qcoro/qcorotask.h>

#include <optional>
#include <vector>

class SimulatorProcess;

// varlo-cli run as a user runs it against the same simulated radio: a verified write of a
// table, then a read, each timed from the start of its process.
class ToolBench {
public:
    ToolBench(QString program, QString folder, SimulatorProcess &simulator, Milliseconds eepromDelay,
              QStringList channels);

    // The figures of both runs; nothing, with the problems printed, when one went wrong.
    QCoro::Task<std::optional<std::vector<TransferFigures>>> run();

private:
    struct ProcessRun {
        int status = -1;
        Milliseconds start{0}, end{0}, cpu{0};
    };

    // Where a byte written by the bench lies in the radio's log, and when it was written.
    struct ClockMark {
        std::size_t index = 0;
        Milliseconds at{0};
    };

    QCoro::Task<ProcessRun> runTool(const QStringList &arguments);
    std::optional<ClockMark> markClock();
    [[nodiscard]] QStringList problems(const ProcessRun &write, const ProcessRun &read) const;

    QString program_;
    QString folder_;
    SimulatorProcess &simulator_;
    Milliseconds eepromDelay_;
    QStringList channels_;
};
