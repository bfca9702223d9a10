#pragma once
#include <QObject>
#include <QPointer>
#include <QString>

// Event ids the windows dispatch on. The numbers are those the layouts and handlers were written
// against; keep them.
inline constexpr int EventCmd = 10000;           // click on a button, check box, radio button, list row
inline constexpr int EventTabSelChanged = 11001; // a tab control's current page changed
inline constexpr int EventRENotify = 16000;      // the user edited the text of an edit
inline constexpr int EventSliderPos = 17000;     // the user moved a slider
inline constexpr int EventCBSelChange = 19000;   // a combo box's selection changed
inline constexpr int EventKeyEnter = 19500;      // Enter in an `editex` ("on_key_enter")

// One event raised by a widget of a window: what happened, and who raised it.
// `value` carries the slider position, the new combo or tab index, or the clicked list row.
struct UiEvent {
    int id = 0;
    QPointer<QObject> sender;
    QString senderName;
    int senderId = 0;
    int value = 0;
};
