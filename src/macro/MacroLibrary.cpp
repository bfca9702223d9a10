#include "macro/MacroLibrary.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>

#include "platform/ApplicationFolder.h"
#include "platform/AtomicFile.h"
#include "platform/BoundedFileRead.h"

namespace {

std::string AttributeOr(const pugi::xml_node& node, const char* name, const char* fallback) {
    const pugi::xml_attribute a = node.attribute(name);
    return a ? a.value() : fallback;
}

// Appends lead, the value escaped for a double-quoted attribute, and the closing quote. Control
// characters become character references so that they survive a reload; a NUL ends the value.
void AppendAttribute(std::string& out, const char* lead, const std::string& value) {
    out += lead;
    const char* run = value.data();
    const char* p = run;
    const char* end = value.data() + value.size();
    for (; p != end; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c >= 32 && c != '&' && c != '<' && c != '"') continue;
        out.append(run, p);
        run = p + 1;
        if (c == 0) break;
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '"') out += "&quot;";
        else {
            const char ref[] = {'&', '#', static_cast<char>('0' + c / 10), static_cast<char>('0' + c % 10), ';'};
            out.append(ref, sizeof ref);
        }
    }
    if (p == end) out.append(run, end);
    out += '"';
}

}  // namespace

std::string MacroLibrary::DefaultPath() { return ApplicationFolder() + "/macro.xml"; }

bool MacroLibrary::LoadMacroText(std::string text) {
    if (text.size() > kMaxFileBytes || static_cast<size_t>(std::count(text.begin(), text.end(), '<')) > kMaxMarkup)
        return false;
    // The walk below is iterative and only two levels deep, and nodes are never removed one by
    // one (that recurses in pugixml), so however deep the file nests nothing here recurses.
    pugi::xml_document doc;
    if (!doc.load_buffer_inplace(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8)) return false;
    std::vector<MacroGroup> loaded;
    const pugi::xml_node root = doc.child("group");
    for (pugi::xml_node g = root.first_child(); g; g = g.next_sibling()) {
        if (g.type() != pugi::node_element) continue;
        const pugi::xml_attribute name = g.attribute("name");
        if (!name) continue;
        MacroGroup& group = loaded.emplace_back();
        group.name = name.value();
        size_t count = 0;
        for (pugi::xml_node e = g.first_child(); e; e = e.next_sibling()) count += e.type() == pugi::node_element;
        group.events.reserve(count);
        for (pugi::xml_node e = g.first_child(); e; e = e.next_sibling()) {
            if (e.type() != pugi::node_element) continue;
            group.events.push_back(MacroEvent{AttributeOr(e, "code", "0"), AttributeOr(e, "name", ""),
                                              AttributeOr(e, "state", "0"), AttributeOr(e, "delay", "0")});
        }
    }
    groups = std::move(loaded);
    return true;
}

bool MacroLibrary::LoadMacroFile(const std::string& filePath) {
    std::string text;
    const FileReadResult read = ReadFileBounded(filePath, kMaxFileBytes, text);
    if (read != FileReadResult::Ok || !LoadMacroText(std::move(text))) {
        if (filePath == path && read != FileReadResult::Missing) m_unreadable = filePath;
        return false;
    }
    if (filePath == m_unreadable) m_unreadable.clear();
    return true;
}

std::string MacroLibrary::Serialize() const {
    // Written by hand rather than through a document tree: a rename saves on every keystroke, and
    // building the tree costs many times the writing. The bytes are what pugixml writes.
    size_t size = 64;
    for (const MacroGroup& group : groups) {
        size += 32 + group.name.size();
        for (const MacroEvent& event : group.events)
            size += 48 + event.code.size() + event.name.size() + event.state.size() + event.delay.size();
    }
    std::string out;
    out.reserve(size);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    if (groups.empty()) {
        out += "<group />\n";
        return out;
    }
    out += "<group>\n";
    for (const MacroGroup& group : groups) {
        out += "\t<items";
        // Always named, also when empty: a group without a name attribute is skipped by every
        // reader, so a name cleared in the dialog would lose the group and its events.
        AppendAttribute(out, " name=\"", group.name);
        if (group.events.empty()) {
            out += " />\n";
            continue;
        }
        out += ">\n";
        for (const MacroEvent& event : group.events) {
            AppendAttribute(out, "\t\t<item code=\"", event.code);
            AppendAttribute(out, " name=\"", event.name);
            AppendAttribute(out, " state=\"", event.state);
            AppendAttribute(out, " delay=\"", event.delay);
            out += " />\n";
        }
        out += "\t</items>\n";
    }
    out += "</group>\n";
    return out;
}

bool MacroLibrary::SaveMacroFile(const std::string& filePath) {
    if (!m_unreadable.empty() && filePath == m_unreadable) {
        std::string keptAs;
        if (!KeepFileAside(filePath, &keptAs)) return false;
        m_unreadable.clear();
        if (!keptAs.empty()) m_keptAside = keptAs;
    }
    const std::string text = Serialize();
    // Never write a file that the next load would refuse.
    if (text.size() > kMaxFileBytes || MarkupCount() > kMaxMarkup) {
        errno = EFBIG;
        return false;
    }
    return WriteFileAtomically(filePath, text);
}

size_t MacroLibrary::MarkupCount() const {
    // Values never hold a literal '<'; count the tags: declaration, root, groups, events.
    size_t count = groups.empty() ? 2 : 3;
    for (const MacroGroup& group : groups) count += group.events.empty() ? 1 : 2 + group.events.size();
    return count;
}

bool MacroLibrary::AddGroup(const std::string& name) {
    if (name.empty()) return false;
    groups.push_back(MacroGroup{name, {}});
    return true;
}

void MacroLibrary::AddDefaultGroup() { AddGroup("Group " + std::to_string(groups.size())); }

void MacroLibrary::RemoveGroup(int index) {
    if (groups.empty()) return;
    if (index == -1) index = GroupCount() - 1;
    if (index < 0 || index >= GroupCount()) return;
    groups.erase(groups.begin() + index);
}

MacroGroup* MacroLibrary::Group(int index) {
    return index >= 0 && index < GroupCount() ? &groups[static_cast<size_t>(index)] : nullptr;
}

const MacroGroup* MacroLibrary::Group(int index) const {
    return index >= 0 && index < GroupCount() ? &groups[static_cast<size_t>(index)] : nullptr;
}
