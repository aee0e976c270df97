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
  // A page: `key` tells pages apart, so that a page still showing under a menu is not
  // written again; `always` writes it even so (a click wait shows each page anew).
  void page(record::Recorder::Stamp at, int64_t key, const std::string& text, bool always);
  void menu(record::Recorder::Stamp at, const std::string& heading,
            const std::vector<std::string>& labels);

 private:
  void write(const record::Json& line);

  std::ostream* out_;
  int64_t lastPage_ = -1;
};

}  // namespace ui
