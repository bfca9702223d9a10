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
// are removed by the next save of the same file.
bool WriteFileAtomically(const std::string& path, std::string_view data);

// Gives the regular file at path (after following symbolic links) a second name beside it,
// "<name>.bad-YYYYMMDD-HHMMSS" (local time, "-2", "-3", … appended when taken), so that a later
// save over path cannot lose what it held. Where the file system has no hard links the file is
// moved to that name instead. Returns true when the content is safe: the copy exists, or there is
// no regular file at path to keep. The name given is stored in *keptAs when keptAs is not null.
bool KeepFileAside(const std::string& path, std::string* keptAs = nullptr);
