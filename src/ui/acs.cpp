#include "ui/acs.h"

#include <ctime>

#include "engine/command_table.h"
#include "engine/error_report.h"
#include "engine/file_notes.h"
#include "engine/media_named.h"
#include "engine/run_end.h"
#include "engine/script_error.h"
#include "formats/png_writer.h"
#include "formats/story.h"
#include "media/media_check.h"
#include "media/timed_wait.h"
#include "platform/file_bytes.h"
#include "platform/file_names.h"
#include "platform/text_codec.h"
#include "record/rewind.h"
#include "record/wait_replay.h"
#include "ui/design.h"

namespace ui {

using engine::Text;
using platform::toUtf8;

namespace {

// The chance label: a double click while flag 1 holds 99 sets flag 10 to 99.
// The item menu puts the picked entry in flag 0.
constexpr int kItemFlag = 0;
// How long a notice shows over the game.
constexpr uint32_t kNoticeMs = 2000;
constexpr uint32_t kErrorNoticeMs = 10000;

const char* waitKindName(gui::WaitKind kind) {
  switch (kind) {
    case gui::WaitKind::Click:
      return "click";
    case gui::WaitKind::Menu:
      return "menu";
    case gui::WaitKind::Poll:
      return "poll";
    case gui::WaitKind::End:
      break;
  }
  return "end";
}

}  // namespace

ScriptFile scriptFileOf(const Options& options) {
  if (!options.scriptFile.empty())
    return {options.scriptFile, platform::fromUtf8(options.scriptFile.filename().string())};
  const Text name = U"TORAMI.acs";
  if (auto script = platform::findFile(options.gameFolder, name)) return {*script, name};
  if (auto story = platform::findFile(options.gameFolder, U"TORAMI.story"))
    return {*story, U"TORAMI.story"};
  return {options.gameFolder / "TORAMI.acs", name};
}

Acs::Acs(gui::Backend& backend, Options options, SessionLink link)
    : options_(std::move(options)),
      link_(std::move(link)),
      backend_(backend, !link_.replaySlot.empty(), link_.replay.inputs,
               [this] { return replayPoint(); }),
      form_(backend_, design::kClientWidth, design::kClientHeight, options_.drawing),
      controls_(createControls(form_)),
      folder_(options_.gameFolder),
      ownRecorder_(link_.recorder ? nullptr
                                  : std::make_unique<record::Recorder>(
                                        options_.trace, options_.shotsDir, nullptr,
                                        record::OnRecordFailure{options_.recordFailureEndsRun,
                                                                options_.traceName})),
      recorder_(link_.recorder ? *link_.recorder : *ownRecorder_),
      settings_(link_.settings ? *link_.settings : ownSettings_),
      renderer_(form_, *controls_.MES),
      menu_(
          form_, *controls_.Picture1, *controls_.LBcm, controls_.Label1, state_.menuTable,
          [this](int entry) { showItem(entry); }, recorder_),
      pictures_(*controls_.Picture1, *controls_.Picture2, folder_, recorder_),
      fade_(
          *controls_.Picture1, [this](int16_t ms) { media::TWAIT(form_, ms); }, recorder_),
      music_([this]() -> gui::Mixer& { return mixer(); }, [this] { return form_.ticks(); }, folder_,
             [this](bool on) { controls_.TimerMIDI->setEnabled(on); }, recorder_),
      sounds_([this]() -> gui::Mixer& { return mixer(); }, folder_,
              [this](uint32_t ms) { form_.block(ms); }, recorder_),
      keys_(
          form_, controls_, renderer_, settings_,
          {[this] { settingsChanged(); }, [this] { quickSave(); }, [this] { quickLoad(); },
           [this] { screenshot(); }, [this] { comforts_.toggle(); }, [this] { toggleAuto(); },
           [this] { toggleSkipRead(); }, [this] { rewind(); }, [this](int slot) { saveSlot(slot); },
           [this](int slot) { loadSlot(slot); }, [this](const std::string& from) { reload(from); }},
          recorder_),
      turner_(
          form_, renderer_, recorder_, [this] { turnPageForPlayer(); },
          link_.saves && !link_.saves->folder().empty() ? link_.saves->folder() / "read-pages.txt"
                                                        : std::filesystem::path()),
      comforts_(
          form_, settings_, link_.saves, recorder_,
          {[this](int slot) { saveSlot(slot); }, [this](int slot) { loadSlot(slot); },
           [this] { rewind(); }, [this] { restart(); }, [this] { Form_Unload(); },
           [this] {
             if (form_.waitingFor() == gui::WaitKind::Click && renderer_.backlogBack())
               form_.reannounce();
           },
           [this] { settingsChanged(); }, [this] { toggleAuto(); }, [this] { toggleSkipRead(); },
           [this] { return turner_.autoOn(); }, [this] { return turner_.skipReadOn(); },
           [this](const std::string& text) { readers_.say(text); }}),
      readers_(options_.textOut, options_.text, settings_),
      interpreter_(script_, state_, *this) {
  renderer_.setTextSpeed(settings_.textSpeed);
  form_.onPlayerInput = [this](const gui::RawInput& in) { return comforts_.input(in); };
  form_.takesForPlayer = [this](const gui::RawInput& in) { return comforts_.takes(in); };
  connectHandlers();
  // A media file that cannot be used is silent in the window: say why, once per name.
  pictures_.onFailure = [this](const Text& name) { mediaFailed(media::MediaKind::Picture, name); };
  music_.onFailure = [this](const Text& name) { mediaFailed(media::MediaKind::Music, name); };
  sounds_.onFailure = [this](const Text& name) { mediaFailed(media::MediaKind::Sound, name); };
  form_.onSite = [this] { clock_.markSite(); };
  form_.onWait = [this](gui::WaitKind kind) { writeWait(kind); };
  form_.setSleepsWhenIdle(options_.sleepsWhenIdle);
  form_.onClose = [this] { Form_Unload(); };
  recorder_.setStamp([this] { return stamp(); });
  backend_.onHandOver = [this](int32_t delta) { handOver(delta); };
  backend_.onLiveInput = [this](const record::RecordedInput& in) { liveInput(in); };
  if (!options_.drawing) pictures_.setDeferred(true);
  if (reloading()) {
    // Replayed onto a changed script, the input goes into the saved game anew, at the
    // points of this run.
    backend_.setLandsWhereItStops(true);
    backend_.onReplayedInput = [this](const gui::RawInput& in) {
      if (link_.saves) link_.saves->record({clock_.point(), in});
    };
  }
  if (backend_.replaying()) {
    recorder_.setMuted(true);
    form_.setPresenting(false);
    pictures_.setDeferred(!link_.decodeEveryPicture);
  }
}

Acs::~Acs() {
  recorder_.setStamp(nullptr);
  recorder_.setMuted(false);
}

/* The replay is done and the engine waits where the game was saved: from here on the
   clock is the live one, the picture shows, the music of that moment plays. */
void Acs::handOver(int32_t delta) {
  if (!pictures_.settle()) throw PictureMismatch{};
  form_.rebaseClock(delta);
  mixerOpen_ = false;
  music_.reopen();
  sounds_.reset();
  recorder_.setMuted(false);
  if (link_.replaySlot == "rewind") {
    recorder_.record("rewind", {{"ok", true}});
    form_.showNotice("ひとつ前の選択肢へ Back", kNoticeMs);
  } else if (reloading()) {
    announceReload();
  } else if (link_.replaySlot == "reload-failed") {
    reloadFailed({}, link_.reloadFailure);
  } else {
    recorder_.record("load", {{"slot", link_.replaySlot}, {"ok", true}});
    if (!link_.replaySlot.empty() && link_.replaySlot != "continue")
      form_.showNotice("ロードしました Loaded", kNoticeMs);
  }
  form_.setPresenting(true);
  form_.announceAgain();
}

/* Input for the player's menu is no part of the game; input that plays the game ends
   auto and skip read text. */
void Acs::liveInput(const record::RecordedInput& in) {
  if (form_.forPlayer(in.input) || !KeyControls::affectsGame(in.input)) return;
  if (link_.saves) link_.saves->record(in);
  const auto type = in.input.type;
  if (type == gui::RawInput::Press || type == gui::RawInput::KeyDown ||
      type == gui::RawInput::ButtonDown || type == gui::RawInput::Wheel)
    turner_.playerActed();
}

void Acs::quickSave() {
  const bool ok = link_.saves && link_.saves->saveQuick();
  recorder_.record("save", {{"slot", "quick"}, {"ok", ok}});
  form_.showNotice(ok ? "セーブしました Saved" : "セーブできません Not saved", kNoticeMs);
}

/* A slot keeps, beside the game, what the player's menu shows of it: the time, the first
   words of the message, the screen a quarter of its size. */
void Acs::saveSlot(int slot) {
  record::SaveInfo info;
  const std::time_t now = std::time(nullptr);
  char when[32] = "";
  if (const std::tm* local = std::localtime(&now))
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", local);
  info.savedAt = when;
  info.words = toUtf8(renderer_.pageText().substr(0, 16));
  const bool ok = link_.saves && slot >= 1 && slot <= GameSaves::kSlots &&
                  link_.saves->saveSlot(slot, info, form_.frame().shrunk(4));
  recorder_.record("save", {{"slot", GameSaves::slotName(slot)}, {"ok", ok}});
  form_.showNotice(ok ? "セーブしました Saved" : "セーブできません Not saved", kNoticeMs);
}

void Acs::loadSlot(int slot) {
  if (link_.saves && link_.saves->slot(slot))
    throw LoadRequest{GameSaves::slotName(slot), {}, {}, {}};
  recorder_.record("load", {{"slot", GameSaves::slotName(slot)}, {"ok", false}});
  form_.showNotice("セーブがありません No save", kNoticeMs);
}

/* Back to the menu wait of the last pick: the game is loaded anew with the input that came
   before it. */
void Acs::rewind() {
  if (backend_.replaying()) return;
  // A menu wait in progress is a choice not made yet; once it is answered, it is the last.
  const std::optional<record::RunPoint> atMenu =
      form_.waitingFor() == gui::WaitKind::Menu ? lastWait_ : std::nullopt;
  const auto game =
      link_.saves ? record::rewound(link_.saves->game(), menuWaits_, atMenu) : std::nullopt;
  if (game) throw LoadRequest{"rewind", *game, {}, {}};
  recorder_.record("rewind", {{"ok", false}});
  form_.showNotice("前の選択肢がありません No earlier choice", kNoticeMs);
}

void Acs::restart() { throw LoadRequest{"restart", {}, {}, {}}; }

/* A point of the run for the replay: the pass and site, or, replaying onto a changed
   script, the number of the wait. */
record::RunPoint Acs::replayPoint() {
  if (!reloading()) return clock_.point();
  return record::waitPoint(waits_.size(), form_.waitingFor().has_value());
}

/* The script changed: a clean one is played from the start with the game's input at the
   same waits (the session does that); one with errors is only reported, and the game goes
   on with the script it has. */
void Acs::reload(const std::string& from) {
  if (backend_.replaying()) return;
  const ScriptFile script = scriptFileOf(options_);
  const std::filesystem::path source = from.empty() ? script.path : platform::pathFromUtf8(from);
  const auto bytes = platform::readFileBytes(source, platform::kMaxScriptFileBytes);
  if (!bytes) return reloadFailed({}, "cannot read " + source.string());
  std::string text(bytes->begin(), bytes->end());
  const std::vector<std::string> errors =
      options_.checkScript ? options_.checkScript(script.path, text) : std::vector<std::string>{};
  if (!errors.empty()) return reloadFailed(errors, "");
  record::SavedGame game = link_.saves ? link_.saves->game() : record::SavedGame{};
  throw LoadRequest{"reload", record::byWaits(game, waits_), std::move(text), waitKinds_};
}

/* The old script plays on; what is wrong shows over the game and on standard error. */
void Acs::reloadFailed(const std::vector<std::string>& errors, const std::string& why) {
  recorder_.record("reload", {{"ok", false}, {"kept", 0}, {"errors", errors.size()}});
  std::string shown = "スクリプトを読み直せません Not reloaded: ";
  shown += errors.empty() ? why : std::to_string(errors.size()) + " error(s)";
  for (size_t i = 0; i < errors.size() && i < 3; ++i) shown += "\n" + errors[i];
  form_.showNotice(shown, kErrorNoticeMs);
  if (!options_.notices) return;
  *options_.notices << "torami: the changed script is not played: "
                    << (errors.empty() ? why : std::to_string(errors.size()) + " error(s)") << "\n";
  for (const std::string& e : errors) *options_.notices << e << "\n";
  options_.notices->flush();
}

/* The changed script plays on from the last wait its input reached. */
void Acs::announceReload() {
  const int all = record::waitsWithInput(link_.replay);
  // Short of the wait the game was at, the input of the wait it stopped at did not fit.
  const bool fits = waits_.size() >= link_.reloadWaitKinds.size();
  const int kept = fits ? all : record::waitsWithInput(link_.replay, waits_.size());
  recorder_.record("reload", {{"ok", true}, {"kept", kept}, {"errors", 0}});
  std::string shown = "読み直しました Reloaded";
  if (kept < all)
    shown +=
        " (" + std::to_string(kept) + " / " + std::to_string(all) + ": the rest no longer fits)";
  form_.showNotice(shown, kNoticeMs);
  if (kept < all && options_.notices)
    *options_.notices << "torami: the changed script takes " << kept << " of the game's " << all
                      << " answered waits; it goes on from there" << std::endl;
}

/* Auto and skip read text turn a page with a click on the message area made for the
   player, kept in the saved game as the player's own would be. */
void Acs::turnPageForPlayer() {
  for (const auto type : {gui::RawInput::Press, gui::RawInput::Release}) {
    const gui::RawInput in = gui::RawInput::at(type, gui::Place::MessageArea);
    if (link_.saves) link_.saves->record({clock_.point(), in});
    form_.inject(in);
  }
}

void Acs::toggleAuto() {
  if (!backend_.replaying()) turner_.setAuto(!turner_.autoOn());
}

void Acs::toggleSkipRead() {
  if (!backend_.replaying()) turner_.setSkipRead(!turner_.skipReadOn());
}

/* Loading starts the game anew from the saved input: the window object unwinds to the
   session, which replays it. */
void Acs::quickLoad() {
  if (link_.saves && link_.saves->quick()) throw LoadRequest{"quick", {}, {}, {}};
  recorder_.record("load", {{"slot", "quick"}, {"ok", false}});
  form_.showNotice("セーブがありません No save", kNoticeMs);
}

/* The frame as it shows, as the next free screenshots/screenshot-N.png of the data folder:
   numbered, not dated, so a headless run names the same file every time. */
void Acs::screenshot() {
  std::filesystem::path file;
  bool ok = false;
  if (!link_.dataFolder.empty()) {
    const auto folder = link_.dataFolder / "screenshots";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (int n = 1; n < 100000 && file.empty(); ++n) {
      const auto candidate = folder / ("screenshot-" + std::to_string(n) + ".png");
      if (!std::filesystem::exists(candidate, ec)) file = candidate;
    }
    ok = !file.empty() && formats::savePng(form_.frame(), file);
  }
  recorder_.record("screenshot", {{"file", platform::utf8OfPath(file)}, {"ok", ok}});
  form_.showNotice(ok ? "スクリーンショット " + platform::utf8OfPath(file.filename())
                      : "スクリーンショットを保存できません",
                   kNoticeMs);
}

void Acs::settingsChanged() {
  if (!readers_.settingsChanged()) {
    settings_.readAloud = false;
    form_.showNotice("読み上げできません（音声がありません） No speech service", kNoticeMs);
  }
  applyVolume();
  backend_.setFullscreen(settings_.fullscreen);
  renderer_.setTextSpeed(settings_.textSpeed);
  if (link_.settingsChanged) link_.settingsChanged();
}

/* The command menu takes the handlers of its labels and the picture area's button
   presses itself; the window keeps the clicks and the chance label. */
void Acs::connectHandlers() {
  Controls& c = controls_;
  c.MES->onClick = [this] { MES_Click(); };
  c.Picture1->onClick = [this] { Picture1_Click(); };
  c.Label2->onDblClick = [this] { Label2_DblClick(); };
  c.TimerMIDI->onTimer = [this] { music_.timerMIDI_Timer(); };
  music_.onRestartPossible = [&c](bool possible) { c.TimerMIDI->setWakes(possible); };
  // While a piece plays, nothing is due before its end: a window sleeps till then.
  c.TimerMIDI->idleUntil = [this] { return music_.quietUntil(); };
}

/* A click while the backlog shows goes forward through it instead. */
void Acs::messageAreaClicked() {
  if (renderer_.backlogDepth() > 0) {
    renderer_.backlogForward();
    form_.reannounce();
  } else {
    renderer_.clicked();
  }
}

/* The sound device opens with the first music or sound, at the volume of the settings. */
gui::Mixer& Acs::mixer() {
  gui::Mixer& m = backend_.mixer();
  if (!mixerOpen_) {
    mixerOpen_ = true;
    if (settings_.musicVolume() != 100 || settings_.wavesVolume() != 100)
      m.setVolume(settings_.musicVolume(), settings_.wavesVolume());
  }
  return m;
}

void Acs::applyVolume() {
  if (mixerOpen_) backend_.mixer().setVolume(settings_.musicVolume(), settings_.wavesVolume());
}

void Acs::Label2_DblClick() {
  using engine::kChanceValue;
  if (state_.flags[engine::kChanceOfferedFlag] == kChanceValue)
    state_.flags[engine::kChanceTakenFlag] = kChanceValue;
}

void Acs::showItem(int entry) {
  state_.flags[kItemFlag] = static_cast<int16_t>(entry);
  pictures_.paintItemTile(entry);
  renderer_.MESHG(state_.ItemMessages[entry]);
}

int Acs::run() {
  startTicks_ = link_.startTicks.value_or(form_.ticks());
  if (!link_.failedSlot.empty())
    recorder_.record("load", {{"slot", link_.failedSlot}, {"ok", false}});
  engine::GameEnd exit(engine::kExitOk, engine::EndReason::Eof);
  try {
    try {
      Form_Load();
    } catch (const engine::ScriptError& e) {
      EEE(e.word);
    }
  } catch (const engine::GameEnd& e) {
    exit = e;
  }
  endReason_ = exit.reason();
  if (backend_.replaying()) return exit.status();  // the saved game ends before its point
  writeWait(gui::WaitKind::End);
  recorder_.record("end", {{"reason", engine::traceName(exit.reason())}, {"flags", state_.flags}});
  return exit.status();
}

/* Start-up: load the script (a failure shows the box before the window ever appears),
   set the message area's font size, no menu yet, show the window, run the script. */
void Acs::Form_Load() {
  const ScriptFile script = scriptFileOf(options_);
  backend_.watchFile(script.path);
  ACMLOAD(script.path, script.name);
  controls_.MES->setFontSize(14);
  form_.show();
  interpreter_.MZ();
}

void Acs::Form_Unload() { throw engine::GameEnd(engine::kExitOk, engine::EndReason::Close); }

void Acs::ACMLOAD(const std::filesystem::path& file, const Text& name) {
  if (options_.script) {
    script_ = *options_.script;
  } else {
    readScript(file, name);
  }
  backend_.expectMedia(engine::mediaNamed(script_));
  state_.CurLine = 1;
  state_.CaseEndLine = 0;
  state_.FpEndLine = 0;
}

void Acs::readScript(const std::filesystem::path& file, const Text& name) {
  state_.CurLine = 0;  // a file that cannot be read is reported on line 0
  auto bytes = options_.scriptText ? std::optional(std::vector<uint8_t>(
                                         options_.scriptText->begin(), options_.scriptText->end()))
                                   : platform::readFileBytes(file, platform::kMaxScriptFileBytes);
  if (!bytes) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(file, ec);
    notice("cannot read the script " + (ec ? file : full).lexically_normal().string());
    EEE(engine::loadFailure(name));
  }
  std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  formats::BuiltStory story;
  if (formats::isStoryFile(file)) {
    story = formats::buildStory(text);
    for (const formats::StoryError& e : story.errors)
      notice(file.string() + ":" + std::to_string(e.line) + ":" + std::to_string(e.column) +
             ": error: " + e.text);
    if (!story.ok()) EEE(engine::loadFailure(name));
    text = story.script;
  }
  for (const engine::FileNote& n : engine::scriptFileNotes(text))
    notice(file.string() + ":" + std::to_string(n.line) + ":" + std::to_string(n.column) +
           ": warning: " + n.text);
  int lastLine = 0;
  if (!script_.loadBytes(text, lastLine)) {
    state_.CurLine = static_cast<int16_t>(lastLine);  // the line that did not fit
    notice("the script " + file.string() + " has more than " + std::to_string(engine::kMaxLines) +
           " lines");
    EEE(engine::loadFailure(name));
  }
}

