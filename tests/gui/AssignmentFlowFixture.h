#pragma once
// The real main window with the real assignment dialog: a click on a key of the picture opens the
// dialog, and the test acts in it while it runs modally.
#include <QTimer>
#include <functional>

#include "MainWindowFixture.h"
#include "macro/AssignmentDialogState.h"
#include "macro/MacroLibrary.h"
#include "macro/gui/MacroRecordDlg.h"

class AssignmentFlowTest : public MainWindowTest {
protected:
    QTemporaryDir dir;

    void SetUp() override {
        MainWindowTest::SetUp();
        ModalSeam::SetScripted(true);
        AssignmentDialogState::instance() = AssignmentDialogState(dir.filePath("store.xml").toStdString());
        // The dialog's library is macro.xml beside the program.
        QFile::remove(QString::fromStdString(MacroLibrary::DefaultPath()));
    }
    void TearDown() override { QFile::remove(QString::fromStdString(MacroLibrary::DefaultPath())); }

    // Clicks the key with this code on the picture; `inDialog` runs once the dialog is up.
    void ClickKey(uint8_t code, std::function<void(MacroRecordDlg&)> inDialog) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<MacroRecordDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            inDialog(*dlg);
            ran = true;
        });
        CoordButtonImage* picture = window->m_keyboardImage;
        QPoint at;
        for (const CoordKey& key : picture->Keys())
            if ((key.id & 0xFF) == code) {
                at = CoordButtonImage::KeyRect(key).center();
                break;
            }
        ASSERT_FALSE(at.isNull());
        QTest::mouseClick(picture, Qt::LeftButton, {}, at);
        EXPECT_TRUE(ran);
    }
    static void Press(MacroRecordDlg& dlg, QEvent::Type type, int qtKey, quint32 evdev) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, evdev + 8, 0, 0, {});
        QCoreApplication::sendEvent(dlg.windowHandle(), &event);
    }
    static void ClickIn(MacroRecordDlg& dlg, const char* name) {
        QTest::mouseClick(dlg.findChild<QWidget*>(name), Qt::LeftButton);
    }
};
