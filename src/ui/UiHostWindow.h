#pragma once
#include <QString>
#include <QWidget>

#include "ui/UiHost.h"

class UiResources;

// A frameless top-level window built from a named layout (for example LAYOUT:XML_MAINWND).
// Subclasses receive every event of the window's widgets in OnEvent (the event hook) and return
// true for the ones they handle.
class UiHostWindow : public QWidget {
    Q_OBJECT
public:
    explicit UiHostWindow(QString layoutName, QWidget* parent = nullptr);

    // Builds the layout. false (with the reason in `error`) when it cannot be built.
    bool Create(const UiResources& resources, QString* error = nullptr);

    // Lookups by name or id: host().FindByName(...), host().FindById(...).
    UiHost& host() { return host_; }
    UiEventHub& hub() { return host_.hub(); }

protected:
    virtual bool OnEvent(UiEvent& event);

private:
    QString layoutName_;
    UiHost host_;
};
