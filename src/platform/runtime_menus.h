// The menu rules every layer shares: the access-key rule of item texts and
// the runtime's own menus as the program finds them (their positions are in
// wnd.h).
#pragma once

#include <array>
#include <string>
#include <string_view>

// An item text without "&" gets one in front of its first character, which
// becomes the item's access key; an empty text stays empty.
std::string with_access_key(std::string_view text);

// The titles of the runtime's top-level menus, left to right (kRuntimeMenuCount).
constexpr std::array<const char*, 6> kRuntimeMenuTitles = {"&File",  "&Edit",   "&View",
                                                           "&State", "&Window", "&Help"};

// The items of the Help menu (kHelpMenu), top to bottom.
constexpr std::array<const char*, 3> kHelpMenuItems = {"&Contents", "Using &Help", "&About"};
