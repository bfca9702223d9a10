#include "macro/AssignmentDialogState.h"

#include <pugixml.hpp>

#include "app/NumberText.h"
#include "platform/ApplicationFolder.h"
#include "platform/AtomicFile.h"
#include "platform/BoundedFileRead.h"

namespace {

struct Field {
    const char* name;
    int32_t AssignmentDialogState::*member;
};

// The attribute order of the file.
constexpr Field kFields[] = {
    {"page", &AssignmentDialogState::page},         {"repeat", &AssignmentDialogState::repeat},
    {"delay", &AssignmentDialogState::delay},       {"dlymode", &AssignmentDialogState::dlymode},
    {"mediasel", &AssignmentDialogState::mediasel}, {"functsel", &AssignmentDialogState::functsel},
    {"sgcode", &AssignmentDialogState::sgcode},     {"groupsel", &AssignmentDialogState::groupsel},
};

}  // namespace

AssignmentDialogState::AssignmentDialogState(std::string filePath) : path(std::move(filePath)) {
    std::string text;
    if (ReadFileBounded(path, kMaxFileBytes, text) == FileReadResult::Ok) ReadText(std::move(text));
}

AssignmentDialogState AssignmentDialogState::Parse(std::string text) {
    AssignmentDialogState state;
    if (text.size() <= kMaxFileBytes) state.ReadText(std::move(text));
    return state;
}

void AssignmentDialogState::ReadText(std::string text) {
    pugi::xml_document doc;
    if (!doc.load_buffer_inplace(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto)) return;
    const pugi::xml_node macro = doc.child("macro");
    if (!macro) return;
    // An absent attribute reads as empty text, which is 0.
    for (const Field& f : kFields) this->*f.member = ParseDecimal32(macro.attribute(f.name).value());
}

AssignmentDialogState& AssignmentDialogState::instance() {
    // Never freed: the dialogs of the whole run share it.
    static AssignmentDialogState* state = new AssignmentDialogState(DefaultPath());
    return *state;
}

std::string AssignmentDialogState::DefaultPath() { return ApplicationFolder() + "/store.xml"; }

std::string AssignmentDialogState::Serialize() const {
    std::string out = "<?xml version=\"1.0\"?>\n<macro";
    for (const Field& f : kFields) out += std::string(" ") + f.name + "=\"" + std::to_string(this->*f.member) + '"';
    out += " />\n";
    return out;
}

bool AssignmentDialogState::Save() const { return WriteFileAtomically(path, Serialize()); }

bool AssignmentDialogState::NormalizeDelayMode() {
    if (dlymode < 3) return false;
    dlymode = DelayModeReal;
    Save();
    return true;
}
