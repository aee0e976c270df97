#include "ui/page_turner.h"

#include <fstream>

namespace ui {

namespace {

constexpr uint32_t kNoticeMs = 2000;

}  // namespace

PageTurner::PageTurner(gui::Form& form, MessageRenderer& renderer, record::Recorder& recorder,
                       std::function<void()> turnPage, std::filesystem::path readFile)
    : form_(form),
      renderer_(renderer),
      recorder_(recorder),
      turnPage_(std::move(turnPage)),
      readFile_(std::move(readFile)) {
  if (!readFile_.empty()) {
    std::ifstream in(readFile_);
    for (int64_t page; in >> page;) read_.insert(page);
  }
  form_.busyUntil = [this] { return dueAt(); };
  form_.onWaitPass = [this] { waitPass(); };
}

void PageTurner::setAuto(bool on) {
  if (on == auto_) return;
  auto_ = on;
  recorder_.record("auto", {{"on", on}});
  form_.showNotice(on ? "オート Auto" : "オート終了 Auto off", kNoticeMs);
}

void PageTurner::setSkipRead(bool on) {
  if (on == skipRead_) return;
  skipRead_ = on;
  recorder_.record("skip", {{"on", on}, {"read", true}});
  form_.showNotice(on ? "既読スキップ Skip" : "スキップ終了 Skip off", kNoticeMs);
}

/* A click wait marks its page read once it shows whole; whether it was read before is
   decided first. */
void PageTurner::waitBegins(gui::WaitKind kind, bool fresh, int64_t page) {
  atClick_ = kind == gui::WaitKind::Click;
  if (kind == gui::WaitKind::Menu) {
    setAuto(false);
    setSkipRead(false);
  }
  if (!atClick_ || !fresh) return;
  pageWasRead_ = read_.count(page) > 0;
  markRead(page);
  const auto length = static_cast<uint32_t>(renderer_.pageText().size());
  autoDue_ = form_.ticks() + kAutoBaseMs + kAutoPerCharacterMs * length;
  if (skipRead_ && !pageWasRead_) setSkipRead(false);
}

void PageTurner::playerActed() {
  setAuto(false);
  setSkipRead(false);
}

std::optional<uint32_t> PageTurner::dueAt() const {
  if (!atClick_ || form_.waitingFor() != gui::WaitKind::Click) return std::nullopt;
  if (skipRead_ && pageWasRead_) return form_.ticks();
  if (auto_) return autoDue_;
  return std::nullopt;
}

void PageTurner::waitPass() {
  const auto due = dueAt();
  if (!due || static_cast<int32_t>(form_.ticks() - *due) < 0) return;
  atClick_ = false;  // one turn per page
  turnPage_();
}

void PageTurner::markRead(int64_t page) {
  if (!read_.insert(page).second || readFile_.empty()) return;
  std::ofstream out(readFile_, std::ios::app);
  out << page << '\n';
}

}  // namespace ui
