#include "app/CoordinateFile.h"

#include <pugixml.hpp>
#include <sys/stat.h>

#include <array>
#include <limits>

#include "app/NumberText.h"

namespace {

// The shipped file is about 8 KB. Anything this large is not a keyboard and is not worth holding
// in memory; and only a regular file is read, since a pipe at that path would block the window.
constexpr off_t kMaxFileBytes = 16 * 1024 * 1024;

std::string Without(std::string_view text, std::string_view drop) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (drop.find(c) == std::string_view::npos) out += c;
    return out;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads one signed decimal number the way "%d" does: leading white space, a sign, at least one
// digit. Advances pos past it; false when no digit follows. Huge values saturate.
bool ScanInt(std::string_view text, size_t& pos, int64_t& value) {
    size_t i = pos;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t digits = i;
    int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (v <= std::numeric_limits<int32_t>::max()) v = v * 10 + (text[i] - '0');
    if (i == digits) return false;
    value = negative ? -v : v;
    pos = i;
    return true;
}

int32_t Clamp32(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

std::vector<CoordKey> FromDocument(const pugi::xml_document& doc, uint32_t defaultColor) {
    std::vector<CoordKey> keys;
    const pugi::xml_node root = doc.child("positions");
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        CoordKey key;
        if (pugi::xml_attribute id = child.attribute("id")) key.id = ParseDecimal32(id.value());
        key.name = child.attribute("name").value();
        key.color = defaultColor;
        if (pugi::xml_attribute color = child.attribute("color")) key.color = CoordinateFile::ReadColor(color.value(), defaultColor);
        if (pugi::xml_attribute rect = child.attribute("rect")) CoordinateFile::ReadRect(rect.value(), key);
        keys.push_back(std::move(key));
    }
    return keys;
}

}  // namespace

void CoordinateFile::ReadRect(std::string_view text, CoordKey& key) {
    const std::string compact = Without(text, " ");
    std::array<int64_t, 4> v{0, 0, 0, 0};
    size_t pos = 0;
    for (size_t n = 0; n < v.size(); ++n) {
        if (!ScanInt(compact, pos, v[n])) break;
        if (n + 1 < v.size()) {
            if (pos >= compact.size() || compact[pos] != ',') break;
            ++pos;
        }
    }
    key.left = Clamp32(v[0]);
    key.top = Clamp32(v[1]);
    // Computed in 64 bits: a width that would run past the 32-bit range stops at its edge.
    key.right = Clamp32(int64_t{key.left} + Clamp32(v[2]));
    key.bottom = Clamp32(int64_t{key.top} + Clamp32(v[3]));
}

uint32_t CoordinateFile::ReadColor(std::string_view text, uint32_t defaultColor) {
    return ParseHexU32(Without(text, " #")).value_or(defaultColor);
}

std::vector<CoordKey> CoordinateFile::Load(const std::string& path, uint32_t defaultColor) {
    struct stat st{};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileBytes) return {};
    pugi::xml_document doc;
    if (!doc.load_file(path.c_str())) return {};
    return FromDocument(doc, defaultColor);
}

std::vector<CoordKey> CoordinateFile::Parse(const void* data, size_t size, uint32_t defaultColor) {
    pugi::xml_document doc;
    if (data == nullptr || size > static_cast<size_t>(kMaxFileBytes) || !doc.load_buffer(data, size)) return {};
    return FromDocument(doc, defaultColor);
}

std::string CoordinateFile::PathFor(const std::string& applicationFolder, const std::string& crdxml) {
    // Layouts may carry Windows separators; on this system they can only mean folders.
    std::string relative = crdxml;
    for (char& c : relative)
        if (c == '\\') c = '/';
    if (!relative.empty() && relative.front() == '/') return applicationFolder + relative;
    return applicationFolder + "/" + relative;
}
