#pragma once
// The script checker behind `torami --check`: reads a script exactly as the player loads
// it and reports, without running it, what would go wrong or looks wrong: the file, each
// line against the command table, the flow between lines, menus and their CASE lines,
// and the media the script names. It reads lines with the engine's own field reader,
// number parser, condition evaluator, menu filler and markup reader, so it cannot
// disagree with the player about what a line means.
#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/flags.h"
#include "engine/script_store.h"
#include "platform/file_lookup.h"

namespace author {

enum class Severity { Error, Warning };

struct Diagnostic {
  Severity severity = Severity::Error;
  int line = 0;      // 0: the file as a whole
  int column = 0;    // 1-based, in characters of the line; 0: the whole line
  std::string word;  // the player's error word when the player would stop with one
  std::string text;  // UTF-8
};

// What the checker learnt about the shape of the script beyond its diagnostics.
struct ScriptShape {
  std::vector<bool> data;       // table lines of FP and FJ, read only through their command
  std::vector<bool> runnable;   // lines that run as commands: not blank, not data, not CASE
  std::vector<bool> reachable;  // lines some path from line 1 can run
  std::array<bool, engine::kFlagCount> decisive{};  // flags that can decide where it goes
  std::vector<bool> returnLive;  // from the line, a RET can run before the next GOSUB
};

struct CheckResult {
  std::filesystem::path file;  // the script file as it was looked for
  bool loaded = false;
  engine::ScriptStore script;
  ScriptShape shape;
  std::vector<Diagnostic> diagnostics;  // by line, then column
  // For a story file: its lines, which the diagnostics' lines and columns refer to.
  std::vector<engine::Text> storyLines;

  int errors() const;
  int warnings() const;
};

struct CheckOptions {
  bool media = true;  // look up and decode the pictures, music and sounds
};

// Checks the bytes of a script; media names are looked up in `folder`.
CheckResult checkScriptBytes(std::string_view bytes, const platform::GameFolder& folder,
                             const CheckOptions& options = {});
// Checks a script file (`file` may be missing: that is the first error). A story file is
// built first; its diagnostics name the story's lines.
CheckResult checkScriptFile(const std::filesystem::path& file, const platform::GameFolder& folder,
                            const CheckOptions& options = {});

/* Prints each diagnostic as compilers do, so editors can jump to it:
     FILE:LINE:COLUMN: error: 範囲外: jump target 1500 lies outside 0..1200
   then the line's text and a caret under the column, and at the end a summary line
   "N errors, M warnings". */
void printDiagnostics(std::ostream& out, const CheckResult& result, const std::string& fileName);

/* The errors of a script's contents (a story's when `file` names one), without looking at
   the media, one line each as printDiagnostics begins them: what a reload refuses. */
std::vector<std::string> errorsForReload(const std::filesystem::path& file, std::string_view text);

// The summary line: "1 error, 0 warnings".
std::string summaryLine(int errors, int warnings);

}  // namespace author
