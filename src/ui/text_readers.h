#pragma once
// The game's text for people and tools that do not read the window's pixels: each
// complete page of the message area and each menu goes to `--text-out`, to the place a
// page keeps for screen readers, to the system's voice while reading aloud is on, and to
// the clipboard while copying is on. The window stays the game's own.
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/port.h"
#include "record/recorder.h"
#include "ui/settings.h"
#include "ui/text_out.h"

namespace ui {

// What a window run gives the text (a headless run gives none; tests give fakes).
struct TextServices {
  // The speech service, opened when first asked for; null when there is none.
  std::function<platform::Speech*()> speech;
  std::function<void(const std::string&)> copy, publishPage;
  std::function<void(const std::string&, const std::vector<platform::LabelText>&)> publishMenu;
};

class TextReaders {
 public:
  TextReaders(std::ostream* textOut, TextServices services, const Settings& settings);

  // A complete page: `key` tells pages apart, so that a page still showing under a menu
  // is not given again; `always` gives it even so (a click wait shows each page anew).
  void page(record::Recorder::Stamp at, int64_t key, const std::string& text, bool always);
  void menu(record::Recorder::Stamp at, const std::string& heading,
            const std::vector<platform::LabelText>& labels);
  // Reading aloud or copying was turned on or off: the text showing is given at once.
  // False when reading aloud was turned on and there is no speech service.
  bool settingsChanged();
  // Says a text of the player's own (its menu) while reading aloud is on.
  void say(const std::string& text);

 private:
  void speak();
  platform::Speech* speech();

  TextOut out_;
  TextServices services_;
  const Settings& settings_;
  bool readAloud_, copyText_;
  int64_t lastPage_ = -1;
  std::string page_, menu_;  // what shows: the last page, and the menu as spoken
};

// A menu as it is spoken: its heading, then each label after its number.
std::string spokenMenu(const std::string& heading, const std::vector<platform::LabelText>& labels);

}  // namespace ui
