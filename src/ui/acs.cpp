#include "ui/acs.h"

#include "engine/error_report.h"
#include "engine/script_error.h"
#include "media/fade.h"
#include "media/music.h"
#include "media/pictures.h"
#include "media/sound_effects.h"
#include "platform/file_bytes.h"
#include "platform/file_lookup.h"
#include "platform/picture_loader.h"
#include "platform/program_exit.h"
#include "platform/text_codec.h"
#include "ui/command_menu.h"
#include "ui/design.h"
#include "ui/message_renderer.h"

namespace ui {

using engine::Text;
using platform::toUtf8;

Acs::Acs(platform::Backend& backend, Options options)
    : form(backend, design::kClientWidth, design::kClientHeight),
      options_(std::move(options)),
      interpreter_(state, *this) {
  createControls();
  renderer_ = std::make_unique<MessageRenderer>(*this);
  menu_ = std::make_unique<CommandMenu>(*this);
  pictures_ = std::make_unique<media::Pictures>(*this);
  music_ = std::make_unique<media::Music>(*this);
  sounds_ = std::make_unique<media::SoundEffects>(*this);
  connectHandlers();
  form.onWait = [this](platform::WaitKind kind) { writeWait(kind); };
  form.onClose = [this] { Form_Unload(); };
}

Acs::~Acs() = default;

/* The controls in creation order with their design values. */
void Acs::createControls() {
  using namespace design;
  form.setCaption(kCaption);
  form.setBackColor(rgb(0, 0, 0));

  Picture2 = &form.addPictureBox("Picture2", nullptr, kPicture2, true);
  Picture2->setVisible(false);
  Picture2->setBackColor(kWindowColor);
  Picture2->setForeColor(kWindowTextColor);

  TimerMIDI = &form.addTimer(kTimerMIDIInterval);

  Picture1 = &form.addPictureBox("Picture1", nullptr, kPicture1, false);
  Picture1->setBackColor(kPicture1Back);
  Picture1->setForeColor(kWindowTextColor);
  Picture1->setScaleMode(platform::ScaleMode::Pixels);

  LBcm = &form.addLabel("LBcm", Picture1, cell(0), kMenuFont);
  LBcm->setVisible(false);
  LBcm->setBackColor(kLBcmBack);
  LBcm->setForeColor(kLBcmText);
  for (int i = 0; i < 8; ++i) {
    Label1[i] =
        &form.addLabel("Label1(" + std::to_string(i) + ")", Picture1, cell(i + 1), kMenuFont);
    Label1[i]->setVisible(false);
    Label1[i]->setBackColor(kLabel1Back);
    Label1[i]->setForeColor(kLabel1Text);
  }

  MES = &form.addPictureBox("MES", nullptr, kMES, true);
  MES->setBackColor(kWindowColor);
  MES->setForeColor(kWindowTextColor);
  MES->setFont(kMESFont);
  MES->setScaleMode(platform::ScaleMode::Points);

  Label2 = &form.addLabel("Label2", nullptr, kLabel2, kLabel2Font);
  Label2->setBackColor(kLabel2Back);
  Label2->setForeColor(kLabel2Text);
  Label2->setCaption(kChanceCaption);

  LBhg[0] = &form.addLabel("LBhg(0)", nullptr, kLBhg, kLBhgFont);
  LBhg[0]->setBackColor(kLBhgBack);
  LBhg[0]->setForeColor(kWindowTextColor);
}

void Acs::connectHandlers() {
  MES->onClick = [this] { MES_Click(); };
  Picture1->onClick = [this] { Picture1_Click(); };
  Picture1->onMouseDown = [this](const platform::MouseArgs& a) {
    menu_->Picture1_MouseDown(a.button);
  };
  LBcm->onMouseDown = [this](const platform::MouseArgs&) { menu_->LBcm_MouseDown(); };
  LBcm->onMouseUp = [this](const platform::MouseArgs&) { menu_->LBcm_MouseUp(); };
  for (int i = 0; i < 8; ++i) {
    Label1[i]->onMouseDown = [this, i](const platform::MouseArgs&) { menu_->Label1_MouseDown(i); };
    Label1[i]->onMouseUp = [this, i](const platform::MouseArgs&) { menu_->Label1_MouseUp(i); };
  }
  Label2->onDblClick = [this] { Label2_DblClick(); };
  TimerMIDI->onTimer = [this] { music_->timerMIDI_Timer(); };
}

void Acs::Label2_DblClick() {
  if (state.flags[1] == 99) state.flags[10] = 99;
}

int Acs::run() {
  startTicks_ = form.ticks();
  platform::ProgramExit exit{0, "eof"};
  try {
    try {
      Form_Load();
    } catch (const engine::ScriptError& e) {
      EEE(e.word);
    }
  } catch (const platform::ProgramExit& e) {
    exit = e;
  }
  try {
    writeWait(platform::WaitKind::End);
    if (tracing())
      writeTrace(traceEvent("end").add("reason", exit.reason).addRaw("flags", flagsJson()));
  } catch (...) {
  }
  return exit.status;
}

/* Start-up: load the script (a failure shows the box before the window ever appears),
   set the message area's font size, no menu yet, show the window, run the script. */
void Acs::Form_Load() {
  std::filesystem::path file = options_.scriptFile;
  Text name = U"TORAMI.acs";
  if (file.empty()) {
    file =
        platform::findFile(options_.gameFolder, name).value_or(options_.gameFolder / "TORAMI.acs");
  } else {
    name = platform::fromUtf8(file.filename().string());
  }
  ACMLOAD(file, name);
  MES->setFontSize(14);
  MenuState = 0;
  form.show();
  interpreter_.MZ();
}

void Acs::Form_Unload() { throw platform::ProgramExit{0, "close"}; }

void Acs::ACMLOAD(const std::filesystem::path& file, const Text& name) {
  state.CurLine = 0;  // a file that cannot be read is reported on line 0
  auto bytes = platform::readFileBytes(file, platform::kMaxScriptFileBytes);
  if (!bytes) EEE(engine::loadFailureWord(name));
  int lastLine = 0;
  if (!state.ScriptLines.loadBytes(
          std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
          lastLine)) {
    state.CurLine = static_cast<int16_t>(lastLine);  // the line that did not fit
    EEE(engine::loadFailureWord(name));
  }
  state.CurLine = 1;
  state.CaseEndLine = 0;
  state.FpEndLine = 0;
}

void Acs::EEE(const Text& word) {
  Text text = engine::errorBoxText(word, state.CurLine, state.ScriptLines.line(state.CurLine));
  std::string utf8 = toUtf8(text);
  if (tracing()) writeTrace(traceEvent("error").add("text", utf8));
  form.setCursor(platform::Cursor::Default);
  form.backend().showError("Acs ERROR", utf8);
  throw platform::ProgramExit{1, "error"};
}

/* The only timing primitive: the elapsed time is an unsigned difference of two tick
   readings, so a wait across the counter's wrap is as long as any other. A wait of 0
   or less returns at once without processing events. */
void Acs::TWAIT(int16_t ms) {
  const uint32_t start = form.ticks();
  auto elapsed = [&] { return static_cast<int64_t>(static_cast<uint32_t>(form.ticks() - start)); };
  while (elapsed() < ms) {
    form.doEvents();
    if (elapsed() >= ms) break;
    form.sleepUntil(start + static_cast<uint32_t>(ms));
  }
}

std::optional<std::filesystem::path> Acs::mediaFile(const Text& name,
                                                    const char32_t* extension) const {
  return platform::findFile(options_.gameFolder, name + extension);
}

platform::Json Acs::traceEvent(const char* ev) {
  platform::Json j;
  j.add("ev", ev).add("t",
                      static_cast<long long>(static_cast<uint32_t>(form.ticks() - startTicks_)));
  j.add("line", static_cast<int>(state.CurLine));
  return j;
}

void Acs::writeTrace(const platform::Json& event) {
  if (options_.trace) options_.trace->write(event);
}

std::string Acs::flagsJson() const {
  std::string flags = "[";
  for (int i = 0; i < engine::kFlagCount; ++i)
    flags += (i ? "," : "") + std::to_string(state.flags[i]);
  return flags + "]";
}

void Acs::writeWait(platform::WaitKind kind) {
  static const char* const kNames[] = {"click", "menu", "poll", "end"};
  ++waitCount_;
  if (tracing()) {
    platform::Json j = traceEvent("wait");
    j.add("kind", kNames[static_cast<int>(kind)]);
    j.addRaw("mes", renderer_->traceRows());
    j.addRaw("menu", menu_->traceMenu());
    j.add("lbhg", toUtf8(LBhg[0]->caption()));
    j.addRaw("picture", pictures_->traceName());
    j.add("cursor", form.cursor() == platform::Cursor::Custom ? "custom" : "default");
    j.addRaw("flags", flagsJson());
    writeTrace(j);
  }
  if (!options_.shotsDir.empty()) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d.png", waitCount_);
    platform::savePng(form.frame(), options_.shotsDir / name);
  }
}

void Acs::beforePass() {
  if (options_.traceLines && tracing()) writeTrace(traceEvent("line"));
}

void Acs::afterPass() {
  form.loopPass();
  form.doEvents();
}

void Acs::CMST(int16_t menu, const Text& text) { menu_->CMST(menu, text); }
int16_t Acs::CMSL(int16_t menu) { return menu_->CMSL(menu); }
void Acs::MESHG(const Text& text) { renderer_->MESHG(text); }
void Acs::GHG(const Text& name) { pictures_->GHG(name); }
void Acs::SOUND(const Text& name, int16_t flags) { sounds_->SOUND(name, flags); }
void Acs::setLabelCaption(int16_t index, const Text& caption) { LBhg[index]->setCaption(caption); }
void Acs::MUSPL(const Text& name, int16_t mode) { music_->MUSPL(name, mode); }
void Acs::FADE(int16_t mode) { media::FADE(*this, mode); }

void Acs::endProgram(engine::EndReason reason) {
  throw platform::ProgramExit{0, reason == engine::EndReason::Eof ? "eof" : "exit"};
}

}  // namespace ui
