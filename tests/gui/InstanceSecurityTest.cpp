// The single-instance socket is this user's alone: created owner-only even under umask 000, and
// another user's process cannot connect to it, so no one else can drive the window.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>

#include "platform/linux/gui/InstanceServer.h"

namespace {

// connect(2) to a Unix socket path; 0 or the errno it failed with.
int ConnectTo(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    const int rc = connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    const int error = rc == 0 ? 0 : errno;
    if (rc == 0) (void)!write(fd, "raise\n", 6);
    close(fd);
    return error;
}

TEST(InstanceServer, SocketIsTheUsersAloneEvenUnderAnOpenUmask) {
    QTemporaryDir runtime;
    // A folder others may enter, so that only the socket's own mode protects it.
    chmod(runtime.path().toUtf8().constData(), 0755);
    const QString path = InstanceServer::SocketPath(runtime.path(), "kbdconf-test");
    const std::string socketPath = path.toStdString();

    const mode_t old = umask(0);
    InstanceServer server;
    const bool listening = server.Listen(path);
    umask(old);
    ASSERT_TRUE(listening);

    struct stat st{};
    ASSERT_EQ(lstat(socketPath.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0077, 0u) << std::oct << (st.st_mode & 0777);
    EXPECT_EQ(st.st_uid, geteuid());

    QSignalSpy raised(&server, &InstanceServer::raiseRequested);
    // Another user (root gives that up in a child; nothing of Qt runs there).
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(77);
        if (geteuid() == 0) _exit(77);
        _exit(ConnectTo(socketPath) == EACCES ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const int rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    QTest::qWait(100);
    if (rc == 77) GTEST_SKIP() << "cannot become another user";
    EXPECT_EQ(rc, 0) << "another user could connect";
    EXPECT_EQ(raised.count(), 0);

    // The user's own second copy still gets through.
    EXPECT_TRUE(InstanceServer::AskToRaise(path));
    EXPECT_TRUE(raised.count() == 1 || raised.wait(2000));
}

}  // namespace
