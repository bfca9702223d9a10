#pragma once
#include "protocol/ProtocolContext.h"

// Profile selection and the read-back of the slot owners.

// Profile 0-2: SelectProfile, 50 ms, ReadBack. Any other index selects nothing.
void SwitchProfile(ProtocolContext& ctx);

// Reads the owners of the active profile's 24 slots into the state's slot tables and marks them
// on the picture: 50 ms; tables and marks cleared; ReadKeySlots; 10 ms; four data reports, each
// after 10 ms. The 28 answer bytes are 0 unused, 1-12 macro owners, 13 unused, 14-25 remap
// owners, 26-27 unused. A keyboard that is absent or does not answer leaves every slot free.
void ReadBack(ProtocolContext& ctx);

// The profile selector's change handler: stores its selection (whatever it is), then switches.
void OnProfileSelectionChanged(ProtocolContext& ctx);
