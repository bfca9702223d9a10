#include "platform/BoundedFileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

FileReadResult ReadFileBounded(const std::string& path, size_t maxBytes, std::string& data) {
    data.clear();
    // Non-blocking so that opening a pipe cannot wait for a writer; regular files ignore it.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileReadResult::Missing : FileReadResult::Failed;

    FileReadResult result = FileReadResult::Ok;
    struct stat st{};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result = FileReadResult::Failed;
    } else if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        result = FileReadResult::TooLarge;
    } else {
        // The size is only a hint: the file may grow while it is read, and some report 0.
        std::string buffer(static_cast<size_t>(st.st_size) + 1, '\0');
        size_t used = 0;
        for (;;) {
            if (used == buffer.size()) {
                if (buffer.size() > maxBytes) {
                    result = FileReadResult::TooLarge;
                    break;
                }
                buffer.resize(std::min(maxBytes + 1, std::max<size_t>(buffer.size() * 2, 4096)));
            }
            const ssize_t n = read(fd, buffer.data() + used, buffer.size() - used);
            if (n < 0) {
                if (errno == EINTR) continue;
                result = FileReadResult::Failed;
                break;
            }
            if (n == 0) break;
            used += static_cast<size_t>(n);
        }
        if (result == FileReadResult::Ok) {
            buffer.resize(used);
            data = std::move(buffer);
        }
    }
    close(fd);
    return result;
}
