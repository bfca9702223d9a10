#include "ui/UiLoader.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QVariant>
#include <map>

#include "ui/EditEx.h"
#include "ui/UiResources.h"
#include "ui/WidgetTree.h"

namespace {

struct ClassEntry {
    UiLoader::Factory factory;
    UiLoader::AttributeHook hook;
};

std::map<QString, ClassEntry>& Registry() {
    static std::map<QString, ClassEntry> registry;
    return registry;
}

// Nested layouts deeper than this are a loop in the resource folder.
constexpr int kMaxIncludeDepth = 8;

}  // namespace

namespace {
// QUiLoader loads every Designer plugin of the library paths when it is made (on this system
// one that pulls in Qt Quick: tens of MiB and a slow start). Layouts use only Qt's widgets and
// ours, so it is made with no library paths to search.
class NoDesignerPlugins {
public:
    NoDesignerPlugins() : saved_(QCoreApplication::libraryPaths()) { QCoreApplication::setLibraryPaths({}); }
    ~NoDesignerPlugins() { QCoreApplication::setLibraryPaths(saved_); }

private:
    QStringList saved_;
};
}  // namespace

UiLoader::UiLoader(const UiResources& resources, QObject* parent)
    : UiLoader(resources, parent, (NoDesignerPlugins(), 0)) {}

UiLoader::UiLoader(const UiResources& resources, QObject* parent, int)
    : QUiLoader(parent), resources_(resources) {
    clearPluginPaths();
    setLanguageChangeEnabled(true);
}

bool UiLoader::RegisterClass(const QString& elementName, Factory factory, AttributeHook hook) {
    return Registry().emplace(elementName.toLower(), ClassEntry{std::move(factory), std::move(hook)}).second;
}

bool UiLoader::IsRegistered(const QString& elementName) { return Registry().count(elementName.toLower()) != 0; }

void UiLoader::RegisterToolkitClasses() {
    RegisterClass("page2", [](QWidget* p) { return new QWidget(p); });
    RegisterClass("tabctrl2", [](QWidget* p) { return new QTabWidget(p); });
    RegisterClass("anmimg", [](QWidget* p) { return new QLabel(p); });
    RegisterClass("editex", [](QWidget* p) { return new EditEx(p); });
    RegisterClass("radioex", [](QWidget* p) { return new QRadioButton(p); });
    RegisterClass("checkex", [](QWidget* p) { return new QCheckBox(p); });
}

QWidget* UiLoader::createWidget(const QString& className, QWidget* parent, const QString& name) {
    const auto it = Registry().find(className.toLower());
    if (it != Registry().end()) {
        QWidget* w = it->second.factory(parent);
        w->setObjectName(name);
        w->setProperty("kbd_class", className.toLower());
        return w;
    }
    return QUiLoader::createWidget(className, parent, name);
}

QWidget* UiLoader::LoadLayout(const QString& layoutName, QWidget* parent, QString* error) {
    const QString typeName = "LAYOUT:" + layoutName;
    const QString path = resources_.Path(typeName);
    if (path.isEmpty()) {
        if (error) *error = QStringLiteral("The resource folder has no layout %1.").arg(typeName);
        return nullptr;
    }
    if (depth_ >= kMaxIncludeDepth) {
        if (error) *error = QStringLiteral("The layout %1 includes itself.").arg(typeName);
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("The layout %1 (%2) cannot be read.").arg(typeName, path);
        return nullptr;
    }
    setWorkingDirectory(QFileInfo(path).absoluteDir());
    QWidget* root = load(&file, parent);
    if (!root) {
        if (error) *error = QStringLiteral("The layout %1 is damaged: %2").arg(typeName, errorString());
        return nullptr;
    }

    ++depth_;
    for (QWidget* holder : root->findChildren<QWidget*>()) {
        const QString include = holder->property("include").toString();
        if (include.isEmpty()) continue;
        const QString nested = include.section(':', 1);
        QWidget* content = LoadLayout(nested.isEmpty() ? include : nested, holder, error);
        if (!content) {
            --depth_;
            delete root;
            return nullptr;
        }
        if (!holder->layout()) {
            auto* box = new QVBoxLayout(holder);
            box->setContentsMargins(0, 0, 0, 0);
        }
        holder->layout()->addWidget(content);
    }
    --depth_;

    WidgetTree::AssignIds(root);
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QString cls = w->property("kbd_class").toString();
        if (cls.isEmpty() || w->property("kbd_hooked").toBool()) continue;
        w->setProperty("kbd_hooked", true);
        const auto it = Registry().find(cls);
        if (it != Registry().end() && it->second.hook) it->second.hook(w, resources_);
    }
    return root;
}
