#pragma once
#include <cstdint>

// Every fixed pause of the keyboard protocol goes through a pacer, so that tests can record the
// pauses instead of waiting them out.
class Pacer {
public:
    virtual ~Pacer() = default;
    virtual void Sleep(uint32_t milliseconds) = 0;
};
