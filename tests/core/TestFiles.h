#pragma once
// A fresh folder per test, removed with everything in it afterwards, file helpers and child
// processes for the failures a test cannot cause in itself.
#include <ftw.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>

class TempFolder {
public:
    TempFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/kbdconf-test-XXXXXX";
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TempFolder() {
        if (m_path.empty()) return;
        chmod(m_path.c_str(), 0700);
        nftw(m_path.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
             FTW_DEPTH | FTW_PHYS);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool FileExists(const std::string& path) {
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

// Runs body in a child process and returns its exit code, or 128 + the signal that ended it.
// 77 is what bodies return for "cannot set this up here".
inline int InChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(30);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Whether save reports failure when files may grow to no more than maxBytes (the way a full disk
// cuts a write short), tried in a child so the limit stays there.
inline bool FailsUnderFileSizeLimit(const std::function<bool()>& save, rlim_t maxBytes) {
    return InChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{maxBytes, maxBytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        return save() ? 1 : 0;
    }) == 0;
}
