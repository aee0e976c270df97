#include "gui/form.h"

#include <algorithm>

#include "gui/shade.h"
#include "platform/text_codec.h"

namespace gui {

/* What the backend presents: the frame alone while no layer shows (only what changed is
   sent), else the frame with the layers over it, sent whole. */
class Form::Screen final : public FrameSource {
 public:
  explicit Screen(Form& form) : form_(form) {}
  const formats::Image& frame() override { return form_.screen(); }
  formats::Image composeWhole() override {
    formats::Image whole = form_.composeWhole();
    if (form_.layerShows()) form_.paintLayers(whole);
    return whole;
  }
  std::vector<formats::Rect> takeChanged() override {
    std::vector<formats::Rect> changed = form_.takeChanged();
    const bool shows = form_.layerShows();
    if (shows || shownBefore_ || form_.layersDirty_) changed.assign(1, form_.frame_.bounds());
    shownBefore_ = shows;
    form_.layersDirty_ = false;
    return changed;
  }

 private:
  Form& form_;
  bool shownBefore_ = false;
};

/* A short line about what a comfort did, in a dark band at the top of the picture area. */
class Form::Notice final : public Layer {
 public:
  bool shows() const override { return !text_.empty(); }
  void set(std::u32string text) { text_ = std::move(text); }
  // One band at the top; lines break at "\n" and where they would leave the screen.
  void paint(formats::Image& screen) override {
    if (!font_) font_ = Font::get({Face::Gothic, 12, false});
    const std::vector<std::u32string> rows = wrapped(screen.width() - 24);
    int w = 0;
    for (const auto& row : rows) w = std::max(w, font_->measure(row));
    w += 16;
    const int h = font_->height() * static_cast<int>(rows.size()) + 8;
    const formats::Rect band{(screen.width() - w) / 2, 8, w, h};
    shade(screen, band, formats::rgb(0, 0, 0), 180);
    for (size_t i = 0; i < rows.size(); ++i)
      font_->draw(screen, band.x + 8, band.y + 4 + font_->height() * static_cast<int>(i), rows[i],
                  formats::rgb(255, 255, 255), band);
  }

 private:
  std::vector<std::u32string> wrapped(int width) const {
    std::vector<std::u32string> rows{{}};
    for (char32_t c : text_) {
      if (c == U'\n') {
        rows.emplace_back();
        continue;
      }
      if (!rows.back().empty() && font_->measure(rows.back() + c) > width) rows.emplace_back();
      rows.back() += c;
    }
    return rows;
  }

