#pragma once
// A session of play: the window object run once or more (a saved game loaded with F9
// starts it anew), with the record, the settings and the saved games that outlive a run.
// At the start an unfinished game is offered to continue; a game that reaches its end
// marks its save finished.
#include <filesystem>
#include <optional>

#include "gui/backend.h"
#include "record/wait_replay.h"
#include "ui/acs.h"
#include "ui/settings.h"

namespace ui {

struct SaveOptions {
  // Where saves and settings live; empty: nothing is kept (a quick save lasts the run).
  std::filesystem::path dataFolder;
  enum class Resume { Ask, Continue, New } resume = Resume::Ask;
};

class Session {
 public:
  Session(gui::Backend& backend, Options options, SaveOptions saves);
  int run();

  // The settings file of a data folder.
  static std::filesystem::path settingsFile(const std::filesystem::path& dataFolder);

 private:
  struct Reloaded {
    std::optional<std::string> script;
    record::SavedGame game;
  };
  void startReload(const LoadRequest& request, SessionLink& link);
  void reloadStopped(uint64_t waitsReached, const std::optional<Reloaded>& before,
                     SessionLink& link);
  void sayIfChanged(const std::filesystem::path& version, const std::filesystem::path& script,
                    bool fresh);
  bool wantsToContinue();
  static std::optional<record::SavedGame> savedGameOf(const LoadRequest& request, GameSaves& saves);
  void saveSettings();

  gui::Backend& backend_;
  Options options_;
  SaveOptions saveOptions_;
  Settings settings_;
};

}  // namespace ui
