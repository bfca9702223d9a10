#pragma once
#include "protocol/ProtocolContext.h"

// The lighting panel: the LED mode selector chooses which record the controls show and edit.

inline constexpr int kRecordToControls = 1;
inline constexpr int kControlsToRecord = 0;

// kRecordToControls: panels for the selected mode, then the record into the controls.
// kControlsToRecord: the controls into the selected mode's record.
// Nothing when no mode 0-9 is selected.
void UpdateLightingView(ProtocolContext& ctx, int direction);

// 50 ms, then SetLighting with the selected mode's record. Nothing when no mode 0-9 is selected.
void SendLighting(ProtocolContext& ctx);

// The LED mode selector's change handler.
void OnLedModeChanged(ProtocolContext& ctx);

// A slider move or a click on a direction or colour button.
void OnLightingControlChanged(ProtocolContext& ctx);
