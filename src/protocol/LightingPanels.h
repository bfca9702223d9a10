#pragma once

// Which panels are visible.
struct LightingPanels {
    bool direction = false;
    bool speed = false;
    bool brightness = false;
    bool colorRow1 = false;
    bool colorRow2 = false;
    bool areas = false;

    bool operator==(const LightingPanels&) const = default;
};
