#pragma once
#include <QString>
#include <cstdint>

// What happened on a key of the keyboard picture.
enum class ClickAction : int32_t {
    Down = 0,  // the left button went down on the key
    Up = 1,    // the left button came up on the key where it went down
};

// Mouse key-state flags passed with a click, bit for bit those of a Windows mouse message.
namespace MouseKeyFlags {
inline constexpr uint32_t LButton = 0x0001;
inline constexpr uint32_t RButton = 0x0002;
inline constexpr uint32_t Shift = 0x0004;
inline constexpr uint32_t Control = 0x0008;
inline constexpr uint32_t MButton = 0x0010;
inline constexpr uint32_t XButton1 = 0x0020;
inline constexpr uint32_t XButton2 = 0x0040;
}  // namespace MouseKeyFlags

// The one receiver of key presses and releases on a CoordButtonImage.
class ICoordButtonClickListener {
public:
    virtual ~ICoordButtonClickListener() = default;

    // x and y are relative to the picture's top-left corner, in logical pixels. A non-zero result
    // means handled: on a press the picture then skips its own selection step.
    virtual int32_t OnCoordButtonClick(int32_t keyId, QString name, ClickAction action, uint32_t keyFlags, int32_t x,
                                       int32_t y) = 0;
};
