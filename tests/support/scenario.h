#pragma once
// Runs a script headless in-process, the way `torami --headless` does, and gives back
// the exit status and the trace events for assertions.
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "json.h"
#include "ui/settings.h"
#include "ui/text_readers.h"

namespace testing_support {

struct ScenarioResult {
  int status = 0;
  std::vector<JsonValue> events;
  std::filesystem::path folder;  // the game folder (shots in folder/shots)
  std::vector<JsonValue> text;   // the --text-out lines, when asked for

  // All events of one kind, in order.
  std::vector<JsonValue> all(const std::string& ev) const;
  // The first / last event of a kind; throws when there is none.
  const JsonValue& first(const std::string& ev) const;
  const JsonValue& last(const std::string& ev) const;
  // The end event's reason.
  std::string reason() const { return last("end")["reason"].str(); }
  // The text of the error event, or empty.
  std::string errorText() const;
};

struct ScenarioOptions {
  std::string input;   // the input file's text
  bool shots = false;  // save PNG snapshots to folder/shots
  bool traceLines = false;
  long maxSteps = 10000000;
  std::filesystem::path dataDir;         // where saves are kept; empty: nowhere
  bool resume = false;                   // --continue
  bool textOut = false;                  // keep the --text-out lines
  ui::TextServices text;                 // where else the text goes (a window's speech, clipboard)
  std::optional<ui::Settings> settings;  // written into dataDir first (which must be given)
};

// An event without its time, for comparing runs whose clocks differ.
JsonValue timeless(const JsonValue& event);

// A fresh game folder for one test (removed and recreated).
std::filesystem::path scenarioFolder(const std::string& name);
// Writes a script given in UTF-8 with LF line ends as code page 932 with CR LF.
void writeScript(const std::filesystem::path& folder, const std::string& utf8Lines);
// Runs the folder's TORAMI.acs headless.
// The events of a trace, one JSON object a line (empty lines skipped).
std::vector<JsonValue> traceEvents(std::istream& trace);

ScenarioResult runFolder(const std::filesystem::path& folder, const ScenarioOptions& options = {});
// Writes the script into a folder named after the current test and runs it.
ScenarioResult runScript(const std::string& utf8Lines, const ScenarioOptions& options = {});
// Flag k at the end of the run.
long flag(const ScenarioResult& r, int k);
// Runs a script that must end in a script error (status 1, reason "error") and gives the
// text of its box.
std::string errorBox(const std::string& utf8Lines);
// Shorthand: the input text only.
inline ScenarioResult runScript(const std::string& utf8Lines, const std::string& input) {
  ScenarioOptions o;
  o.input = input;
  return runScript(utf8Lines, o);
}

}  // namespace testing_support
