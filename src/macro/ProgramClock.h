#pragma once
#include <cstdint>

// Milliseconds elapsed since the program started. The recorder measures delays with it; tests
// hand in a clock of their own.
class ProgramClock {
public:
    virtual ~ProgramClock() = default;
    virtual int64_t NowMs() const = 0;

    // The real clock, counting from the first moment the program's static objects exist.
    static const ProgramClock& System();
};
