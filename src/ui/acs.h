#pragma once
// The window object Acs: it creates the controls, wires the parts that own the run's
// state (message renderer, command menu, pictures, fades, music, sound) to them and to the
// interpreter, starts and ends the run, and keeps the record of what a person sees. Waits
// process window events, so handlers run nested inside them and only set fields.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine/host.h"
#include "engine/interpreter.h"
#include "engine/state.h"
#include "engine/state_key.h"
#include "gui/form.h"
#include "media/fade.h"
#include "media/media_check.h"
#include "media/music.h"
#include "media/pictures.h"
#include "media/sound_effects.h"
#include "platform/file_lookup.h"
#include "record/recorder.h"
#include "record/replay_backend.h"
#include "record/run_clock.h"
#include "ui/command_menu.h"
#include "ui/controls.h"
#include "ui/game_saves.h"
#include "ui/key_controls.h"
#include "ui/message_renderer.h"
#include "ui/page_turner.h"
#include "ui/player_comforts.h"
#include "ui/settings.h"
#include "ui/text_readers.h"

namespace ui {

struct Options {
  std::filesystem::path gameFolder;     // where the script and media live
  std::filesystem::path scriptFile;     // the script; "TORAMI.acs" in the game folder when empty
  std::ostream* trace = nullptr;        // null: no trace
  std::string traceName = "the trace";  // how messages name it
  // A trace or snapshot that cannot be written ends the run (status 2) instead of being
  // said once: what a headless run records is what its reader checks.
  bool recordFailureEndsRun = false;
  bool traceLines = false;
  std::filesystem::path shotsDir;   // empty: no snapshots
  std::optional<long> maxSteps;     // end with reason "limit" after this many passes
  std::ostream* textOut = nullptr;  // each page and menu as a JSON line (--text-out)
  TextServices text;                // where else the text goes (speech, clipboard, a page)
  // Where the run says, one line each, what the window hides: a script file saved in a
  // way the player does not read as meant, a script or media file that cannot be found
  // or read. Null: said nowhere.
  std::ostream* notices = nullptr;
  // When given, 1201 entries: entry k becomes 1 when line k runs.
  uint8_t* linesRun = nullptr;
  // The script as loaded from its file already (for runs of the same game again and
  // again): the file is not read.
  std::shared_ptr<const engine::ScriptStore> script;
  // When given, set before each pass that does not run the line after the last pass's line
  // to that line: the line whose command moved CurLine (a jump, a call or return, a menu's
  // end line, a table).
  int* landedBy = nullptr;
  // False: nothing is drawn and pictures are not decoded (only looked at), for a run whose
  // pixels no one looks at; everything else goes as when drawing.
  bool drawing = true;
  // A window: a script looping without changing anything sleeps until input or a timer,
  // and timers that can have no effect do not wake the thread.
  bool sleepsWhenIdle = false;
  // The script's contents, read already (the script file is not read again); for a story
  // file, the story's.
  std::optional<std::string> scriptText;
  // Checks a script's contents before a reload takes them: the errors found, each as a
  // line "FILE:LINE:COLUMN: error: TEXT"; none: it may be played. Not given: not checked.
  std::function<std::vector<std::string>(const std::filesystem::path& file, std::string_view text)>
      checkScript;
};

// The script file an options value names, and its name for the error box.
struct ScriptFile {
  std::filesystem::path path;
  engine::Text name;
};
ScriptFile scriptFileOf(const Options& options);

// A saved game is to be loaded: the window object unwinds to the session. `slot` is
// "quick", a slot's name ("1".."30"), "rewind" (the game given) or "restart" (from the
// beginning).
struct LoadRequest {
  std::string slot;
  record::SavedGame game;
  // "reload": the new script's contents, the game by waits (see record/wait_replay) and
  // the kind of each wait it was played through.
  std::string script;
  std::vector<gui::WaitKind> waitKinds;
};

// The picture a replay ended with does not decode after all: the replay is made again,
// decoding every picture.
struct PictureMismatch {};

// What a run of the window object gets from the session around it: the record, the
// settings and the saves that outlive one run, and a saved game to replay first.
struct SessionLink {
  record::Recorder* recorder = nullptr;
  Settings* settings = nullptr;
  std::function<void()> settingsChanged;
  GameSaves* saves = nullptr;
  std::filesystem::path dataFolder;    // the player's data folder; empty: none (F12 keeps nothing)
  record::SavedGame replay;            // replayed first; the game goes on after its last input
  std::string replaySlot;              // recorded with the `load` event at the hand-over
  std::string failedSlot;              // a save that could not be loaded: `load` with ok false
  std::optional<uint32_t> startTicks;  // the session's start on the live clock
  bool decodeEveryPicture = false;     // replay decoding each picture, not only the last
  // replaySlot "reload": the game is by waits, played through waits of these kinds; the run
  // counts in `waitsReached` the waits it announces.
  std::vector<gui::WaitKind> reloadWaitKinds;
  uint64_t* waitsReached = nullptr;
  // replaySlot "reload-failed": the changed script could not be played (the old one plays
  // on), and why.
  std::string reloadFailure;
};

class Acs : public engine::Host {
 public:
  Acs(gui::Backend& backend, Options options, SessionLink link = {});
  ~Acs() override;

