#pragma once
#include <cstdint>

#include "macro/KeyboardHookEvent.h"

// Offered every key event while the keyboard hook is installed. All three values are passed by
// reference, so a listener may change what later listeners see. True swallows the event: later
// listeners do not see it and no window receives it.
class IKeyboardHookListener {
public:
    virtual ~IKeyboardHookListener() = default;
    virtual bool OnKeyboardHookEvent(int& code, uint32_t& message, KeyboardHookEvent& data) = 0;
};
