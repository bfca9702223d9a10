#pragma once
#include <string>
#include <string_view>

// Saving a file so that a reader never sees half of it and a failure never costs the old content.
//
// WriteFileAtomically writes data to a temporary file beside the target, named
// ".<name>.tmp-XXXXXX", checks every write, flushes and syncs it, and renames it over the target.
// On any failure (full disk, file-size limit, no permission, folder gone, folder is a file) the
// temporary file is removed, the old file stays byte-identical and false is returned; errno then
// tells why. A file this process may not write is refused like that, even in a writable folder. A symbolic link at path is followed, so the file it names is replaced, not the link.
// An existing file's permission bits are kept; a new file gets 0666 less the umask.
//
// Temporary files left by a process that died while saving are harmless (hidden, never read) and
// are removed by the next save of the same file, or by RemoveStaleTempFiles.
bool WriteFileAtomically(const std::string& path, std::string_view data);

// Removes the temporary files that writers of path died leaving behind. A temporary file whose
// writer is alive is kept (the writer holds it locked), and so is one younger than two seconds
// (its writer may not have locked it yet). Start-up calls this for the files the program owns, so
// a save cut short by a crash leaves nothing behind once the program has started again.
void RemoveStaleTempFiles(const std::string& path);

namespace atomic_file_testing {
// When set, called with the temporary file's path once it is completely written and synced, just
// before it replaces the target: the moment at which tests kill a saving process. Null otherwise.
extern void (*beforeReplace)(const char* tempPath);
}  // namespace atomic_file_testing

// Gives the regular file at path (after following symbolic links) a second name beside it,
// "<name>.bad-YYYYMMDD-HHMMSS" (local time, "-2", "-3", … appended when taken), so that a later
// save over path cannot lose what it held. Where the file system has no hard links the file is
// moved to that name instead. Returns true when the content is safe: the copy exists, or there is
// no regular file at path to keep. The name given is stored in *keptAs when keptAs is not null.
bool KeepFileAside(const std::string& path, std::string* keptAs = nullptr);
