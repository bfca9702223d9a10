// Device faults end to end: a macro recorded in the real assignment dialog, opened from the real
// main window's picture, is uploaded to the emulated keyboard while the keyboard or another
// process misbehaves. Whatever happens, the window stays usable, says
// whether the keyboard is there, and after the next read-back shows what the keyboard holds.
// Each case prints one row of the fault table (README, "Reliability").
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <set>

#include "AssignmentFlowFixture.h"
#include "platform/linux/FlockDeviceGate.h"

namespace {

using namespace std::chrono_literals;

constexpr uint8_t kKeyA = 0x04;

// Another process that holds the gate file locked until it is killed.
class GateHolder {
public:
    explicit GateHolder(const std::string& path) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
            flock(fd, LOCK_EX);
            (void)!write(ready[1], "x", 1);
            sleep(60);
            _exit(0);
        }
        char c;
        (void)!read(ready[0], &c, 1);
        close(ready[0]);
        close(ready[1]);
    }
    ~GateHolder() { Release(); }
    void Release() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

class DeviceFaultTest : public AssignmentFlowTest {
protected:
    // A click on A, a macro of B pressed and released recorded into the first group, confirmed:
    // the upload. Then the window's queued events are handled unless the test wants to look first.
    void Upload(bool thenHandleEvents = true) {
        ClickKey(kKeyA, [](MacroRecordDlg& dlg) {
            if (dlg.library().GroupCount() == 0) ClickIn(dlg, "groupAdd");
            QTest::mouseClick(dlg.groupList()->Row(0)->FindChild("group_name", "edit"), Qt::LeftButton);
            ClickIn(dlg, "chk_macro_no_delay");
            ClickIn(dlg, "chk_macro_record");
            Press(dlg, QEvent::KeyPress, Qt::Key_B, 48);
            Press(dlg, QEvent::KeyRelease, Qt::Key_B, 48);
            ClickIn(dlg, "chk_macro_record");
            ClickIn(dlg, "btnOK");
        });
        if (thenHandleEvents) QApplication::processEvents();
    }

    // The keys that own a slot in the keyboard's active profile.
    std::set<int> KeyboardOwners() const {
        std::set<int> owners;
        const KeyboardFirmware::Profile& p = keyboard.firmware().profile(keyboard.firmware().activeProfile());
        for (const auto& slot : p.macros)
            if (slot.owner) owners.insert(slot.owner);
        for (const auto& slot : p.remaps)
            if (slot.owner) owners.insert(slot.owner);
        return owners;
    }
    std::set<int> MarkedKeys() const {
        std::set<int> marked;
        for (int code = 1; code < 256; ++code)
            if (window->m_keyboardImage->IsChecked(code)) marked.insert(code);
        return marked;
    }
    bool PictureIsTruthful() const { return MarkedKeys() == KeyboardOwners(); }

    // The window still answers the user: a profile pick goes out and the picture follows.
    bool Responsive() {
        log.clear();
        Pick("cmb_profile", 1);
        QApplication::processEvents();
        const bool picked = Sent("07 FC 02 00 00 00 00 00");
        Pick("cmb_profile", 0);
        QApplication::processEvents();
        return picked && Sent("07 FC 01 00 00 00 00 00");
    }

    void PrintRow(const char* fault, size_t arrived, const QString& text, bool truthful, bool retried) {
        std::printf("fault-table | %s | %zu sets reached the keyboard | \"%s\" | picture after read-back %s | "
                    "upload again %s |\n",
                    fault, arrived, text.toUtf8().constData(), truthful ? "true" : "FALSE",
                    retried ? "succeeds" : "FAILS");
    }

    // The same upload once the fault is over: it arrives and the picture marks the key.
    bool UploadAgainSucceeds() {
        Upload();
        return keyboard.firmware().profile(0).macros[0].owner == kKeyA && window->m_keyboardImage->IsChecked(kKeyA) &&
               PictureIsTruthful();
    }
};

TEST_F(DeviceFaultTest, SetsRefusedForAWholeUpload) {
    Start();
    const size_t before = keyboard.firmware().setCount();
    keyboard.RefuseNextSets(1 << 20);
    Upload();
    const size_t arrived = keyboard.firmware().setCount() - before;
    EXPECT_EQ(arrived, 0u);
    EXPECT_EQ(ConnectionText(), "Connected");  // the keyboard is there; it only refused
    keyboard.RefuseNextSets(0);
    EXPECT_TRUE(Responsive());
    window->ReadBack();
    const bool truthful = PictureIsTruthful();
    EXPECT_TRUE(truthful);
    EXPECT_FALSE(window->m_keyboardImage->IsChecked(kKeyA));
    const bool retried = UploadAgainSucceeds();
    EXPECT_TRUE(retried);
    PrintRow("sets refused for a whole upload", arrived, ConnectionText(), truthful, retried);
}

