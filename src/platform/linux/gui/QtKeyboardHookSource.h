#pragma once
#include <QObject>
#include <QSet>

#include "macro/KeyboardHook.h"
#include "macro/KeyboardHookSource.h"

class QKeyEvent;

// The keyboard hook on Qt: an application-wide event filter, present only while the hook is
// installed. It takes each key event once, where it reaches a window, turns it into the
// keyboard message and the Windows virtual-key code and drops it when a listener swallows it.
// It hears the program's own windows only.
class QtKeyboardHookSource : public QObject, public KeyboardHookSource {
    Q_OBJECT
public:
    explicit QtKeyboardHookSource(KeyboardHook& hook, QObject* parent = nullptr);
    ~QtKeyboardHookSource() override;

    // The source of the process-wide hook, created and registered on first use; it lives as long
    // as the application object.
    static QtKeyboardHookSource& Shared();

    bool Start() override;
    bool Stop() override;

    // The virtual-key code of a Qt key event: from the native scan code where the platform gives
    // one, else from the Qt key (left modifiers assumed). 0 when neither is known.
    static uint8_t VirtualKeyOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleKey(QKeyEvent& event);

    KeyboardHook& hook_;
    bool started_ = false;
    bool leftAltDown_ = false;
    bool rightAltDown_ = false;
    QSet<uint8_t> swallowedDown_;  // keys whose last press a listener swallowed
};
