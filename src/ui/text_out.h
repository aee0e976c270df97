#pragma once
// The text of the game for other tools (`--text-out`): each complete page of the message
// area and each menu, one JSON line each, written and flushed as it shows.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "record/recorder.h"

namespace ui {

class TextOut {
 public:
  explicit TextOut(std::ostream* out) : out_(out) {}
  bool on() const { return out_ != nullptr; }
  void page(record::Recorder::Stamp at, const std::string& text);
  void menu(record::Recorder::Stamp at, const std::string& heading,
            const std::vector<std::string>& labels);

 private:
  void write(const record::Json& line);

  std::ostream* out_;
};

}  // namespace ui
