#pragma once
// MESHG: types a message into the message area with speaker tags, colours, typing
// speed, line and page breaks, waiting for a click whenever the area is full.
#include <array>
#include <cstdint>
#include <string>

#include "engine/text.h"
#include "ui/message_record.h"

namespace ui {

class Acs;

class MessageRenderer {
 public:
  explicit MessageRenderer(Acs& window) : w_(window) {}
  void MESHG(const engine::Text& text);
  // The rows of the message area as the trace shows them: a JSON array of rows, each a
  // list of [colour, text] runs in printing order.
  std::string traceRows() const;

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

  // Drawing on MES, recorded as it goes.
  void clear();
  void put(char32_t c);
  void newLine();
  void useColor(int number);

  Acs& w_;

  // Persistent for the whole run.
  std::array<engine::Text, 16> SpeakerNames;
  int16_t TypeDelay = 0;
  int16_t TextColor = 0;
  MessageRecord record_;

  // State of one call.
  int column_ = 0;
  int row_ = 0;
  Area area_;
  int16_t pause_ = 0;
  bool unindented_ = false;
};

}  // namespace ui
