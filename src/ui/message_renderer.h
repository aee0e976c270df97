#pragma once
// MESHG: types a message into the message area with speaker tags, colours, typing
// speed, line and page breaks, waiting for a click whenever the area is full.
#include <array>
#include <cstdint>
#include <deque>
#include <optional>

#include "engine/state_key.h"
#include "engine/text.h"
#include "gui/form.h"
#include "record/json.h"
#include "ui/message_record.h"

namespace ui {

// MsgClick: 0 while no click has come, 2 after a click on the message or picture area.
inline constexpr int16_t kNoClick = 0;
inline constexpr int16_t kClicked = 2;

class MessageRenderer {
 public:
  MessageRenderer(gui::Form& form, gui::PictureBox& MES) : form_(form), MES(MES) {}
  void MESHG(const engine::Text& text);
  // What a click on the message area or the picture area does.
  void clicked() { MsgClick = kClicked; }

  // Skipping: click waits are answered as soon as the page is complete and typing
  // pauses are left out.
  void setSkipping(bool on) { skipping_ = on; }
  // The speed of typing (Settings::textSpeed): only the pause after each character
  // changes, and a pause never drops to nothing, so the run passes the same points.
  void setTextSpeed(int speed) { textSpeed_ = speed; }
  // Which page of the message being typed shows (0 for its first).
  int pageInMessage() const { return page_; }
  // The text of the live page, rows joined, without the indents; and its length.
  std::u32string pageText() const;
  // The live page as it shows: its rows joined by newlines, the empty rows at its end left
  // out, without colours.
  std::u32string pageRows() const;

  // The backlog, at a click wait: the pages read before the live one, as they were drawn.
  // Back shows the page before the one shown, forward the one after (the live page last,
  // exactly as it was); each returns whether the area changed.
  bool backlogBack();
  bool backlogForward();
  // How many pages back the area shows; 0 on the live page.
  int backlogDepth() const { return backlog_; }
  static constexpr size_t kBacklogPages = 200;
  // The rows of the message area as the trace shows them: a JSON array of rows, each a
  // list of [colour, text] runs in printing order.
  record::Json traceRows() const;
  // Appends where the message being typed has got to (which decides where its click
  // waits come) and, when `shown`, the persistent settings and what the area shows.
  void appendState(engine::StateKey& key, bool shown) const;

 private:
  // The size of the message area in characters, read from MES.
  struct Area {
    int columnsPerLine = 0;
    int lastRow = -1;
  };
  Area area() const;

  void handle(char32_t markup, engine::TextView arguments);
  void setSpeakerName(engine::TextView arguments);
  void setTextColor(engine::TextView arguments);
  void setTypeDelay(engine::TextView arguments);
  void lineBreak();
  void speakerTag(engine::TextView arguments);
  void character(char32_t c);
  void pageCheck();
  void clickWait();
  void typingPause();

  void showBacklogPage();
  void leaveBacklog();

  // Drawing on MES, recorded as it goes.
  void clear();
  void put(char32_t c);
  void newLine();
  void useColor(int number);

  gui::Form& form_;
  gui::PictureBox& MES;

  // Persistent for the whole run.
  int16_t MsgClick = kNoClick;
  std::array<engine::Text, 16> SpeakerNames;
  int16_t TypeDelay = 0;
  int16_t TextColor = 0;
  MessageRecord record_;
  bool skipping_ = false;
  int textSpeed_ = 0;
  int16_t typed(int16_t pause) const;

  // Pages read, oldest first; what the live page looked like while the backlog shows.
  std::deque<MessageRecord> history_;
  int backlog_ = 0;
  std::optional<gui::PictureBox::Drawing> live_;

  // State of one call.
  int column_ = 0;
  int row_ = 0;
  Area area_;
  int16_t pause_ = 0;
  bool unindented_ = false;
  size_t position_ = 0;  // the character being handled
  int page_ = 0;         // the page of the message
  bool typing_ = false;  // a message is being typed
};

}  // namespace ui
