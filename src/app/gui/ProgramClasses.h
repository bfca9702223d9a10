#pragma once
#include <memory>

class CMainDlg;
class HidBackend;
class UdevDeviceWatcher;

// The program's widget classes, added to the layout loader in this order: shellnotifyicon,
// cbimg, page2, tabctrl2, anmimg, editex, radioex, checkex. A class already registered stays.
// The keyboard picture's layout attributes (bg, chking, chked: image resources; crdxml: a file
// beside the program or "@string/name") are resolved through UiResources::Current().
void RegisterProgramClasses();

// The emulated keyboard behind --demo.
std::unique_ptr<HidBackend> MakeDemoBackend();

// Gives the emulated keyboard a few assigned keys (W A S D remapped, F1 and F2 with macros), so
// pictures of the window show marks. Does nothing to other backends.
void SeedDemoAssignments(HidBackend& backend);

// Connects the window to the system's device-change notices. nullptr (and nothing watched) with
// --demo or when the kernel's device events cannot be had.
std::unique_ptr<UdevDeviceWatcher> StartDeviceWatch(CMainDlg& window, bool demo);
