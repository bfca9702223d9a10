// Menu resources (menu_more, menu_tray): whatever the bytes, building the menu, translating it
// again and destroying it neither crashes nor hangs.
#include <QApplication>
#include <QMenu>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "FuzzFolder.h"
#include "ui/UiMenu.h"
#include "ui/UiResources.h"

namespace {
UiResources* g_resources = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);
    WriteFuzzFile("uires.idx",
                  "<resource><UIDEF><file name='XML_INIT' path='init.xml'/></UIDEF>"
                  "<values><file name='string' path='string.xml'/></values>"
                  "<SMENUEX><file name='menu_more' path='menu.xml'/></SMENUEX></resource>");
    WriteFuzzFile("init.xml", "<uidef><string src='values:string'/></uidef>");
    WriteFuzzFile("string.xml", "<string><name value='kbdconf-fuzz'/></string>");
    g_resources = new UiResources;
    if (!g_resources->Load(FuzzFolder())) __builtin_trap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFuzzFile("menu.xml", reinterpret_cast<const char*>(data), size);
    int commands = 0;
    std::unique_ptr<QMenu> menu(
        UiMenu::Load(*g_resources, "SMENUEX:menu_more", nullptr, [&](int) { ++commands; }, nullptr));
    if (!menu) return 0;
    UiMenu::Retranslate(menu.get());
    for (QAction* action : menu->actions()) action->trigger();
    return 0;
}
