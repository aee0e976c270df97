// The browser's C library has no code page 932 converter: tables made from the build
// machine's iconv stand in for it.
#include "platform/text_codec.h"
#include "platform/web/cp932_table.h"

namespace platform {

std::u32string decodeCp932(std::string_view bytes) { return cp932::decode(bytes); }

std::optional<std::string> encodeCp932(std::u32string_view text) { return cp932::encode(text); }

}  // namespace platform
