#include "engine/media_named.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/script_store.h"

namespace {

using engine::MediaNamed;

struct Case {
  const char* script;
  MediaNamed named;
};

TEST(MediaNamed, CountsEachLineByItsKeyword) {
  const Case cases[] = {
      {"", {}},
      {"MES,hello\r\nEXIT\r\n", {}},
      {"GHG,title\r\n", {.pictures = true}},
      {"SOUND,bell,0\r\n", {.waves = true}},
      {"MUSPL,TITLE,1\r\n", {.music = true}},
      // Named after the end, or never reached, still counts.
      {"EXIT\r\nMUSPL,NIGHT,0\r\nGHG,beach\r\n", {.pictures = true, .music = true}},
      // Only a line's keyword names a command: not its text, nor another case or spelling.
      {"MES,GHG,title\r\nghg,title\r\nGHGX,title\r\nITCG,1,title\r\n", {}},
      {"GHG,a\r\nSOUND,b,0\r\nMUSPL,c,1\r\n", {true, true, true}},
  };
  for (const Case& c : cases) {
    auto store = std::make_unique<engine::ScriptStore>();  // large: off the stack
    int last = 0;
    ASSERT_TRUE(store->loadBytes(c.script, last)) << c.script;
    const MediaNamed got = engine::mediaNamed(*store);
    EXPECT_EQ(got, c.named) << c.script << " pictures " << got.pictures << " waves " << got.waves
                            << " music " << got.music;
  }
}

}  // namespace
