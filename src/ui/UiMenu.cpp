#include "ui/UiMenu.h"

#include <QAction>
#include <QMenu>
#include <QVariant>
#include <pugixml.hpp>

#include "ui/UiEventHub.h"
#include "ui/UiLanguage.h"
#include "ui/UiResources.h"
#include "ui/WidgetTree.h"

namespace {
constexpr const char* kSourceProperty = "kbd_tr_source";

// Rounded corners need a see-through window behind them.
void Decorate(QMenu* menu) {
    menu->setAttribute(Qt::WA_TranslucentBackground);
    menu->setWindowFlags(menu->windowFlags() | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
}

void Fill(QMenu* menu, const pugi::xml_node& node, const UiResources& resources, const UiMenu::CommandHandler& onCommand,
          UiEventHub* hub) {
    for (pugi::xml_node child : node.children()) {
        const std::string_view tag = child.name();
        if (tag == "sep") {
            menu->addSeparator();
        } else if (tag == "menu") {
            const QString source = QString::fromUtf8(child.attribute("text").value());
            QMenu* sub = menu->addMenu(UiLanguage::Tr(source.toUtf8().constData()));
            Decorate(sub);
            sub->menuAction()->setProperty(kSourceProperty, source);
            Fill(sub, child, resources, onCommand, hub);
        } else if (tag == "item") {
            const QString source = QString::fromUtf8(child.text().get()).trimmed();
            QAction* action = menu->addAction(UiLanguage::Tr(source.toUtf8().constData()));
            action->setProperty(kSourceProperty, source);
            if (const char* icon = child.attribute("icon").value(); *icon)
                action->setIcon(resources.Icon(QString::fromUtf8(icon)));
            const QString name = QString::fromUtf8(child.attribute("name").value());
            const int id = child.attribute("id").as_int(0);
            action->setObjectName(name);
            WidgetTree::SetId(action, id);
            if (!name.isEmpty()) {
                if (hub) hub->AttachAction(action);
            } else if (id != 0 && onCommand) {
                QObject::connect(action, &QAction::triggered, menu, [onCommand, id] { onCommand(id); });
            }
        }
    }
}
}  // namespace

QMenu* UiMenu::Load(const UiResources& resources, const QString& typeName, QWidget* parent, CommandHandler onCommand,
                    UiEventHub* hub) {
    pugi::xml_document doc;
    if (!resources.LoadXml(typeName, doc)) return nullptr;
    const pugi::xml_node root = doc.document_element();
    const std::string_view tag = root.name();
    if (tag != "menu" && tag != "menuRoot" && tag != "menuItem") return nullptr;
    auto* menu = new QMenu(parent);
    Decorate(menu);
    menu->setObjectName(QString::fromUtf8(root.attribute("name").value()));
    Fill(menu, root, resources, onCommand, hub);
    return menu;
}

void UiMenu::Retranslate(QMenu* menu) {
    if (!menu) return;
    for (QAction* action : menu->actions()) {
        const QVariant source = action->property(kSourceProperty);
        if (source.isValid()) action->setText(UiLanguage::Tr(source.toString().toUtf8().constData()));
        Retranslate(action->menu());
    }
}
