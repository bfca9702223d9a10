#pragma once
#include <QDialog>
#include <QString>

#include "ui/UiHost.h"

class UiResources;

// A frameless modal dialog built from a named layout (for example LAYOUT:macro). Subclasses get
// the events of its widgets in OnEvent; DoModal runs it and returns the code given to EndDialog.
class UiHostDialog : public QDialog {
    Q_OBJECT
public:
    explicit UiHostDialog(QString layoutName, QWidget* parent = nullptr);

    bool Create(const UiResources& resources, QString* error = nullptr);
    int DoModal() { return exec(); }
    void EndDialog(int code) { done(code); }

    // Lookups by name or id: host().FindByName(...), host().FindById(...).
    UiHost& host() { return host_; }
    UiEventHub& hub() { return host_.hub(); }

protected:
    virtual bool OnEvent(UiEvent& event);

private:
    QString layoutName_;
    UiHost host_;
};
