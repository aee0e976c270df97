#include "record/input_script.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file_names.h"

namespace record {
namespace {

// A line that is an action in form but not in content; the text says what is wrong.
struct BadLine {
  std::string text;
};

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

/* The time of "at MS": every value of the virtual clock, 0 .. 2^32 - 1 milliseconds. */
uint32_t timeOf(std::string word) {
  if (!word.empty() && word[0] == '+') word.erase(0, 1);
  const bool digits = !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
  if (!digits) throw BadLine{"the time of \"at\" is not a number of milliseconds"};
  const size_t first = word.find_first_not_of('0');
  if (first != std::string::npos &&
      (word.size() - first > 10 || std::stoull(word.substr(first)) > 0xffffffffULL))
    throw BadLine{"the time of \"at\" is past 4294967295 ms"};
  return static_cast<uint32_t>(first == std::string::npos ? 0 : std::stoull(word.substr(first)));
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

}  // namespace

bool knownButton(const std::string& name) {
  static const char* const kNames[] = {"A",  "B",  "X",  "Y",    "Start", "Back",
                                       "LB", "RB", "Up", "Down", "Left",  "Right"};
  for (const char* n : kNames)
    if (name == n) return true;
  return false;
}

namespace {

/* A key name with optional modifiers in front: "Alt+Return", "Ctrl+Shift+Tab". */
bool parseKey(std::istringstream& in, gui::Key& key) {
  std::string rest;
  std::getline(in, rest);
  const size_t first = rest.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  key = gui::Key::fromFullName(rest.substr(first, rest.find_last_not_of(" \t") + 1 - first));
  return knownKey(key.name);
}

/* Parses one action after an optional "at MS"; false when the line is not an action. */
bool parseAction(std::istringstream& in, InputAction& a) {
  std::string word;
  if (!(in >> word)) return false;
  int64_t v = 0, w = 0;
  if (word == "at") {
    std::string time;
    if (a.at || !(in >> time)) return false;
    a.at = timeOf(time);
    return parseAction(in, a);
  }
  static const std::pair<const char*, InputAction::Kind> simple[] = {
      {"click", InputAction::Click},     {"rclick", InputAction::RClick},
      {"heading", InputAction::Heading}, {"chance", InputAction::Chance},
      {"close", InputAction::Close},     {"twofinger", InputAction::TwoFinger},
      {"rewind", InputAction::Rewind}};
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
  if (word == "save" || word == "load") {
    a.kind = word == "save" ? InputAction::SaveSlot : InputAction::LoadSlot;
    if (!readInt(in, 1, 30, v)) return false;
    a.n = static_cast<int>(v);
    return atEnd(in);
  }
  if (word == "reload") {
    a.kind = InputAction::Reload;
    std::getline(in >> std::ws, a.file);
    return !a.file.empty();
  }
  if (word == "button") {
    a.kind = InputAction::Button;
    std::string name;
    if (!(in >> name) || !knownButton(name)) return false;
    a.key.name = name;
    return atEnd(in);
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

/* At most a short piece of a bad line goes into a message, cut between characters. */
std::string quote(const std::string& line) {
  constexpr size_t kShown = 40;
  if (line.size() <= kShown) return line;
  size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
  return line.substr(0, cut) + "...";
}

/* Reads the file line by line, so neither a file without line ends nor one that never
   ends (a device) can take more memory than its limits. */
class Reader {
 public:
  explicit Reader(const std::string& fileName) : fileName_(fileName) {}

  void line(std::string text) {
    ++number_;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    // A comment runs from a "#" at the start of the line or after a blank to the line's end.
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == '#' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t')) {
        text.erase(i);
        break;
      }
    if (text.find_first_not_of(" \t") == std::string::npos) return;
    InputAction a;
    a.lineNumber = number_;
    std::istringstream in(text);
    try {
      if (!parseAction(in, a)) fail("not an input action: " + quote(text));
    } catch (const BadLine& bad) {
      fail(bad.text);
    }
    if (a.at) {
      if (lastTime_ && *a.at < *lastTime_)
        fail("timed actions must appear in order of their times");
      lastTime_ = a.at;
    }
    actions_.push_back(a);
  }
  [[noreturn]] void tooLong() {
    ++number_;
    fail("the line is longer than " + std::to_string(kMaxInputLineBytes) + " bytes");
  }
  [[noreturn]] void fail(const std::string& what) {
    throw InputError(fileName_ + ":" + std::to_string(number_) + ": " + what);
  }
  std::vector<InputAction> actions() { return std::move(actions_); }

 private:
  std::string fileName_;
  int number_ = 0;
  std::optional<uint32_t> lastTime_;
  std::vector<InputAction> actions_;
};

void readLines(std::istream& in, Reader& reader, const std::string& fileName) {
  std::string line;
  size_t total = 0;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const std::string_view chunk(buffer, static_cast<size_t>(in.gcount()));
    total += chunk.size();
    if (total > kMaxInputFileBytes)
      throw InputError(fileName + ": the input file is larger than " +
                       std::to_string(kMaxInputFileBytes >> 20) + " MB");
    for (size_t pos = 0; pos < chunk.size();) {
      const size_t end = chunk.find('\n', pos);
      const std::string_view piece =
          chunk.substr(pos, end == std::string_view::npos ? end : end - pos);
      if (line.size() + piece.size() > kMaxInputLineBytes) reader.tooLong();
      line += piece;
      if (end == std::string_view::npos) break;
      reader.line(std::move(line));
      line.clear();
      pos = end + 1;
    }
  }
  if (!line.empty()) reader.line(std::move(line));
}

}  // namespace

std::vector<InputAction> parseInputScript(const std::string& text, const std::string& fileName) {
  std::istringstream in(text);
  Reader reader(fileName);
  readLines(in, reader, fileName);
  return reader.actions();
}

/* A folder or a file that cannot be opened is the user's mistake on the command line; a
   device or a pipe is read like a file. */
std::vector<InputAction> readInputScript(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(platform::pathFromUtf8(path), ec))
    throw InputError(path + ": is a folder, not an input file");
  std::ifstream file(platform::pathFromUtf8(path), std::ios::binary);
  if (!file) throw InputError(path + ": cannot read the input file (" + std::strerror(errno) + ")");
  Reader reader(path);
  readLines(file, reader, path);
  if (file.bad()) throw InputError(path + ": cannot read the input file");
  return reader.actions();
}

}  // namespace record
