#include "ui/acs.h"

#include "engine/error_report.h"
#include "engine/script_error.h"
#include "media/timed_wait.h"
#include "platform/file_bytes.h"
#include "platform/program_exit.h"
#include "platform/text_codec.h"
#include "ui/design.h"

namespace ui {

using engine::Text;
using platform::ProgramExit;
using platform::toUtf8;

namespace {

// The chance label: a double click while flag 1 holds 99 sets flag 10 to 99.
constexpr int kChanceOffered = 1;
constexpr int kChanceTaken = 10;
constexpr int16_t kChanceValue = 99;
// The item menu puts the picked entry in flag 0.
constexpr int kItemFlag = 0;

const char* waitKindName(platform::WaitKind kind) {
  switch (kind) {
    case platform::WaitKind::Click:
      return "click";
    case platform::WaitKind::Menu:
      return "menu";
    case platform::WaitKind::Poll:
      return "poll";
    case platform::WaitKind::End:
      break;
  }
  return "end";
}

}  // namespace

Acs::Acs(platform::Backend& backend, Options options)
    : options_(std::move(options)),
      backend_(backend),
      form_(backend, design::kClientWidth, design::kClientHeight),
      controls_(createControls(form_)),
      folder_(options_.gameFolder),
      recorder_(options_.trace, options_.shotsDir, [this] { return stamp(); },
                {options_.recordFailureEndsRun, options_.traceName}),
      renderer_(form_, *controls_.MES),
      menu_(
          form_, *controls_.Picture1, *controls_.LBcm, controls_.Label1, state_.menuTable,
          [this](int entry) { showItem(entry); }, recorder_),
      pictures_(*controls_.Picture1, *controls_.Picture2, folder_, recorder_),
      fade_(
          *controls_.Picture1, [this](int16_t ms) { media::TWAIT(form_, ms); }, recorder_),
      music_([this]() -> platform::Mixer& { return backend_.mixer(); },
             [this] { return form_.ticks(); }, folder_,
             [this](bool on) { controls_.TimerMIDI->setEnabled(on); }, recorder_),
      sounds_([this]() -> platform::Mixer& { return backend_.mixer(); }, folder_,
              [this](uint32_t ms) { form_.block(ms); }, recorder_),
      interpreter_(state_, *this) {
  connectHandlers();
  form_.onWait = [this](platform::WaitKind kind) { writeWait(kind); };
  form_.onClose = [this] { Form_Unload(); };
}

/* The command menu takes the handlers of its labels and the picture area's button
   presses itself; the window keeps the clicks and the chance label. */
void Acs::connectHandlers() {
  Controls& c = controls_;
  c.MES->onClick = [this] { MES_Click(); };
  c.Picture1->onClick = [this] { Picture1_Click(); };
  c.Label2->onDblClick = [this] { Label2_DblClick(); };
  c.TimerMIDI->onTimer = [this] { music_.timerMIDI_Timer(); };
}

void Acs::Label2_DblClick() {
  if (state_.flags[kChanceOffered] == kChanceValue) state_.flags[kChanceTaken] = kChanceValue;
}

void Acs::showItem(int entry) {
  state_.flags[kItemFlag] = static_cast<int16_t>(entry);
  pictures_.paintItemTile(entry);
  renderer_.MESHG(state_.ItemMessages[entry]);
}

int Acs::run() {
  startTicks_ = form_.ticks();
  ProgramExit exit = ProgramExit::game(platform::kExitOk, "eof");
  try {
    try {
      Form_Load();
    } catch (const engine::ScriptError& e) {
      EEE(e.word);
    }
  } catch (const ProgramExit& e) {
    if (e.hasMessage()) throw;  // not the end of a game: the program cannot run
    exit = e;
  }
  writeWait(platform::WaitKind::End);
  recorder_.record("end", {{"reason", exit.reason()}, {"flags", state_.flags}});
  return exit.status();
}

/* Start-up: load the script (a failure shows the box before the window ever appears),
   set the message area's font size, no menu yet, show the window, run the script. */
void Acs::Form_Load() {
  std::filesystem::path file = options_.scriptFile;
  Text name = U"TORAMI.acs";
  if (file.empty()) {
    file = platform::findFile(folder_.path(), name).value_or(folder_.path() / "TORAMI.acs");
  } else {
    name = platform::fromUtf8(file.filename().string());
  }
  ACMLOAD(file, name);
  controls_.MES->setFontSize(14);
  form_.show();
  interpreter_.MZ();
}

void Acs::Form_Unload() { throw ProgramExit::game(platform::kExitOk, "close"); }

void Acs::ACMLOAD(const std::filesystem::path& file, const Text& name) {
  state_.CurLine = 0;  // a file that cannot be read is reported on line 0
  auto bytes = platform::readFileBytes(file, platform::kMaxScriptFileBytes);
  if (!bytes) EEE(engine::loadFailure(name));
  int lastLine = 0;
  if (!state_.ScriptLines.loadBytes(
          std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
          lastLine)) {
    state_.CurLine = static_cast<int16_t>(lastLine);  // the line that did not fit
    EEE(engine::loadFailure(name));
  }
  state_.CurLine = 1;
  state_.CaseEndLine = 0;
  state_.FpEndLine = 0;
}

void Acs::EEE(const Text& word) {
  const std::string text =
      toUtf8(engine::errorBoxText(word, state_.CurLine, state_.ScriptLines.line(state_.CurLine)));
  recorder_.record("error", {{"text", text}});
  form_.setCursor(platform::Cursor::Default);
  backend_.showError("Acs ERROR", text);
  throw ProgramExit::game(platform::kExitScriptError, "error");
}

platform::Recorder::Stamp Acs::stamp() {
  return {static_cast<uint32_t>(form_.ticks() - startTicks_), state_.CurLine};
}

void Acs::writeWait(platform::WaitKind kind) {
  recorder_.record("wait",
                   {{"kind", waitKindName(kind)},
                    {"mes", renderer_.traceRows()},
                    {"menu", menu_.traceMenu()},
                    {"lbhg", toUtf8(controls_.LBhg[0]->caption())},
                    {"picture", pictures_.traceName()},
                    {"cursor", form_.cursor() == platform::Cursor::Custom ? "custom" : "default"},
                    {"flags", state_.flags}});
  recorder_.snapshot(form_.frame());
}

void Acs::beforePass(const Text& keyword) {
  if (options_.traceLines) recorder_.record("line", {{"cmd", toUtf8(keyword)}});
}

void Acs::afterPass() {
  if (options_.maxSteps && ++steps_ >= *options_.maxSteps)
    throw ProgramExit::game(platform::kExitNoInput, "limit");
  form_.loopPass();
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

void Acs::endProgram(engine::EndReason reason) {
  throw ProgramExit::game(platform::kExitOk, reason == engine::EndReason::Eof ? "eof" : "exit");
}

}  // namespace ui
