#include "ui/message_renderer.h"

#include <algorithm>
#include <cmath>

#include "engine/script_error.h"
#include "media/timed_wait.h"
#include "platform/text_codec.h"
#include "ui/markup_argument.h"
#include "ui/palette.h"

namespace ui {

using engine::Text;
using engine::TextView;

namespace {

constexpr int kIndent = 5;  // columns of the hanging indent and of a speaker tag
constexpr char32_t kIdeographicSpace = U'\u3000';
constexpr int kTagColor = 12;
constexpr int kUnindentedColor = 1;

}  // namespace

/* Markup that lacks the characters it needs at the end of the text is ignored and the
   call ends; an empty text only clears the area. The page check follows every character
   and every markup, so a message that fills the last row waits before it returns. */
void MessageRenderer::MESHG(const Text& text) {
  struct Typing {
    bool& on;
    ~Typing() { on = false; }
  } typing{typing_ = true};
  clear();
  column_ = row_ = page_ = 0;
  area_ = area();
  pause_ = TypeDelay;
  unindented_ = false;
  for (size_t& i = position_ = 0; i < text.size(); ++i) {
    const size_t count = markupArgumentCount(text[i]);
    if (i + count >= text.size() && count > 0) return;
    handle(text[i], TextView(text).substr(i + 1, count));
    i += count;
    pageCheck();
  }
}

/* Columns per line and the last row follow from the inner size and the font size of
   MES, both in points. An area too small for one row has last row -1, so every page
   check waits. */
MessageRenderer::Area MessageRenderer::area() const {
  const double size = MES.fontSize();
  if (size <= 0) return {};
  return {static_cast<int>(std::floor(MES.innerWidth() / size)),
          static_cast<int>(std::floor(MES.innerHeight() / size)) - 1};
}

void MessageRenderer::appendState(engine::StateKey& key, bool shown) const {
  key.add(typing_);
  if (typing_ || shown) {
    key.add(static_cast<int64_t>(position_));
    key.add(column_);
    key.add(row_);
    key.add(unindented_);
  }
  if (!shown) return;
  key.add(MsgClick);
  for (const Text& name : SpeakerNames) key.add(name);
  key.add(TypeDelay);
  key.add(TextColor);
  key.add(MES.foreColor());
  key.add(platform::fromUtf8(traceRows().dump()));
  key.add(pause_);
}

record::Json MessageRenderer::traceRows() const {
  const int rows = std::max(area().lastRow + 1, 0);
  if (backlog_ > 0) return history_[history_.size() - backlog_].json(rows);
  return record_.json(rows);
}

void MessageRenderer::handle(char32_t markup, TextView arguments) {
  switch (markup) {
    case U'＆':
      return setSpeakerName(arguments);
    case U'＠':
      return setTextColor(arguments);
    case U'＃':
      return setTypeDelay(arguments);
    case U'￥':
      clickWait();
      clear();
      column_ = row_ = 0;
      return;
    case U'＾':
      return lineBreak();
    case U'＜':
      unindented_ = true;
      return useColor(kUnindentedColor);
    case U'＞':
      unindented_ = false;
      return useColor(TextColor);
    case U'：':
      return speakerTag(arguments);
    default:
      return character(markup);
  }
}

void MessageRenderer::setSpeakerName(TextView arguments) {
  SpeakerNames[markupValue(U'＆', arguments)] = Text(arguments.substr(1, 3));
}

void MessageRenderer::setTextColor(TextView arguments) {
  const auto n = static_cast<int16_t>(markupValue(U'＠', arguments));
  TextColor = n;
  useColor(n);
}

/* The pause in effect is left alone: the new speed starts after the next click wait or
   with the next message. */
void MessageRenderer::setTypeDelay(TextView arguments) {
  TypeDelay = static_cast<int16_t>(markupValue(U'＃', arguments) * 10);
}

// A line break only ends a line that has something on it: never an empty line.
void MessageRenderer::lineBreak() {
  if (column_ == 0) return;
  column_ = 0;
  ++row_;
  newLine();
}

/* A tag starts a line of its own: on the last row that means a new page. The tag takes
   the indent's five columns whatever the name's length, and the speech after it is in
   the normal colour, also in unindented mode. */
void MessageRenderer::speakerTag(TextView arguments) {
  const Text& name = SpeakerNames[markupValue(U'：', arguments)];
  if (column_ > 0) {
    if (row_ == area_.lastRow) {
      clickWait();
      clear();
      row_ = 0;
    } else {
      newLine();
      ++row_;
    }
  }
  useColor(kTagColor);
  put(U'「');
  for (char32_t c : name) put(c);
  put(U'」');
  useColor(TextColor);
  column_ = kIndent;
}

/* Normal text starts each line after a five-column indent; unindented text uses the
   full width. Every character counts as one column, whatever its width. */
void MessageRenderer::character(char32_t c) {
  if (!unindented_ && column_ == 0) {
    for (int i = 0; i < kIndent; ++i) put(kIdeographicSpace);
    column_ = kIndent;
  }
  put(c);
  ++column_;
  typingPause();
  if (column_ >= area_.columnsPerLine) {
    column_ = 0;
    ++row_;
    newLine();
  }
}

void MessageRenderer::pageCheck() {
  if (row_ <= area_.lastRow) return;
  clickWait();
  clear();
  column_ = row_ = 0;
}

/* A click on the message or picture area sets MsgClick; a click made before the wait
   began is forgotten. The custom pointer shows while the wait lasts. */
void MessageRenderer::clickWait() {
  MsgClick = kNoClick;
  form_.setCursor(gui::Cursor::Custom);
  form_.waitForUser(gui::WaitKind::Click, [this] { return MsgClick != kNoClick || skipping_; });
  ++page_;
  leaveBacklog();
  form_.setCursor(gui::Cursor::Default);
  pause_ = TypeDelay;
}

/* A click while text is typed lets the pause in progress run out and types the rest of
   the page without pauses; it does not turn the page. */
void MessageRenderer::typingPause() {
  if (pause_ <= 0 || skipping_) return;
  MsgClick = kNoClick;
  media::TWAIT(form_, typed(pause_));
  if (MsgClick == kClicked) pause_ = 0;
}

int16_t MessageRenderer::typed(int16_t pause) const {
  static constexpr int kDivisor[] = {1, 2, 4};
  if (textSpeed_ <= 0) return pause;
  if (textSpeed_ >= 3) return 1;
  return static_cast<int16_t>(std::max(1, pause / kDivisor[textSpeed_]));
}

std::u32string MessageRenderer::pageText() const {
  std::u32string text;
  for (const MessageRecord::Row& row : record_.rows()) {
    for (const MessageRecord::Run& run : row)
      for (char32_t c : run.text)
        if (c != kIdeographicSpace) text += c;
  }
  return text;
}

std::u32string MessageRenderer::pageRows() const {
  std::u32string text, pendingBreaks;
  for (const MessageRecord::Row& row : record_.rows()) {
    std::u32string line;
    for (const MessageRecord::Run& run : row) line += run.text;
    if (line.empty()) {
      pendingBreaks += U'\n';
      continue;
    }
    text += (text.empty() ? std::u32string() : pendingBreaks + U'\n') + line;
    pendingBreaks.clear();
  }
  return text;
}

void MessageRenderer::clear() {
  MES.cls();
  if (!record_.empty()) {
    history_.push_back(record_);
    if (history_.size() > kBacklogPages) history_.pop_front();
  }
  record_.clear();
}

bool MessageRenderer::backlogBack() {
  if (static_cast<size_t>(backlog_) >= history_.size()) return false;
  if (backlog_ == 0) live_ = MES.drawing();
  ++backlog_;
  showBacklogPage();
  return true;
}

bool MessageRenderer::backlogForward() {
  if (backlog_ == 0) return false;
  if (--backlog_ == 0) {
    leaveBacklog();
  } else {
    showBacklogPage();
  }
  return true;
}

/* A page is drawn again from its record: the same characters in the same colours, row
   by row, give the same pixels. */
void MessageRenderer::showBacklogPage() {
  const MessageRecord& page = history_[history_.size() - backlog_];
  MES.cls();
  bool first = true;
  for (const MessageRecord::Row& row : page.rows()) {
    if (!first) MES.newLine();
    first = false;
    for (const MessageRecord::Run& run : row) {
      MES.setForeColor(run.color);
      MES.print(run.text);
    }
  }
}

void MessageRenderer::leaveBacklog() {
  backlog_ = 0;
  if (live_) MES.restore(*live_);
  live_.reset();
}

void MessageRenderer::put(char32_t c) {
  MES.print(TextView(&c, 1));
  record_.add(MES.foreColor(), c);
}

void MessageRenderer::newLine() {
  MES.newLine();
  record_.newLine();
}

void MessageRenderer::useColor(int number) { MES.setForeColor(kPalette[number]); }

}  // namespace ui
