// What the recorder hears stays in the macro being recorded, and the key filter that hears it is
// there only while the assignment dialog is open.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QWindow>
#include <map>

#include "AssignmentFlowFixture.h"
#include "macro/KeyboardHook.h"
#include "platform/ApplicationFolder.h"

namespace {

// Size and modification time of every file below the folders, but the macro library's own.
std::map<QString, std::pair<qint64, qint64>> Snapshot(const QStringList& folders) {
    std::map<QString, std::pair<qint64, qint64>> files;
    for (const QString& folder : folders) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.contains("macro.xml")) continue;
            struct stat st{};
            if (lstat(path.toUtf8().constData(), &st) != 0) continue;
            files[path] = {st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
        }
    }
    return files;
}

QByteArray ReadFileText(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Everything the process writes to its standard output and error meanwhile.
class ConsoleCapture {
public:
    ConsoleCapture() {
        char name[] = "/tmp/kbdconf-console-XXXXXX";
        fd_ = mkstemp(name);
        unlink(name);
        fflush(stdout);
        fflush(stderr);
        out_ = dup(1);
        err_ = dup(2);
        dup2(fd_, 1);
        dup2(fd_, 2);
    }
    std::string Stop() {
        fflush(stdout);
        fflush(stderr);
        dup2(out_, 1);
        dup2(err_, 2);
        close(out_);
        close(err_);
        std::string text;
        char buf[4096];
        lseek(fd_, 0, SEEK_SET);
        for (ssize_t n; (n = read(fd_, buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
        close(fd_);
        return text;
    }

private:
    int fd_ = -1, out_ = -1, err_ = -1;
};

// Counts the key presses that reach a window, after any application-wide filter.
class KeyProbe : public QObject {
public:
    int presses = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) ++presses;
        return false;
    }
};

class KeystrokePrivacyTest : public AssignmentFlowTest {
protected:
    void PressOnMainWindow(int qtKey, quint32 evdev) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, qtKey, Qt::NoModifier, evdev + 8, 0, 0, {});
            QCoreApplication::sendEvent(window->windowHandle(), &event);
        }
    }
};

TEST_F(KeystrokePrivacyTest, RecordedKeysAreWrittenNowhereButIntoTheMacro) {
    Start();
    const QStringList folders = {QString::fromStdString(ApplicationFolder()), dir.path(), QDir::currentPath(),
                                 QString::fromStdString(RuntimeFolder())};
    std::map<QString, std::pair<qint64, qint64>> before, after;
    std::string console;
    ClickKey(0x3A, [&](MacroRecordDlg& dlg) {
        ClickIn(dlg, "groupAdd");
        QTest::mouseClick(dlg.groupList()->Row(0)->FindChild("group_name", "edit"), Qt::LeftButton);
        before = Snapshot(folders);
        ConsoleCapture capture;
        ClickIn(dlg, "chk_macro_record");
        // Q, W, E typed into the recorder.
        const std::pair<int, quint32> typed[] = {{Qt::Key_Q, 16}, {Qt::Key_W, 17}, {Qt::Key_E, 18}};
        for (const auto& [qtKey, evdev] : typed) {
            Press(dlg, QEvent::KeyPress, qtKey, evdev);
            Press(dlg, QEvent::KeyRelease, qtKey, evdev);
        }
        ClickIn(dlg, "chk_macro_record");
        console = capture.Stop();
        after = Snapshot(folders);
        ClickIn(dlg, "btnCancel");
    });
    EXPECT_EQ(console, "") << "the console heard something while recording";
    EXPECT_EQ(before, after) << "a file other than the macro library changed while recording";
    MacroLibrary onDisk(MacroLibrary::DefaultPath());
    ASSERT_TRUE(onDisk.Load());
    ASSERT_EQ(onDisk.GroupCount(), 1);
    std::string keys;
    for (const MacroEvent& e : onDisk.groups[0].events) keys += e.name + e.state;
    EXPECT_EQ(keys, "Q0Q1W0W1E0E1");
    // Nothing of it went to the keyboard either: the dialog was cancelled.
    EXPECT_TRUE(Sets().empty());
}

TEST_F(KeystrokePrivacyTest, TheKeyFilterIsThereOnlyWhileTheDialogIsOpen) {
    Start();
    KeyProbe probe;
    window->windowHandle()->installEventFilter(&probe);

    EXPECT_FALSE(KeyboardHook::Instance().IsInstalled());
    PressOnMainWindow(Qt::Key_Q, 16);
    EXPECT_EQ(probe.presses, 1) << "before the dialog, keys reach the window untouched";

    bool installedWhileOpen = false;
    int pressesWhileRecording = -1;
    ClickKey(0x3A, [&](MacroRecordDlg& dlg) {
        installedWhileOpen = KeyboardHook::Instance().IsInstalled();
        ClickIn(dlg, "groupAdd");
        QTest::mouseClick(dlg.groupList()->Row(0)->FindChild("group_name", "edit"), Qt::LeftButton);
        ClickIn(dlg, "chk_macro_record");
        PressOnMainWindow(Qt::Key_W, 17);  // heard in any of the program's windows, and swallowed
        pressesWhileRecording = probe.presses;
        ClickIn(dlg, "chk_macro_record");
        ClickIn(dlg, "btnCancel");
    });
    EXPECT_TRUE(installedWhileOpen);
    EXPECT_EQ(pressesWhileRecording, 1);

    EXPECT_FALSE(KeyboardHook::Instance().IsInstalled());
    EXPECT_FALSE(KeyboardHook::Instance().HasListeners());
    const QByteArray libraryAfterClose = ReadFileText(MacroLibrary::DefaultPath());
    PressOnMainWindow(Qt::Key_E, 18);
    EXPECT_EQ(probe.presses, 2) << "after the dialog, keys reach the window untouched";
    EXPECT_EQ(ReadFileText(MacroLibrary::DefaultPath()), libraryAfterClose) << "nothing recorded after closing";
    window->windowHandle()->removeEventFilter(&probe);
}

}  // namespace