void Acs::EEE(const Text& word) {
  const std::string text =
      toUtf8(engine::errorBoxText(word, state_.CurLine, script_.line(state_.CurLine)));
  recorder_.record("error", {{"text", text}});
  form_.setCursor(gui::Cursor::Default);
  gui::MessageBox box;
  box.title = "Acs ERROR";
  box.text = text;
  backend_.ask(box);
  throw engine::GameEnd(engine::kExitScriptError, engine::EndReason::Error);
}

record::Recorder::Stamp Acs::stamp() {
  return {static_cast<uint32_t>(form_.ticks() - startTicks_), state_.CurLine};
}

void Acs::writeWait(gui::WaitKind kind) {
  waitKind_ = kind;
  const bool fresh = !lastWait_ || *lastWait_ != clock_.point();  // not announced again
  lastWait_ = clock_.point();
  if (kind == gui::WaitKind::Menu && fresh) menuWaits_.push_back(*lastWait_);
  if (kind != gui::WaitKind::End && fresh) {
    waits_.push_back(*lastWait_);
    waitKinds_.push_back(kind);
    if (reloading() && backend_.replaying()) {
      if (link_.waitsReached) *link_.waitsReached = waits_.size();
      // Where the changed script waits for something else, the old input no longer fits.
      const size_t n = waits_.size();
      if (n > link_.reloadWaitKinds.size() || link_.reloadWaitKinds[n - 1] != kind)
        backend_.stopReplay();
    }
  }
  keys_.waitBegins(kind, fresh);
  turner_.waitBegins(kind, fresh, int64_t{state_.CurLine} * 1000 + renderer_.pageInMessage());
  if (recorder_.recording()) recordWait(kind);
  if (fresh && !backend_.replaying()) writeText(kind);
  if (!options_.shotsDir.empty()) recorder_.snapshot(form_.frame());
}

