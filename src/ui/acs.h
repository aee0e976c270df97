#pragma once
// The window object Acs: it creates the controls, wires the parts that own the run's
// state (message renderer, command menu, pictures, fades, music, sound) to them and to the
// interpreter, starts and ends the run, and keeps the record of what a person sees. Waits
// process window events, so handlers run nested inside them and only set fields.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "engine/host.h"
#include "engine/interpreter.h"
#include "engine/state.h"
#include "media/fade.h"
#include "media/music.h"
#include "media/pictures.h"
#include "media/sound_effects.h"
#include "platform/file_lookup.h"
#include "platform/form.h"
#include "platform/recorder.h"
#include "ui/command_menu.h"
#include "ui/controls.h"
#include "ui/message_renderer.h"

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
  std::filesystem::path shotsDir;  // empty: no snapshots
  std::optional<long> maxSteps;    // end with reason "limit" after this many passes
};

class Acs : public engine::Host {
 public:
  Acs(platform::Backend& backend, Options options);

  // Start-up, then the interpreter until the program ends; returns the exit status.
  int run();

  // What the window shows now, its controls and the state of the script (for tests).
  const platform::Image& frame() { return form_.frame(); }
  const Controls& controls() const { return controls_; }
  const engine::State& state() const { return state_; }

  // --- engine::Host ---
  void beforePass(const engine::Text& keyword) override;
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
  [[noreturn]] void EEE(const engine::Text& word);
  void MES_Click() { renderer_.clicked(); }
  void Picture1_Click() { renderer_.clicked(); }
  void Label2_DblClick();
  void showItem(int entry);
  void writeWait(platform::WaitKind kind);
  platform::Recorder::Stamp stamp();

  Options options_;
  platform::Backend& backend_;
  platform::Form form_;
  Controls controls_;
  engine::State state_;
  platform::GameFolder folder_;
  platform::Recorder recorder_;
  MessageRenderer renderer_;
  CommandMenu menu_;
  media::Pictures pictures_;
  media::Fade fade_;
  media::Music music_;
  media::SoundEffects sounds_;
  engine::Interpreter interpreter_;
  uint32_t startTicks_ = 0;
  long steps_ = 0;
};

}  // namespace ui
