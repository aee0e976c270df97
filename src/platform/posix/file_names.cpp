// On Linux a file name is bytes: a legacy name is the code page 932 bytes as they are.
#include "platform/file_names.h"

#include "platform/text_codec.h"

namespace platform {

std::optional<std::filesystem::path> legacyName(std::string_view cp932) {
  return std::filesystem::path(std::string(cp932));
}

std::u32string legacyNameText(const std::filesystem::path& name) {
  return decodeCp932(name.native());
}

}  // namespace platform
