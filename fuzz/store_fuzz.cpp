// store.xml: whatever the bytes, reading gives a record, and what it saves reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "macro/AssignmentDialogState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const AssignmentDialogState state =
        AssignmentDialogState::Parse(std::string(reinterpret_cast<const char*>(data), size));
    const std::string text = state.Serialize();
    const AssignmentDialogState back = AssignmentDialogState::Parse(text);
    if (back.Serialize() != text) __builtin_trap();
    return 0;
}
