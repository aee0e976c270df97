// Story files: any bytes build to a script or to errors with places inside the story; a
// script that builds keeps within the player's line limit; and the story that --unbuild
// writes for a built script builds back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "author/unbuild.h"
#include "formats/story.h"
#include "fuzz/expect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const formats::BuiltStory built = formats::buildStory(bytes);
  if (!built.ok()) {
    FUZZ_EXPECT(built.script.empty());
    for (const formats::StoryError& e : built.errors)
      FUZZ_EXPECT(e.line >= 1 && e.column >= 1 && !e.text.empty());
    return 0;
  }
  FUZZ_EXPECT(built.lines.size() <= static_cast<size_t>(formats::kStoryMaxLines));
  FUZZ_EXPECT(built.storyLine.size() == built.lines.size());
  for (size_t k = 0; k < built.lines.size(); ++k)
    FUZZ_EXPECT(built.storyColumns[k].size() == built.lines[k].size() + 1);
  const author::Unbuilt story = author::unbuildScript(built.script, "fuzz.acs");
  if (story.errors.empty() && story.warnings.empty())
    FUZZ_EXPECT(formats::buildStory(story.story).script == built.script);
  return 0;
}
