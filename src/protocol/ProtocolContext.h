#pragma once
#include "device/HidDevice.h"
#include "protocol/IComboSelector.h"
#include "protocol/IKeyPicture.h"
#include "protocol/ILightingControls.h"
#include "protocol/IUserPrompt.h"
#include "protocol/KeyboardState.h"
#include "protocol/Pacer.h"

// Everything the keyboard commands work on: the channel, the pacer, the window's state and the
// window's widgets behind small interfaces. The main window fills one with references to what it
// owns; all must outlive the calls.
struct ProtocolContext {
    HidDevice& device;
    Pacer& pacer;
    KeyboardState& state;
    IKeyPicture& picture;
    IUserPrompt& prompt;
    IComboSelector& profileCombo;
    IComboSelector& ledModeCombo;
    ILightingControls& lighting;
};
