#include "record/save_file.h"

#include <fstream>
#include <sstream>

#include "platform/file_bytes.h"
#include "platform/port.h"

namespace record {
namespace {

// The names of the places in a save, and of what each input does.
constexpr std::pair<gui::Place, const char*> kPlaces[] = {{gui::Place::MessageArea, "message"},
                                                          {gui::Place::PictureArea, "picture"},
                                                          {gui::Place::MenuLabel, "label"},
                                                          {gui::Place::MenuHeading, "heading"},
                                                          {gui::Place::ChanceLabel, "chance"}};
constexpr std::pair<gui::RawInput::Type, const char*> kTypes[] = {
    {gui::RawInput::Press, "press"},       {gui::RawInput::Release, "release"},
    {gui::RawInput::KeyDown, "key-down"},  {gui::RawInput::KeyUp, "key-up"},
    {gui::RawInput::Wheel, "wheel"},       {gui::RawInput::ButtonDown, "button-down"},
    {gui::RawInput::ButtonUp, "button-up"}};

template <class T, size_t N>
std::optional<T> lookUp(const std::pair<T, const char*> (&table)[N], const std::string& name) {
  for (const auto& [value, n] : table)
    if (name == n) return value;
  return std::nullopt;
}

template <class T, size_t N>
const char* nameOf(const std::pair<T, const char*> (&table)[N], T value) {
  for (const auto& [v, n] : table)
    if (v == value) return n;
  return "";
}

Json header(const std::string& script, const SaveInfo& info) {
  Json h = {{"save", "torami"},
            {"version", kSaveVersion},
            {"player", TORAMI_VERSION},
            {"script", script}};
  if (!info.savedAt.empty()) h["saved"] = info.savedAt;
  if (!info.words.empty()) h["words"] = info.words;
  return h;
}

bool writeLines(std::FILE* f, const std::vector<Json>& lines) {
  for (const Json& line : lines) {
    const std::string text = jsonLine(line) + "\n";
    if (std::fwrite(text.data(), 1, text.size(), f) != text.size()) return false;
  }
  platform::syncToDisk(f);  // a failed flush shows in the stream's error flag
  return !std::ferror(f);
}

std::vector<Json> linesOf(const std::string& script, const SavedGame& game) {
  std::vector<Json> lines{header(script, game.info)};
  for (const RecordedInput& in : game.inputs) lines.push_back(inputJson(in));
  if (game.finished) lines.push_back({{"finished", true}});
  return lines;
}

SaveInfo checkHeader(const std::string& line, const std::string& script) {
  const Json h = Json::parse(line, nullptr, false);
  if (!h.is_object() || h.value("save", "") != "torami" || !h.contains("version") ||
      !h["version"].is_number_integer())
    throw SaveError("not a saved game");
  if (h["version"].get<int>() > kSaveVersion)
    throw SaveError("made by a later version of the player (" + h.value("player", "?") + ")");
  if (h.value("script", "") != script) throw SaveError("saved from a different script");
  SaveInfo info;
  if (h.contains("saved") && h["saved"].is_string()) info.savedAt = h["saved"].get<std::string>();
  if (h.contains("words") && h["words"].is_string()) info.words = h["words"].get<std::string>();
  return info;
}

}  // namespace

Json inputJson(const RecordedInput& recorded) {
  const gui::RawInput& in = recorded.input;
  Json j{{"pass", recorded.at.pass}, {"site", recorded.at.site}, {"do", nameOf(kTypes, in.type)}};
  switch (in.type) {
    case gui::RawInput::Press:
    case gui::RawInput::Release:
      j["x"] = in.x, j["y"] = in.y, j["button"] = static_cast<int>(in.button);
      if (in.doubleClick) j["double"] = true;
      if (in.place != gui::Place::None)
        j["place"] = nameOf(kPlaces, in.place), j["index"] = in.index;
      break;
    case gui::RawInput::KeyDown:
    case gui::RawInput::KeyUp:
    case gui::RawInput::ButtonDown:
    case gui::RawInput::ButtonUp:
      j["key"] = in.key.fullName();
      break;
    case gui::RawInput::Wheel:
      j["notches"] = in.notches;
      break;
    case gui::RawInput::Close:
    case gui::RawInput::Motion:
    case gui::RawInput::Request:
      break;  // never part of a saved game
  }
  return j;
}

std::optional<RecordedInput> inputFromJson(const Json& j) {
  if (!j.is_object() || !j.contains("pass") || !j.contains("site") || !j.contains("do"))
    return std::nullopt;
  try {
    RecordedInput r;
    r.at = {j["pass"].get<uint64_t>(), j["site"].get<uint32_t>()};
    const auto type = lookUp(kTypes, j["do"].get<std::string>());
    if (!type) return std::nullopt;
    gui::RawInput& in = r.input;
    in.type = *type;
    if (in.type == gui::RawInput::Press || in.type == gui::RawInput::Release) {
      in.x = j.at("x").get<int>(), in.y = j.at("y").get<int>();
      const int button = j.at("button").get<int>();
      if (button != 1 && button != 2 && button != 4) return std::nullopt;
      in.button = static_cast<gui::MouseButton>(button);
      in.doubleClick = j.value("double", false);
      if (j.contains("place")) {
        const auto place = lookUp(kPlaces, j["place"].get<std::string>());
        if (!place) return std::nullopt;
        in.place = *place, in.index = j.value("index", 0);
      }
    } else if (in.type == gui::RawInput::Wheel) {
      in.notches = j.at("notches").get<int>();
    } else {
      in.key = gui::Key::fromFullName(j.at("key").get<std::string>());
    }
    return r;
  } catch (const Json::exception&) {
    return std::nullopt;
  }
}

SavedGame readSave(const std::filesystem::path& file, const std::string& script) {
  std::error_code ec;
  std::ifstream in(file, std::ios::binary);
  if (!std::filesystem::is_regular_file(file, ec) || !in) throw SaveError("cannot be read");
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  const size_t firstEnd = text.find('\n');
  if (firstEnd == std::string::npos) throw SaveError("cut short");
  SavedGame game;
  game.info = checkHeader(text.substr(0, firstEnd), script);
  size_t pos = firstEnd + 1;
  for (size_t end; (end = text.find('\n', pos)) != std::string::npos; pos = end + 1) {
    const Json line = Json::parse(text.substr(pos, end - pos), nullptr, false);
    if (line.is_object() && line.value("finished", false)) {
      game.finished = true;
    } else if (auto input = inputFromJson(line)) {
      game.inputs.push_back(*input);
    } else {
      throw SaveError("damaged (line " + std::to_string(game.inputs.size() + 2) + ")");
    }
  }
  return game;  // a last line without its line end was cut short by the end of the process
}

bool writeSave(const std::filesystem::path& file, const std::string& script,
               const SavedGame& game) {
  std::string text;
  for (const Json& line : linesOf(script, game)) text += jsonLine(line) + "\n";
  return platform::writeFileWhole(file, text);
}

std::optional<std::filesystem::path> setAside(const std::filesystem::path& file) {
  for (int n = 1; n < 1000; ++n) {
    std::filesystem::path bad = file;
    bad += n == 1 ? ".bad" : ".bad" + std::to_string(n);
    std::error_code ec;
    if (std::filesystem::exists(bad, ec)) continue;
    std::filesystem::rename(file, bad, ec);
    return ec ? std::nullopt : std::optional(bad);
  }
  return std::nullopt;
}

SaveJournal::~SaveJournal() { close(); }

void SaveJournal::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

bool SaveJournal::start(const std::filesystem::path& file, const std::string& script,
                        const SavedGame& game) {
  close();
  if (!writeSave(file, script, game)) return false;
  file_ = platform::openFile(file, "ab");
  return file_ != nullptr;
}

bool SaveJournal::writeLine(const Json& line) {
  if (!file_) return false;
  if (writeLines(file_, {line})) return true;
  close();
  return false;
}

bool SaveJournal::append(const RecordedInput& input) { return writeLine(inputJson(input)); }

bool SaveJournal::finish() {
  const bool ok = writeLine({{"finished", true}});
  close();
  return ok;
}

}  // namespace record
