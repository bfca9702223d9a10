#pragma once
#include <QString>
#include <QUiLoader>
#include <functional>
#include <vector>

class UiResources;

// Builds windows from the layouts of the resource folder (Qt Designer .ui files listed in the
// index as LAYOUT:name).
//
// Besides Qt's own classes it creates the program's widget classes, registered by their layout
// element name (compared in lower case; a layout writes them as custom widgets, e.g.
// <widget class="cbimg">). After building a layout it:
//  - loads nested layouts: a widget with the property include="LAYOUT:ledmode" receives that
//    layout as its content;
//  - gives every widget its id (WidgetTree::AssignIds);
//  - runs each registered class's attribute hook on its widgets, which turns the layout's
//    properties (images by resource name, file names) into what the widget needs.
// Retranslation on language change is on, so loaded texts follow UiLanguage::Install.
class UiLoader : public QUiLoader {
    Q_OBJECT
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;
    using AttributeHook = std::function<void(QWidget* widget, const UiResources& resources)>;

    explicit UiLoader(const UiResources& resources, QObject* parent = nullptr);

    // Adds a class; an element name that is already registered keeps its first class (false).
    static bool RegisterClass(const QString& elementName, Factory factory, AttributeHook hook = {});
    static bool IsRegistered(const QString& elementName);
    // The toolkit's widget classes this layer supplies itself (editex, radioex, checkex, page2,
    // tabctrl2, anmimg); the program adds shellnotifyicon and cbimg in front of them.
    static void RegisterToolkitClasses();

    QWidget* createWidget(const QString& className, QWidget* parent = nullptr, const QString& name = QString()) override;

    // Builds LAYOUT:<layoutName> under parent. nullptr, with the reason in `error`, when the index
    // has no such layout or the file cannot be read.
    QWidget* LoadLayout(const QString& layoutName, QWidget* parent, QString* error = nullptr);

private:
    UiLoader(const UiResources& resources, QObject* parent, int);

    const UiResources& resources_;
    int depth_ = 0;
};
