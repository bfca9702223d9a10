#include "app/gui/Application.h"

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/AppConfig.h"
#include "app/gui/FirstPaintWatcher.h"
#include "app/gui/ProgramClasses.h"
#include "device/hidapi/HidapiBackend.h"
#include "mainwnd/CMainDlg.h"
#include "platform/ApplicationFolder.h"
#include "platform/InstanceLock.h"
#include "platform/linux/FlockDeviceGate.h"
#include "platform/linux/UdevDeviceWatcher.h"
#include "platform/linux/gui/InstanceServer.h"
#include "protocol/ThreadPacer.h"
#include "ui/UiLanguage.h"
#include "ui/UiResources.h"

namespace {

constexpr char kUsage[] =
    "Usage: kbdconf [--demo] [--lang=cn|en] [--screenshot=FILE]\n"
    "  --demo             use the emulated keyboard instead of the real one\n"
    "  --lang=cn|en       start in this language instead of the one in config.xml\n"
    "  --screenshot=FILE  write a picture of the main window to FILE (PNG) and quit\n";

void PrintError(const QString& text) { std::fprintf(stderr, "kbdconf: %s\n", text.toUtf8().constData()); }

// Start-up cannot go on: tell the user on standard error and, where there is a screen, in a box.
int Fatal(const QString& text) {
    PrintError(text);
    const QString platform = QGuiApplication::platformName();
    if (qApp && platform != "offscreen" && platform != "minimal")
        QMessageBox::critical(nullptr, QStringLiteral("kbdconf"), text);
    return 1;
}

}  // namespace

StartOptions ParseStartOptions(int argc, char** argv) {
    StartOptions o;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == "--demo")
            o.demo = true;
        else if (a.startsWith("--screenshot="))
            o.screenshot = a.mid(13);
        else if (a.startsWith("--lang="))
            o.language = a.mid(7);
        else if (a == "--exit-after-first-paint")
            o.exitAfterFirstPaint = true;
        else if (a == "--help" || a == "-h")
            o.help = true;
        else if (o.error.isEmpty())
            o.error = a;
    }
    if (!o.language.isEmpty() && o.language != "cn" && o.language != "en" && o.error.isEmpty())
        o.error = "--lang=" + o.language;
    return o;
}

bool DisplayAvailable(QString* message) {
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    const bool x11 = qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariable("DISPLAY").isEmpty();
    const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && !qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty();
    if (platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland")) {
        const bool ok = platform.startsWith("xcb") ? x11 : platform.startsWith("wayland") ? wayland : (x11 || wayland);
        if (!ok && message)
            *message = QStringLiteral(
                "no display server to show the window on (DISPLAY and WAYLAND_DISPLAY are not set). "
                "Start kbdconf from a desktop session, or set QT_QPA_PLATFORM=offscreen to run it without a screen.");
        return ok;
    }
    return true;
}

int RunApplication(int argc, char** argv) {
    const StartOptions options = ParseStartOptions(argc, argv);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!options.error.isEmpty()) {
        PrintError(QStringLiteral("unknown argument %1").arg(options.error));
        std::fputs(kUsage, stderr);
        return 2;
    }
    // Every relative file of the program lives beside the executable.
    const std::string folder = ApplicationFolder();
    if (chdir(folder.c_str()) != 0) PrintError(QStringLiteral("cannot enter %1").arg(QString::fromStdString(folder)));

    QString displayProblem;
    if (!DisplayAvailable(&displayProblem)) {
        PrintError(displayProblem);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("kbdconf");
    QApplication::setQuitOnLastWindowClosed(false);

    UiResources resources;
    QString problem;
    if (!resources.Load(QDir::current().absoluteFilePath("uires"), &problem))
        return Fatal(problem + QStringLiteral(" Reinstall kbdconf or restore the folder beside the program."));
    UiResources::SetCurrent(&resources);
    app.setStyleSheet(resources.StyleSheet());
    app.setWindowIcon(resources.Icon("ICON:ICON_LOGO"));

    const AppConfig* config = AppConfig::instance("config.xml");
    const bool chinese = options.language.isEmpty() ? config->isChinese : options.language == "cn";
    UiLanguage::Install(resources, chinese ? "lang_cn" : "lang_en");

    RegisterProgramClasses();

    // One copy at a time: a second start brings the first one's window forward.
    const QString instanceName = resources.InstanceName();
    const QString runtime = QString::fromStdString(RuntimeFolder());
    const QString socketPath = InstanceServer::SocketPath(runtime, instanceName);
    InstanceLock lock((runtime + '/' + instanceName + ".lock").toStdString());
    if (!runtime.isEmpty() && lock.Acquire() == InstanceLock::Result::HeldElsewhere) {
        InstanceServer::AskToRaise(socketPath);
        return 0;
    }

    std::unique_ptr<HidBackend> backend;
    if (options.demo) {
        backend = MakeDemoBackend();
        if (!backend) return Fatal(QStringLiteral("this build has no emulated keyboard for --demo."));
    } else {
        backend = std::make_unique<HidapiBackend>();
    }
    FlockDeviceGate gate;
    ThreadPacer pacer;

    int exitCode = 0;
    {
        CMainDlg window(resources, *backend, gate, pacer);
        if (!window.Create(resources, &problem))
            return Fatal(problem + QStringLiteral(" Reinstall kbdconf or restore the folder uires beside the program."));
        QString missing;
        if (!window.OnInitDialog(&missing))
            return Fatal(QStringLiteral("the main window's layout lacks %1; the window could not be used. "
                                        "Reinstall kbdconf or restore the folder uires beside the program.")
                             .arg(missing));
        const std::unique_ptr<UdevDeviceWatcher> watcher = StartDeviceWatch(window, options.demo);

        InstanceServer server;
        QObject::connect(&server, &InstanceServer::raiseRequested, &window, &CMainDlg::BringToFront);
        QObject::connect(&window, &CMainDlg::windowDestroyed, &app, [&server] {
            server.Close();
            QCoreApplication::exit(0);
        });

        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            window.move(area.center() - window.rect().center());
        }
        FirstPaintWatcher paintWatcher(&window, options.exitAfterFirstPaint, options.screenshot);
        window.show();
        if (!runtime.isEmpty()) server.Listen(socketPath);
        exitCode = app.exec();
    }
    UiResources::SetCurrent(nullptr);
    return exitCode;
}
