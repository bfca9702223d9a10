#include "ui/UiEventHub.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QVariant>

#include "ui/WidgetTree.h"

namespace {
constexpr const char* kHubProperty = "kbd_hub";
constexpr const char* kUserMoveProperty = "kbd_user_move";
constexpr const char* kPendingProperty = "kbd_sel_pending";
}  // namespace

UiEventHub::UiEventHub(QObject* parent) : QObject(parent) {}

UiEventHub* UiEventHub::HubOf(const QObject* object) {
    if (!object) return nullptr;
    return qobject_cast<UiEventHub*>(object->property(kHubProperty).value<QObject*>());
}

void UiEventHub::Attach(QWidget* root) {
    if (!root) return;
    WireWidget(root);
    for (QWidget* w : root->findChildren<QWidget*>()) WireWidget(w);
}

void UiEventHub::WireWidget(QWidget* w) {
    if (HubOf(w)) return;
    w->setProperty(kHubProperty, QVariant::fromValue<QObject*>(this));

    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        connect(button, &QAbstractButton::clicked, this, [this, button] { Raise(button, EventCmd); });
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
        // actionTriggered comes only from the user (mouse, keys, wheel) and just before the value
        // it leads to; setValue from code does not trigger it.
        connect(slider, &QAbstractSlider::actionTriggered, this,
                [slider] { slider->setProperty(kUserMoveProperty, true); });
        connect(slider, &QAbstractSlider::valueChanged, this, [this, slider](int value) {
            if (!slider->property(kUserMoveProperty).toBool()) return;
            slider->setProperty(kUserMoveProperty, false);
            Raise(slider, EventSliderPos, value);
        });
        connect(slider, &QAbstractSlider::sliderReleased, this,
                [slider] { slider->setProperty(kUserMoveProperty, false); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // A pick by the user changes the index and then reports `activated` in the same call;
        // an index set from code is forgotten once control returns to the event loop.
        connect(combo, &QComboBox::currentIndexChanged, this, [combo] {
            combo->setProperty(kPendingProperty, true);
            QTimer::singleShot(0, combo, [combo] { combo->setProperty(kPendingProperty, false); });
        });
        connect(combo, &QComboBox::activated, this, [this, combo](int index) {
            if (!combo->property(kPendingProperty).toBool()) return;
            combo->setProperty(kPendingProperty, false);
            Raise(combo, EventCBSelChange, index);
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { Raise(edit, EventRENotify); });
        connect(edit, &QLineEdit::returnPressed, this, [this, edit] { Raise(edit, EventKeyEnter); });
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        connect(tabs, &QTabWidget::currentChanged, this,
                [this, tabs](int index) { Raise(tabs, EventTabSelChanged, index); });
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
        connect(view, &QAbstractItemView::clicked, this,
                [this, view](const QModelIndex& index) { Raise(view, EventCmd, index.row()); });
    }
}

void UiEventHub::AttachAction(QAction* action) {
    if (!action || action->objectName().isEmpty()) return;
    action->setProperty(kHubProperty, QVariant::fromValue<QObject*>(this));
    connect(action, &QAction::triggered, this, [this, action] { Raise(action, EventCmd); });
}

void UiEventHub::Subscribe(QObject* sender, int eventId, Handler handler) {
    subscriptions_.push_back({sender, eventId, std::move(handler)});
}

bool UiEventHub::Raise(QObject* sender, int eventId, int value) {
    UiEvent event;
    event.id = eventId;
    event.sender = sender;
    event.senderName = sender ? sender->objectName() : QString();
    event.senderId = WidgetTree::Id(sender);
    event.value = value;
    // A handler may subscribe further handlers; walk by index over a stable count.
    const size_t count = subscriptions_.size();
    for (size_t i = 0; i < count && i < subscriptions_.size(); ++i) {
        Subscription& s = subscriptions_[i];
        if (s.eventId != eventId || !s.sender || s.sender != sender) continue;
        Handler handler = s.handler;
        if (handler(event)) return true;
    }
    return hook_ ? hook_(event) : false;
}

void UiEventHub::SelectComboItem(QComboBox* combo, int index, bool notify) {
    if (!combo) return;
    const int before = combo->currentIndex();
    combo->setCurrentIndex(index);
    combo->setProperty(kPendingProperty, false);
    if (notify && combo->currentIndex() != before) {
        if (UiEventHub* hub = HubOf(combo)) hub->Raise(combo, EventCBSelChange, combo->currentIndex());
    }
}
