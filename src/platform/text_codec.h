#pragma once
// Conversions at the edges: code page 932 for the script and file names, UTF-8 for the
// font renderer, the trace and the terminal. Inside, text is one element per character.
#include <optional>
#include <string>
#include <string_view>

#include "platform/port.h"

namespace platform {

std::string toUtf8(std::u32string_view text);
// Invalid UTF-8 bytes become U+FFFD, one per byte: broken sequences, overlong forms,
// surrogates and values above U+10FFFF.
std::u32string fromUtf8(std::string_view bytes);

// CR LF and lone CR as LF, for places that break lines only at LF.
std::string lineBreaksAsNewlines(std::string_view text);

}  // namespace platform
