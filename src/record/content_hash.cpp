#include "record/content_hash.h"

#include <cstdint>
#include <cstdio>

namespace record {

std::string contentHash(std::span<const unsigned char> bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char b : bytes) {
    h ^= b;
    h *= 0x100000001b3ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

}  // namespace record
