#pragma once
// The saved games of one script: "continue", the game in progress written input by input,
// and "quick", written by F5. They live in a folder of their own (named by the script's
// fingerprint); without a folder the quick save lives in memory for the run and nothing is
// kept. A save that cannot be used is said in one line and set aside, never deleted.
#include <filesystem>
#include <optional>
#include <string>

#include "record/save_file.h"

namespace ui {

class GameSaves {
 public:
  // `folder` empty: nothing is kept on disk. A folder that cannot be made is said once and
  // then works as none.
  GameSaves(std::filesystem::path folder, std::string script);

  // The continue save when one is there and unfinished; a bad one is set aside, and
  // `bad` tells so.
  std::optional<record::SavedGame> unfinishedContinue(bool& bad);
  // The game starts (or goes on after a load) with this input so far.
  void startGame(const record::SavedGame& soFar);
  // One input of the game in progress.
  void record(const record::RecordedInput& input);
  // The game reached its end: the continue save is marked finished.
  void finishGame();
  // The input of the game in progress.
  const record::SavedGame& game() const { return game_; }
  // Whether writing the continue save works (false without a folder).

  bool saveQuick();
  // The quick save, when there is one; a bad one is set aside.
  std::optional<record::SavedGame> quick();

  // A save whose replay went wrong: said and set aside.
  void reject(const std::string& slot, const std::string& why);

 private:
  std::filesystem::path fileOf(const std::string& slot) const;
  std::optional<record::SavedGame> read(const std::string& slot, bool* bad = nullptr);

  std::filesystem::path folder_;
  std::string script_;
  record::SavedGame game_;
  std::optional<record::SavedGame> memoryQuick_;
  record::SaveJournal journal_;
  bool journalling_ = false;
  bool journalFailed_ = false;
};

}  // namespace ui
