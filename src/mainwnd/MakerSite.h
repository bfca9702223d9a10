#pragma once

// The maker's web site, opened by the logo link. The one place that names it.
inline constexpr char kMakerSiteUrl[] = "https://kbdconf.example.com/";
