#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "macro/MacroGroup.h"

// The user's macros: an ordered list of groups, read from and written to one macro file
// (macro.xml beside the executable, or an exported .mcr file; both have the same format).
//
// None of the editing operations saves by itself: whoever changes the library calls Save() right
// after, so the file mirrors the library after every user action. Pointers to groups returned by
// Group() are invalidated by AddGroup, AddDefaultGroup, RemoveGroup and LoadMacroFile.
//
// File format, written byte for byte (UTF-8, no byte-order mark, one tab per level, "\n" endings):
//   <?xml version="1.0" encoding="UTF-8"?>
//   <group>
//   	<items name="Group 0">
//   		<item code="4" name="A" state="0" delay="120" />
//   	</items>
//   	<items name="" />              (a group with an empty name and no events)
//   </group>
class MacroLibrary {
public:
    // Files above these limits are refused as unreadable, so that no file can exhaust memory.
    static constexpr size_t kMaxFileBytes = 16u << 20;
    static constexpr size_t kMaxMarkup = 300'000;  // count of '<' in the file

    std::string path;  // the file Load() and Save() use
    std::vector<MacroGroup> groups;

    MacroLibrary() = default;
    explicit MacroLibrary(std::string filePath) : path(std::move(filePath)) {}

    // macro.xml in the application folder.
    static std::string DefaultPath();

    // Replaces all groups with the content of the macro file at filePath. False, with the library
    // unchanged, when the file is missing, unreadable, above the limits or not well-formed XML.
    // Below the first top-level "group" element every child element with a "name" attribute is a
    // group (whatever its element name; children without "name" are skipped with their content),
    // and every child element of a group is an event whose absent attributes take their defaults.
    // A well-formed file without a "group" element empties the library and returns true.
    bool LoadMacroFile(const std::string& filePath);
    // The same from the text of a macro file in memory.
    bool LoadMacroText(std::string text);
    // Writes all groups to filePath atomically. False (old file untouched) when it could not be
    // written, when the library has grown beyond what a load accepts (the limits above), or when
    // filePath is this library's own file that failed to load and could not be kept aside first
    // (see KeptAsidePath).
    bool SaveMacroFile(const std::string& filePath);
    bool Load() { return LoadMacroFile(path); }
    bool Save() { return SaveMacroFile(path); }

    // The file that Save() would write, as text.
    std::string Serialize() const;

    // Appends a group with no events; an empty name adds nothing. Returns whether it added one.
    bool AddGroup(const std::string& name);
    // Appends "Group N", N being the number of groups before the addition.
    void AddDefaultGroup();
    // Removes the group at index; −1 is the last one. Nothing happens for other indices outside
    // the list or when it is empty.
    void RemoveGroup(int index);

    int GroupCount() const { return static_cast<int>(groups.size()); }
    // The group at index, or nullptr outside 0..GroupCount()−1.
    MacroGroup* Group(int index);
    const MacroGroup* Group(int index) const;

    // When this library's own file existed but could not be read or parsed, the first save over it
    // first keeps it aside as "<file>.bad-<date>" so the user's macros can be recovered. This is
    // the name it was kept under (empty when nothing was kept), for telling the user.
    const std::string& KeptAsidePath() const { return m_keptAside; }

private:
    size_t MarkupCount() const;

    std::string m_unreadable;  // own file that failed to load and still awaits keeping aside
    std::string m_keptAside;
};
