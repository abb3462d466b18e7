// Timing shared by the benchmarks: a millisecond clock, the runs of one measured step, and the
// rounds in which the steps of a comparison take turns.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

inline double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

struct Timings {
    std::vector<double> runs;  // milliseconds, in run order

    double Median() const {
        std::vector<double> sorted = runs;
        std::sort(sorted.begin(), sorted.end());
        const size_t middle = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }
    double Min() const { return *std::min_element(runs.begin(), runs.end()); }
};

struct Step {
    std::function<void()> run;
    std::function<void()> prepare = [] {};  // before each run, not timed
};

// One untimed warm-up round (file caches, first allocations), then `rounds` timed rounds. Within
// a round the steps take turns, so a burst of work from other programs on the machine slows
// every side of a comparison instead of one. Messages a step queues (paints, shell
// notifications) are handled between steps, outside the measured spans.
std::vector<Timings> TimeInTurns(const std::vector<Step>& steps, int rounds);

// Handles what is queued for this thread's windows.
void PumpMessages();

}  // namespace bench
