#pragma once
// Script text is held one element per character, so a full-width character counts
// as one character for every position and length.
#include <string>
#include <string_view>

namespace engine {

using Text = std::u32string;
using TextView = std::u32string_view;

}  // namespace engine
