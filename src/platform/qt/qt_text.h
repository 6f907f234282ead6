// Texts handed to the window system.
#pragma once

#include <QString>
#include <string_view>

namespace qtl {

// A text as the system shows it: it ends at its first zero byte (texts are
// often fixed-length fields ended that way), and a carriage return, alone or
// before a line feed, is a line break.
QString system_text(std::string_view text);

}  // namespace qtl
