#include "platform/linux/gui/QtKeyboardHookSource.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/linux/EvdevVirtualKey.h"

namespace {

constexpr uint8_t kVkLeftAlt = 0xA4;
constexpr uint8_t kVkRightAlt = 0xA5;

// For key events without a native scan code (synthesised ones).
uint8_t VirtualKeyForQtKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint8_t>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<uint8_t>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return static_cast<uint8_t>(0x70 + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Escape: return 0x1B;
        case Qt::Key_Tab: case Qt::Key_Backtab: return 0x09;
        case Qt::Key_Backspace: return 0x08;
        case Qt::Key_Return: case Qt::Key_Enter: return 0x0D;
        case Qt::Key_Space: return 0x20;
        case Qt::Key_Shift: return 0xA0;
        case Qt::Key_Control: return 0xA2;
        case Qt::Key_Alt: return kVkLeftAlt;
        case Qt::Key_Meta: return 0x5B;
        case Qt::Key_Insert: return 0x2D;
        case Qt::Key_Delete: return 0x2E;
        case Qt::Key_Home: return 0x24;
        case Qt::Key_End: return 0x23;
        case Qt::Key_PageUp: return 0x21;
        case Qt::Key_PageDown: return 0x22;
        case Qt::Key_Left: return 0x25;
        case Qt::Key_Up: return 0x26;
        case Qt::Key_Right: return 0x27;
        case Qt::Key_Down: return 0x28;
        default: return 0;
    }
}

}  // namespace

QtKeyboardHookSource::QtKeyboardHookSource(KeyboardHook& hook, QObject* parent) : QObject(parent), hook_(hook) {}

QtKeyboardHookSource::~QtKeyboardHookSource() {
    Stop();
    if (hook_.Source() == this) hook_.SetSource(nullptr);
}

QtKeyboardHookSource& QtKeyboardHookSource::Shared() {
    static QtKeyboardHookSource* shared = nullptr;
    if (!shared) {
        shared = new QtKeyboardHookSource(KeyboardHook::Instance(), QCoreApplication::instance());
        KeyboardHook::Instance().SetSource(shared);
        // Deleted with the application object; a later call makes a new one.
        QObject::connect(shared, &QObject::destroyed, [] { shared = nullptr; });
    }
    return *shared;
}

bool QtKeyboardHookSource::Start() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    if (!started_) {
        leftAltDown_ = rightAltDown_ = false;
        swallowedDown_.clear();
        app->installEventFilter(this);
        started_ = true;
    }
    return true;
}

bool QtKeyboardHookSource::Stop() {
    if (started_ && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    started_ = false;
    return true;
}

uint8_t QtKeyboardHookSource::VirtualKeyOf(const QKeyEvent& event) {
    const quint32 scan = event.nativeScanCode();
    if (scan >= kEvdevScanCodeOffset) return VirtualKeyForEvdev(scan - kEvdevScanCodeOffset);
    return VirtualKeyForQtKey(event.key());
}

bool QtKeyboardHookSource::eventFilter(QObject* watched, QEvent* event) {
    if (!started_ || !hook_.IsInstalled()) return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride) {
        // A shortcut would act on the key before any window sees it. While someone listens, the
        // key goes the ordinary way, past the listeners, instead.
        if (!hook_.HasListeners()) return false;
        event->accept();
        return true;
    }
    // A key event travels from the window to the focus widget and up its parents; only the
    // window's copy is taken, so that each key is offered once.
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWindowType()) return false;
    return HandleKey(*static_cast<QKeyEvent*>(event));
}

bool QtKeyboardHookSource::HandleKey(QKeyEvent& event) {
    const bool down = event.type() == QEvent::KeyPress;
    const uint8_t vk = VirtualKeyOf(event);
    // X11 repeats a held key as release-and-press pairs; the hook reports a held key as repeated
    // presses only, so the repeated release is not offered (it goes where its press went).
    if (!down && event.isAutoRepeat()) return swallowedDown_.contains(vk);

    if (vk == kVkLeftAlt) leftAltDown_ = down;
    if (vk == kVkRightAlt) rightAltDown_ = down;
    // The Alt key's own press counts as held, its release not; other keys also trust the
    // modifier state, for an Alt pressed before this program saw it.
    const bool isAlt = vk == kVkLeftAlt || vk == kVkRightAlt;
    const bool altHeld = leftAltDown_ || rightAltDown_ || (!isAlt && event.modifiers().testFlag(Qt::AltModifier));

    const uint32_t message = down ? (altHeld ? kMsgSysKeyDown : kMsgKeyDown) : (altHeld ? kMsgSysKeyUp : kMsgKeyUp);
    KeyboardHookEvent data;
    data.virtualKey = vk;
    data.scanCode = event.nativeScanCode();
    data.flags = (altHeld ? kHookFlagAltDown : 0u) | (down ? 0u : kHookFlagUp);
    data.time = static_cast<uint32_t>(event.timestamp());

    const bool swallow = hook_.Process(0, message, data);
    if (down && swallow) swallowedDown_.insert(vk);
    else swallowedDown_.remove(vk);
    return swallow;
}
