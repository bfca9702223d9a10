#include "platform/ApplicationFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

std::string ApplicationFolder() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string path(buf, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string RuntimeFolder() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg) {
        struct stat st{};
        if (stat(xdg, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()) return xdg;
    }
    const std::string dir = "/tmp/kbdconf-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    // A folder planted by someone else (or a link) must not be used for our locks.
    struct stat st{};
    if (lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()) {
        if ((st.st_mode & 0077) != 0) chmod(dir.c_str(), 0700);
        return dir;
    }
    return {};
}
