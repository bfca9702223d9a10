#pragma once

// A combo box of the main window (the profile selector, the LED mode selector).
class IComboSelector {
public:
    virtual ~IComboSelector() = default;
    // The selected item, -1 when there is none.
    virtual int CurrentSelection() const = 0;
    // Selects an item with change notification: when the selection changes, the combo's
    // change handler runs before this returns.
    virtual void SelectWithNotification(int item) = 0;
};
