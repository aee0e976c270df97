#include "ui/message_record.h"

#include <cstdio>

#include "platform/text_codec.h"

namespace ui {

void MessageRecord::clear() {
  rows_.clear();
  row_ = 0;
}

void MessageRecord::add(formats::Color color, char32_t character) {
  if (rows_.size() <= row_) rows_.resize(row_ + 1);
  std::vector<Run>& runs = rows_[row_];
  if (runs.empty() || runs.back().color != color) runs.push_back({color, {}});
  runs.back().text += character;
}

record::Json MessageRecord::json(int rows) const {
  record::Json out = record::Json::array();
  for (int r = 0; r < rows; ++r) {
    record::Json row = record::Json::array();
    if (static_cast<size_t>(r) < rows_.size())
      for (const Run& run : rows_[r])
        row.push_back({colorHex(run.color), platform::toUtf8(run.text)});
    out.push_back(std::move(row));
  }
  return out;
}

std::string colorHex(formats::Color color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(color & 0xffffff));
  return text;
}

}  // namespace ui
