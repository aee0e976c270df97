#include "ui/text_readers.h"

namespace ui {

TextReaders::TextReaders(std::ostream* textOut, TextServices services, const Settings& settings)
    : out_(textOut),
      services_(std::move(services)),
      settings_(settings),
      readAloud_(settings.readAloud),
      copyText_(settings.copyText) {}

void TextReaders::page(record::Recorder::Stamp at, int64_t key, const std::string& text,
                       bool always) {
  if (text.empty() || (key == lastPage_ && !always)) return;
  lastPage_ = key;
  page_ = text;
  menu_.clear();
  out_.page(at, text);
  if (services_.publishPage) services_.publishPage(text);
  if (copyText_ && services_.copy) services_.copy(text);
  if (readAloud_) speak();
}

void TextReaders::menu(record::Recorder::Stamp at, const std::string& heading,
                       const std::vector<platform::LabelText>& labels) {
  std::vector<std::string> captions;
  for (const platform::LabelText& label : labels) captions.push_back(label.caption);
  out_.menu(at, heading, captions);
  if (services_.publishMenu) services_.publishMenu(heading, labels);
  menu_ = spokenMenu(heading, labels);
  if (readAloud_) speak();
}

/* What shows is said whole: the page, and under it the menu waiting for a pick. */
void TextReaders::speak() {
  platform::Speech* voice = speech();
  if (!voice) return;
  std::string text = page_;
  if (!menu_.empty()) text += (text.empty() ? "" : "\n") + menu_;
  voice->say(text);
}

void TextReaders::say(const std::string& text) {
  if (!readAloud_) return;
  if (platform::Speech* voice = speech()) voice->say(text);
}

platform::Speech* TextReaders::speech() { return services_.speech ? services_.speech() : nullptr; }

bool TextReaders::settingsChanged() {
  const bool copyOn = settings_.copyText && !copyText_;
  const bool readOn = settings_.readAloud && !readAloud_,
             readOff = !settings_.readAloud && readAloud_;
  readAloud_ = settings_.readAloud, copyText_ = settings_.copyText;
  if (copyOn && services_.copy && !page_.empty()) services_.copy(page_);
  if (readOff) {
    if (platform::Speech* voice = speech()) voice->say("");
  }
  if (!readOn) return true;
  if (!speech()) return readAloud_ = false;
  speak();
  return true;
}

std::string spokenMenu(const std::string& heading, const std::vector<platform::LabelText>& labels) {
  std::string text = heading;
  for (const platform::LabelText& label : labels)
    text += (text.empty() ? "" : "\n") + std::to_string(label.number) + " " + label.caption;
  return text;
}

}  // namespace ui
