#include "device/HidPath.h"

#include <regex>
#include <string>

#include "app/NumberText.h"

std::optional<HidInterfaceId> ParseHidPath(std::string_view path) {
    // Compiled per call on purpose: enumeration is rare and this keeps no state between calls.
    static const char* const kPattern =
        "hid#vid_([0-9A-Za-z]{4})&pid_([0-9A-Za-z]{4})(?:&mi_([0-9A-Za-z]{2}))?(?:&col([0-9A-Za-z]{2}))?";
    const std::regex re(kPattern, std::regex::ECMAScript);
    std::match_results<std::string_view::const_iterator> m;
    if (!std::regex_search(path.begin(), path.end(), m, re)) return std::nullopt;
    HidInterfaceId id;
    id.vid = ParseHex32(std::string_view(&*m[1].first, m[1].length()));
    id.pid = ParseHex32(std::string_view(&*m[2].first, m[2].length()));
    if (m[3].matched) id.interface = ParseHex32(std::string_view(&*m[3].first, m[3].length()));
    if (m[4].matched) id.collection = ParseHex32(std::string_view(&*m[4].first, m[4].length()));
    return id;
}

bool IdentityMatches(const DeviceIdentity& wanted, const HidInterfaceId& found) {
    return (wanted.vid <= 0 || wanted.vid == found.vid) && (wanted.pid <= 0 || wanted.pid == found.pid) &&
           (wanted.interface < 0 || wanted.interface == found.interface) &&
           (wanted.subdevice < 0 || wanted.subdevice == found.collection);
}
