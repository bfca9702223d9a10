#pragma once
#include <QString>
#include <functional>

class QMenu;
class QWidget;
class UiEventHub;
class UiResources;

// Pop-up menus built from the menu resources of the folder (smenuex:menu_more, smenu:menu_tray):
//
//   <menu>
//     <item name="zh_cn">中文</item>          a named item raises EventCmd through the hub
//     <item id="1" icon="main:x">Update</item>  an item with an id reports the id (a menu command)
//     <sep/>
//     <menu text="More">...</menu>             a submenu
//   </menu>
//
// The root may also be `menuRoot` or `menuItem`; any other root gives no menu. Item texts are
// translated when the menu is built and again by Retranslate.
class UiMenu {
public:
    using CommandHandler = std::function<void(int id)>;

    // nullptr when the resource is missing or not a menu.
    static QMenu* Load(const UiResources& resources, const QString& typeName, QWidget* parent,
                       CommandHandler onCommand, UiEventHub* hub);
    static void Retranslate(QMenu* menu);
};