// The wait event: everything a person sees.
void Acs::recordWait(gui::WaitKind kind) {
  record::Json wait = {{"kind", waitKindName(kind)},
                       {"mes", renderer_.traceRows()},
                       {"menu", menu_.traceMenu()},
                       {"lbhg", toUtf8(controls_.LBhg[0]->caption())},
                       {"picture", pictures_.traceName()},
                       {"cursor", form_.cursor() == gui::Cursor::Custom ? "custom" : "default"},
                       {"flags", state_.flags}};
  if (const auto focus = keys_.focus()) wait["focus"] = *focus;
  if (renderer_.backlogDepth() > 0) wait["backlog"] = renderer_.backlogDepth();
  recorder_.record("wait", wait);
}

/* A page shows whole at a click wait, and at a menu wait under the menu; a menu, with the
   labels that show. */
void Acs::writeText(gui::WaitKind kind) {
  if (kind != gui::WaitKind::Click && kind != gui::WaitKind::Menu) return;
  const int64_t page = int64_t{state_.CurLine} * 1000 + renderer_.pageInMessage();
  readers_.page(stamp(), page, toUtf8(renderer_.pageRows()), kind == gui::WaitKind::Click);
  if (kind != gui::WaitKind::Menu) return;
  std::vector<platform::LabelText> labels;
  for (size_t i = 0; i < controls_.Label1.size(); ++i) {
    const gui::Label* label = controls_.Label1[i];
    if (label->visible() && !label->caption().empty())
      labels.push_back({static_cast<int>(i) + 1, toUtf8(label->caption())});
  }
  readers_.menu(stamp(), toUtf8(controls_.LBcm->caption()), labels);
}

