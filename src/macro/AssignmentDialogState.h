#pragma once
#include <cstdint>
#include <string>

// Values of AssignmentDialogState::page: the tab of the assignment dialog last shown.
enum AssignmentPage : int32_t {
    AssignmentPageMacro = 0,
    AssignmentPageSingleKey = 1,
    AssignmentPageMediaKey = 2,
    AssignmentPageFunction = 3,
};

// Values of AssignmentDialogState::dlymode: how the recorder stamps delays. Any other value
// records 0 ms, like None.
enum DelayMode : int32_t {
    DelayModeReal = 0,   // the measured time between events
    DelayModeFixed = 1,  // AssignmentDialogState::delay
    DelayModeNone = 2,   // 0 ms
};

// The assignment dialog's settings, kept in store.xml beside the executable. One record for the
// whole program; its fields are read and written directly, and every change is followed by Save().
//
// The file is two lines, "\n"-terminated, UTF-8 without byte-order mark:
//   <?xml version="1.0"?>
//   <macro page="0" repeat="1" delay="10" dlymode="0" mediasel="0" functsel="0" sgcode="0" groupsel="0" />
class AssignmentDialogState {
public:
    static constexpr size_t kMaxFileBytes = 1u << 20;

    int32_t page = AssignmentPageMacro;  // AssignmentPage
    int32_t repeat = 1;                  // macro repeat count; its low byte is sent
    int32_t delay = 10;                  // fixed delay in ms
    int32_t dlymode = DelayModeReal;     // DelayMode
    int32_t mediasel = 0;                // row of the media-key list, −1 for none
    int32_t functsel = 0;                // row of the function-key list, −1 for none
    int32_t sgcode = 0;                  // HID usage of the last captured single key, 0 for none
    int32_t groupsel = 0;                // row of the macro group last selected

    std::string path;  // the file Save() writes

    // All defaults, no file.
    AssignmentDialogState() = default;
    // The defaults, then the first top-level "macro" element of the file at filePath, if it can be
    // read: each field from the attribute of its name as a decimal number (leading blanks, sign,
    // digits up to the first other character; no digits give 0), and 0 for an absent attribute.
    // A missing, unreadable or malformed file, or one without "macro", keeps the defaults.
    explicit AssignmentDialogState(std::string filePath);
    // The same from the text of such a file, with no path.
    static AssignmentDialogState Parse(std::string text);

    // The one process-wide record, read from store.xml in the application folder on first use and
    // kept until the program ends.
    static AssignmentDialogState& instance();
    static std::string DefaultPath();

    // Writes the whole record to path atomically; false (old file untouched) when it could not.
    bool Save() const;
    std::string Serialize() const;

    // What the dialog does when it starts: a delay mode of 3 or more becomes Real and is saved.
    // Negative values stay. Returns whether it changed the mode.
    bool NormalizeDelayMode();

private:
    void ReadText(std::string text);
};
