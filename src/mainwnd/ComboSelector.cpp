#include "mainwnd/ComboSelector.h"

#include "ui/UiEventHub.h"

void ComboSelector::SelectWithNotification(int item) { UiEventHub::SelectComboItem(combo_, item, true); }
