#include "platform/headless/input_script.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/file_names.h"

namespace platform {
namespace {

// 64 bits: a time may be up to 0xffffffff, more than a long holds on Windows.
bool readInt(std::istringstream& in, int64_t lo, int64_t hi, int64_t& out) {
  std::string word;
  if (!(in >> word)) return false;
  size_t used = 0;
  try {
    out = std::stoll(word, &used);
  } catch (...) {
    return false;
  }
  return used == word.size() && out >= lo && out <= hi;
}

bool atEnd(std::istringstream& in) {
  std::string rest;
  return !(in >> rest);
}

// The key names of the window system that an input file may use.
bool knownKey(const std::string& name) {
  static const char* const kNames[] = {
      "Return",    "Space",        "Escape",     "Backspace",  "Tab",         "Up",
      "Down",      "Left",         "Right",      "Home",       "End",         "PageUp",
      "PageDown",  "Left Ctrl",    "Right Ctrl", "Left Shift", "Right Shift", "Left Alt",
      "Right Alt", "Keypad Enter", "=",          "-"};
  for (const char* n : kNames)
    if (name == n) return true;
  if (name.size() == 1)
    return std::isdigit(static_cast<unsigned char>(name[0])) || (name[0] >= 'A' && name[0] <= 'Z');
  if (name.size() >= 2 && name[0] == 'F') {
    const std::string digits = name.substr(1);
    return digits.find_first_not_of("0123456789") == std::string::npos && digits.size() <= 2 &&
           std::stoi(digits) >= 1 && std::stoi(digits) <= 12;
  }
  return false;
}

/* A key name with optional modifiers in front: "Alt+Return", "Ctrl+Shift+Tab". */
bool parseKey(std::istringstream& in, Key& key) {
  std::string rest;
  std::getline(in, rest);
  const size_t first = rest.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  key = Key::fromFullName(rest.substr(first, rest.find_last_not_of(" \t") + 1 - first));
  return knownKey(key.name);
}

/* Parses one action after an optional "at MS"; false when the line is not an action. */
bool parseAction(std::istringstream& in, InputAction& a) {
  std::string word;
  if (!(in >> word)) return false;
  int64_t v = 0, w = 0;
  if (word == "at") {
    if (a.at || !readInt(in, 0, 0xffffffff, v)) return false;
    a.at = static_cast<uint32_t>(v);
    return parseAction(in, a);
  }
  static const std::pair<const char*, InputAction::Kind> simple[] = {
      {"click", InputAction::Click},
      {"rclick", InputAction::RClick},
      {"heading", InputAction::Heading},
      {"chance", InputAction::Chance},
      {"close", InputAction::Close}};
  for (const auto& [name, kind] : simple) {
    if (word != name) continue;
    a.kind = kind;
    if (kind == InputAction::Click) {
      std::string next;
      if (in >> next) {
        if (next != "picture") return false;
        a.kind = InputAction::ClickPicture;
      }
    }
    return atEnd(in);
  }
  if (word == "pick" || word == "rpick") {
    a.kind = word == "pick" ? InputAction::Pick : InputAction::RPick;
    if (!readInt(in, 0, 7, v)) return false;
    a.n = static_cast<int>(v);
    return atEnd(in);
  }
  if (word == "key" || word == "hold" || word == "release") {
    a.kind = word == "key"    ? InputAction::KeyPress
             : word == "hold" ? InputAction::Hold
                              : InputAction::Release;
    return parseKey(in, a.key);
  }
  if (word == "wheel") {
    std::string direction;
    if (!(in >> direction) || (direction != "up" && direction != "down")) return false;
    a.kind = InputAction::Wheel;
    a.notches = direction == "up" ? 1 : -1;
    return atEnd(in);
  }
  if (word == "clickat" || word == "dblclickat") {
    a.kind = word == "clickat" ? InputAction::ClickAt : InputAction::DblClickAt;
    if (!readInt(in, -100000, 100000, v) || !readInt(in, -100000, 100000, w)) return false;
    a.x = static_cast<int>(v);
    a.y = static_cast<int>(w);
    std::string next;
    if (a.kind == InputAction::ClickAt && in >> next) {
      if (next != "right") return false;
      a.right = true;
    }
    return atEnd(in);
  }
  return false;
}

}  // namespace

std::vector<InputAction> parseInputScript(const std::string& text, const std::string& fileName) {
  std::vector<InputAction> actions;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  std::optional<uint32_t> lastTime;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A comment runs from a "#" at the start of the line or after a blank to the line's end.
    for (size_t i = 0; i < line.size(); ++i)
      if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
        line.erase(i);
        break;
      }
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    InputAction a;
    a.lineNumber = number;
    std::istringstream in(line);
    if (!parseAction(in, a))
      throw InputError(fileName + ":" + std::to_string(number) + ": not an input action: " + line);
    if (a.at) {
      if (lastTime && *a.at < *lastTime)
        throw InputError(fileName + ":" + std::to_string(number) +
                         ": timed actions must appear in order of their times");
      lastTime = a.at;
    }
    actions.push_back(a);
  }
  return actions;
}

std::vector<InputAction> readInputScript(const std::string& path) {
  std::ifstream file(pathFromUtf8(path), std::ios::binary);
  if (!file) throw InputError(path + ": cannot read the input file");
  std::stringstream buffer;
  buffer << file.rdbuf();
  return parseInputScript(buffer.str(), path);
}

}  // namespace platform
