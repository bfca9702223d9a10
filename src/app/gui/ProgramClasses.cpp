#include "app/gui/ProgramClasses.h"

#include <cstdio>

#include "emulator/EmulatedKeyboard.h"
#include "mainwnd/CMainDlg.h"
#include "mainwnd/CoordButtonImage.h"
#include "platform/linux/UdevDeviceWatcher.h"
#include "ui/ShellNotifyIcon.h"
#include "ui/UiLoader.h"
#include "ui/UiResources.h"

void RegisterProgramClasses() {
    UiLoader::RegisterClass("shellnotifyicon", [](QWidget* parent) { return new ShellNotifyIcon(parent); });
    UiLoader::RegisterClass(CoordButtonImage::kClassName, [](QWidget* parent) { return new CoordButtonImage(parent); });
    UiLoader::RegisterToolkitClasses();

    // The picture's images are named by resource (main:img_keboard_normal_png); without a
    // resource folder the picture's own fallback (a file path) applies.
    CoordButtonImage::SetImageResolver([](const QString& id) {
        const UiResources* resources = UiResources::Current();
        const QString path = resources ? resources->Path(id) : QString();
        return path.isEmpty() ? QImage() : QImage(path);
    });
    CoordButtonImage::SetStringResolver([](const QString& text) {
        const UiResources* resources = UiResources::Current();
        return resources ? resources->ExpandString(text) : text;
    });
}

std::unique_ptr<HidBackend> MakeDemoBackend() { return std::make_unique<EmulatedKeyboard>(); }

std::unique_ptr<UdevDeviceWatcher> StartDeviceWatch(CMainDlg& window, bool demo) {
    if (demo) return nullptr;
    auto watcher = std::make_unique<UdevDeviceWatcher>();
    if (!watcher->IsValid()) {
        std::fprintf(stderr, "kbdconf: device changes cannot be followed (no kernel device events); "
                             "plug the keyboard in before starting\n");
        return nullptr;
    }
    UdevDeviceWatcher* w = watcher.get();
    window.WatchDeviceChanges(w->fd(), [w] { return static_cast<int>(w->Drain().size()); });
    return watcher;
}
