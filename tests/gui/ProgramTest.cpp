// The built program as a user starts it: exit codes and messages of whole processes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "GuiTestSupport.h"

namespace {

const QString kProgram = QStringLiteral(KBDCONF_BIN_DIR "/kbdconf");

QProcessEnvironment Environment(const QString& runtimeDir, bool offscreen = true) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("KBDCONF_EMULATOR_LOG");
    if (offscreen)
        env.insert("QT_QPA_PLATFORM", "offscreen");
    else
        env.remove("QT_QPA_PLATFORM");
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    return env;
}

struct ProgramRun {
    int exitCode = -1;
    QString errors;
    bool finished = false;
};

ProgramRun RunProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env, int timeoutMs = 20000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    ProgramRun r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished();
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.errors = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A copy of the program in a folder of its own, so its neighbours can be spoilt.
QString InstallCopy(const QString& dir) {
    const QString copy = dir + "/kbdconf";
    QFile::copy(kProgram, copy);
    QFile::copy(KBDCONF_BIN_DIR "/config.xml", dir + "/config.xml");
    return copy;
}

}  // namespace

TEST(Program, WithoutADisplayServerItSaysSoAndEnds) {
    QTemporaryDir runtime;
    const ProgramRun r = RunProgram(kProgram, {"--demo"}, Environment(runtime.path(), false));
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains("no display server")) << r.errors.toStdString();
}

TEST(Program, ADisplayThatNobodyServesIsReportedToo) {
    QTemporaryDir runtime;
    QProcessEnvironment env = Environment(runtime.path(), false);
    env.insert("DISPLAY", ":987");
    const ProgramRun r = RunProgram(kProgram, {"--demo"}, env);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains("no display server answers on DISPLAY=:987")) << r.errors.toStdString();
}

TEST(Program, AMissingOrBrokenResourceFolderEndsWithAClearMessage) {
    struct Case {
        const char* what;
        std::function<void(const QString&)> spoil;
        const char* expected;
    };
    const Case cases[] = {
        {"no uires", [](const QString&) {}, "missing"},
        {"damaged index", [](const QString& dir) { WriteFile(dir, "uires/uires.idx", "<resource><LAYOUT"); }, "damaged"},
        {"no main layout",
         [](const QString& dir) {
             WriteMinimalFolder(dir + "/uires", "");
         },
         "XML_MAINWND"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir, runtime;
        const QString program = InstallCopy(dir.path());
        c.spoil(dir.path());
        const ProgramRun r = RunProgram(program, {"--demo"}, Environment(runtime.path()));
        ASSERT_TRUE(r.finished) << c.what;
        EXPECT_EQ(r.exitCode, 1) << c.what;
        EXPECT_TRUE(r.errors.contains(c.expected)) << c.what << ": " << r.errors.toStdString();
    }
}

TEST(Program, ASecondCopyBringsTheFirstForwardAndExitsWithZero) {
    QTemporaryDir runtime;
    QProcess first;
    first.setProcessEnvironment(Environment(runtime.path()));
    first.start(kProgram, {"--demo"});
    ASSERT_TRUE(first.waitForStarted());
    // The first copy listens once its window is up.
    bool listening = false;
    for (int i = 0; i < 200 && !listening; ++i) {
        QThread::msleep(50);
        const QStringList sockets = QDir(runtime.path()).entryList({"*.socket"}, QDir::System | QDir::Files);
        listening = !sockets.isEmpty();
    }
    ASSERT_TRUE(listening);

    const ProgramRun second = RunProgram(kProgram, {"--demo"}, Environment(runtime.path()), 10000);
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0);

    first.waitForReadyRead(3000);
    QThread::msleep(200);
    const QString firstErrors = QString::fromUtf8(first.readAllStandardError());
    EXPECT_TRUE(firstErrors.contains("brought the window forward")) << firstErrors.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    first.waitForFinished(5000);
}

TEST(Program, UnknownArgumentsAreRefused) {
    QTemporaryDir runtime;
    const ProgramRun r = RunProgram(kProgram, {"--frobnicate"}, Environment(runtime.path()));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errors.contains("--frobnicate"));
}