  std::u32string text_;
  std::shared_ptr<Font> font_;
};

Form::Form(Backend& backend, int width, int height, bool drawing)
    : backend_(backend),
      frame_(drawing ? formats::Image(width, height) : formats::Image()),
      damage_{frame_.bounds()},
      drawing_(drawing),
      notice_(std::make_unique<Notice>()),
      screen_(std::make_unique<Screen>(*this)) {}

Form::~Form() = default;

bool Form::layerShows() const {
  return notice_->shows() ||
         std::any_of(layers_.begin(), layers_.end(), [](const Layer* l) { return l->shows(); });
}

const formats::Image& Form::screen() {
  const formats::Image& game = frame();
  if (!layerShows()) return game;
  screenImage_ = game;
  paintLayers(screenImage_);
  return screenImage_;
}

void Form::paintLayers(formats::Image& screen) {
  for (Layer* l : layers_)
    if (l->shows()) l->paint(screen);
  if (notice_->shows()) notice_->paint(screen);
}

/* Only the notice's timer runs meanwhile, so a notice goes away in its time. */
void Form::holdWhile(const std::function<bool()>& open) {
  const uint32_t start = backend_.ticks();
  while (open()) {
    presentIfDirty();
    const bool noticing = noticeTimer_ && noticeTimer_->enabled();
    backend_.wait(Wait::Input, noticing ? std::optional(noticeTimer_->due()) : std::nullopt);
    if (noticing) noticeTimer_->tick(backend_.ticks());
    while (open())
      if (auto in = backend_.nextInput()) {
        dispatch(*in);
      } else {
        break;
      }
  }
  rebaseClock(static_cast<int32_t>(backend_.ticks() - start));
  presentIfDirty();
}

template <class C, class... Args>
C& Form::add(Args&&... args) {
  controls_.push_back(std::make_unique<C>(*this, std::forward<Args>(args)...));
  return static_cast<C&>(*controls_.back());
}

Label& Form::addLabel(Control* parent, formats::Rect rect, FontSpec font) {
  return add<Label>(parent, rect, font);
}

PictureBox& Form::addPictureBox(Control* parent, formats::Rect rect, bool sunkenBorder) {
  return add<PictureBox>(parent, rect, sunkenBorder);
}

Timer& Form::addTimer(int intervalMs) {
  timers_.push_back(std::make_unique<Timer>(*this, intervalMs));
  return *timers_.back();
}

void Form::addPlace(Place place, int index, const Control& control,
                    std::optional<formats::Point> offset) {
  places_.push_back({place, index, &control, offset});
}

formats::Point Form::pointOf(Place place, int index) const {
  for (const PlaceEntry& p : places_) {
    if (p.place != place || p.index != index) continue;
    const formats::Rect r = p.control->screenRect();
    return p.offset ? formats::Point{r.x + p.offset->x, r.y + p.offset->y} : r.centre();
  }
  return {};
}

void Form::show() {
  if (shown_) return;
  shown_ = true;
  backend_.setTitle(caption_);
  invalidate();
  presentIfDirty();
}

void Form::setCursor(Cursor c) {
  if (c == cursor_) return;
  cursor_ = c;
  backend_.setCursor(c);
}

void Form::doEvents() {
  while (auto in = backend_.nextInput()) {
    passes_ = 0;
    ++inputs_;
    dispatch(*in);
  }
  const uint32_t now = backend_.ticks();
  for (auto& t : timers_) t->tick(now);
  presentIfDirty();
}

void Form::waitForUser(WaitKind kind, const std::function<bool()>& answered) {
  const std::optional<WaitKind> outer = waiting_;
  waiting_ = kind;
  markSite();
  reannounce_ = false;
  if (onWait) onWait(kind);
  for (;;) {
    doEvents();
    if (onWaitPass) onWaitPass();
    if (answered()) break;
    if (reannounce_ && onWait) onWait(kind);
    reannounce_ = false;
    if (const auto due = busyUntil ? busyUntil() : std::nullopt) {
      sleepUntil(*due);
    } else {
      idle(Wait::Input);
    }
  }
  waiting_ = outer;
}

void Form::showNotice(const std::string& text, uint32_t ms) {
  if (!noticeTimer_) {
    noticeTimer_ = &addTimer(static_cast<int>(ms));
    noticeTimer_->onTimer = [this] {
      noticeTimer_->setEnabled(false);
      notice_->set({});
      layersChanged();
    };
  }
  notice_->set(platform::fromUtf8(text));
  layersChanged();
  noticeTimer_->setEnabled(false);
  noticeTimer_->setInterval(static_cast<int>(ms));
  noticeTimer_->setEnabled(true);
}

std::optional<uint32_t> Form::nextTimerDue() const {
  std::optional<uint32_t> due;
  for (const auto& t : timers_) {
    if (!t->enabled() || (sleepsWhenIdle_ && !t->wakes())) continue;
    const uint32_t at = sleepsWhenIdle_ ? t->wakeAt() : t->due();
    if (!due || static_cast<int32_t>(at - *due) < 0) due = at;
  }
  return due;
}

void Form::idle(Wait why) {
  passes_ = 0;
  presentIfDirty();
  backend_.wait(why, nextTimerDue());
}

void Form::sleepUntil(uint32_t tick) {
  presentIfDirty();
  auto due = nextTimerDue();
  if (due && static_cast<int32_t>(*due - tick) < 0) tick = *due;
  backend_.wait(Wait::Time, tick);
}

void Form::block(uint32_t ms) {
  presentIfDirty();
  backend_.wait(Wait::Blocked, backend_.ticks() + ms);
}

void Form::loopPass() {
  if (++passes_ >= kPollPasses) rest(Wait::Poll);
}

void Form::restIdle() { rest(sleepsWhenIdle_ ? Wait::Idle : Wait::Poll); }

void Form::rest(Wait why) {
  const std::optional<WaitKind> outer = waiting_;
  waiting_ = WaitKind::Poll;
  markSite();
  if (onWait) onWait(WaitKind::Poll);
  idle(why);
  waiting_ = outer;
}

void Form::setPresenting(bool on) {
  presenting_ = on;
  if (on) {
    invalidate();
    presentIfDirty();
  }
}

void Form::rebaseClock(int32_t delta) {
  for (auto& t : timers_) t->rebase(delta);
}

void Form::announceAgain() {
  if (waiting_ && onWait) onWait(*waiting_);
}

/* Hidden and disabled controls take no mouse events: a press on one reaches whatever
   lies beneath it. Later controls lie above earlier ones, children above their parent. */
Control* Form::hitTest(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    Control* c = it->get();
    if (c->screenRect().contains(x, y) && c->receivesMouse()) return c;
  }
  return nullptr;
}

