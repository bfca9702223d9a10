#include "app/gui/Application.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <cstring>
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
#include "ui/UiEventHub.h"
#include "ui/UiLanguage.h"
#include "ui/UiResources.h"

namespace {

constexpr char kUsage[] =
    "Usage: kbdconf [--demo] [--lang=cn|en] [--screenshot=FILE]\n"
    "  --demo             use the emulated keyboard instead of the real one\n"
    "  --lang=cn|en       start in this language instead of the one in config.xml\n"
    "  --led-mode=N       choose LED mode N (0-9) at start\n"
    "  --screenshot=FILE  write a picture of the main window to FILE (PNG) and quit;\n"
    "                     with --demo the emulated keyboard starts with a few keys assigned\n";

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
        else if (a.startsWith("--led-mode=")) {
            bool ok = false;
            o.ledMode = a.mid(11).toInt(&ok);
            if (!ok || o.ledMode < 0 || o.ledMode > 9) o.error = a;
        } else if (a == "--exit-after-first-paint")
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

namespace {

bool ConnectsTo(const sockaddr_un& address, socklen_t length) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    close(fd);
    return ok;
}

// Whether the local X server of DISPLAY (":0", "unix:1.0") answers on its socket, the file or the
// abstract one. Displays on other hosts are left to Qt.
bool LocalXServerAnswers(const QString& display) {
    const qsizetype colon = display.lastIndexOf(':');
    if (colon < 0) return false;
    const QString host = display.left(colon);
    if (!host.isEmpty() && host != "unix") return true;
    bool ok = false;
    const int number = display.mid(colon + 1).section('.', 0, 0).toInt(&ok);
    if (!ok || number < 0) return false;
    const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(number);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    if (ConnectsTo(address, sizeof address)) return true;
    sockaddr_un abstract{};
    abstract.sun_family = AF_UNIX;
    std::memcpy(abstract.sun_path + 1, path.constData(), static_cast<size_t>(path.size()));
    return ConnectsTo(abstract, static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size()));
}

}  // namespace

bool DisplayAvailable(QString* message) {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    // This build's Qt reaches a desktop through X (on Wayland desktops through XWayland).
    if (!platform.isEmpty() && !platform.startsWith("xcb")) return true;
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) {
        if (message)
            *message = QStringLiteral(
                "no display server to show the window on (DISPLAY is not set). Start kbdconf from a desktop "
                "session, or set QT_QPA_PLATFORM=offscreen to run it without a screen.");
        return false;
    }
    if (!LocalXServerAnswers(display)) {
        if (message)
            *message = QStringLiteral("no display server answers on DISPLAY=%1. Start kbdconf from a desktop "
                                      "session, or set QT_QPA_PLATFORM=offscreen to run it without a screen.")
                           .arg(display);
        return false;
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
        if (!options.screenshot.isEmpty()) SeedDemoAssignments(*backend);
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
        if (options.ledMode >= 0) UiEventHub::SelectComboItem(window.m_ledModeCombo, options.ledMode, true);
        const std::unique_ptr<UdevDeviceWatcher> watcher = StartDeviceWatch(window, options.demo);

        InstanceServer server;
        QObject::connect(&server, &InstanceServer::raiseRequested, &window, [&window] {
            std::fputs("kbdconf: a second start brought the window forward\n", stderr);
            window.BringToFront();
        });
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
