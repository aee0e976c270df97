// The window composes and sends only the areas that changed. Over every frame of two of the
// demo's play-throughs (one by mouse, one by keys with the backlog), a screen kept up to date from
// those areas alone must equal the frame, and the frame must equal the whole window composed anew.
#include <gtest/gtest.h>

#include <filesystem>

#include "backends/headless/headless_backend.h"
#include "gui/form.h"
#include "record/input_script.h"
#include "ui/acs.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kWholeEvery = 3;
#else
constexpr int kWholeEvery = 1;
#endif

class ScreenBackend : public backends::HeadlessBackend {
 public:
  using HeadlessBackend::HeadlessBackend;
  void present(gui::FrameSource& source) override {
    const formats::Image& frame = source.frame();
    if (screen.width() == 0) screen = formats::Image(frame.width(), frame.height(), 0xABCDEF);
    for (const formats::Rect& r : source.takeChanged()) screen.blit(frame, 0, 0, r);
    ++frames;
    if (screen.pixels() != frame.pixels()) ++staleFrames;
    // Composing the whole window is slow under the sanitizers: every third frame there.
    if (frames % kWholeEvery == 0 && source.composeWhole().pixels() != frame.pixels())
      ++wrongFrames;
  }
  formats::Image screen;
  int frames = 0, staleFrames = 0, wrongFrames = 0;
};

TEST(ChangedAreas, ComposeExactlyTheWholeFrameOverTheDemo) {
  for (const char* ending : {"beach", "sunrise-keys"}) {
    SCOPED_TRACE(ending);
    ScreenBackend backend(record::readInputScript(
        (fs::path(TORAMI_SOURCE_DIR) / "tests" / "demo" / (std::string(ending) + ".txt"))
            .string()));
    ui::Options o;
    o.gameFolder = fs::path(TORAMI_SOURCE_DIR) / "demo";
    ui::Acs acs(backend, o);
    EXPECT_EQ(acs.run(), 0);
    EXPECT_GT(backend.frames, 100);
    EXPECT_EQ(backend.staleFrames, 0);
    EXPECT_EQ(backend.wrongFrames, 0);
  }
}

}  // namespace
