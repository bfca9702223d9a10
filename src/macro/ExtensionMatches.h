#pragma once
#include <string_view>

// Whether a chosen import or export path is a macro file: the text after the last "." of the whole
// path (the whole path when there is none) must be exactly "mcr", in lower case. "a.MCR" and
// "a.mcr.bak" fail; "/home/u/my.macros/a.mcr" passes.
bool ExtensionMatches(std::string_view path);
