#pragma once
#include "protocol/LightingControlValues.h"
#include "protocol/LightingPanels.h"

// The lighting panel's sliders, check groups and panels.
class ILightingControls {
public:
    virtual ~ILightingControls() = default;
    virtual LightingControlValues Values() const = 0;
    // Sets every slider and group to the values (a group value outside 0-6 unchecks the group).
    virtual void SetValues(const LightingControlValues& values) = 0;
    virtual void ShowPanels(const LightingPanels& panels) = 0;
};
