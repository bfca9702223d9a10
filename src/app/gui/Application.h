#pragma once
#include <QString>

// Command-line choices of the program.
struct StartOptions {
    bool demo = false;           // --demo: the emulated keyboard instead of the real one
    QString screenshot;          // --screenshot=FILE: write a picture of the main window and quit
    QString language;            // --lang=cn|en: override config.xml's language (screenshots)
    int ledMode = -1;            // --led-mode=N: pick LED mode N at start, as the user would
    bool exitAfterFirstPaint = false;  // --exit-after-first-paint: for the start-up benchmark
    bool help = false;
    QString error;               // an argument we do not know
};

StartOptions ParseStartOptions(int argc, char** argv);

// The program: start-up, the main window's message loop, and the shutdown in reverse order.
// Returns the process exit code.
int RunApplication(int argc, char** argv);

// Whether a display server can be reached for the platform Qt would choose (X, also under
// Wayland desktops; a local server must answer on its socket). Without one, Qt aborts; we stop
// first with `message` for standard error.
bool DisplayAvailable(QString* message);
