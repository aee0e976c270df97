#pragma once
// UTF-8 to and from the UTF-16 of the Windows API.
#include <string>
#include <string_view>

namespace platform::windows {

// Invalid UTF-8 becomes U+FFFD.
std::wstring widen(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD.
std::string narrow(std::wstring_view wide);

}  // namespace platform::windows
