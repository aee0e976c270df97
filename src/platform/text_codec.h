#pragma once
// Conversions at the edges: code page 932 for the script and file names, UTF-8 for the
// font renderer, the trace and the terminal. Inside, text is one element per character.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Decodes code page 932 bytes. A byte sequence that does not decode becomes U+FFFD
// (one per undecodable byte) and decoding goes on after it.
std::u32string decodeCp932(std::string_view bytes);
// Encodes to code page 932; nullopt when a character has no code there.
std::optional<std::string> encodeCp932(std::u32string_view text);

std::string toUtf8(std::u32string_view text);
// Invalid UTF-8 bytes become U+FFFD, one per byte: broken sequences, overlong forms,
// surrogates and values above U+10FFFF.
std::u32string fromUtf8(std::string_view bytes);

// CR LF and lone CR as LF, for places that break lines only at LF.
std::string lineBreaksAsNewlines(std::string_view text);

}  // namespace platform
