#include <emscripten.h>

#include <string>

#include "platform/port.h"
#include "platform/text_codec.h"

namespace platform {
namespace {

// The page's toramiAsk shows the dialog; a page without one answers -1 (closed).
// clang-format off
EM_ASYNC_JS(int, askPage, (const char* title, const char* text, const char* buttons), {
  if (typeof toramiAsk == 'undefined') return -1;
  return await toramiAsk(UTF8ToString(title), UTF8ToString(text), UTF8ToString(buttons).split('\n'));
});
// clang-format on

}  // namespace

std::optional<int> askOutsideTheWindow(const SystemBox& box) {
  std::string buttons;
  for (const std::string& b : box.buttons) buttons += (buttons.empty() ? "" : "\n") + b;
  const std::string text = lineBreaksAsNewlines(box.text);
  return askPage(box.title.c_str(), text.c_str(), buttons.c_str());
}

}  // namespace platform