/* Each name is looked at once: a script that shows a broken picture in a loop decodes it
   again only through the picture cache, which remembers the failure. */
void Acs::mediaFailed(media::MediaKind kind, const Text& name) {
  if (!options_.notices || !failedMedia_.insert({kind, name}).second) return;
  if (auto problem = media::mediaProblem(folder_, kind, name)) notice(*problem);
}

void Acs::notice(const std::string& text) {
  if (options_.notices && noticed_.insert(text).second)
    *options_.notices << "torami: " << text << std::endl;
}

void Acs::appendWindowState(engine::StateKey& key) const {
  key.add(form_.cursor() == gui::Cursor::Custom);
  renderer_.appendState(key, false);
  menu_.appendState(key, false);
}

void Acs::beforePass() {
  clock_.beginPass();
  if (options_.linesRun && state_.CurLine >= 0 && state_.CurLine <= engine::kMaxLines)
    options_.linesRun[state_.CurLine] = 1;
  if (options_.landedBy) {
    if (lastPassLine_ >= 0 && state_.CurLine != lastPassLine_ + 1)
      *options_.landedBy = lastPassLine_;
    lastPassLine_ = state_.CurLine;
  }

  if (options_.traceLines)
    recorder_.record("line", {{"cmd", toUtf8(script_.field(state_.CurLine, 1))}});
}

