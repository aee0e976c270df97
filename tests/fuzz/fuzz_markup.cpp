// The message renderer on any text: speaker tags, colours, typing speed, line and page
// breaks, with every wait for a click answered at once. Each text types to its end or
// fails with the error word of a bad markup argument; the area never holds more rows
// than it has. Lines of the input are separate messages, in code page 932 as in a script.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>

#include "engine/error_words.h"
#include "engine/script_error.h"
#include "fuzz/expect.h"
#include "gui/backend.h"
#include "gui/form.h"
#include "gui/silent_mixer.h"
#include "platform/text_codec.h"
#include "ui/controls.h"
#include "ui/design.h"
#include "ui/message_renderer.h"

namespace {

/* A clock that jumps to every deadline, and a click on the message area at every
   processing of events. */
class ClickingBackend : public gui::Backend {
 public:
  uint32_t ticks() override { return now_; }
  std::optional<gui::RawInput> nextInput() override {
    if (step_++ % 3 == 2) return std::nullopt;
    gui::RawInput in;
    in.type = step_ % 3 == 1 ? gui::RawInput::Press : gui::RawInput::Release;
    in.place = gui::Place::MessageArea;
    return in;
  }
  void wait(gui::Wait, std::optional<uint32_t> deadline) override {
    now_ = deadline ? *deadline : now_ + 1;
  }
  void present(gui::FrameSource&) override {}
  void setTitle(const std::string&) override {}
  void setCursor(gui::Cursor) override {}
  int ask(const gui::MessageBox&) override { return 0; }
  gui::Mixer& mixer() override { return mixer_; }

 private:
  uint32_t now_ = 0;
  unsigned step_ = 0;
  gui::SilentMixer mixer_{[this] { return now_; }};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One window for all inputs (making its controls takes longer than most messages); each
  // input types on a renderer of its own, which clears the area first.
  static ClickingBackend backend;
  static gui::Form form(backend, ui::design::kClientWidth, ui::design::kClientHeight);
  static ui::Controls controls = ui::createControls(form);
  ui::MessageRenderer renderer(form, *controls.MES);
  controls.MES->onClick = [&] { renderer.clicked(); };
  controls.MES->setFontSize(14);  // the form is never shown: no frame is composed
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (int messages = 0; messages < 8 && !rest.empty(); ++messages) {
    const size_t end = rest.find('\n');
    const engine::Text text = platform::decodeCp932(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    try {
      renderer.MESHG(text);
    } catch (const engine::ScriptError& e) {
      FUZZ_EXPECT(e.word == engine::kNotANumber || e.word == engine::kOutOfRange);
    }
    const auto rows = renderer.traceRows();
    FUZZ_EXPECT(rows.is_array() && rows.size() == 2);
  }
  controls.MES->onClick = nullptr;
  return 0;
}
