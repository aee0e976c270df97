#pragma once
// MESHG: types a message into the message area with speaker tags, colours, typing
// speed, line and page breaks, waiting for a click whenever the area is full.
#include <string>

#include "engine/text.h"

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
  Acs& w_;
};

}  // namespace ui
