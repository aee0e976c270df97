#include <fontconfig/fontconfig.h>

#include <mutex>
#include <string>

#include "platform/port.h"

namespace platform {
namespace {

/* fontconfig does not map the title's face names reliably (the Mincho face can come
   back as a Gothic, and without a language hint as a Latin face), so each design face
   has its own list of families, tried in order, and the family that comes back is
   checked before it is taken. */
struct Alias {
  FontFace face;
  const char* families[4];
};
constexpr Alias kAliases[] = {
    {FontFace::Gothic, {"ＭＳ ゴシック", "MS Gothic", "IPAGothic", nullptr}},
    {FontFace::Mincho, {"ＭＳ 明朝", "MS Mincho", "IPAMincho", nullptr}},
};

std::string matchFamily(const char* family) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  if (match) {
    FcChar8* got = nullptr;
    FcChar8* path = nullptr;
    bool same = false;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &got) == FcResultMatch; ++i)
      same = same || std::string(reinterpret_cast<char*>(got)) == family;
    if (same && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
      file = reinterpret_cast<char*>(path);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

std::string searchFontFile(FontFace face) {
  FcInit();
  for (const Alias& alias : kAliases) {
    if (alias.face != face) continue;
    for (const char* family : alias.families) {
      if (!family) break;
      if (std::string file = matchFamily(family); !file.empty()) return file;
    }
  }
  return {};
}

}  // namespace

/* Both faces are searched at once, by whichever thread asks first (the preloading
   thread, as a rule), and a second asker waits for that answer: two first searches at
   the same time would each set fontconfig up from the start. */
std::string findFontFile(FontFace face) {
  static std::once_flag once;
  static auto* const found = new std::string[2];  // kept to the end: a search may outlive main
  std::call_once(once, [] {
    for (FontFace f : {FontFace::Gothic, FontFace::Mincho})
      found[static_cast<int>(f)] = searchFontFile(f);
  });
  return found[static_cast<int>(face)];
}

std::string fontMissingAdvice(FontFace face) {
  return std::string("install the package ") +
         (face == FontFace::Gothic ? "fonts-ipafont-gothic" : "fonts-ipafont-mincho");
}

}  // namespace platform
