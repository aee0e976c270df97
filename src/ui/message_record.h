#pragma once
// What the message area shows, as text: rows of [colour, text] runs in printing order,
// kept alongside the drawing so a snapshot can tell what a person sees.
#include <string>
#include <vector>

#include "formats/image.h"
#include "record/json.h"

namespace ui {

class MessageRecord {
 public:
  // The area was cleared: no text, printing starts on the first row.
  void clear();
  // One character printed in a colour on the current row.
  void add(formats::Color color, char32_t character);
  // Printing goes on at the start of the next row.
  void newLine() { ++row_; }
  // A JSON array of exactly `rows` rows, each a list of ["#rrggbb","text"] runs; runs of
  // the same colour side by side are one run, a row with nothing printed is [].
  record::Json json(int rows) const;

  struct Run {
    formats::Color color;
    std::u32string text;
  };
  using Row = std::vector<Run>;
  const std::vector<Row>& rows() const { return rows_; }
  bool empty() const { return rows_.empty(); }

 private:
  std::vector<Row> rows_;
  size_t row_ = 0;
};

// "#rrggbb" for a colour.
std::string colorHex(formats::Color color);

}  // namespace ui
