#include "bench/figures.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

constexpr double kOverheadTarget = 1.0; // % over the floor
constexpr double kCpuTarget = 2.0; // % of one core
constexpr double kGapTarget = 350.0; // ms between characters at the radio
constexpr double kGapTolerance = 5.0;
constexpr double kStallTarget = 50.0; // ms without the event loop running
constexpr double kFirstByteTarget = 50.0; // ms from the tool's start to its first byte

const char *verdict(bool met)
{
    return met ? "PASS" : "MISS";
}

double percentOf(Milliseconds part, Milliseconds whole)
{
    return whole.count() > 0 ? 100.0 * part.count() / whole.count() : 0.0;
}

// Nearest rank on sorted values.
double percentile(const std::vector<double> &sorted, double fraction)
{
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

bool gapMet(double gap)
{
    return std::abs(gap - kGapTarget) <= kGapTolerance;
}

using Check = bool (*)(double);

template <typename Figure>
void printRow(std::FILE *out, const char *label, const std::vector<TransferFigures> &transfers, Figure figure,
              Check check = nullptr, const char *target = "")
{
    std::fprintf(out, "%-33s", label);
    for (const TransferFigures &each : transfers) {
        const std::optional<double> value = figure(each);
        if (value)
            std::fprintf(out, " %10.2f %-4s", *value, check ? verdict(check(*value)) : "");
        else
            std::fprintf(out, " %10s %-4s", "-", "");
    }
    std::fprintf(out, "  %s\n", target);
}

// The radio's share of the floor: the pauses between its first and last byte.
Milliseconds floorAtRadio(const FloorTerms &t)
{
    return double(t.characters - 2) * t.pace + std::max(t.pace, t.radioDelay);
}

void printTable(std::FILE *out, const std::vector<TransferFigures> &transfers, const IdleFigures &idle)
{
    std::fprintf(out, "%-33s", "");
    for (const TransferFigures &each : transfers)
        std::fprintf(out, " %15s", qPrintable(each.name));
    std::fprintf(out, "  target\n");
    printRow(out, "total time (ms)", transfers, [](const TransferFigures &t) { return t.wall.count(); });
    printRow(out, "protocol floor (ms)", transfers, [](const TransferFigures &t) { return t.floor().count(); });
    printRow(
        out, "overhead over floor (%)", transfers, [](const TransferFigures &t) { return t.overheadPercent(); },
        [](double v) { return v <= kOverheadTarget; }, "<= 1 %");
    printRow(
        out, "CPU / wall (% of one core)", transfers, [](const TransferFigures &t) { return t.cpuPercent(); },
        [](double v) { return v <= kCpuTarget; }, "<= 2 %");
    printRow(out, "  less the idle rate", transfers,
             [&idle](const TransferFigures &t) { return t.cpuPercentLess(idle); });
    printRow(out, "first to last byte at radio (ms)", transfers,
             [](const TransferFigures &t) { return t.atRadio.count(); });
    printRow(out, "  its floor (ms)", transfers,
             [](const TransferFigures &t) { return floorAtRadio(t.floorTerms).count(); });
    printRow(out, "after the last byte (ms)", transfers,
             [](const TransferFigures &t) { return (t.wall - t.atRadio).count(); });
    printRow(out, "  its floor: pace + notice (ms)", transfers,
             [](const TransferFigures &t) { return (t.floor() - floorAtRadio(t.floorTerms)).count(); });
    printRow(out, "gaps at the radio (count)", transfers,
             [](const TransferFigures &t) { return double(t.gaps.count); });
    printRow(out, "gap min (ms)", transfers, [](const TransferFigures &t) { return t.gaps.min; });
    printRow(out, "gap median (ms)", transfers, [](const TransferFigures &t) { return t.gaps.median; });
    printRow(
        out, "gap p99 (ms)", transfers, [](const TransferFigures &t) { return t.gaps.p99; }, gapMet, "350 +/- 5 ms");
    printRow(out, "gap max (ms)", transfers, [](const TransferFigures &t) { return t.gaps.max; });
    printRow(
        out, "longest event-loop stall (ms)", transfers,
        [](const TransferFigures &t) { return t.longestStall ? std::optional(t.longestStall->count()) : std::nullopt; },
        [](double v) { return v <= kStallTarget; }, "<= 50 ms");
    printRow(
        out, "tool start to first byte (ms)", transfers,
        [](const TransferFigures &t) { return t.firstByte ? std::optional(t.firstByte->count()) : std::nullopt; },
        [](double v) { return v <= kFirstByteTarget; }, "<= 50 ms");
}

void printFloors(std::FILE *out, const std::vector<TransferFigures> &transfers)
{
    std::fprintf(out, "\nfloor = (characters - 1) x pace + max(pace, radio's own delay) + completion notice\n");
    for (const TransferFigures &each : transfers) {
        const FloorTerms &t = each.floorTerms;
        std::fprintf(out, "  %-9s %2d x %.0f + max(%.0f, %.0f) + %.0f = %.0f ms\n", qPrintable(each.name),
                     t.characters - 1, t.pace.count(), t.pace.count(), t.radioDelay.count(), t.notice.count(),
                     each.floor().count());
    }
    std::fprintf(out,
                 "  (the download's radio delay is the EEPROM write after \"S\"; the upload's answers\n"
                 "   all arrive within the pause after the character that asks for them; the tool shows\n"
                 "   no notice, and its write counts the characters of the read that verifies it)\n");
}

} // namespace

Milliseconds processCpuTime()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

Milliseconds protocolFloor(const FloorTerms &terms)
{
    return double(terms.characters - 1) * terms.pace + std::max(terms.pace, terms.radioDelay) + terms.notice;
}

GapSummary summarizeGaps(std::vector<double> gapsMs)
{
    if (gapsMs.empty())
        return {};
    std::sort(gapsMs.begin(), gapsMs.end());
    return {int(gapsMs.size()), gapsMs.front(), percentile(gapsMs, 0.5), percentile(gapsMs, 0.99), gapsMs.back()};
}

double TransferFigures::overheadPercent() const
{
    return percentOf(wall - floor(), floor());
}

double TransferFigures::cpuPercent() const
{
    return percentOf(cpu, wall);
}

double TransferFigures::cpuPercentLess(const IdleFigures &idle) const
{
    return cpuPercent() - percentOf(idle.cpu, idle.wall);
}

void printFiguresReport(std::FILE *out, const std::vector<TransferFigures> &transfers, const IdleFigures &idle)
{
    printTable(out, transfers, idle);
    printFloors(out, transfers);
    std::fprintf(out,
                 "\nidle for %.1f s before the transfers (window and the 10 ms heartbeat alone): "
                 "CPU %.2f %% of one core, longest stall %.1f ms\n",
                 idle.wall.count() / 1000, percentOf(idle.cpu, idle.wall), idle.longestStall.count());
}
