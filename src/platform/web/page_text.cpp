// A page: the text is published where screen readers find it (the page's toramiReaders
// keeps a live region and a button for each label), spoken by the page's speech
// synthesis, and copied through the page's clipboard. Outside a page (the engine's tests
// under node) each of them does nothing.
#include <emscripten.h>

#include <string>
#include <vector>

#include "platform/port.h"

namespace platform {
namespace {

// 0: the page has no speech synthesis; 1: it has a Japanese voice; 2: it has none. The
// browser may hand its voices over a moment after the page starts: the answer waits for
// them a little.
// clang-format off
EM_ASYNC_JS(int, openPageSpeech, (), {
  if (typeof speechSynthesis == 'undefined' || typeof SpeechSynthesisUtterance == 'undefined')
    return 0;
  const japanese = () =>
    speechSynthesis.getVoices().some((v) => String(v.lang).toLowerCase().startsWith('ja'));
  if (!speechSynthesis.getVoices().length) {
    await new Promise((resolve) => {
      speechSynthesis.addEventListener('voiceschanged', resolve, { once: true });
      setTimeout(resolve, 1000);
    });
  }
  return japanese() ? 1 : 2;
});

// What it was saying stops; a text that is not empty is said in Japanese, by a Japanese
// voice when there is one. The utterance is kept until the next, as a browser may drop one
// nothing refers to before it ends.
EM_JS(void, sayOnPage, (const char* text), {
  speechSynthesis.cancel();
  const said = UTF8ToString(text);
  if (!said) return;
  const utterance = new SpeechSynthesisUtterance(said);
  utterance.lang = 'ja-JP';
  const voice =
    speechSynthesis.getVoices().find((v) => String(v.lang).toLowerCase().startsWith('ja'));
  if (voice) utterance.voice = voice;
  Module.toramiUtterance = utterance;
  speechSynthesis.speak(utterance);
});

// Refusals (no permission, the page not focused) are the page's to keep quiet about.
EM_JS(void, copyOnPage, (const char* text), {
  if (typeof navigator == 'undefined' || !navigator.clipboard || !navigator.clipboard.writeText)
    return;
  try {
    navigator.clipboard.writeText(UTF8ToString(text)).catch(() => {});
  } catch (e) {
  }
});

EM_JS(void, publishPageText, (const char* text), {
  if (typeof toramiReaders != 'undefined') toramiReaders.page(UTF8ToString(text));
});

EM_JS(void, publishMenuHeading, (const char* heading), {
  if (typeof toramiReaders != 'undefined') toramiReaders.menu(UTF8ToString(heading));
});

EM_JS(void, publishMenuLabel, (int number, const char* caption), {
  if (typeof toramiReaders != 'undefined') toramiReaders.label(number, UTF8ToString(caption));
});
// clang-format on

class PageSpeech : public Speech {
 public:
  void say(const std::string& text) override { sayOnPage(text.c_str()); }
};

}  // namespace

std::unique_ptr<Speech> openSpeech() {
  switch (openPageSpeech()) {
    case 0:
      tell("cannot read aloud: this browser has no speech synthesis");
      return nullptr;
    case 2:
      tell("the browser has no Japanese voice: the text is read with its default voice");
      break;
  }
  return std::make_unique<PageSpeech>();
}

void copyToClipboard(const std::string& text) { copyOnPage(text.c_str()); }

void publishPage(const std::string& text) { publishPageText(text.c_str()); }

void publishMenu(const std::string& heading, const std::vector<LabelText>& labels) {
  publishMenuHeading(heading.c_str());
  for (const LabelText& label : labels) publishMenuLabel(label.number, label.caption.c_str());
}

}  // namespace platform
