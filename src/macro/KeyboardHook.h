#pragma once
#include <cstdint>
#include <vector>

#include "macro/IKeyboardHookListener.h"
#include "macro/KeyboardHookSource.h"

// The one process-wide keyboard hook with its ordered listener list. The list does not own the
// listeners and survives Uninstall: registered listeners are served again after the next Install.
class KeyboardHook {
public:
    static KeyboardHook& Instance();

    // The platform source that Install starts. Without one, Install fails.
    void SetSource(KeyboardHookSource* source);
    KeyboardHookSource* Source() const { return source_; }

    // The module instance is part of the interface for platforms that need it; Linux ignores it.
    // True when a hook is installed afterwards.
    bool Install(void* moduleInstance = nullptr);
    // True when a hook was installed and has been removed.
    bool Uninstall();
    bool IsInstalled() const { return installed_; }

    // False without an installed hook or for null; true without change for a listed listener.
    bool AddListener(IKeyboardHookListener* listener);
    // Removes every occurrence, also while no hook is installed; false without an installed hook
    // or for null.
    bool RemoveListener(IKeyboardHookListener* listener);
    bool HasListeners() const { return !listeners_.empty(); }

    // The hook procedure: offers the event to the listeners in order; true (swallow) as soon as
    // one returns true, false to let the event go on. Listeners may be added or removed by a
    // listener during the call, and a listener may run a nested event loop that calls this again.
    bool Process(int code, uint32_t message, KeyboardHookEvent& data);

private:
    KeyboardHookSource* source_ = nullptr;
    bool installed_ = false;
    std::vector<IKeyboardHookListener*> listeners_;
};
