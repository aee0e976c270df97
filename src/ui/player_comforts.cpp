#include "ui/player_comforts.h"

#include <algorithm>

#include "platform/text_codec.h"

namespace ui {

using gui::MenuButton;

namespace {

constexpr int kSlotsPerPage = 6;
constexpr int kSlotPages = GameSaves::kSlots / kSlotsPerPage;
constexpr int kVolumeStep = 10;

std::u32string u32(const std::string& utf8) { return platform::fromUtf8(utf8); }

const char32_t* const kTextSpeedNames[Settings::kTextSpeeds] = {U"標準 As written", U"2倍 x2",
                                                                U"4倍 x4", U"すぐに At once"};

}  // namespace

PlayerComforts::PlayerComforts(gui::Form& form, Settings& settings, GameSaves* saves,
                               record::Recorder& recorder, ComfortActions actions)
    : form_(form),
      settings_(settings),
      saves_(saves),
      recorder_(recorder),
      actions_(std::move(actions)),
      menu_(form) {
  form_.addLayer(menu_);
  menu_.onTab = [this] { toggle(); };
  menu_.onSpoken = [this](const std::u32string& text) {
    if (actions_.speak) actions_.speak(platform::toUtf8(text));
  };
  menu_.onBack = [this](int depth) {
    if (depth == 1) refreshMain();  // what a page below changed shows on the first
  };
}

/* The game stands still while the menu is open: the form handles only input until it
   closes. */
void PlayerComforts::toggle() {
  if (menu_.isOpen()) return menu_.close();
  menu_.push(U"メニュー Menu", mainItems());
  recorder_.record("player-menu", {{"open", true}});
  form_.holdWhile([this] { return menu_.isOpen(); });
  recorder_.record("player-menu", {{"open", false}});
}

std::vector<MenuButton> PlayerComforts::mainItems() {
  auto then = [this](std::function<void()> action) {
    return [this, action] {
      menu_.close();
      if (action) action();
    };
  };
  auto item = [](std::u32string caption, std::function<void()> action, std::u32string detail = {},
                 bool marked = false) {
    MenuButton b;
    b.caption = std::move(caption), b.action = std::move(action), b.detail = std::move(detail);
    b.marked = marked;
    return b;
  };
  const bool autoOn = actions_.autoOn && actions_.autoOn();
  const bool skipOn = actions_.skipReadOn && actions_.skipReadOn();
  return {
      item(U"セーブ Save", [this] { showSlots(true, 0); }),
      item(U"ロード Load", [this] { showSlots(false, 0); }),
      item(U"ひとつ前の選択肢へ Back to the last choice", then(actions_.rewind)),
      item(U"既読スキップ Skip read text", then(actions_.toggleSkipRead), skipOn ? U"オン On" : U"",
           skipOn),
      item(U"オート Auto", then(actions_.toggleAuto), autoOn ? U"オン On" : U"", autoOn),
      item(
          U"文字の速さ Text speed", [this] { showTextSpeed(); },
          kTextSpeedNames[std::clamp(settings_.textSpeed, 0, Settings::kTextSpeeds - 1)]),
      item(
          U"音量 Volume", [this] { showVolume(); },
          settings_.muted ? U"消音 Muted"
                          : u32("音楽 " + std::to_string(settings_.volume) + "%  効果音 " +
                                std::to_string(settings_.soundVolume) + "%")),
      toggleItem(U"全画面 Full screen", &Settings::fullscreen),
      toggleItem(U"読み上げ Read aloud", &Settings::readAloud),
      toggleItem(U"本文をコピー Copy text", &Settings::copyText),
      item(U"履歴 Backlog", then(actions_.backlog)),
      item(U"操作説明 Controls", [this] { showControls(); }),
      item(U"はじめから Restart",
           [this] { confirm(U"はじめからやり直しますか？ Restart?", actions_.restart); }),
      item(U"終了 Quit", then(actions_.quit)),
      item(U"閉じる Close", [this] { menu_.close(); }),
  };
}

/* An item that turns a setting on and off, showing which it is. */
MenuButton PlayerComforts::toggleItem(std::u32string caption, bool Settings::*setting) {
  MenuButton b;
  b.caption = std::move(caption);
  b.marked = settings_.*setting;
  b.detail = b.marked ? U"オン On" : U"オフ Off";
  b.action = [this, setting] {
    settings_.*setting = !(settings_.*setting);
    if (actions_.settingsChanged) actions_.settingsChanged();
    refreshMain();
  };
  return b;
}

void PlayerComforts::refreshMain() { menu_.replace(U"メニュー Menu", mainItems()); }

std::u32string PlayerComforts::slotHeading(bool saving, int page) {
  return u32(std::string(saving ? "セーブ Save" : "ロード Load") + "  " + std::to_string(page + 1) +
             "/" + std::to_string(kSlotPages));
}

void PlayerComforts::showSlots(bool saving, int page) {
  menu_.push(slotHeading(saving, page), slotItems(saving, page), gui::PlayerMenu::kSlotColumns);
}

/* Six slots (their number, and the month, day and time of saving), then the buttons to the
   pages before and after and back. */
std::vector<MenuButton> PlayerComforts::slotItems(bool saving, int page) {
  std::vector<MenuButton> items;
  for (int i = 0; i < kSlotsPerPage; ++i) {
    const int slot = page * kSlotsPerPage + i + 1;
    MenuButton b;
    const GameSaves::SlotSummary s = saves_ ? saves_->summary(slot) : GameSaves::SlotSummary{};
    const std::string when = s.info.savedAt.size() > 5 ? s.info.savedAt.substr(5) : "";
    b.caption = u32(std::to_string(slot) + (s.used ? "  " + when : "  ---"));
    b.detail = u32(s.info.words);
    b.picture = s.thumbnail;
    b.action = [this, saving, slot, page] { chooseSlot(saving, slot, page); };
    items.push_back(std::move(b));
  }
  auto turn = [this, saving](int to) {
    return [this, saving, to] {
      menu_.replace(slotHeading(saving, to), slotItems(saving, to), gui::PlayerMenu::kSlotColumns);
    };
  };
  items.push_back({U"← 前 Previous", {}, {}, false, turn((page + kSlotPages - 1) % kSlotPages)});
  items.push_back({U"次 Next →", {}, {}, false, turn((page + 1) % kSlotPages)});
  items.push_back({U"戻る Back", {}, {}, false, [this] { menu_.back(); }});
  return items;
}

void PlayerComforts::chooseSlot(bool saving, int slot, int page) {
  if (!saving) return actions_.loadSlot(slot);
  auto save = [this, slot, page] {
    actions_.saveSlot(slot);
    menu_.replace(slotHeading(true, page), slotItems(true, page), gui::PlayerMenu::kSlotColumns);
  };
  if (saves_ && saves_->summary(slot).used)
    confirm(u32("スロット " + std::to_string(slot) + " に上書きしますか？ Overwrite?"), save);
  else
    save();
}

void PlayerComforts::confirm(const std::u32string& question, std::function<void()> yes) {
  menu_.push(question, {{U"はい Yes",
                         {},
                         {},
                         false,
                         [this, yes] {
                           menu_.back();
                           if (yes) yes();
                         }},
                        {U"いいえ No", {}, {}, false, [this] { menu_.back(); }}});
}

void PlayerComforts::showTextSpeed() {
  std::vector<MenuButton> items;
  for (int speed = 0; speed < Settings::kTextSpeeds; ++speed)
    items.push_back({kTextSpeedNames[speed], {}, {}, settings_.textSpeed == speed, [this, speed] {
                       settings_.textSpeed = speed;
                       if (actions_.settingsChanged) actions_.settingsChanged();
                       menu_.back();
                     }});
  items.push_back({U"戻る Back", {}, {}, false, [this] { menu_.back(); }});
  menu_.push(U"文字の速さ Text speed", std::move(items));
}

void PlayerComforts::showVolume() { menu_.push(U"音量 Volume", volumeItems()); }

/* Music and sounds apart, in steps of 10%, and mute for both. */
std::vector<MenuButton> PlayerComforts::volumeItems() {
  auto changed = [this] {
    if (actions_.settingsChanged) actions_.settingsChanged();
    menu_.replace(U"音量 Volume", volumeItems());
  };
  auto step = [this, changed](int Settings::*volume, int by) {
    return [this, changed, volume, by] {
      settings_.*volume = std::clamp(settings_.*volume + by * kVolumeStep, 0, 100);
      settings_.muted = false;
      changed();
    };
  };
  const auto percent = [](int v) { return u32(std::to_string(v) + "%"); };
  return {{U"音楽を上げる Music louder",
           percent(settings_.volume),
           {},
           false,
           step(&Settings::volume, 1)},
          {U"音楽を下げる Music softer", {}, {}, false, step(&Settings::volume, -1)},
          {U"効果音を上げる Sounds louder",
           percent(settings_.soundVolume),
           {},
           false,
           step(&Settings::soundVolume, 1)},
          {U"効果音を下げる Sounds softer", {}, {}, false, step(&Settings::soundVolume, -1)},
          {U"消音 Mute",
           settings_.muted ? U"オン On" : U"オフ Off",
           {},
           settings_.muted,
           [this, changed] {
             settings_.muted = !settings_.muted;
             changed();
           }},
          {U"戻る Back", {}, {}, false, [this] { menu_.back(); }}};
}

void PlayerComforts::showControls() {
  static const std::pair<const char32_t*, const char32_t*> kRows[] = {
      {U"メニュー Menu", U"F1 / Start / 2本指タップ / 右上のタブ"},
      {U"読み進める Read on", U"クリック / Return / Space / A"},
      {U"選ぶ Choose", U"矢印 + Return / D-pad + A / 1..8"},
      {U"メニューを隠す Hide menu", U"右クリック / Escape / B"},
      {U"スキップ Skip", U"Ctrl (押している間) / S / X"},
      {U"オート Auto", U"A キー / Y"},
      {U"履歴 Backlog", U"PageUp / ホイール上 / LB"},
      {U"ひとつ前へ Back", U"Ctrl+Z"},
      {U"セーブ / ロード Quick", U"F5 / F9 (Back = F5)"},
      {U"音量 Volume", U"- / = / M"},
      {U"全画面 Full screen", U"F11 / Alt+Return"},
      {U"スクリーンショット", U"F12"},
  };
  std::vector<MenuButton> items;
  for (const auto& [what, how] : kRows) items.push_back({what, how, {}, false, {}});
  items.push_back({U"戻る Back", {}, {}, false, [this] { menu_.back(); }});
  menu_.push(U"操作説明 Controls", std::move(items));
}

}  // namespace ui
