#pragma once
// Saved games on disk: JSON Lines, a header with the format's version and the script's
// fingerprint, then the player's input, one line per input with the point of the run
// where it came. Whole files are written to a temporary name and renamed into place; the
// journal of a game in progress is appended and flushed to the disk input by input.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/backend.h"
#include "record/json.h"
#include "record/run_point.h"

namespace record {

inline constexpr int kSaveVersion = 1;

struct RecordedInput {
  RunPoint at;
  gui::RawInput input;
};

// What a save slot shows of its game: when it was saved (local time, "2026-12-08 14:05")
// and the first words of the message shown then.
struct SaveInfo {
  std::string savedAt, words;
};

struct SavedGame {
  std::vector<RecordedInput> inputs;
  SaveInfo info;
  bool finished = false;  // the game reached its end
};

// Why a save cannot be used.
struct SaveError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

Json inputJson(const RecordedInput& recorded);
// Nullopt for a line that is no recorded input.
std::optional<RecordedInput> inputFromJson(const Json& line);

// Reads a save of the given script. A last line cut short (the process ended while writing
// it) is left out; anything else wrong throws SaveError.
SavedGame readSave(const std::filesystem::path& file, const std::string& script);
// Writes a whole save; false when it cannot.
bool writeSave(const std::filesystem::path& file, const std::string& script, const SavedGame& game);
// Renames a save that cannot be used to NAME.bad (NAME.bad2, ... when taken); nothing is
// ever deleted. The new name, or nullopt when the rename failed.
std::optional<std::filesystem::path> setAside(const std::filesystem::path& file);

// The save of the game in progress, written as it goes.
class SaveJournal {
 public:
  SaveJournal() = default;
  ~SaveJournal();
  SaveJournal(const SaveJournal&) = delete;
  SaveJournal& operator=(const SaveJournal&) = delete;

  // Writes the file anew with what the game has so far, then keeps it open for more.
  bool start(const std::filesystem::path& file, const std::string& script, const SavedGame& game);
  bool append(const RecordedInput& input);
  // The game ended: the save is marked finished and closed.
  bool finish();
  // Closes the file as it is (Windows cannot rename a file that is open).
  void close();

 private:
  bool writeLine(const Json& line);
  std::FILE* file_ = nullptr;
};

}  // namespace record
