#pragma once
#include <string>

// The folder of the running executable, without a trailing separator. Every relative file of the
// program (config.xml, macro.xml, store.xml, uires, update) lives there.
std::string ApplicationFolder();

// Where per-user runtime objects (locks, the single-instance socket) live: $XDG_RUNTIME_DIR, else
// a folder of our own under /tmp that only this user can enter. Created when missing.
std::string RuntimeFolder();
