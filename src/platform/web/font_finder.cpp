// The page carries its own fonts (there is no fontconfig in a browser): the IPA faces
// are preloaded into the program's file system under /fonts.
#include <filesystem>
#include <string>

#include "platform/font.h"

namespace platform {

std::string findFontFile(Face face) {
  const char* file = face == Face::Gothic ? "/fonts/ipag.ttf" : "/fonts/ipam.ttf";
  std::error_code ec;
  return std::filesystem::exists(file, ec) ? file : std::string();
}

}  // namespace platform
