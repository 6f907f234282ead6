#include "platform/runtime_menus.h"

#include "platform/wnd.h"

static_assert(kRuntimeMenuTitles.size() == kRuntimeMenuCount && kHelpMenu == kRuntimeMenuCount &&
              kHelpMenuItems.size() == kHelpAbout);

std::string with_access_key(std::string_view text) {
  if (text.empty() || text.find('&') != std::string_view::npos) return std::string(text);
  return "&" + std::string(text);
}
