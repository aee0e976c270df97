// Where the game's text goes besides the window: the voice, the clipboard and the place a
// page keeps for screen readers, and how turning reading aloud and copying on and off
// reaches them.
#include "ui/text_readers.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct FakeSpeech : platform::Speech {
  std::vector<std::string> said;
  void say(const std::string& text) override { said.push_back(text); }
};

struct Readers : testing::Test {
  FakeSpeech voice;
  bool serviceThere = true;
  int opened = 0;
  std::vector<std::string> copied, published;
  ui::Settings settings;
  std::ostringstream out;
  ui::TextReaders readers{&out, services(), settings};

  ui::TextServices services() {
    ui::TextServices s;
    s.speech = [this]() -> platform::Speech* {
      ++opened;
      return serviceThere ? &voice : nullptr;
    };
    s.copy = [this](const std::string& t) { copied.push_back(t); };
    s.publishPage = [this](const std::string& t) { published.push_back(t); };
    s.publishMenu = [this](const std::string& h, const std::vector<platform::LabelText>& l) {
      published.push_back(ui::spokenMenu(h, l));
    };
    return s;
  }
  void page(int64_t key, const std::string& text, bool always = true) {
    readers.page({}, key, text, always);
  }
  void menu() { readers.menu({}, "どうする？", {{1, "話す"}, {3, "出る"}}); }
};

TEST_F(Readers, EachPageAndMenuReachesEveryReaderOnce) {
  page(1, "一頁目");
  page(1, "一頁目", false);  // the same page still showing under a menu
  page(2, "");               // an empty area is no page
  menu();
  EXPECT_EQ(published, (std::vector<std::string>{"一頁目", "どうする？\n1 話す\n3 出る"}));
  EXPECT_EQ(out.str().find("\"ev\":\"page\""), out.str().rfind("\"ev\":\"page\""));
  EXPECT_NE(out.str().find("\"labels\":[\"話す\",\"出る\"]"), std::string::npos);
  // Off by default: nothing is said or copied, and no speech service is opened.
  EXPECT_TRUE(voice.said.empty());
  EXPECT_TRUE(copied.empty());
  EXPECT_EQ(opened, 0);
}

TEST_F(Readers, TurningOnGivesWhatShowsAtOnceAndTurningOffStopsTheVoice) {
  page(1, "一頁目");
  menu();
  settings.readAloud = settings.copyText = true;
  EXPECT_TRUE(readers.settingsChanged());
  EXPECT_EQ(voice.said, (std::vector<std::string>{"一頁目\nどうする？\n1 話す\n3 出る"}));
  EXPECT_EQ(copied, (std::vector<std::string>{"一頁目"}));
  settings.volume = 50;  // another setting copies and says nothing again
  readers.settingsChanged();
  page(2, "二頁目");
  EXPECT_EQ(copied, (std::vector<std::string>{"一頁目", "二頁目"}));
  EXPECT_EQ(voice.said.back(), "二頁目");  // the menu went with the page
  readers.say("メニュー Menu");
  settings.readAloud = false;
  readers.settingsChanged();
  readers.say("セーブ Save");  // the player's menu is silent again
  EXPECT_EQ(voice.said, (std::vector<std::string>{"一頁目\nどうする？\n1 話す\n3 出る", "二頁目",
                                                  "メニュー Menu", ""}));
}

TEST_F(Readers, WithoutASpeechServiceReadingAloudDoesNotTurnOn) {
  serviceThere = false;
  page(1, "一頁目");
  settings.readAloud = true;
  EXPECT_FALSE(readers.settingsChanged());
  page(2, "二頁目");
  EXPECT_EQ(opened, 1);  // not asked for again on each page
}

}  // namespace
