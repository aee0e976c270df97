#include "ui/text_out.h"

namespace ui {

void TextOut::page(record::Recorder::Stamp at, const std::string& text) {
  if (!out_) return;
  write({{"ev", "page"}, {"t", at.t}, {"line", at.line}, {"text", text}});
}

void TextOut::menu(record::Recorder::Stamp at, const std::string& heading,
                   const std::vector<std::string>& labels) {
  if (!out_) return;
  write({{"ev", "menu"}, {"t", at.t}, {"line", at.line}, {"heading", heading}, {"labels", labels}});
}

void TextOut::write(const record::Json& line) {
  *out_ << line.dump(-1, ' ', false, record::Json::error_handler_t::replace) << '\n';
  out_->flush();
}

}  // namespace ui