Acs::LoopState Acs::loopState() const {
  const engine::State& s = state_;
  return {s.flags, s.CurLine, s.ReturnLine, s.CaseEndLine, s.FpEndLine, form_.inputsHandled()};
}

/* The state after a pass is watched; when a later pass ends in the same state, with only
   commands between that change flags and lines (which the state holds) and no input, the
   loop is a cycle that nothing but input can leave. Timers may tick meanwhile: none of
   them changes what the commands read. The watch starts again after kCycleWatch passes,
   so a loop entered after the watch began is found too. */
void Acs::watchForCycle() {
  static constexpr int kCycleWatch = 4096;
  const engine::Command* c = interpreter_.lastCommand();
  if (!c || !engine::changesOnlyFlagsAndLines(*c)) {
    watched_.reset();
    return;
  }
  const LoopState now = loopState();
  if (watched_ && now.line == watched_->line && now == *watched_) {
    watched_.reset();
    form_.restIdle();
    return;
  }
  if (!watched_ || now.inputs != watched_->inputs || ++watchedPasses_ >= kCycleWatch) {
    watched_ = now;
    watchedPasses_ = 0;
  }
}

void Acs::afterPass() {
  if (options_.maxSteps && ++steps_ >= *options_.maxSteps)
    throw engine::GameEnd(engine::kExitNoInput, engine::EndReason::Limit);
  if (form_.sleepsWhenIdle()) watchForCycle();
  form_.loopPass();
  form_.markSite();
  form_.doEvents();
}

void Acs::CMST(int16_t menu, const Text& text) { menu_.CMST(menu, text); }
int16_t Acs::CMSL(int16_t menu) { return menu_.CMSL(menu); }
void Acs::MESHG(const Text& text) { renderer_.MESHG(text); }
void Acs::GHG(const Text& name) { pictures_.GHG(name); }
void Acs::SOUND(const Text& name, int16_t flags) { sounds_.SOUND(name, flags); }
void Acs::setLabelCaption(int16_t index, const Text& caption) {
  controls_.LBhg[index]->setCaption(caption);
}
void Acs::MUSPL(const Text& name, int16_t mode) { music_.MUSPL(name, mode); }
void Acs::FADE(int16_t mode) { fade_.FADE(mode); }

void Acs::endProgram(engine::EndReason reason) { throw engine::GameEnd(engine::kExitOk, reason); }

}  // namespace ui
