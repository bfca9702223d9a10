#pragma once
#include <QComboBox>
#include <QPointer>

#include "protocol/IComboSelector.h"

// A combo box of a window as the keyboard commands see it. Selecting with notification raises
// EventCBSelChange through the window's event hub, so the combo's handler runs before it returns.
class ComboSelector : public IComboSelector {
public:
    void Attach(QComboBox* combo) { combo_ = combo; }
    int CurrentSelection() const override { return combo_ ? combo_->currentIndex() : -1; }
    void SelectWithNotification(int item) override;

private:
    QPointer<QComboBox> combo_;
};
