#include "scenario.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "author/checker.h"
#include "backends/headless/headless_backend.h"
#include "platform/text_codec.h"
#include "ui/acs.h"
#include "ui/session.h"

namespace testing_support {

namespace fs = std::filesystem;

std::vector<JsonValue> ScenarioResult::all(const std::string& ev) const {
  std::vector<JsonValue> out;
  for (const JsonValue& e : events)
    if (e["ev"].str() == ev) out.push_back(e);
  return out;
}

const JsonValue& ScenarioResult::first(const std::string& ev) const {
  for (const JsonValue& e : events)
    if (e["ev"].str() == ev) return e;
  throw std::runtime_error("no event " + ev);
}

const JsonValue& ScenarioResult::last(const std::string& ev) const {
  for (auto it = events.rbegin(); it != events.rend(); ++it)
    if ((*it)["ev"].str() == ev) return *it;
  throw std::runtime_error("no event " + ev);
}

std::string ScenarioResult::errorText() const {
  auto errors = all("error");
  return errors.empty() ? std::string() : errors.back()["text"].str();
}

long flag(const ScenarioResult& r, int k) { return r.last("end")["flags"][k].integer(); }

std::string errorBox(const std::string& utf8Lines) {
  ScenarioResult r = runScript(utf8Lines);
  EXPECT_EQ(r.status, 1) << utf8Lines;
  EXPECT_EQ(r.reason(), "error") << utf8Lines;
  return r.errorText();
}

JsonValue timeless(const JsonValue& event) {
  auto copy = std::make_shared<JsonObject>(event.object());
  copy->erase("t");
  return JsonValue{copy};
}

fs::path scenarioFolder(const std::string& name) {
  fs::path folder =
      fs::temp_directory_path() / ("torami-test-" + std::to_string(::getpid())) / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

void writeScript(const fs::path& folder, const std::string& utf8Lines) {
  std::string text;
  for (char c : utf8Lines) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  auto encoded = platform::encodeCp932(platform::fromUtf8(text));
  if (!encoded) throw std::runtime_error("script not encodable in code page 932");
  std::ofstream(folder / "TORAMI.acs", std::ios::binary) << *encoded;
}

ScenarioResult runFolder(const fs::path& folder, const ScenarioOptions& options) {
  ScenarioResult result;
  result.folder = folder;
  std::ostringstream trace, text;
  {
    ui::Options o;
    o.gameFolder = folder;
    o.trace = &trace;
    o.traceLines = options.traceLines;
    o.maxSteps = options.maxSteps;
    o.checkScript = author::errorsForReload;
    if (options.textOut) o.textOut = &text;
    o.text = options.text;
    if (options.settings) {
      fs::create_directories(options.dataDir);
      ui::writeSettings(ui::Session::settingsFile(options.dataDir), *options.settings);
    }
    if (options.shots) {
      o.shotsDir = folder / "shots";
      fs::remove_all(o.shotsDir);  // the shots of this run alone
      fs::create_directories(o.shotsDir);
    }
    backends::HeadlessBackend backend(record::parseInputScript(options.input, "input"));
    ui::SaveOptions saves;
    saves.dataFolder = options.dataDir;
    saves.resume =
        options.resume ? ui::SaveOptions::Resume::Continue : ui::SaveOptions::Resume::New;
    result.status = ui::Session(backend, o, saves).run();
  }
  std::istringstream in(trace.str());
  result.events = traceEvents(in);
  std::istringstream textIn(text.str());
  result.text = traceEvents(textIn);
  return result;
}

std::vector<JsonValue> traceEvents(std::istream& trace) {
  std::vector<JsonValue> events;
  for (std::string line; std::getline(trace, line);)
    if (!line.empty()) events.push_back(parseJson(line));
  return events;
}

ScenarioResult runScript(const std::string& utf8Lines, const ScenarioOptions& options) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "scenario";
  for (char& c : name)
    if (c == '/') c = '_';
  fs::path folder = scenarioFolder(name);
  writeScript(folder, utf8Lines);
  return runFolder(folder, options);
}

}  // namespace testing_support
