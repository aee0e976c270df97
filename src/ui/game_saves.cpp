#include "ui/game_saves.h"

#include <cctype>
#include <iostream>

#include "formats/picture_loader.h"
#include "formats/png_writer.h"

namespace ui {

namespace {

void say(const std::string& text) { std::cerr << "torami: " << text << std::endl; }

}  // namespace

GameSaves::GameSaves(std::filesystem::path folder, std::string script)
    : folder_(std::move(folder)), script_(std::move(script)) {
  if (folder_.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  if (!std::filesystem::is_directory(folder_, ec)) {
    say("cannot keep saved games in " + folder_.string() + "; playing without saves");
    folder_.clear();
  }
}

/* Numbered slots are files "slot-N"; the others carry their own name. */
std::filesystem::path GameSaves::fileOf(const std::string& slot) const {
  const bool numbered = !slot.empty() && slot.find_first_not_of("0123456789") == std::string::npos;
  return folder_ / ((numbered ? "slot-" + slot : slot) + ".jsonl");
}

std::optional<record::SavedGame> GameSaves::read(const std::string& slot, bool* bad) {
  if (folder_.empty()) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::exists(fileOf(slot), ec)) return std::nullopt;
  try {
    return record::readSave(fileOf(slot), script_);
  } catch (const record::SaveError& e) {
    reject(slot, e.what());
    if (bad) *bad = true;
    return std::nullopt;
  }
}

std::optional<record::SavedGame> GameSaves::unfinishedContinue(bool& bad) {
  bad = false;
  auto game = read("continue", &bad);
  if (game && game->finished) return std::nullopt;
  return game;
}

void GameSaves::startGame(const record::SavedGame& soFar) {
  game_ = soFar;
  game_.finished = false;
  if (folder_.empty()) return;
  journalling_ = journal_.start(fileOf("continue"), script_, game_);
  if (!journalling_ && !journalFailed_) {
    journalFailed_ = true;
    say("cannot write the saved game " + fileOf("continue").string() + "; playing on without it");
  }
}

void GameSaves::record(const record::RecordedInput& input) {
  game_.inputs.push_back(input);
  if (journalling_ && !journal_.append(input)) {
    journalling_ = false;
    say("cannot write the saved game " + fileOf("continue").string() + "; playing on without it");
  }
}

void GameSaves::finishGame() {
  game_.finished = true;
  if (journalling_) journal_.finish();
  journalling_ = false;
}

bool GameSaves::saveQuick() {
  if (folder_.empty()) {
    memoryQuick_ = game_;
    return true;
  }
  return record::writeSave(fileOf("quick"), script_, game_);
}

std::optional<record::SavedGame> GameSaves::quick() {
  if (folder_.empty()) return memoryQuick_;
  return read("quick");
}

bool GameSaves::saveSlot(int n, const record::SaveInfo& info, const formats::Image& thumbnail) {
  record::SavedGame game = game_;
  game.info = info;
  game.finished = false;
  if (folder_.empty()) {
    memorySlots_[n] = {game, thumbnail};
    return true;
  }
  const auto file = fileOf(slotName(n));
  if (!record::writeSave(file, script_, game)) return false;
  auto picture = file;
  formats::savePng(thumbnail, picture.replace_extension(".png"));  // a slot shows without one
  return true;
}

std::optional<record::SavedGame> GameSaves::slot(int n) {
  if (folder_.empty()) {
    const auto it = memorySlots_.find(n);
    return it == memorySlots_.end() ? std::nullopt : std::optional(it->second.first);
  }
  return read(slotName(n));
}

GameSaves::SlotSummary GameSaves::summary(int n) {
  SlotSummary s;
  if (folder_.empty()) {
    const auto it = memorySlots_.find(n);
    if (it == memorySlots_.end()) return s;
    return {true, it->second.first.info, it->second.second};
  }
  const auto file = fileOf(slotName(n));
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return s;
  try {
    s.info = record::readSave(file, script_).info;
    s.used = true;
    auto picture = file;
    s.thumbnail = formats::loadPicture(picture.replace_extension(".png"));
  } catch (const record::SaveError&) {
  }
  return s;
}

void GameSaves::reject(const std::string& slot, const std::string& why) {
  if (folder_.empty()) {
    say("the saved game (" + slot + ") cannot be loaded: " + why);
    if (slot == "quick") memoryQuick_.reset();
    if (!slot.empty() && std::isdigit(static_cast<unsigned char>(slot[0])))
      memorySlots_.erase(std::stoi(slot));
    return;
  }
  if (slot == "continue") {  // the journal is that file: close it first
    journal_.close();
    journalling_ = false;
  }
  const auto aside = record::setAside(fileOf(slot));
  say("the saved game " + fileOf(slot).string() + " cannot be loaded: " + why + "; " +
      (aside ? "set aside as " + aside->filename().string() : "it could not be set aside"));
}

}  // namespace ui
