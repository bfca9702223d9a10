#include "macro/ProgramClock.h"

#include <chrono>

namespace {

class SteadyClock final : public ProgramClock {
public:
    int64_t NowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
            .count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

const SteadyClock kSystemClock;

}  // namespace

const ProgramClock& ProgramClock::System() { return kSystemClock; }
