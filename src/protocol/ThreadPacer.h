#pragma once
#include "protocol/Pacer.h"

// The real pacer: blocks the calling thread for the pause.
class ThreadPacer : public Pacer {
public:
    void Sleep(uint32_t milliseconds) override;
};
