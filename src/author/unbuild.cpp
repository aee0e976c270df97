#include "author/unbuild.h"

#include <algorithm>
#include <map>
#include <set>

#include "author/line_reader.h"
#include "engine/command_table.h"
#include "engine/script_store.h"
#include "formats/story.h"
#include "platform/text_codec.h"

namespace author {
namespace {

using engine::Text;

// A number in a line that names a line: line k, field n, the line it names.
struct LineField {
  int line, field, target;
};

class Unbuilder {
 public:
  Unbuilder(const engine::ScriptStore& script, std::string_view bytes)
      : reader_(script), bytes_(bytes) {}

  Unbuilt run(const std::string& scriptName) {
    for (int k = 1; k <= reader_.count(); ++k) checkRepresentable(k);
    if (!out_.errors.empty()) return std::move(out_);
    findTables();
    for (int k = 1; k <= reader_.count(); ++k)
      if (!data_.contains(k)) findLineFields(k);
    nameTargets();
    write(scriptName);
    verify();
    return std::move(out_);
  }

 private:
  void error(int line, int column, const std::string& text) {
    out_.errors.push_back(std::to_string(line) + ":" + std::to_string(column) + ": error: " + text);
  }

  void checkRepresentable(int k) {
    const Text& t = reader_.text(k);
    if (const size_t bad = t.find(U'\uFFFD'); bad != Text::npos)
      error(k, static_cast<int>(bad) + 1, "bytes that code page 932 cannot decode");
    if (const size_t lf = t.find(U'\n'); lf != Text::npos)
      error(k, static_cast<int>(lf) + 1,
            "a line end without CR inside the line, which a story cannot keep (save the script "
            "with CR LF line ends first)");
  }

  // The table lines of FP and FJ are read only through their command: no command runs there.
  void findTables() {
    for (int k = 1; k <= reader_.count(); ++k) {
      if (data_.contains(k)) continue;
      const Text& keyword = reader_.keyword(k);
      if (keyword != U"FP" && keyword != U"FJ") continue;
      const Number end = reader_.number(k, 3);
      if (!end.literal()) continue;
      for (int t = k + 1; t <= std::min<int>(end.value, reader_.count()); ++t) {
        data_.insert(t);
        if (keyword == U"FJ") add(t, 1);
      }
    }
  }

  void findLineFields(int k) {
    const engine::Command* command = reader_.command(k);
    if (!command) return;
    for (const engine::FieldUse& use : command->fields)
      if (use.n > 0 && use.kind == engine::FieldKind::Line) add(k, use.n);
  }

  /* A field is named only when it is written as the plain number it reads as, and names a
     line the script has: then its name builds back to the same characters. */
  void add(int k, int n) {
    const Number v = reader_.number(k, n);
    if (!v.literal() || v.value < 1 || v.value > reader_.count()) return;
    if (reader_.field(k, n) != platform::fromUtf8(std::to_string(v.value))) return;
    fields_.push_back({k, n, v.value});
    const Text& keyword = reader_.keyword(k);
    std::string& role = roles_[v.value];
    if (keyword == U"GOSUB") {
      role = "sub";
    } else if (keyword == U"CMSL" && role != "sub") {
      role = "menu_end";
    }
  }

  // Names by what jumps there (a GOSUB's "sub", a menu's "menu_end") or by the command on
  // the line, numbered in order: sub_1, menu_end_2, mes_4.
  void nameTargets() {
    std::map<std::string, int> counts;
    for (auto& [line, role] : roles_) {
      std::string base = role;
      if (base.empty()) {
        const std::string keyword = platform::toUtf8(reader_.keyword(line));
        base = reader_.command(line) ? keyword : "line";
        std::transform(base.begin(), base.end(), base.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      }
      names_[line] = base + "_" + std::to_string(++counts[base]);
    }
  }

  // The story text of line k: "{" doubled, named fields as {name}, and "{}" before a line
  // a story would otherwise leave out or read as a name.
  std::string storyLine(int k) const {
    const Text& t = reader_.text(k);
    std::map<size_t, std::pair<size_t, int>> named;  // start -> (length, target)
    for (const LineField& f : fields_)
      if (f.line == k)
        named[static_cast<size_t>(reader_.fieldColumn(k, f.field) - 1)] = {
            reader_.field(k, f.field).size(), f.target};
    std::string out;
    const bool blank = t.find_first_not_of(U" \t") == Text::npos;
    if (blank || t[0] == U'#' || t[0] == U'*') out = "{}";
    for (size_t i = 0; i < t.size();) {
      if (auto it = named.find(i); it != named.end()) {
        out += "{" + names_.at(it->second.second) + "}";
        i += it->second.first;
        continue;
      }
      out += t[i] == U'{' ? "{{" : platform::toUtf8(t.substr(i, 1));
      ++i;
    }
    return out;
  }

  void write(const std::string& scriptName) {
    std::string& s = out_.story;
    s = "# A story file made from " + scriptName +
        " by torami --unbuild.\n"
        "# \"*name\" names the next line and \"{name}\" stands for its number; lines starting\n"
        "# with \"#\" and blank lines are left out. Build it with: torami --build FILE\n\n";
    for (int k = 1; k <= reader_.count(); ++k) {
      if (auto it = names_.find(k); it != names_.end()) s += "\n*" + it->second + "\n";
      s += storyLine(k) + "\n";
    }
  }

  // The story must build back to the script's bytes; where it cannot, say where.
  void verify() {
    const formats::BuiltStory built = formats::buildStory(out_.story);
    if (!built.ok()) {
      for (const auto& e : built.errors)
        out_.errors.push_back("1:1: error: the story written does not build (story line " +
                              std::to_string(e.line) + ": " + e.text + ")");
      out_.story.clear();
      return;
    }
    if (built.script == bytes_) return;
    const auto mine =
        std::mismatch(built.script.begin(), built.script.end(), bytes_.begin(), bytes_.end()).first;
    const long line = 1 + std::count(built.script.begin(), mine, '\n');
    out_.warnings.push_back(
        std::to_string(line) +
        ": warning: the story builds the same lines, but not the same bytes from here on (the "
        "script's "
        "line ends are not all CR LF, or a character has two codes in code page 932)");
  }

  LineReader reader_;
  std::string_view bytes_;
  std::set<int> data_;
  std::vector<LineField> fields_;
  std::map<int, std::string> roles_;
  std::map<int, std::string> names_;
  Unbuilt out_;
};

}  // namespace

Unbuilt unbuildScript(std::string_view bytes, const std::string& scriptName) {
  engine::ScriptStore script;
  int lastLine = 0;
  if (!script.loadBytes(bytes, lastLine)) {
    Unbuilt out;
    out.errors.push_back(std::to_string(lastLine) + ":1: error: more than " +
                         std::to_string(engine::kMaxLines) + " lines");
    return out;
  }
  return Unbuilder(script, bytes).run(scriptName);
}

}  // namespace author
