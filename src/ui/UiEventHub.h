#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "ui/UiEvent.h"

class QAction;
class QComboBox;
class QMenu;
class QWidget;

// Turns the signals of a window's widgets into UiEvents and delivers them: first to the
// subscriptions of the sending widget (the first one that returns true consumes the event), then
// to the window's hook.
//
// Only what the user does raises an event: a click, a slider moved by mouse or keys, a combo item
// picked, text typed, a tab chosen. Setting a value from code raises nothing; to select a combo
// item and notify as if the user had, use SelectComboItem(..., true).
class UiEventHub : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(UiEvent&)>;

    explicit UiEventHub(QObject* parent = nullptr);

    // Wires root and every widget under it. Widgets already wired are skipped, so calling it again
    // after adding widgets is safe.
    void Attach(QWidget* root);
    // Named actions of a pop-up menu raise EventCmd here like buttons of the window.
    void AttachAction(QAction* action);

    void SetHook(Handler hook) { hook_ = std::move(hook); }
    void Subscribe(QObject* sender, int eventId, Handler handler);

    // Delivers an event as if `sender` had raised it. Returns true when someone handled it.
    bool Raise(QObject* sender, int eventId, int value = 0);

    // The hub a widget was attached to, or nullptr.
    static UiEventHub* HubOf(const QObject* object);

    // Selects item `index` (-1 clears the selection). With notify, a change of the selection
    // raises EventCBSelChange at once, as a pick by the user would.
    static void SelectComboItem(QComboBox* combo, int index, bool notify);

private:
    struct Subscription {
        QPointer<QObject> sender;
        int eventId;
        Handler handler;
    };
    void WireWidget(QWidget* w);

    Handler hook_;
    std::vector<Subscription> subscriptions_;
};
