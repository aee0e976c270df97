#pragma once
// The saved games of one script: "continue", the game in progress written input by input,
// "quick", written by F5, and the numbered slots of the player's menu, each with a
// thumbnail of the screen. They live in a folder of their own (named by the script's
// fingerprint); without a folder the quick save lives in memory for the run and nothing is
// kept. A save that cannot be used is said in one line and set aside, never deleted.
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "formats/image.h"
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

  static constexpr int kSlots = 30;
  // Saves the game so far in slot 1..kSlots with what the slot shows of it.
  bool saveSlot(int n, const record::SaveInfo& info, const formats::Image& thumbnail);
  // The game in a slot, when there is one; a bad one is set aside.
  std::optional<record::SavedGame> slot(int n);
  // What a slot shows: whether it holds a game, when it was saved, its first words and
  // its thumbnail (a slot that cannot be read shows as empty).
  struct SlotSummary {
    bool used = false;
    record::SaveInfo info;
    std::optional<formats::Image> thumbnail;
  };
  SlotSummary summary(int n);
  // The slot's name in events and messages: "1".."30".
  static std::string slotName(int n) { return std::to_string(n); }

  // A save whose replay went wrong: said and set aside. `slot` is "continue", "quick" or
  // a slot's name.
  void reject(const std::string& slot, const std::string& why);
  // Where this game's files live; empty when nothing is kept.
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path fileOf(const std::string& slot) const;
  std::optional<record::SavedGame> read(const std::string& slot, bool* bad = nullptr);

  std::filesystem::path folder_;
  std::string script_;
  record::SavedGame game_;
  std::optional<record::SavedGame> memoryQuick_;
  std::map<int, std::pair<record::SavedGame, formats::Image>> memorySlots_;
  record::SaveJournal journal_;
  bool journalling_ = false;
  bool journalFailed_ = false;
};

}  // namespace ui