TEST_F(DeviceFaultTest, GetsAnsweringZeros) {
    keyboard.firmware().profile(0).remaps[5].owner = 0x29;
    Start();
    keyboard.SetGetsAnswerZeros(true);
    const size_t before = keyboard.firmware().setCount();
    Upload();
    const size_t arrived = keyboard.firmware().setCount() - before;
    // The upload itself arrived; the read-back said nothing is assigned, and the picture says so.
    EXPECT_EQ(keyboard.firmware().profile(0).macros[0].owner, kKeyA);
    EXPECT_TRUE(MarkedKeys().empty());
    EXPECT_EQ(ConnectionText(), "Connected");
    keyboard.SetGetsAnswerZeros(false);
    EXPECT_TRUE(Responsive());
    window->ReadBack();
    const bool truthful = PictureIsTruthful();
    EXPECT_TRUE(truthful);
    EXPECT_EQ(MarkedKeys(), (std::set<int>{kKeyA, 0x29}));
    const bool retried = UploadAgainSucceeds();
    EXPECT_TRUE(retried);
    PrintRow("gets answering zeros", arrived, ConnectionText(), truthful, retried);
}

TEST_F(DeviceFaultTest, UnpluggedInTheMiddleOfAnUploadAndPluggedBack) {
    Start();
    const size_t before = keyboard.firmware().setCount();
    int pauses = 0;
    pacer.onSleep = [&] {
        if (++pauses == 3) keyboard.Unplug();  // the header and a few continuations got through
    };
    Upload();
    pacer.onSleep = nullptr;
    const size_t arrived = keyboard.firmware().setCount() - before;
    EXPECT_GT(arrived, 0u);
    EXPECT_LT(arrived, 28u);
    EXPECT_EQ(keyboard.firmware().profile(0).macros[0].owner, 0) << "half an image is never stored";

    window->OnDeviceChange();  // the removal
    EXPECT_EQ(ConnectionText(), "Disconnected");
    keyboard.Replug();
    window->OnDeviceChange();  // and the keyboard back: reopen, profile, read-back
    EXPECT_EQ(ConnectionText(), "Connected");
    const bool truthful = PictureIsTruthful();
    EXPECT_TRUE(truthful);
    EXPECT_TRUE(Responsive());
    const bool retried = UploadAgainSucceeds();
    EXPECT_TRUE(retried);
    PrintRow("unplugged in the middle of an upload, plugged back", arrived, ConnectionText(), truthful, retried);
}

TEST_F(DeviceFaultTest, ABurstOfTwentyDeviceEventsDuringAnUpload) {
    Start();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int changes = 0;
    window->WatchDeviceChanges(fds[0], [&] {
        char buf[64];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        changes += n > 0 ? static_cast<int>(n) : 0;
        return static_cast<int>(n > 0 ? n : 0);
    });
    // The events queue up while the upload runs on the window's thread: a hub re-enumerating.
    int pauses = 0;
    pacer.onSleep = [&] {
        if (++pauses == 5) {
            EXPECT_EQ(write(fds[1], "aaaaaaaaaaaaaaaaaaaa", 20), 20);
        }
    };
    const size_t before = keyboard.firmware().setCount();
    Upload(false);
    pacer.onSleep = nullptr;
    const size_t arrived = keyboard.firmware().setCount() - before;
    EXPECT_EQ(keyboard.firmware().profile(0).macros[0].owner, kKeyA);
    EXPECT_EQ(changes, 0) << "nothing runs in the middle of the upload";
    log.clear();
    QTest::qWait(50);
    EXPECT_EQ(changes, 20);
    int selects = 0;
    for (const std::string& s : Sets()) selects += s.rfind("07 FC", 0) == 0;
    EXPECT_EQ(selects, 1) << "twenty events, one reopen";
    EXPECT_EQ(ConnectionText(), "Connected");
    const bool truthful = PictureIsTruthful();
    EXPECT_TRUE(truthful);
    EXPECT_TRUE(window->m_keyboardImage->IsChecked(kKeyA));
    EXPECT_TRUE(Responsive());
    const bool retried = UploadAgainSucceeds();
    EXPECT_TRUE(retried);
    close(fds[0]);
    close(fds[1]);
    PrintRow("a burst of twenty device events during an upload", arrived, ConnectionText(), truthful, retried);
}

TEST_F(DeviceFaultTest, AnotherProcessHoldsTheGatePastItsBound) {
    QTemporaryDir runtime;
    const std::string path = runtime.filePath("HidDevice").toStdString();
    FlockDeviceGate flockGate(path, 300ms);
    gateInUse = &flockGate;
    Start();
    GateHolder holder(path);
    const size_t before = keyboard.firmware().setCount();
    const auto start = std::chrono::steady_clock::now();
    Upload();
    const auto took = std::chrono::steady_clock::now() - start;
    const size_t arrived = keyboard.firmware().setCount() - before;
    EXPECT_EQ(arrived, 0u);
    // One bounded wait, then every further access of the upload gives up at once, instead of
    // 33 waits of the bound one after the other (about ten seconds of a frozen window).
    EXPECT_LT(took, 5s);
    EXPECT_EQ(ConnectionText(), "Connected");
    holder.Release();
    EXPECT_TRUE(Responsive());
    window->ReadBack();
    const bool truthful = PictureIsTruthful();
    EXPECT_TRUE(truthful);
    const bool retried = UploadAgainSucceeds();
    EXPECT_TRUE(retried);
    PrintRow("another process holds the gate \"HidDevice\" past its bound", arrived, ConnectionText(), truthful,
             retried);
}

}  // namespace