void Form::dispatch(RawInput in, bool fromUser) {
  if (fromUser && in.type != RawInput::Close && onPlayerInput && onPlayerInput(in)) return;
  switch (in.type) {
    case RawInput::Close:
      if (onClose) onClose();
      return;
    case RawInput::KeyDown:
    case RawInput::KeyUp:
    case RawInput::Wheel:
    case RawInput::ButtonDown:
    case RawInput::ButtonUp:
    case RawInput::Request:
      if (onKey) onKey(in);
      return;
    case RawInput::Motion:
      return;
    case RawInput::Press:
      if (fromUser && onMouseAction) onMouseAction();
      break;
    case RawInput::Release:
      break;
  }
  if (in.place != Place::None) {
    const formats::Point p = pointOf(in.place, in.index);
    in.x = p.x, in.y = p.y;
  }
  if (in.type == RawInput::Press) {
    if (capture_) return;  // a second button while one is held goes to the same control
    Control* target = hitTest(in.x, in.y);
    bool isDouble = in.doubleClick && target && target == lastPressed_;
    lastPressed_ = target;
    if (!target) return;
    capture_ = target;
    captureButton_ = in.button;
    captureIsDouble_ = isDouble;
    formats::Rect r = target->screenRect();
    MouseArgs args{in.button, in.x - r.x, in.y - r.y};
    // The second press of a double click is the double-click event, not a mouse-down.
    if (isDouble) {
      if (target->onDblClick) target->onDblClick();
    } else if (target->onMouseDown) {
      target->onMouseDown(args);
    }
    return;
  }
  if (!capture_ || in.button != captureButton_) return;
  Control* target = capture_;
  bool wasDouble = captureIsDouble_;
  capture_ = nullptr;
  formats::Rect r = target->screenRect();
  MouseArgs args{in.button, in.x - r.x, in.y - r.y};
  if (target->onMouseUp) target->onMouseUp(args);
  if (!wasDouble && r.contains(in.x, in.y) && target->receivesMouse() && target->onClick)
    target->onClick();
}

void Form::invalidate() {
  damage_.assign(1, frame_.bounds());
  unpresented_ = true;
}

void Form::invalidate(const Control& control) {
  unpresented_ = true;
  if (!drawing_) return;  // no frame to compose
  formats::Rect r = control.screenRect();
  for (const auto& c : controls_)
    for (const Control* p = c->parent(); p; p = p->parent())
      if (p == &control) {
        const formats::Rect cr = c->screenRect();
        const int x2 = std::max(r.x + r.w, cr.x + cr.w), y2 = std::max(r.y + r.h, cr.y + cr.h);
        r.x = std::min(r.x, cr.x), r.y = std::min(r.y, cr.y);
        r.w = x2 - r.x, r.h = y2 - r.y;
        break;
      }
  addDamage(r);
}

/* Many small changes between two frames are merged into one rectangle around them. */
void Form::addDamage(formats::Rect r) {
  r = r.intersect(frame_.bounds());
  if (r.empty()) return;
  for (const formats::Rect& d : damage_)
    if (d.intersect(r).w == r.w && d.intersect(r).h == r.h) return;
  damage_.push_back(r);
  if (damage_.size() <= 8) return;
  formats::Rect all = damage_.front();
  for (const formats::Rect& d : damage_) {
    const int x2 = std::max(all.x + all.w, d.x + d.w), y2 = std::max(all.y + all.h, d.y + d.h);
    all.x = std::min(all.x, d.x), all.y = std::min(all.y, d.y);
    all.w = x2 - all.x, all.h = y2 - all.y;
  }
  damage_.assign(1, all);
}

void Form::shownInOrder(const Control* parent, std::vector<Control*>& out) const {
  for (const auto& c : controls_) {
    if (c->parent() != parent || !c->visible()) continue;
    out.push_back(c.get());
    shownInOrder(c.get(), out);
  }
}

/* A control paints only inside its own rectangle, but paints all of it. So the area to
   compose grows by every shown control that meets it, until no other does; there the
   background is filled and those controls paint in their usual order, which gives
   exactly the pixels of composing the whole frame. */
void Form::compose() {
  std::vector<Control*> shown;
  shownInOrder(nullptr, shown);
  std::vector<bool> paints(shown.size(), false);
  std::vector<formats::Rect> area = damage_;
  for (bool grew = true; grew;) {
    grew = false;
    for (size_t i = 0; i < shown.size(); ++i) {
      if (paints[i]) continue;
      const formats::Rect r = shown[i]->screenRect();
      for (const formats::Rect& a : area)
        if (!a.intersect(r).empty()) {
          paints[i] = grew = true;
          area.push_back(r.intersect(frame_.bounds()));
          break;
        }
    }
  }
  for (const formats::Rect& a : area) frame_.fill(a, back_);
  for (size_t i = 0; i < shown.size(); ++i)
    if (paints[i]) shown[i]->render(frame_);
  changed_.insert(changed_.end(), area.begin(), area.end());
  damage_.clear();
}

const formats::Image& Form::frame() {
  if (!damage_.empty()) compose();
  return frame_;
}

formats::Image Form::composeWhole() {
  formats::Image whole(frame_.width(), frame_.height(), back_);
  std::vector<Control*> shown;
  shownInOrder(nullptr, shown);
  for (Control* c : shown) c->render(whole);
  return whole;
}

std::vector<formats::Rect> Form::takeChanged() {
  frame();
  std::vector<formats::Rect> out;
  out.swap(changed_);
  return out;
}

void Form::presentIfDirty() {
  if (!shown_ || !unpresented_ || !presenting_) return;
  unpresented_ = false;
  backend_.present(*screen_);
}

}  // namespace gui
