// Libraries opened when first needed: found, or failing with a reason instead of a crash.
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include "platform/linux/late_library.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* soname;
  const char* function;
  bool found;
  const char* reason;  // part of SDL's error when not found
};

TEST(LateLibrary, GivesTheFunctionOrSaysWhyNot) {
  const Case cases[] = {
      {"libSDL2_mixer-2.0.so.0", "Mix_Linked_Version", true, ""},
      {"libSDL2_mixer-2.0.so.0", "Mix_NoSuchFunction", false, "has no Mix_NoSuchFunction"},
      {"libtorami-no-such-library.so.9", "anything", false, "cannot load libtorami-no-such"},
  };
  for (const Case& c : cases) {
    platform::LateLibrary library(c.soname, "a test");
    SDL_ClearError();
    EXPECT_EQ(library.function(c.function) != nullptr, c.found) << c.soname << " " << c.function;
    EXPECT_NE(std::string(SDL_GetError()).find(c.reason), std::string::npos)
        << c.soname << ": " << SDL_GetError();
    EXPECT_EQ(library.open(), std::string(c.soname).find("no-such") == std::string::npos)
        << "a second opening gives the first one's answer";
  }
}

}  // namespace
#endif
