#include "ui/game_saves.h"

#include <iostream>

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

std::filesystem::path GameSaves::fileOf(const std::string& slot) const {
  return folder_ / (slot + ".jsonl");
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

void GameSaves::reject(const std::string& slot, const std::string& why) {
  if (folder_.empty()) {
    say("the saved game (" + slot + ") cannot be loaded: " + why);
    if (slot == "quick") memoryQuick_.reset();
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
