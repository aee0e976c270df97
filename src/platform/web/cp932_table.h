#pragma once
// Code page 932 from tables generated at build time from the build machine's iconv
// (tools/cp932_table), for C libraries without a CP932 converter. Same results as the
// iconv codec: an undecodable byte becomes one U+FFFD and decoding goes on after it.
#include <optional>
#include <string>
#include <string_view>

namespace platform::cp932 {

std::u32string decode(std::string_view bytes);
std::optional<std::string> encode(std::u32string_view text);

}  // namespace platform::cp932
