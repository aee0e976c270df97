#pragma once
// The window object Acs: its controls with their design values, the state of the whole
// run, start-up and shut-down, the event handlers, and the procedures the interpreter
// calls. Waits process window events, so handlers run nested inside them and only set
// fields of this object.
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "engine/host.h"
#include "engine/interpreter.h"
#include "engine/state.h"
#include "platform/form.h"
#include "platform/trace.h"

namespace media {
class Pictures;
class Music;
class SoundEffects;
}  // namespace media

namespace ui {

class MessageRenderer;
class CommandMenu;

struct Options {
  std::filesystem::path gameFolder;  // where the script and media live
  std::filesystem::path scriptFile;  // the script; "TORAMI.acs" in the game folder when empty
  platform::Trace* trace = nullptr;  // null: no trace
  bool traceLines = false;
  std::filesystem::path shotsDir;  // empty: no snapshots
};

class Acs : public engine::Host {
 public:
  Acs(platform::Backend& backend, Options options);
  ~Acs() override;

  // Start-up, then the interpreter until the program ends; returns the exit status.
  int run();

  // --- controls, in creation order ---
  platform::Form form;
  platform::PictureBox* Picture2 = nullptr;
  platform::Timer* TimerMIDI = nullptr;
  platform::PictureBox* Picture1 = nullptr;
  platform::Label* LBcm = nullptr;
  std::array<platform::Label*, 8> Label1{};
  platform::PictureBox* MES = nullptr;
  platform::Label* Label2 = nullptr;
  std::array<platform::Label*, 1> LBhg{};

  // --- state of the run ---
  engine::State state;
  int16_t MsgClick = 0;
  int16_t MenuPick = 0;
  int16_t MenuState = 0;

  // A wait of ms milliseconds that keeps processing window events.
  void TWAIT(int16_t ms);
  // Reports a script error in the error box and ends the program.
  [[noreturn]] void EEE(const engine::Text& word);
  // A media file of the game folder: the name from the script plus the extension.
  std::optional<std::filesystem::path> mediaFile(const engine::Text& name,
                                                 const char32_t* extension) const;

  // A trace event with its kind, time and line; written by writeTrace.
  platform::Json traceEvent(const char* ev);
  void writeTrace(const platform::Json& event);
  bool tracing() const { return options_.trace != nullptr; }

  MessageRenderer& renderer() { return *renderer_; }
  CommandMenu& menu() { return *menu_; }
  media::Pictures& pictures() { return *pictures_; }

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
  void createControls();
  void connectHandlers();
  void Form_Load();
  [[noreturn]] void Form_Unload();
  void ACMLOAD(const std::filesystem::path& file, const engine::Text& name);
  void MES_Click() { MsgClick = 2; }
  void Picture1_Click() { MsgClick = 2; }
  void Label2_DblClick();
  void writeWait(platform::WaitKind kind);
  std::string flagsJson() const;

  Options options_;
  engine::Interpreter interpreter_;
  std::unique_ptr<MessageRenderer> renderer_;
  std::unique_ptr<CommandMenu> menu_;
  std::unique_ptr<media::Pictures> pictures_;
  std::unique_ptr<media::Music> music_;
  std::unique_ptr<media::SoundEffects> sounds_;
  uint32_t startTicks_ = 0;
  int waitCount_ = 0;
};

}  // namespace ui
