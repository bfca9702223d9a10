#include "platform/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>

namespace {

constexpr const char* kTempMarker = ".tmp-";

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The file a save must replace: symbolic links are followed (also dangling ones, which then name
// the file to create), so the link keeps pointing at the new content.
std::string ResolveLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st{};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0) return path;
        const std::string link(target, static_cast<size_t>(n));
        path = link[0] == '/' ? link : Join(FolderOf(path), link);
    }
    return path;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool WriteAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t done = write(fd, p, n);
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (done == 0) {
            errno = EIO;
            return false;
        }
        p += done;
        n -= static_cast<size_t>(done);
    }
    return true;
}

// A temporary file whose writer is still alive holds a lock on it. One that can be locked and is
// not brand new (the writer locks it right after creating it) was left by a process that died.
void RemoveStaleTempFiles(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const std::string prefix = "." + name + kTempMarker;
    const time_t now = time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        if (std::string_view(entry->d_name).substr(0, prefix.size()) != prefix) continue;
        const std::string stale = Join(folder, entry->d_name);
        const int fd = open(stale.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st{};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime >= 2 &&
            flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlink(stale.c_str());
        }
        close(fd);
    }
    closedir(dir);
}

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view data) {
    if (path.empty() || path.back() == '/') {
        errno = EISDIR;
        return false;
    }
    const std::string target = ResolveLinks(path);
    // A file we may not write stays as it is, even where the folder would let us replace it.
    if (access(target.c_str(), F_OK) == 0 && access(target.c_str(), W_OK) != 0) return false;
    const std::string folder = FolderOf(target);
    const std::string name = NameOf(target);
    RemoveStaleTempFiles(folder, name);

    std::string temp = Join(folder, "." + name + kTempMarker + "XXXXXX");
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    flock(fd, LOCK_EX | LOCK_NB);

    struct stat old{};
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd, old.st_mode & 07777);
        // An administrator saving a user's file must not take it over.
        if (geteuid() == 0 && (old.st_uid != 0 || old.st_gid != 0)) {
            if (fchown(fd, old.st_uid, old.st_gid) != 0) { /* the content matters more */ }
        }
    } else {
        fchmod(fd, 0666 & ~CurrentUmask());
    }

    bool ok = WriteAll(fd, data.data(), data.size()) && fsync(fd) == 0;
    int savedErrno = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        errno = savedErrno;
        return false;
    }
    // The folder is not synced: that costs more than the whole save, and after a power cut the
    // worst outcome is the previous complete version.
    return true;
}

bool KeepFileAside(const std::string& path, std::string* keptAs) {
    const std::string target = ResolveLinks(path);
    struct stat st{};
    if (stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return true;

    char stamp[32];
    const time_t now = time(nullptr);
    struct tm local{};
    localtime_r(&now, &local);
    strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = target + ".bad-" + stamp;

    for (int n = 1; n <= 100; ++n) {
        const std::string aside = n == 1 ? base : base + "-" + std::to_string(n);
        // A second name keeps the file where it is, so a failing save still leaves it in place.
        int rc = link(target.c_str(), aside.c_str());
        if (rc != 0 && errno != EEXIST) rc = renameat2(AT_FDCWD, target.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE);
        if (rc == 0) {
            SyncFolder(FolderOf(target));
            if (keptAs) *keptAs = aside;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}
