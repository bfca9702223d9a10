#include "app/gui/ProgramClasses.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>
#include <iterator>

#include "emulator/EmulatedKeyboard.h"
#include "mainwnd/CMainDlg.h"
#include "mainwnd/CoordButtonImage.h"
#include "platform/ApplicationFolder.h"
#include "platform/linux/UdevDeviceWatcher.h"
#include "ui/ShellNotifyIcon.h"
#include "ui/UiLoader.h"
#include "ui/UiResources.h"

namespace {
// The file behind one of the picture's image resources. The images are drawn for 2x screens;
// where every screen is 1x, the copy drawn at 1x beside them (folder 1x/) is a quarter of the
// pixels to decode and keep.
// An id that names no resource is a file, as the picture itself would read it.
QString PictureImagePath(const QString& id) {
    if (id.isEmpty()) return {};
    const UiResources* resources = UiResources::Current();
    QString path = resources ? resources->Path(id) : QString();
    if (path.isEmpty()) {
        const QString folder = QString::fromStdString(ApplicationFolder());
        for (const QString& candidate : {id, folder + "/uires/" + id, folder + '/' + id}) {
            if ((candidate == id) != QFileInfo(id).isAbsolute()) continue;
            if (QFileInfo(candidate).isFile()) return candidate;
        }
        return {};
    }
    if (!qApp || qApp->devicePixelRatio() > 1.0) return path;
    const QFileInfo file(path);
    const QString single = file.absolutePath() + "/1x/" + file.fileName();
    return QFileInfo::exists(single) ? single : path;
}
}  // namespace

void RegisterProgramClasses() {
    UiLoader::RegisterClass("shellnotifyicon", [](QWidget* parent) { return new ShellNotifyIcon(parent); });
    UiLoader::RegisterClass(CoordButtonImage::kClassName, [](QWidget* parent) { return new CoordButtonImage(parent); });
    UiLoader::RegisterToolkitClasses();

    // The picture's images are named by resource (main:img_keboard_normal_png).
    CoordButtonImage::SetImageResolver([](const QString& id) {
        const QString path = PictureImagePath(id);
        if (path.isEmpty()) return QImage();
        return CoordButtonImage::LoadImageFile(path);
    });
    // The overlays are decoded on first use; a readable header is enough to accept them.
    CoordButtonImage::SetImageProbe([](const QString& id) {
        const QString path = PictureImagePath(id);
        return !path.isEmpty() && QImageReader(path).canRead();
    });
    CoordButtonImage::SetStringResolver([](const QString& text) {
        const UiResources* resources = UiResources::Current();
        return resources ? resources->ExpandString(text) : text;
    });
}

std::unique_ptr<HidBackend> MakeDemoBackend() { return std::make_unique<EmulatedKeyboard>(); }

void SeedDemoAssignments(HidBackend& backend) {
    auto* keyboard = dynamic_cast<EmulatedKeyboard*>(&backend);
    if (!keyboard) return;
    KeyboardFirmware::Profile& profile = keyboard->firmware().profile(0);
    const uint8_t remapped[] = {0x1A, 0x04, 0x16, 0x07};  // W A S D
    for (size_t i = 0; i < std::size(remapped); ++i) profile.remaps[i] = {remapped[i], static_cast<uint8_t>(0x52 + i)};
    profile.macros[0].owner = 0x3A;  // F1
    profile.macros[1].owner = 0x3B;  // F2
}

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
