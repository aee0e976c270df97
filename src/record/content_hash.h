#pragma once
// A short fingerprint of some bytes (64-bit FNV-1a, as 16 hexadecimal digits): it tells
// one script from another, for naming its saves. Not for secrets.
#include <span>
#include <string>

namespace record {

std::string contentHash(std::span<const unsigned char> bytes);

}  // namespace record
