#include "ui/WidgetTree.h"

#include <QVariant>
#include <cstring>

#include "app/NamedIdTable.h"

namespace {

constexpr const char* kIdProperty = "kbd_id";

struct ClassRow {
    const char* layoutName;
    const char* qtClass;
};

// The layout's class names and the Qt classes that stand for them. Derived layout classes map to
// the same Qt class as their base where Qt has no separate one.
constexpr ClassRow kClasses[] = {
    {"window", "QWidget"},
    {"text", "QLabel"},
    {"link", "QAbstractButton"},
    {"button", "QAbstractButton"},
    {"imgbtn", "QAbstractButton"},
    {"check", "QCheckBox"},
    {"checkex", "QCheckBox"},
    {"radio", "QRadioButton"},
    {"radioex", "QRadioButton"},
    {"combobox", "QComboBox"},
    {"sliderbar", "QSlider"},
    {"edit", "QLineEdit"},
    {"editex", "EditEx"},
    {"tabctrl", "QTabWidget"},
    {"tabctrl2", "QTabWidget"},
    {"page", "QWidget"},
    {"page2", "QWidget"},
    {"listview", "QAbstractItemView"},
    {"mclistview", "QAbstractItemView"},
    {"anmimg", "QLabel"},
    {"cbimg", "CoordButtonImage"},
    {"shellnotifyicon", "ShellNotifyIcon"},
};

}  // namespace

const char* WidgetTree::QtClassFor(const char* className) {
    if (!className) return nullptr;
    for (const ClassRow& row : kClasses)
        if (std::strcmp(row.layoutName, className) == 0) return row.qtClass;
    return nullptr;
}

bool WidgetTree::IsClass(const QObject* object, const char* className) {
    if (!object || !className) return false;
    const char* qt = QtClassFor(className);
    return object->inherits(qt ? qt : className);
}

int WidgetTree::Id(const QObject* object) {
    if (!object) return 0;
    const QVariant v = object->property(kIdProperty);
    return v.isValid() ? v.toInt() : 0;
}

void WidgetTree::SetId(QObject* object, int id) {
    if (object) object->setProperty(kIdProperty, id);
}

void WidgetTree::AssignIds(QWidget* root) {
    if (!root) return;
    auto assign = [](QObject* o) {
        bool ok = false;
        const int explicitId = o->property("id").toInt(&ok);
        if (ok) {
            SetId(o, explicitId);
            return;
        }
        const int32_t named = o->objectName().isEmpty() ? -1 : NamedIdForName(o->objectName().toStdString());
        SetId(o, named > 0 ? named : 0);
    };
    assign(root);
    for (QWidget* w : root->findChildren<QWidget*>()) assign(w);
}

QWidget* WidgetTree::FindByName(const QWidget* root, const QString& name, const char* className) {
    if (!root || name.isEmpty()) return nullptr;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (w->objectName() == name) return IsClass(w, className) ? w : nullptr;
    }
    return nullptr;
}

QWidget* WidgetTree::FindById(const QWidget* root, int id, const char* className) {
    if (!root) return nullptr;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (Id(w) == id) return IsClass(w, className) ? w : nullptr;
    }
    return nullptr;
}
