#include "Timing.h"

namespace bench {

std::vector<Timings> TimeInTurns(const std::vector<Step>& steps, int rounds) {
    std::vector<Timings> timings(steps.size());
    for (int round = -1; round < rounds; ++round) {  // round -1 warms up
        for (size_t i = 0; i < steps.size(); ++i) {
            steps[i].prepare();
            PumpMessages();
            const double start = NowMs();
            steps[i].run();
            if (round >= 0) timings[i].runs.push_back(NowMs() - start);
            PumpMessages();
        }
    }
    return timings;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace bench
