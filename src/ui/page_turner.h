#pragma once
// Auto and skip read text: comforts that answer click waits for the player. Auto turns a
// complete page after 1 s and 60 ms per character; skip read text turns at once every page
// read in an earlier play (pages read are kept per game). Both stop at a menu wait and at
// any input that plays the game; skip read text also at a page never read. A page they
// turn is turned by a click on the message area made for the player, which the saved game
// keeps like any other, so a load replays it without them.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>

#include "gui/form.h"
#include "record/recorder.h"
#include "ui/message_renderer.h"

namespace ui {

class PageTurner {
 public:
  static constexpr uint32_t kAutoBaseMs = 1000, kAutoPerCharacterMs = 60;

  // `turnPage` clicks the message area for the player. `readFile`: where pages read are
  // kept (empty: for this run only).
  PageTurner(gui::Form& form, MessageRenderer& renderer, record::Recorder& recorder,
             std::function<void()> turnPage, std::filesystem::path readFile);

  bool autoOn() const { return auto_; }
  bool skipReadOn() const { return skipRead_; }
  void setAuto(bool on);
  void setSkipRead(bool on);

  // A wait for the user begins; `page` names the page a click wait shows (the same page of
  // the same script has the same name in every play).
  void waitBegins(gui::WaitKind kind, bool fresh, int64_t page);
  // An input that plays the game came from the player.
  void playerActed();

 private:
  std::optional<uint32_t> dueAt() const;
  void waitPass();
  void markRead(int64_t page);

  gui::Form& form_;
  MessageRenderer& renderer_;
  record::Recorder& recorder_;
  std::function<void()> turnPage_;
  std::filesystem::path readFile_;
  std::set<int64_t> read_;
  bool auto_ = false, skipRead_ = false;
  bool atClick_ = false, pageWasRead_ = false;
  uint32_t autoDue_ = 0;
};

}  // namespace ui
