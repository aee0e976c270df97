// The page carries its own fonts (there is no fontconfig in a browser): the IPA faces
// are preloaded into the program's file system under /fonts. Under node (the engine's
// tests) the program sees the host's files: Debian's IPA font files.
#include <filesystem>
#include <string>

#include "platform/port.h"

namespace platform {

std::string findFontFile(FontFace face) {
  const bool gothic = face == FontFace::Gothic;
  for (const char* file : {gothic ? "/fonts/ipag.ttf" : "/fonts/ipam.ttf",
                           gothic ? "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
                                  : "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"}) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) return file;
  }
  return {};
}

std::string fontMissingAdvice(FontFace face) {
  return std::string("the page lacks its font ") +
         (face == FontFace::Gothic ? "ipag.ttf" : "ipam.ttf");
}

}  // namespace platform
