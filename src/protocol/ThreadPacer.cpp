#include "protocol/ThreadPacer.h"

#include <chrono>
#include <thread>

void ThreadPacer::Sleep(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
