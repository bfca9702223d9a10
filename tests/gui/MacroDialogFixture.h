#pragma once
// Runs the real assignment dialog under the offscreen platform: its own macro.xml and store.xml in
// a temporary folder, a clock the test moves, answers to modal questions given in advance, and
// keys sent the way X11 and Wayland deliver them (native scan code = evdev code + 8) to the
// dialog's window, where the keyboard hook's filter takes them.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

#include "GuiTestSupport.h"
#include "app/AppConfig.h"
#include "app/KeyCodeTable.h"
#include "macro/AssignmentDialogState.h"
#include "macro/KeyboardHook.h"
#include "macro/gui/MacroRecordDlg.h"
#include "ui/ModalSeam.h"
#include "ui/TemplateListView.h"
#include "ui/UiLanguage.h"
#include "ui/UiLoader.h"
#include "ui/UiResources.h"

struct TestClock : ProgramClock {
    int64_t now = 5000;
    int64_t NowMs() const override { return now; }
};

class MacroDialogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestClock clock;
    SelectedKeySet keys{{0x3A, "F1"}};
    KeyAssignment image;
    std::unique_ptr<MacroRecordDlg> dlg;

    static void SetUpTestSuite() {
        if (!UiLoader::IsRegistered("editex")) UiLoader::RegisterToolkitClasses();
        // The shipped config.xml, for the media keys and key chords.
        AppConfig::instance("../bin/config.xml");
    }

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        UiLanguage::Install(SourceResources(), "lang_en");
        AssignmentDialogState::instance() = AssignmentDialogState(Path("store.xml"));
        ModalSeam::SetScripted(true);
        ModalSeam::Reset();
    }
    void TearDown() override {
        dlg.reset();
        ModalSeam::Reset();
    }

    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    // A library file for the dialog to load: groups of "code:state:delay" events.
    void WriteLibrary(const std::vector<std::pair<std::string, std::vector<std::string>>>& groups) {
        MacroLibrary lib(Path("macro.xml"));
        for (const auto& [name, events] : groups) {
            lib.AddGroup(name);
            for (const std::string& e : events) {
                int code = 0, state = 0, delay = 0;
                std::sscanf(e.c_str(), "%d:%d:%d", &code, &state, &delay);
                const char* keyName = NameForUsage(static_cast<uint8_t>(code));
                lib.groups.back().AddEvent(code, state, keyName ? keyName : "", delay);
            }
        }
        ASSERT_TRUE(lib.Save());
    }

    void Open() {
        dlg = std::make_unique<MacroRecordDlg>(keys, image, Path("macro.xml"), nullptr, clock);
        QString error;
        ASSERT_TRUE(dlg->Create(SourceResources(), &error)) << error.toStdString();
        dlg->show();
        QCoreApplication::processEvents();
    }

    template <class T = QWidget>
    T* W(const char* name) const {
        return dlg->findChild<T*>(name);
    }
    void Click(const char* name) {
        QWidget* w = W(name);
        ASSERT_NE(w, nullptr) << name;
        QTest::mouseClick(w, Qt::LeftButton);
    }
    void ShowTab(int page) {
        auto* tabs = W<QTabWidget>("tab_macro_mode_selection");
        tabs->setCurrentIndex(page);  // as a click on the tab does
    }
    void SelectGroup(int row) {
        QWidget* name = dlg->groupList()->Row(row)->FindChild("group_name", "edit");
        QTest::mouseClick(name, Qt::LeftButton);
    }

    // A key event as the display server delivers it; returns whether any widget got it.
    void Key(QEvent::Type type, int qtKey, quint32 evdev, const QString& text = {}) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, evdev + 8, 0, 0, text);
        QCoreApplication::sendEvent(dlg->windowHandle(), &event);
    }
    void Press(int qtKey, quint32 evdev, const QString& text = {}) { Key(QEvent::KeyPress, qtKey, evdev, text); }
    void Release(int qtKey, quint32 evdev, const QString& text = {}) { Key(QEvent::KeyRelease, qtKey, evdev, text); }
    void TypeA() {
        Press(Qt::Key_A, 30, "a");
        Release(Qt::Key_A, 30, "a");
    }

    std::vector<std::string> Events(int group = 0) const {
        std::vector<std::string> out;
        const MacroGroup* g = dlg->library().Group(group);
        if (g)
            for (const MacroEvent& e : g->events) out.push_back(e.code + "/" + e.name + "/" + e.state + "/" + e.delay);
        return out;
    }
    // The library as macro.xml holds it now.
    MacroLibrary OnDisk() const {
        MacroLibrary lib(Path("macro.xml"));
        lib.Load();
        return lib;
    }
    AssignmentDialogState& State() const { return AssignmentDialogState::instance(); }
    AssignmentDialogState StoredState() const { return AssignmentDialogState(Path("store.xml")); }
};
