#include "author/explorer.h"

#include <fstream>

#include "author/explore_collect.h"
#include "author/explore_order.h"
#include "author/explore_play.h"
#include "author/run_players.h"

namespace author {
namespace {

using record::InputAction;

std::string flagList(const engine::Flags& flags) {
  std::string out;
  for (int i = 0; i < engine::kFlagCount; ++i)
    if (flags[i] != 0)
      out += (out.empty() ? "" : " ") + ("F" + std::string(i < 10 ? "0" : "") + std::to_string(i) +
                                         "=" + std::to_string(flags[i]));
  return out.empty() ? "all 0" : out;
}

int picks(const Path& path) {
  int n = 0;
  for (const InputAction& a : path)
    n += a.kind == InputAction::Pick || a.kind == InputAction::Heading;
  return n;
}

std::string steps(const Path& path) {
  return std::to_string(path.size()) + (path.size() == 1 ? " action" : " actions") + ", " +
         std::to_string(picks(path)) + (picks(path) == 1 ? " pick" : " picks");
}

// " (reached by the jump on line 30)", or nothing when no jump came before the error.
std::string reachedBy(const ReachedError& e) {
  return e.jumpLine < 0 ? std::string()
                        : " (reached by the jump on line " + std::to_string(e.jumpLine) + ")";
}

}  // namespace

ExploreReport explore(const ExploreOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  const ScriptReading script = readScript(options);
  Progress progress(options.progress, options.progressInPlace);
  Exploration found;
  RunOrder order(options.maxStates, found);
  ExploreReport report;
  if (options.method == ExploreOptions::Method::Workers) {
    // The first run alone: no other can start before it is in, and the workers begin with
    // what it made ready (the fonts and their glyphs).
    playInProcess(options, script, order, found, progress, 1);
    report.workers = playInWorkers(options, script, order, found, progress);
  }
  playInProcess(options, script, order, found, progress);  // what no worker played
  progress.finish(found.graph.states());
  report.scriptLines = script.lines;
  report.runnable = script.runnable;
  report.ran.assign(found.ran.begin(), found.ran.end());
  report.runs = found.runs;
  report.stopped = found.stopped;
  report.complete = !found.stopped;
  collect(found.graph, report);
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return report;
}

std::string actionText(const InputAction& a) {
  switch (a.kind) {
    case InputAction::Pick:
      return "pick " + std::to_string(a.n);
    case InputAction::Heading:
      return "heading";
    case InputAction::Chance:
      return "chance";
    default:
      return "click";
  }
}

std::string lineRanges(const std::vector<int>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size();) {
    size_t j = i;
    while (j + 1 < lines.size() && lines[j + 1] == lines[j] + 1) ++j;
    if (!out.empty()) out += ", ";
    out += std::to_string(lines[i]);
    if (j > i) out += "-" + std::to_string(lines[j]);
    i = j + 1;
  }
  return out;
}

std::vector<int> linesNeverRun(const ExploreReport& r) {
  std::vector<int> never;
  for (int k = 1; k <= r.scriptLines && k < static_cast<int>(r.runnable.size()); ++k)
    if (r.runnable[k] && !(k < static_cast<int>(r.ran.size()) && r.ran[k])) never.push_back(k);
  return never;
}

void printReport(std::ostream& out, const ExploreReport& r, const std::string& fileName) {
  const double rate = r.seconds > 0 ? r.states / r.seconds : 0;
  out << "explored " << fileName << ": " << r.states << " states, " << r.edges << " moves, "
      << r.runs << " runs in " << std::fixed;
  out.precision(2);
  out << r.seconds << " s (" << static_cast<long>(rate) << " states per second)"
      << (r.lost > 0 ? "; " + std::to_string(r.lost) + (r.lost == 1 ? " way" : " ways") +
                           " could not be followed"
                     : "")
      << (r.stopped ? "; stopped early" : "")
      << (r.complete ? "" : ", the exploration is not complete") << "\n";
  out << "\nendings: " << r.endings.size() << "\n";
  for (const Ending& e : r.endings)
    out << "  " << (e.reason == engine::EndReason::Eof ? "EOF" : "EXIT") << " on line " << e.line
        << " after " << steps(e.path) << "; flags " << flagList(e.flags)
        << (e.variants > 1 ? " (and " + std::to_string(e.variants - 1) + " other sets of flags)"
                           : std::string())
        << "\n";
  out << "\nscript errors: " << r.errors.size() << "\n";
  for (const ReachedError& e : r.errors)
    out << "  line " << e.line << ": " << e.text << reachedBy(e) << " after " << steps(e.path)
        << "\n";
  out << "\nwaits from which nothing leads on: " << r.deadEnds.size() << "\n";
  for (const DeadEnd& d : r.deadEnds)
    out << "  line " << d.line << " (" << d.kind << " wait, " << d.states
        << (d.states == 1 ? " state" : " states") << ") after " << steps(d.path) << "\n";
  const std::vector<int> never = linesNeverRun(r);
  int runnable = 0;
  for (int k = 1; k <= r.scriptLines && k < static_cast<int>(r.runnable.size()); ++k)
    runnable += r.runnable[k];
  const int ran = runnable - static_cast<int>(never.size());
  out << "\nlines no path ran: " << (never.empty() ? "none" : lineRanges(never)) << "\n";
  out.precision(1);
  out << "coverage: " << ran << " of " << runnable << " lines ("
      << (runnable ? 100.0 * ran / runnable : 100.0) << "%)\n";
}

std::string inputFileText(const Path& path, const std::string& heading) {
  std::string text = "# " + heading + "\n";
  for (const InputAction& a : path) text += actionText(a) + "\n";
  return text;
}

std::vector<std::filesystem::path> writeInputFiles(const ExploreReport& report,
                                                   const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::vector<std::filesystem::path> written;
  auto write = [&](const std::string& name, const std::string& text) {
    const auto file = folder / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw engine::FatalError(engine::kExitUsage, "cannot write " + file.string());
    written.push_back(file);
  };
  for (size_t i = 0; i < report.endings.size(); ++i) {
    const Ending& e = report.endings[i];
    write("ending-" + std::to_string(i + 1) + "-" + std::string(engine::traceName(e.reason)) + "-" +
              std::to_string(e.line) + ".txt",
          inputFileText(e.path, (e.reason == engine::EndReason::Eof ? "EOF" : "EXIT") +
                                    std::string(" on line ") + std::to_string(e.line) + ", flags " +
                                    flagList(e.flags)));
  }
  for (size_t i = 0; i < report.errors.size(); ++i) {
    const ReachedError& e = report.errors[i];
    write("error-" + std::to_string(i + 1) + "-" + std::to_string(e.line) + ".txt",
          inputFileText(e.path, "script error on line " + std::to_string(e.line) + ": " + e.text +
                                    reachedBy(e)));
  }
  return written;
}

}  // namespace author
