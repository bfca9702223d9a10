#pragma once
#include "protocol/ProtocolContext.h"

inline constexpr const char* kFactoryResetQuestion = "All settings will be restored, are you sure you want to continue?";

// After OK: FactoryReset, the program's profile and lighting back to their start values, the
// selectors back to their first items (each sends only when its selection changes), 800 ms for
// the keyboard, then a read-back. Any other answer changes nothing.
void RestoreFactorySettings(ProtocolContext& ctx);
