#include "macro/ExtensionMatches.h"

bool ExtensionMatches(std::string_view path) {
    const size_t dot = path.rfind('.');
    return (dot == std::string_view::npos ? path : path.substr(dot + 1)) == "mcr";
}
