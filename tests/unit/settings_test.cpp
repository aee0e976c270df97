// The player's settings file: what is written reads back, and a file written by hand or by
// another version gives sensible values where it says nothing or too much.
#include "ui/settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "support/scenario.h"

namespace {

TEST(Settings, RoundTripAndUnusableValues) {
  const auto folder = testing_support::scenarioFolder("Settings.file");
  const auto file = folder / "settings.json";
  ui::Settings s;
  s.volume = 70, s.soundVolume = 30, s.muted = true, s.fullscreen = true, s.textSpeed = 3;
  ASSERT_TRUE(ui::writeSettings(file, s));
  const ui::Settings back = ui::readSettings(file);
  EXPECT_EQ(std::tie(back.volume, back.soundVolume, back.muted, back.fullscreen, back.textSpeed),
            std::tie(s.volume, s.soundVolume, s.muted, s.fullscreen, s.textSpeed));

  const struct {
    const char* text;
    int volume, soundVolume, textSpeed;
  } cases[] = {
      {"{\"volume\":250,\"sound-volume\":-5,\"text-speed\":9}", 100, 0, 3},
      {"{\"volume\":\"loud\",\"text-speed\":-1}", 100, 100, 0},
      {"{\"volume\":45}", 40, 100, 0},
      {"not json", 100, 100, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::ofstream(file) << c.text;
    const ui::Settings r = ui::readSettings(file);
    EXPECT_EQ(r.volume, c.volume);
    EXPECT_EQ(r.soundVolume, c.soundVolume);
    EXPECT_EQ(r.textSpeed, c.textSpeed);
  }
}

}  // namespace
