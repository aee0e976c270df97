#include "formats/story.h"

#include <algorithm>
#include <map>
#include <optional>

#include "platform/port.h"
#include "platform/text_codec.h"

namespace formats {
namespace {

bool nameChar(char32_t c) {
  return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9') ||
         c == U'_';
}

bool blankLine(std::u32string_view line) {
  return std::all_of(line.begin(), line.end(), [](char32_t c) { return c == U' ' || c == U'\t'; });
}

// The story's lines, split at CR LF, LF or a lone CR, without a byte order mark.
std::vector<std::string_view> storyLines(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    const size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    text.remove_prefix(next);
  }
  return lines;
}

struct SourceLine {
  int line;  // story line
  std::u32string text;
};

class Builder {
 public:
  BuiltStory build(std::string_view utf8) {
    const auto lines = storyLines(utf8);
    for (size_t i = 0; i < lines.size(); ++i) read(static_cast<int>(i) + 1, lines[i]);
    if (pendingName_) error(pendingLine_, 1, "*" + name(*pendingName_) + " names no line after it");
    for (const SourceLine& s : source_) resolve(s);
    if (out_.lines.size() > static_cast<size_t>(kStoryMaxLines))
      error(out_.storyLine[kStoryMaxLines], 1,
            "more than " + std::to_string(kStoryMaxLines) + " script lines (" +
                std::to_string(out_.lines.size()) + "): the player reads at most " +
                std::to_string(kStoryMaxLines));
    if (out_.errors.empty()) encode();
    std::stable_sort(out_.errors.begin(), out_.errors.end(),
                     [](const StoryError& a, const StoryError& b) {
                       return std::pair(a.line, a.column) < std::pair(b.line, b.column);
                     });
    if (!out_.errors.empty()) out_.script.clear();
    return std::move(out_);
  }

 private:
  static std::string name(const std::u32string& n) { return platform::toUtf8(n); }

  void error(int line, int column, std::string text) {
    out_.errors.push_back({line, column, std::move(text)});
  }

  void read(int number, std::string_view raw) {
    std::u32string line = platform::fromUtf8(raw);
    if (platform::toUtf8(line) != raw) {
      const size_t bad = line.find(U'\uFFFD');
      error(number, static_cast<int>(bad == std::u32string::npos ? 0 : bad) + 1,
            "the line is not UTF-8 text");
      return;
    }
    if (line.empty() || blankLine(line) || line[0] == U'#') return;
    if (line[0] == U'*') return defineName(number, line);
    pendingName_.reset();
    source_.push_back({number, std::move(line)});
  }

  void defineName(int number, const std::u32string& line) {
    size_t end = line.size();
    while (end > 1 && (line[end - 1] == U' ' || line[end - 1] == U'\t')) --end;
    const std::u32string n = line.substr(1, end - 1);
    if (!isStoryName(n)) {
      const auto bad = std::find_if_not(n.begin(), n.end(), nameChar);
      error(number, static_cast<int>(bad - n.begin()) + 2,
            "a name is letters, digits and _ (write {}* for a script line that begins with *)");
      return;
    }
    const int target = static_cast<int>(source_.size()) + 1;
    auto [it, fresh] = names_.try_emplace(n, Name{target, number});
    if (!fresh) {
      error(
          number, 2,
          "*" + name(n) + " is named twice (first on line " + std::to_string(it->second.at) + ")");
      return;
    }
    pendingName_ = n, pendingLine_ = number;
  }

  /* The script line of a story line: names become numbers, "{{" a brace, and a leading
     "{}" goes. Each character keeps the story column it came from. */
  void resolve(const SourceLine& s) {
    std::u32string text;
    std::vector<int> columns;
    const std::u32string& in = s.text;
    size_t i = in.starts_with(U"{}") ? 2 : 0;
    while (i < in.size()) {
      const int column = static_cast<int>(i) + 1;
      if (in[i] != U'{') {
        text += in[i++], columns.push_back(column);
      } else if (i + 1 < in.size() && in[i + 1] == U'{') {
        text += U'{', columns.push_back(column), i += 2;
      } else {
        const size_t close = in.find(U'}', i + 1);
        const std::u32string n =
            close == std::u32string::npos ? std::u32string() : in.substr(i + 1, close - i - 1);
        if (!isStoryName(n)) {
          error(s.line, column, "{ begins no {name} (write {{ for the character itself)");
          i += 1;
          continue;
        }
        const auto it = names_.find(n);
        if (it == names_.end()) {
          error(s.line, column + 1, "no line is named " + name(n));
        } else {
          for (char32_t c : std::to_string(it->second.target)) text += c, columns.push_back(column);
        }
        i = close + 1;
      }
    }
    columns.push_back(static_cast<int>(in.size()) + 1);
    out_.lines.push_back(std::move(text));
    out_.storyLine.push_back(s.line);
    out_.storyColumns.push_back(std::move(columns));
  }

  void encode() {
    for (size_t k = 0; k < out_.lines.size(); ++k) {
      const std::u32string& line = out_.lines[k];
      auto bytes = platform::encodeCp932(line);
      if (!bytes) {
        for (size_t c = 0; c < line.size(); ++c)
          if (!platform::encodeCp932(std::u32string_view(line).substr(c, 1))) {
            error(out_.storyLine[k], out_.storyColumns[k][c],
                  "code page 932 has no code for the character " +
                      platform::toUtf8(line.substr(c, 1)));
            break;
          }
        continue;
      }
      out_.script += *bytes + "\r\n";
    }
  }

  struct Name {
    int target;  // script line
    int at;      // story line of the definition
  };
  std::vector<SourceLine> source_;
  std::map<std::u32string, Name> names_;
  std::optional<std::u32string> pendingName_;
  int pendingLine_ = 0;
  BuiltStory out_;
};

}  // namespace

std::pair<int, int> BuiltStory::storyPlace(int scriptLine, int scriptColumn) const {
  if (scriptLine < 1 || scriptLine > static_cast<int>(storyLine.size())) return {0, 0};
  const auto& columns = storyColumns[scriptLine - 1];
  if (scriptColumn < 1) return {storyLine[scriptLine - 1], 0};
  const size_t c = std::min(static_cast<size_t>(scriptColumn - 1), columns.size() - 1);
  return {storyLine[scriptLine - 1], columns[c]};
}

BuiltStory buildStory(std::string_view utf8) { return Builder().build(utf8); }

bool isStoryFile(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".story" || ext == ".txt";
}

bool isStoryName(std::u32string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), nameChar);
}

}  // namespace formats
