#pragma once

// Where key events come from: the platform's part of the keyboard hook. While started, it hands
// every key event to KeyboardHook::Process on the UI thread and drops those it is told to swallow.
class KeyboardHookSource {
public:
    virtual ~KeyboardHookSource() = default;
    virtual bool Start() = 0;
    // False when the source could not be stopped; it then keeps delivering.
    virtual bool Stop() = 0;
};
