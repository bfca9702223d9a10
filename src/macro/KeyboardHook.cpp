#include "macro/KeyboardHook.h"

#include <algorithm>

KeyboardHook& KeyboardHook::Instance() {
    static KeyboardHook hook;
    return hook;
}

void KeyboardHook::SetSource(KeyboardHookSource* source) {
    if (source_ == source) return;
    // A source that goes away while delivering must not leave the hook marked installed on it.
    if (installed_ && source_) source_->Stop();
    installed_ = false;
    source_ = source;
}

bool KeyboardHook::Install(void*) {
    if (!installed_ && source_) installed_ = source_->Start();
    return installed_;
}

bool KeyboardHook::Uninstall() {
    if (!installed_ || !source_ || !source_->Stop()) return false;
    installed_ = false;
    return true;
}

bool KeyboardHook::AddListener(IKeyboardHookListener* listener) {
    if (!installed_ || !listener) return false;
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
    return true;
}

bool KeyboardHook::RemoveListener(IKeyboardHookListener* listener) {
    // Removed even while the hook is off: a listener that goes away with the hook off would
    // otherwise stay listed and be called, destroyed, after the next Install.
    std::erase(listeners_, listener);
    return installed_ && listener;
}

bool KeyboardHook::Process(int code, uint32_t message, KeyboardHookEvent& data) {
    // By index over the live list: a listener removed during the call is never called afterwards.
    for (size_t i = 0; i < listeners_.size(); ++i) {
        if (listeners_[i]->OnKeyboardHookEvent(code, message, data)) return true;
    }
    return false;
}
