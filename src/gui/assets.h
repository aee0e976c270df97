#pragma once
// Images built into the executable from assets/ (window icon, pointer, item strip).
#include <span>

namespace gui {

// The bytes of the named asset file, or an empty span when there is none.
std::span<const unsigned char> asset(const char* name);

}  // namespace gui
