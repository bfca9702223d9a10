#pragma once
#include <QString>
#include <QWidget>

// Names, numeric ids and class tests over a tree of Qt widgets, the way the windows look up the
// widgets they drive.
//
// Class names are the layout vocabulary ("window", "text", "combobox", "sliderbar", "imgbtn",
// "check", "radio", "edit", "cbimg", "shellnotifyicon", ...); each maps onto a Qt class and the
// test accepts that class and everything derived from it. A name the table does not know is taken
// as a Qt class name ("QSlider"), so either spelling works.
//
// A widget's id is its explicit "id" property when the layout gives one, else the id of its
// object name in the named-id table, else 0. UiLoader assigns them after loading; SetId is for
// widgets made in code.
class WidgetTree {
public:
    static bool IsClass(const QObject* object, const char* className);
    // The Qt class a layout class name stands for (nullptr when unknown).
    static const char* QtClassFor(const char* className);

    static int Id(const QObject* object);
    static void SetId(QObject* object, int id);
    // Gives every widget under root (root included) its id from its "id" property or its name.
    static void AssignIds(QWidget* root);

    // The first descendant of root (depth first, root excluded) with that name; nullptr when there
    // is none or when it is not of the class.
    static QWidget* FindByName(const QWidget* root, const QString& name, const char* className = "window");
    // The same by id.
    static QWidget* FindById(const QWidget* root, int id, const char* className = "window");

    template <class T>
    static T* FindByName(const QWidget* root, const QString& name, const char* className) {
        return qobject_cast<T*>(FindByName(root, name, className));
    }
    template <class T>
    static T* FindById(const QWidget* root, int id, const char* className) {
        return qobject_cast<T*>(FindById(root, id, className));
    }
};
