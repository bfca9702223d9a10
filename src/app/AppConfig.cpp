#include "app/AppConfig.h"

#include <pugixml.hpp>

#include <sys/stat.h>

#include <memory>

#include "app/NumberText.h"
#include "platform/ApplicationFolder.h"

namespace {

// A real configuration is a few kilobytes; anything this large is not one and is not worth
// holding in memory.
constexpr off_t kMaxConfigBytes = 16 * 1024 * 1024;

void ReadKeyList(const pugi::xml_node& list, std::vector<KeyListEntry>& out) {
    for (pugi::xml_node child = list.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        const char* name = child.attribute("name").value();
        if (*name == '\0') continue;
        KeyListEntry entry{name, {}};
        if (pugi::xml_attribute code = child.attribute("code")) {
            std::string text;
            for (const char* p = code.value(); *p; ++p)
                if (*p != ' ') text += *p;
            size_t start = 0;
            while (start <= text.size()) {
                size_t comma = text.find(',', start);
                if (comma == std::string::npos) comma = text.size();
                if (comma > start) entry.codes.push_back(ParseDecimal32(std::string_view(text).substr(start, comma - start)));
                start = comma + 1;
            }
        }
        out.push_back(std::move(entry));
    }
}

AppConfig FromDocument(const pugi::xml_document& doc) {
    AppConfig config;
    // Only siblings at the top of the document count: a wrapping root hides them.
    config.isChinese = std::string_view(doc.child("local").attribute("language").value()) == "cn";
    const pugi::xml_node usb = doc.child("usb");
    config.identity.vid = ParseHex32(usb.attribute("vid").value());
    config.identity.pid = ParseHex32(usb.attribute("pid").value());
    config.identity.interface = ParseHex32(usb.attribute("interface").value());
    config.identity.subdevice = ParseHex32(usb.attribute("subdevice").value());
    ReadKeyList(doc.child("mediakey"), config.mediaKeys);
    ReadKeyList(doc.child("functkey"), config.functionKeys);
    return config;
}

}  // namespace

AppConfig AppConfig::Load(const std::string& path) {
    struct stat st{};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxConfigBytes) return AppConfig{};
    pugi::xml_document doc;
    if (!doc.load_file(path.c_str())) return AppConfig{};
    return FromDocument(doc);
}

AppConfig AppConfig::Parse(const void* data, size_t size) {
    if (size > static_cast<size_t>(kMaxConfigBytes)) return AppConfig{};
    pugi::xml_document doc;
    if (!doc.load_buffer(data, size)) return AppConfig{};
    return FromDocument(doc);
}

const AppConfig* AppConfig::instance(const char* fileName) {
    // Never freed: readers may run until the process ends.
    static AppConfig* config = nullptr;
    if (!config && fileName) config = new AppConfig(Load(ApplicationFolder() + "/" + fileName));
    return config;
}
