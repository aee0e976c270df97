#include "ui/session.h"

#include <iostream>

#include "platform/file_bytes.h"
#include "record/content_hash.h"
#include "ui/design.h"
#include "ui/script_versions.h"

namespace ui {

Session::Session(gui::Backend& backend, Options options, SaveOptions saves)
    : backend_(backend), options_(std::move(options)), saveOptions_(std::move(saves)) {
  if (!saveOptions_.dataFolder.empty())
    settings_ = readSettings(settingsFile(saveOptions_.dataFolder));
}

std::filesystem::path Session::settingsFile(const std::filesystem::path& dataFolder) {
  return dataFolder / "settings.json";
}

void Session::saveSettings() {
  if (saveOptions_.dataFolder.empty()) return;
  if (!writeSettings(settingsFile(saveOptions_.dataFolder), settings_))
    std::cerr << "torami: cannot keep the settings in " << saveOptions_.dataFolder.string()
              << std::endl;
}

bool Session::wantsToContinue() {
  switch (saveOptions_.resume) {
    case SaveOptions::Resume::Continue:
      return true;
    case SaveOptions::Resume::New:
      return false;
    case SaveOptions::Resume::Ask:
      break;
  }
  gui::MessageBox box;
  box.icon = gui::MessageBox::Icon::Question;
  box.title = design::kCaption;
  box.text = "前回の続きから遊びますか？";
  box.buttons = {"続きから", "はじめから"};
  return backend_.ask(box) != 1;  // closing the box loses nothing: it continues
}

/* The game a load asks for: the quick save, a numbered slot, or the game given with the
   request (a rewind). */
std::optional<record::SavedGame> Session::savedGameOf(const LoadRequest& request,
                                                      GameSaves& saves) {
  if (request.slot == "quick") return saves.quick();
  if (request.slot == "rewind" || request.slot == "restart") return request.game;
  return saves.slot(std::stoi(request.slot));
}

/* Once, when an edited script is first played: where the saves of its last version are. */
void Session::sayIfChanged(const std::filesystem::path& version,
                           const std::filesystem::path& script, bool fresh) {
  const auto earlier = markScriptVersion(saveOptions_.dataFolder, version, script, fresh);
  if (!earlier) return;
  std::ostream& out = options_.notices ? *options_.notices : std::cerr;
  out << "torami: the script changed since it was last played: the saved games of the "
         "version before stay in "
      << earlier->string() << " (they play with that version); this one starts with none"
      << std::endl;
}

/* A changed script is played from the start with the game's input at the same waits. */
void Session::startReload(const LoadRequest& request, SessionLink& link) {
  options_.scriptText = request.script;
  link.replay = request.game;
  link.replaySlot = "reload";
  link.reloadWaitKinds = request.waitKinds;
  link.failedSlot.clear();
  link.decodeEveryPicture = false;
}

/* The changed script ended or stopped with an error before the wait the game had reached:
   it goes on from the wait before that instead; when there is none, the game goes on with
   the script it had. */
void Session::reloadStopped(uint64_t waitsReached, const std::optional<Reloaded>& before,
                            SessionLink& link) {
  const int given = record::waitsWithInput(link.replay);
  const record::SavedGame shorter = record::upToWait(link.replay, waitsReached);
  if (waitsReached >= 1 && record::waitsWithInput(shorter) < given) {
    link.replay = shorter;
    return;
  }
  options_.scriptText = before ? before->script : std::nullopt;
  link.replay = before ? before->game : record::SavedGame{};
  link.replaySlot = "reload-failed";
  link.reloadFailure = "the changed script stops before its first wait";
}

/* Each run replays what the link gives it. A replay that goes another way sets its save
   aside and starts from the beginning; a quick load that goes wrong falls back to the game
   that was being played. */
int Session::run() {
  const ScriptFile script = scriptFileOf(options_);
  const auto bytes = platform::readFileBytes(script.path, platform::kMaxScriptFileBytes);
  const std::string hash = bytes ? record::contentHash(*bytes) : std::string();
  if (bytes) options_.scriptText = std::string(bytes->begin(), bytes->end());
  const bool keep = bytes && !saveOptions_.dataFolder.empty();
  const std::filesystem::path version =
      keep ? saveOptions_.dataFolder / hash : std::filesystem::path();
  std::error_code ec;
  const bool fresh = keep && !std::filesystem::exists(version, ec);
  GameSaves saves(version, hash);
  if (keep && !saves.folder().empty()) sayIfChanged(version, script.path, fresh);
  record::Recorder recorder(
      options_.trace, options_.shotsDir, nullptr,
      record::OnRecordFailure{options_.recordFailureEndsRun, options_.traceName});

  SessionLink link;
  link.recorder = &recorder;
  link.settings = &settings_;
  link.settingsChanged = [this] { saveSettings(); };
  link.saves = bytes ? &saves : nullptr;
  link.dataFolder = saveOptions_.dataFolder;
  link.startTicks = backend_.ticks();
  bool bad = false;
  const auto game = keep ? saves.unfinishedContinue(bad) : std::nullopt;
  if (game && !game->inputs.empty() && wantsToContinue()) {
    link.replay = *game;
    link.replaySlot = "continue";
  }
  if (bad) link.failedSlot = "continue";
  std::optional<record::SavedGame> fallback;
  uint64_t waitsReached = 0;
  link.waitsReached = &waitsReached;
  std::optional<Reloaded> reloaded;  // the script and game before a reload
  for (;;) {
    // Replayed onto a changed script, the game's input is recorded anew as it is given.
    saves.startGame(link.replaySlot == "reload" ? record::SavedGame{} : link.replay);
    waitsReached = 0;
    try {
      Acs acs(backend_, options_, link);
      const int status = acs.run();
      if (acs.stillReplaying()) throw record::ReplayMismatch("the game ended before its point");
      using engine::EndReason;
      const EndReason reason = acs.endReason();
      if (reason == EndReason::Eof || reason == EndReason::Exit || reason == EndReason::Error)
        saves.finishGame();
      return status;
    } catch (const PictureMismatch&) {
      link.decodeEveryPicture = true;
    } catch (const LoadRequest& request) {
      if (request.slot == "reload") {
        reloaded = Reloaded{options_.scriptText, saves.game()};
        startReload(request, link);
        continue;
      }
      reloaded.reset();
      fallback = saves.game();
      const auto wanted = savedGameOf(request, saves);
      link.replay = wanted.value_or(*fallback);
      link.replaySlot = wanted ? request.slot : "continue";
      if (request.slot == "restart") {
        link.replay = {};
        link.replaySlot.clear();
        fallback.reset();
      }
      link.failedSlot.clear();
      link.decodeEveryPicture = false;
    } catch (const record::ReplayMismatch& e) {
      if (link.replaySlot == "reload") {
        reloadStopped(waitsReached, reloaded, link);
        continue;
      }
      saves.reject(link.replaySlot, e.what());
      link.failedSlot = link.replaySlot;
      link.replay = fallback.value_or(record::SavedGame{});
      link.replaySlot = fallback ? "continue" : "";
      fallback.reset();
    }
  }
}

}  // namespace ui
