#pragma once

#include <QtCore/QString>

#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

using Milliseconds = std::chrono::duration<double, std::milli>;

// CPU time of the whole process, every thread.
Milliseconds processCpuTime();

// What no transfer can beat: one pace after every character sent, the radio's own delay
// after one of them (it overlaps that character's pace), then the completion notice.
struct FloorTerms {
    int characters = 0;
    Milliseconds pace{0};
    Milliseconds radioDelay{0};
    Milliseconds notice{0};
};

Milliseconds protocolFloor(const FloorTerms &terms);

struct GapSummary {
    int count = 0;
    double min = 0;
    double median = 0;
    double p99 = 0; // nearest rank
    double max = 0;
};

GapSummary summarizeGaps(std::vector<double> gapsMs);

struct IdleFigures {
    Milliseconds wall{0};
    Milliseconds cpu{0};
    Milliseconds longestStall{0};
};

struct TransferFigures {
    QString name;
    FloorTerms floorTerms;
    Milliseconds wall{0};
    Milliseconds cpu{0};
    std::optional<Milliseconds> longestStall; // the window's event loop; the tool has no such figure
    Milliseconds atRadio{0}; // from the first byte the radio received to the last
    GapSummary gaps;
    std::optional<Milliseconds> firstByte; // from the tool's start to its first byte on the line

    [[nodiscard]] Milliseconds floor() const { return protocolFloor(floorTerms); }
    [[nodiscard]] double overheadPercent() const;
    [[nodiscard]] double cpuPercent() const;
    [[nodiscard]] double cpuPercentLess(const IdleFigures &idle) const;
};

void printFiguresReport(std::FILE *out, const std::vector<TransferFigures> &transfers, const IdleFigures &idle);