  // Start-up, then the interpreter until the program ends; returns the exit status.
  int run();
  // How the last run ended (eof, exit, error, close, input, limit).
  engine::EndReason endReason() const { return endReason_; }
  // Whether the run ended before the saved game it replays reached its end.
  bool stillReplaying() const { return backend_.replaying(); }

  // What the window shows now, its controls and the state of the script (for tests).
  const formats::Image& frame() { return form_.frame(); }
  const Controls& controls() const { return controls_; }
  const engine::State& state() const { return state_; }
  // What the last wait for the user waits for.
  gui::WaitKind waitKind() const { return waitKind_; }
  // What the window holds beyond the script's state that decides how the game goes on, for
  // the explorer's keys: the pointer, the message area's page and the menu's state (not
  // what only shows or sounds).
  void appendWindowState(engine::StateKey& key) const;

  // --- engine::Host ---
  void beforePass() override;
  void afterPass() override;
  void CMST(int16_t menu, const engine::Text& text) override;
  int16_t CMSL(int16_t menu) override;
  void MESHG(const engine::Text& text) override;
  void GHG(const engine::Text& name) override;
  void SOUND(const engine::Text& name, int16_t flags) override;
  void setLabelCaption(int16_t index, const engine::Text& caption) override;
  void MUSPL(const engine::Text& name, int16_t mode) override;
  void FADE(int16_t mode) override;
  [[noreturn]] void endProgram(engine::EndReason reason) override;

 private:
  void connectHandlers();
  void Form_Load();
  [[noreturn]] void Form_Unload();
  void ACMLOAD(const std::filesystem::path& file, const engine::Text& name);
  void readScript(const std::filesystem::path& file, const engine::Text& name);
  [[noreturn]] void EEE(const engine::Text& word);
  void MES_Click() { messageAreaClicked(); }
  void Picture1_Click() { messageAreaClicked(); }
  void messageAreaClicked();
  gui::Mixer& mixer();
  void applyVolume();
  void settingsChanged();
  void handOver(int32_t delta);
  void liveInput(const record::RecordedInput& input);
  void quickSave();
  void quickLoad();
  void saveSlot(int slot);
  void loadSlot(int slot);
  void rewind();
  void restart();
  void reload(const std::string& from);
  void reloadFailed(const std::vector<std::string>& errors, const std::string& why);
  bool reloading() const { return link_.replaySlot == "reload"; }
  record::RunPoint replayPoint();
  void announceReload();
  void turnPageForPlayer();
  void toggleAuto();
  void toggleSkipRead();
  void screenshot();
  void Label2_DblClick();
  void showItem(int entry);
  void writeWait(gui::WaitKind kind);
  void writeText(gui::WaitKind kind);
  void recordWait(gui::WaitKind kind);
  record::Recorder::Stamp stamp();
  void notice(const std::string& text);
  void mediaFailed(media::MediaKind kind, const engine::Text& name);

  Options options_;
  SessionLink link_;
  record::ReplayBackend backend_;
  record::RunClock clock_;  // the points of the run that the saves and the replay use
  std::optional<record::RunPoint> lastWait_;  // where the last wait was announced
  gui::Form form_;
  Controls controls_;
  engine::ScriptStore script_;  // the script's lines
  engine::State state_;
  platform::GameFolder folder_;
  std::unique_ptr<record::Recorder> ownRecorder_;
  record::Recorder& recorder_;
  Settings ownSettings_;
  Settings& settings_;
  MessageRenderer renderer_;
  CommandMenu menu_;
  media::Pictures pictures_;
  media::Fade fade_;
  media::Music music_;
  media::SoundEffects sounds_;
  KeyControls keys_;
  PageTurner turner_;
  PlayerComforts comforts_;
  TextReaders readers_;
  std::vector<record::RunPoint> menuWaits_;  // every menu wait of the run, for rewinding
  std::vector<record::RunPoint> waits_;      // every wait for the user, for reloading
  std::vector<gui::WaitKind> waitKinds_;
  bool mixerOpen_ = false;
  engine::Interpreter interpreter_;
  uint32_t startTicks_ = 0;
  long steps_ = 0;
  int lastPassLine_ = -1;  // for Options::landedBy; -1 before the first pass
  engine::EndReason endReason_ = engine::EndReason::Eof;
  gui::WaitKind waitKind_ = gui::WaitKind::End;
  std::set<std::string> noticed_;
  std::set<std::pair<media::MediaKind, engine::Text>> failedMedia_;  // looked at already
  // A loop that comes back to the same state, with only commands that change nothing but
  // flags and lines between and no input, goes round alike until input: it rests.
  struct LoopState {
    std::array<int16_t, engine::kFlagCount> flags;
    int16_t line, returnLine, caseEndLine, fpEndLine;
    long inputs;
    bool operator==(const LoopState&) const = default;
  };
  LoopState loopState() const;
  void watchForCycle();
  std::optional<LoopState> watched_;
  int watchedPasses_ = 0;
};

}  // namespace ui
