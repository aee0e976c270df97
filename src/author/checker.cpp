#include "author/checker.h"

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <set>
#include <unordered_map>

#include "author/flow.h"
#include "author/line_reader.h"
#include "engine/condition.h"
#include "engine/file_notes.h"
#include "engine/menu_text.h"
#include "engine/script_error.h"
#include "formats/story.h"
#include "media/media_check.h"
#include "platform/file_bytes.h"
#include "platform/text_codec.h"
#include "ui/markup_argument.h"

namespace author {

using engine::Command;
using engine::FieldKind;
using engine::FieldWhen;
using engine::Text;
using engine::TextView;

int CheckResult::errors() const {
  return static_cast<int>(std::count_if(diagnostics.begin(), diagnostics.end(), [](const auto& d) {
    return d.severity == Severity::Error;
  }));
}

int CheckResult::warnings() const { return static_cast<int>(diagnostics.size()) - errors(); }

namespace {

std::string inQuotes(TextView text) { return "\"" + shown(text) + "\""; }

// A few words on what a field holds, for messages.
std::string fieldRole(const Command& c, FieldKind kind) {
  const Text k = c.keyword;
  switch (kind) {
    case FieldKind::Line:
      if (k == U"CMSL") return "the CASE end line";
      if (k == U"FP") return "the end line";
      if (k == U"FJ") return "the last table line";
      return "the target line";
    case FieldKind::Flag:
      return "a flag index";
    case FieldKind::Menu:
      return "a menu number";
    case FieldKind::Entry:
      return "a menu entry";
    case FieldKind::Item:
      return "an item slot";
    case FieldKind::Label:
      return "a label index";
    case FieldKind::PickCode:
      return "the pick code";
    case FieldKind::Number:
      return "a number";
    case FieldKind::Message:
      return "the message";
    case FieldKind::MenuText:
    case FieldKind::MenuEntry:
      return "the menu text";
    case FieldKind::Condition:
      return "the condition";
    case FieldKind::Picture:
      return "the picture name";
    case FieldKind::Music:
      return "the music name";
    case FieldKind::Sound:
      return "the sound name";
    case FieldKind::Mode:
      return "the mode";
    case FieldKind::Text:
      break;
  }
  return "the text";
}

struct Range {
  int lo, hi;
  const char* what;
};

std::optional<Range> rangeOf(FieldKind kind) {
  switch (kind) {
    case FieldKind::Line:
      return Range{0, engine::kMaxLines, "line"};
    case FieldKind::Flag:
      return Range{0, engine::kFlagCount - 1, "flag"};
    case FieldKind::Menu:
      return Range{0, engine::kMenus - 1, "menu"};
    case FieldKind::Entry:
      return Range{0, engine::kEntries - 1, "entry"};
    case FieldKind::Item:
      return Range{0, engine::kItems - 1, "item slot"};
    case FieldKind::Label:
      return Range{0, 0, "label index"};
    default:
      return std::nullopt;
  }
}

int editDistance(TextView a, TextView b) {
  std::vector<int> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (size_t j = 1; j <= b.size(); ++j) {
      const int up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

// Why a keyword is none of the 38, and which one was probably meant.
std::string unknownKeyword(TextView keyword) {
  if (keyword.empty()) return "the line has no keyword before its first comma";
  Text upper(keyword), trimmed;
  for (char32_t& c : upper)
    if (c >= U'a' && c <= U'z') c -= 32;
  for (char32_t c : keyword)
    if (c != U' ' && c != U'\t' && c != U'\u3000') trimmed += c;
  std::string what = "unknown keyword " + inQuotes(keyword);
  for (const Command& c : engine::commands())
    if (trimmed == c.keyword)
      return what + ": blanks around a keyword are part of it; write " + shown(c.keyword);
  for (const Command& c : engine::commands())
    if (upper == c.keyword)
      return what + ": keywords are upper case; did you mean " + shown(upper) + "?";
  const Command* best = nullptr;
  int bestDistance = 3;
  for (const Command& c : engine::commands()) {
    const int d = editDistance(upper, c.keyword);
    if (d < bestDistance) best = &c, bestDistance = d;
  }
  if (best) return what + "; did you mean " + shown(best->keyword) + "?";
  return what;
}

class Checker {
 public:
  Checker(const engine::ScriptStore& script, const platform::GameFolder& folder,
          const CheckOptions& options, CheckResult& result)
      : lines_(script), folder_(folder), options_(options), result_(result) {}

  void run() {
    findTables();
    for (int k = 1; k <= lines_.count(); ++k) checkLine(k);
    FlowResult flow = analyseFlow(lines_, [this](const FlowNote& n) { flowNote(n); });
    reportReach(flow);
    result_.shape.decisive = decisiveFlags(lines_);
    result_.shape.returnLive = flow.returnLive;
    checkMedia();
  }

 private:
  void add(Severity severity, int line, int column, const Text& word, std::string text) {
    if (!said_.insert({line, text}).second) return;
    result_.diagnostics.push_back(
        {severity, line, column, platform::toUtf8(word), std::move(text)});
  }
  void error(int line, int column, const Text& word, std::string text) {
    add(Severity::Error, line, column, word, std::move(text));
  }
  void warning(int line, int column, std::string text) {
    add(Severity::Warning, line, column, Text(), std::move(text));
  }

  /* FP and FJ tables: the lines after the command up to its end line (FJ: the end line
     too, FP: the end line runs next). When the end line cannot be read, up to the next
     ENDFP or ENDFJ. */
  void findTables() {
    for (int k = 1; k <= lines_.count(); ++k) {
      if (lines_.data(k)) continue;
      const Text& kw = lines_.keyword(k);
      if (kw != U"FP" && kw != U"FJ") continue;
      const bool fp = kw == U"FP";
      int end = 0;
      const Number n3 = lines_.number(k, 3);
      if (n3.literal() && n3.value > k && n3.value <= engine::kMaxLines) {
        end = fp ? n3.value - 1 : n3.value;
      } else {
        for (int t = k + 1; t <= lines_.count(); ++t)
          if (lines_.keyword(t) == (fp ? U"ENDFP" : U"ENDFJ")) {
            end = fp ? t - 1 : t;
            break;
          }
      }
      for (int t = k + 1; t <= std::min(end, engine::kMaxLines); ++t) lines_.setTable(t, k);
    }
  }

  void checkLine(int k) {
    if (lines_.blank(k)) return;
    if (lines_.data(k)) return checkTableLine(k);
    const Command* c = lines_.command(k);
    if (!c) {
      error(k, 1, engine::kUnknownCommand, unknownKeyword(lines_.keyword(k)));
      return;
    }
    const Text kw = c->keyword;
    for (const engine::FieldUse& f : c->fields) {
      if (f.n == 0) break;
      checkField(k, *c, f);
    }
    if (kw == U"FGCL" || kw == U"CLR") checkClear(k);
    if (kw == U"CMST") checkMenuText(k);
    if (kw == U"ADDCM") checkEntryText(k);
    if (kw == U"FP" || kw == U"FJ") checkTableCommand(k, kw == U"FP");
    if (kw == U"GOSUB") checkReturnPoint(k);
    if (kw == U"CMSL") checkCaseEnd(k);
    if (kw == U"MUSPL")
      checkMode(k, 3, {0, 1, 9}, "MUSPL mode %d does nothing: 0 stops, 1 plays, 9 closes");
    if (kw == U"FADE")
      checkMode(k, 2, {1, 2}, "FADE %d does nothing: 1 closes to black, 2 flashes");
  }

  void checkField(int k, const Command& c, const engine::FieldUse& f) {
    const TextView line = lines_.text(k);
    if (f.n > lines_.fieldCount(k)) {
      std::string text = shown(c.keyword) + " reads field " + std::to_string(f.n) + " (" +
                         fieldRole(c, f.kind) + "), which the line does not have";
      const int column = static_cast<int>(line.size()) + 1;
      if (f.when == FieldWhen::AtLimit)
        return add(Severity::Warning, k, column, engine::kMissingField,
                   text + ": the player stops when the flag reaches its limit");
      if (f.when == FieldWhen::IfFalse) text += ": the player stops when the condition is false";
      if (f.when == FieldWhen::Always) lines_.setFails(k);
      return error(k, column, engine::kMissingField, text);
    }
    const int column = lines_.fieldColumn(k, f.n);
    if (engine::isNumberKind(f.kind)) return checkNumber(k, c, f, column);
    const Text field = lines_.field(k, f.n);
    switch (f.kind) {
      case FieldKind::Message:
        return checkMessage(k, column, field);
      case FieldKind::Condition:
        return checkConditionField(k, column, field);
      case FieldKind::Picture:
        return useMedia(media::MediaKind::Picture, field, k, column);
      case FieldKind::Sound:
        return useMedia(media::MediaKind::Sound, field, k, column);
      case FieldKind::Music: {
        const Number mode = lines_.number(k, 3);
        if (!mode.ok || !mode.literal() || mode.value == 1)
          useMedia(media::MediaKind::Music, field, k, column);
        return;
      }
      default:
        return;
    }
  }

  void checkNumber(int k, const Command& c, const engine::FieldUse& f, int column) {
    const Number n = lines_.number(k, f.n);
    if (!n.ok) {
      if (f.when == FieldWhen::Always) lines_.setFails(k);
      const std::string role = fieldRole(c, f.kind);
      if (n.word == engine::kOutOfRange)
        return error(
            k, column, n.word,
            "the flag reference " + inQuotes(lines_.field(k, f.n)) + " names a flag outside 0..30");
      return error(k, column, n.word,
                   role + " " + inQuotes(lines_.field(k, f.n)) +
                       " is not a number: write a whole number in -32768..32767 or a flag "
                       "reference F00..F30");
    }
    if (!n.literal()) return;
    const Text kw = c.keyword;
    if ((kw == U"FGCL" || kw == U"CLR") && clearsNothing(k)) return;
    if (auto r = rangeOf(f.kind); r && (n.value < r->lo || n.value > r->hi)) {
      if (f.when == FieldWhen::Always) lines_.setFails(k);
      std::string text = std::string(r->what) + " " + std::to_string(n.value) + " lies outside " +
                         std::to_string(r->lo) + ".." + std::to_string(r->hi);
      if (f.kind == FieldKind::Line)
        text = fieldRole(c, f.kind) + " " + std::to_string(n.value) + " lies outside 0..1200";
      if (f.kind == FieldKind::Label)
        text = "label index " + std::to_string(n.value) + ": LBhg has only element 0";
      return error(k, column, engine::kOutOfRange, text);
    }
    if (f.kind == FieldKind::Line && isJump(kw)) checkTarget(k, n.value, column, "jumps to");
  }

  static bool isJump(const Text& kw) {
    return kw == U"GOTO" || kw == U"LOOP" || kw == U"DORT" || kw == U"DOEX" || kw == U"ELSE" ||
           kw == U"GOSUB" || kw == U"IF" || kw == U"EVA";
  }

  /* A jump to its own line goes on with the next line. A target that holds no command
     stops the player with "命令無し"; a table line is data. */
  void checkTarget(int from, int target, int column, const std::string& how, int jumper = 0) {
    if (jumper == 0) jumper = from;
    if (target == jumper) target = jumper + 1;
    if (target < 0 || target > engine::kMaxLines) return;
    if (lines_.blank(target)) {
      error(from, column, engine::kUnknownCommand,
            "this line " + how + " line " + std::to_string(target) +
                ", which is empty: the player stops there");
    } else if (lines_.data(target)) {
      warning(from, column,
              "this line " + how + " line " + std::to_string(target) + ", a line of the table of " +
                  shown(lines_.keyword(lines_.tableOf(target))) + " on line " +
                  std::to_string(lines_.tableOf(target)) + ": table lines are data, not commands");
    }
  }

  bool clearsNothing(int k) const {
    const Number last = lines_.number(k, 3), first = lines_.number(k, 2);
    return last.ok && first.ok && last.literal() && first.literal() && first.value > last.value;
  }

  void checkClear(int k) {
    if (clearsNothing(k))
      warning(k, 0,
              "the first flag is above the last: " + shown(lines_.keyword(k)) + " clears nothing");
  }

  void checkMode(int k, int n, std::initializer_list<int> valid, const char* format) {
    const Number mode = lines_.number(k, n);
    if (!mode.ok || !mode.literal()) return;
    if (std::find(valid.begin(), valid.end(), mode.value) != valid.end()) return;
    char text[128];
    std::snprintf(text, sizeof text, format, mode.value);
    warning(k, lines_.fieldColumn(k, n), text);
  }

  void checkMessage(int k, int column, TextView text) {
    for (size_t i = 0; i < text.size(); ++i) {
      const size_t count = ui::markupArgumentCount(text[i]);
      if (count == 0) continue;
      const int at = column + static_cast<int>(i);
      if (i + count >= text.size()) {
        warning(k, at,
                "the markup " + shown(text.substr(i, 1)) + " at the end of the message lacks its " +
                    std::to_string(count) + (count == 1 ? " character" : " characters") +
                    ": the player ignores it");
        return;
      }
      const TextView arguments = text.substr(i + 1, count);
      try {
        ui::markupValue(text[i], arguments);
      } catch (const engine::ScriptError& e) {
        error(k, at + 1, e.word, markupFault(text[i], arguments, e.word));
      }
      i += count;
    }
  }

  static std::string markupFault(char32_t markup, TextView arguments, const Text& word) {
    const std::string m = shown(TextView(&markup, 1));
    switch (markup) {
      case U'＆':
      case U'：':
        return "the name slot after " + m + " must be a hexadecimal digit 0-F, not " +
               inQuotes(arguments.substr(0, 1));
      case U'＠':
        if (word == engine::kOutOfRange)
          return "the colour after " + m + " " + inQuotes(arguments) + " lies outside 0..15";
        return "the colour after " + m + " must be two characters holding a number 0..15, not " +
               inQuotes(arguments);
      default:
        return "the speed after " + m + " must be two characters holding a number, not " +
               inQuotes(arguments);
    }
  }

  void checkConditionField(int k, int column, TextView condition) {
    const auto fault = engine::checkCondition(condition);
    if (!fault) return;
    lines_.setFails(k);
    const int at = column + static_cast<int>(fault->position);
    if (fault->word == engine::kOutOfRange)
      return error(k, at, fault->word,
                   "the condition compares flag " +
                       shown(condition.substr(fault->position + 1, 2)) + ", outside 0..30");
    error(k, at, fault->word,
          "the condition evaluator cannot read " + inQuotes(condition) +
              " here: it knows F and two digits, two-digit constants, = > < ^ } { and & #, "
              "without blanks, and each comparison needs an operator");
  }

  void checkMenuText(int k) {
    if (lines_.fieldCount(k) < 3) return;
    const Number menu = lines_.number(k, 2);
    if (menu.ok && menu.literal() && (menu.value < 0 || menu.value >= engine::kMenus)) return;
    const int start = menu.ok && menu.literal() ? menu.value : 0;
    const Text text = lines_.field(k, 3);
    engine::MenuTable scratch{};
    size_t position = 0;
    try {
      engine::fillMenus(scratch, start, text, &position);
    } catch (const engine::ScriptError& e) {
      lines_.setFails(k);
      const int column = lines_.fieldColumn(k, 3) + static_cast<int>(position);
      if (e.word == engine::kOverflow)
        return error(k, column, e.word, "the menu text is longer than 32767 characters");
      const char32_t c = text[position];
      if (c == engine::kMenuSeparator)
        return error(k, column, e.word, "this \"・\" starts a menu past 9");
      if (engine::isMenuMarker(c))
        return error(k, column, e.word, "a ninth entry: a menu holds at most 8");
      return error(k, column, e.word,
                   "text before the first marker of a menu: each menu's text starts with ＊, ＠ "
                   "or ０..９");
    }
  }

  void checkEntryText(int k) {
    if (lines_.fieldCount(k) < 4) return;
    const Text text = lines_.field(k, 4);
    if (!text.empty() && !engine::isMenuMarker(text[0]))
      warning(k, lines_.fieldColumn(k, 4),
              "the entry starts with " + inQuotes(text.substr(0, 1)) +
                  ", not a marker (＊ ＠ ０..９): the label shows the text without it and picking "
                  "it only shows the menu again");
  }

  /* FP shows field 1 of a table line as a message and goes on at its end line; FJ jumps to
     the number in field 1 of a table line. */
  void checkTableCommand(int k, bool fp) {
    const Number end = lines_.number(k, 3);
    if (!end.ok || !end.literal() || end.value < 0 || end.value > engine::kMaxLines) return;
    const Text word = fp ? engine::kFpTable : engine::kFjTable;
    const int column = lines_.fieldColumn(k, 3);
    if (end.value <= k) {
      lines_.setFails(k);
      return error(k, column, word,
                   "the end line " + std::to_string(end.value) +
                       " is not below this line: every flag value stops the player");
    }
    if (fp) {
      checkTarget(k, end.value, column, "goes on at");
      for (int t = k + 1; t < end.value; ++t)
        if (lines_.keyword(t) == U"ENDFP") {
          warning(k, column,
                  "the table runs past its end line: line " + std::to_string(t) +
                      " is an ENDFP before the end line " + std::to_string(end.value));
          break;
        }
    }
  }

  void checkTableLine(int k) {
    const int owner = lines_.tableOf(k);
    if (lines_.keyword(owner) == U"FP") return checkMessage(k, 1, lines_.field(k, 1));
    const Number target = lines_.number(k, 1);
    if (!target.ok)
      return error(k, 1, target.word,
                   "line " + std::to_string(k) + " is in the table of FJ on line " +
                       std::to_string(owner) + " and must hold a line number, not " +
                       inQuotes(lines_.field(k, 1)));
    if (!target.literal()) return;
    if (target.value < 0 || target.value > engine::kMaxLines)
      return error(k, 1, engine::kOutOfRange,
                   "the FJ target " + std::to_string(target.value) + " lies outside 0..1200");
    checkTarget(k, target.value, 1,
                "is a target of FJ on line " + std::to_string(owner) + " and sends it to", owner);
  }

  void checkReturnPoint(int k) {
    if (k + 1 > engine::kMaxLines)
      return warning(k, 0, "the subroutine returns to line 1201, outside the script (範囲外)");
    if (lines_.blank(k + 1))
      warning(k, 0,
              "the subroutine returns to line " + std::to_string(k + 1) +
                  ", which is empty: the player stops there when RET runs (命令無し)");
  }

  /* The CASE lines of a menu are searched from the CMSL line down to the first ENDCM;
     its end line should be that ENDCM, where the branches meet. */
  void checkCaseEnd(int k) {
    const Number end = lines_.number(k, 3);
    const int endcm = lines_.blockEnd(k);
    if (endcm == 0) {
      warning(k, 0,
              "no ENDCM below this CMSL: a pick whose CASE line is missing makes the search run "
              "off the script (範囲外)");
      return;
    }
    if (end.ok && end.literal() && end.value >= 0 && end.value <= engine::kMaxLines) {
      checkTarget(k, end.value, lines_.fieldColumn(k, 3), "ends its CASE branches at");
      if (end.value != endcm)
        warning(k, lines_.fieldColumn(k, 3),
                "the CASE end line " + std::to_string(end.value) + " is not the ENDCM on line " +
                    std::to_string(endcm) + " that ends this menu's CASE lines");
    }
  }

  void useMedia(media::MediaKind kind, const Text& name, int k, int column) {
    auto& use = media_[{static_cast<int>(kind), name}];
    if (use.lines.empty()) use.column = column;
    use.lines.push_back(k);
  }

  void checkMedia() {
    if (!options_.media) return;
    for (const auto& [key, use] : media_) {
      const auto problem =
          media::mediaProblem(folder_, static_cast<media::MediaKind>(key.first), key.second);
      if (!problem) continue;
      std::string also;
      for (size_t i = 1; i < use.lines.size() && i < 6; ++i)
        also += (i == 1 ? " (also on line " : ", ") + std::to_string(use.lines[i]);
      if (use.lines.size() > 6) also += ", ...";
      if (!also.empty()) also += ")";
      error(use.lines.front(), use.column, Text(), *problem + also);
    }
  }

  void flowNote(const FlowNote& n) {
    if (n.kind == FlowNote::Stops) {
      error(n.line, 0, engine::kUnknownCommand, n.text);
    } else {
      warning(n.line, n.column, n.text);
    }
  }

  // Lines no path reaches, in runs of consecutive lines.
  void reportReach(const FlowResult& flow) {
    ScriptShape& shape = result_.shape;
    const int last = lines_.count();
    shape.data.assign(engine::kMaxLines + 1, false);
    shape.runnable.assign(engine::kMaxLines + 1, false);
    shape.reachable.assign(engine::kMaxLines + 1, false);
    for (int k = 1; k <= last; ++k) {
      shape.data[k] = lines_.data(k);
      shape.runnable[k] = !lines_.blank(k) && !lines_.data(k) && lines_.keyword(k) != U"CASE";
      shape.reachable[k] = flow.reached[k];
    }
    for (int k = 1; k <= last; ++k) {
      const bool searched = flow.searched[k];
      if (lines_.blank(k) || lines_.data(k) || flow.reached[k] || searched) continue;
      int end = k;
      while (end + 1 <= last && !flow.reached[end + 1] && !flow.searched[end + 1] &&
             !lines_.data(end + 1))
        ++end;
      while (end > k && lines_.blank(end)) --end;
      warning(k, 0,
              end == k
                  ? "line " + std::to_string(k) + " can never run: no path from line 1 reaches it"
                  : "lines " + std::to_string(k) + "-" + std::to_string(end) +
                        " can never run: no path from line 1 reaches them");
      k = end;
    }
  }

  LineReader lines_;
  const platform::GameFolder& folder_;
  const CheckOptions& options_;
  CheckResult& result_;
  std::set<std::pair<int, std::string>> said_;
  struct MediaUse {
    int column = 0;
    std::vector<int> lines;
  };
  std::map<std::pair<int, Text>, MediaUse> media_;
};

/* LF line ends join a file's lines, so the script seems to stop after its joined line: the
   note that names the cause says that too, as the error, and the stop is not told apart. */
void foldLineEndsStop(std::vector<Diagnostic>& diagnostics, const engine::FileNote& lineEnds) {
  const auto stop = std::find_if(diagnostics.begin(), diagnostics.end(), [&](const Diagnostic& d) {
    return d.severity == Severity::Error && d.line == lineEnds.line &&
           d.text.starts_with("the script ends after this line without EOF or EXIT");
  });
  if (stop == diagnostics.end()) return;
  const Diagnostic folded{Severity::Error, lineEnds.line, lineEnds.column, stop->word,
                          lineEnds.text + "; so " + stop->text};
  diagnostics.erase(stop);
  for (Diagnostic& d : diagnostics)
    if (d.line == lineEnds.line && d.column == lineEnds.column && d.text == lineEnds.text)
      d = folded;
}

}  // namespace

CheckResult checkScriptBytes(std::string_view bytes, const platform::GameFolder& folder,
                             const CheckOptions& options) {
  CheckResult result;
  std::optional<engine::FileNote> lineEnds;
  for (const engine::FileNote& n : engine::scriptFileNotes(bytes)) {
    if (n.unixLineEnds) lineEnds = n;
    result.diagnostics.push_back({Severity::Warning, n.line, n.column, "", n.text});
  }
  int lastLine = 0;
  if (!result.script.loadBytes(bytes, lastLine)) {
    result.diagnostics.push_back(
        {Severity::Error, lastLine, 0, platform::toUtf8(engine::kCannotLoad),
         "the file has more than 1200 lines: the player loads none of it"});
  } else {
    result.loaded = true;
    Checker(result.script, folder, options, result).run();
  }
  if (lineEnds) foldLineEndsStop(result.diagnostics, *lineEnds);
  std::stable_sort(result.diagnostics.begin(), result.diagnostics.end(),
                   [](const Diagnostic& a, const Diagnostic& b) {
                     return std::tie(a.line, a.column) < std::tie(b.line, b.column);
                   });
  return result;
}

namespace {

// The story's lines as the diagnostics show them.
std::vector<Text> linesOf(std::string_view utf8) {
  std::vector<Text> lines;
  Text all = platform::fromUtf8(utf8);
  if (all.starts_with(U"\uFEFF")) all.erase(0, 1);
  size_t start = 0;
  for (size_t end; (end = all.find_first_of(U"\r\n", start)) != Text::npos;) {
    lines.push_back(all.substr(start, end - start));
    start = end + (all.compare(end, 2, U"\r\n") == 0 ? 2 : 1);
  }
  if (start < all.size()) lines.push_back(all.substr(start));
  return lines;
}

/* A story is checked as the script it builds, and what is found is told at the story's
   own lines and columns; a story that does not build has only its build errors. */
CheckResult checkStory(std::string_view utf8, const platform::GameFolder& folder,
                       const CheckOptions& options) {
  const formats::BuiltStory built = formats::buildStory(utf8);
  CheckResult result;
  if (built.ok()) {
    result = checkScriptBytes(built.script, folder, options);
    for (Diagnostic& d : result.diagnostics) {
      if (d.line < 1) continue;
      const auto [line, column] = built.storyPlace(d.line, d.column);
      if (line > 0) d.line = line, d.column = column;
    }
  } else {
    for (const formats::StoryError& e : built.errors)
      result.diagnostics.push_back({Severity::Error, e.line, e.column, "", e.text});
  }
  result.storyLines = linesOf(utf8);
  return result;
}

}  // namespace

CheckResult checkScriptFile(const std::filesystem::path& file, const platform::GameFolder& folder,
                            const CheckOptions& options) {
  const auto bytes = platform::readFileBytes(file, platform::kMaxScriptFileBytes);
  if (!bytes) {
    CheckResult result;
    result.file = file;
    std::error_code ec;
    const auto full = std::filesystem::absolute(file, ec);
    result.diagnostics.push_back(
        {Severity::Error, 0, 0, platform::toUtf8(engine::kCannotLoad),
         "cannot read the script " + (ec ? file : full).lexically_normal().string()});
    return result;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  CheckResult result = formats::isStoryFile(file) ? checkStory(text, folder, options)
                                                  : checkScriptBytes(text, folder, options);
  result.file = file;
  return result;
}

/* One diagnostic as compilers write it, so editors and terminals can jump to it:
   FILE:LINE:COLUMN: error: WORD: text (line and column only when known). */
static std::string diagnosticHeading(const Diagnostic& d, const std::string& fileName) {
  std::string heading = fileName;
  if (d.line > 0) heading += ":" + std::to_string(d.line);
  if (d.line > 0 && d.column > 0) heading += ":" + std::to_string(d.column);
  heading += d.severity == Severity::Error ? ": error: " : ": warning: ";
  if (!d.word.empty()) heading += d.word + ": ";
  return heading + d.text;
}

std::vector<std::string> errorsForReload(const std::filesystem::path& file, std::string_view text) {
  CheckOptions o;
  o.media = false;
  const platform::GameFolder folder(file.parent_path());
  const CheckResult result =
      formats::isStoryFile(file) ? checkStory(text, folder, o) : checkScriptBytes(text, folder, o);
  std::vector<std::string> lines;
  for (const Diagnostic& d : result.diagnostics) {
    if (d.severity == Severity::Error) lines.push_back(diagnosticHeading(d, file.string()));
  }
  return lines;
}

std::string summaryLine(int errors, int warnings) {
  return std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") +
         std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings");
}

void printDiagnostics(std::ostream& out, const CheckResult& result, const std::string& fileName) {
  for (const Diagnostic& d : result.diagnostics) {
    out << diagnosticHeading(d, fileName) << "\n";
    const bool story = !result.storyLines.empty();
    const int lines =
        story ? static_cast<int>(result.storyLines.size()) : result.script.lineCount();
    if (d.line < 1 || d.line > lines) continue;
    const Text& line = story ? result.storyLines[d.line - 1] : result.script.line(d.line);
    const std::string number = std::to_string(d.line);
    out << " " << number << " | " << shown(line) << "\n";
    if (d.column > 0) {
      const size_t before = std::min(line.size(), static_cast<size_t>(d.column - 1));
      out << " " << std::string(number.size(), ' ') << " | "
          << std::string(static_cast<size_t>(displayWidth(TextView(line).substr(0, before))), ' ')
          << "^\n";
    }
  }
  out << summaryLine(result.errors(), result.warnings()) << "\n";
}

}  // namespace author
