#pragma once

#include <chrono>
#include <thread>

namespace testfiles {

// Milliseconds on a steady clock, for bounds and for the figures of the probes.
inline double NowMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Polls until the condition holds and says whether it did. The bound is generous, only so that a
// fault cannot hang a run; it is no timing.
template <typename Condition>
bool Eventually(Condition condition, unsigned limitMs = 30000, unsigned stepMs = 50) {
    for (const double deadline = NowMs() + limitMs; NowMs() < deadline;) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
    }
    return condition();
}

} // namespace testfiles
