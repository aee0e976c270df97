// torami: plays ACS scripts in a window, or headless for tests and script authors.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "author/checker.h"
#include "author/explore_map.h"
#include "author/explorer.h"
#include "author/unbuild.h"
#include "backends/headless/headless_backend.h"
#include "backends/sdl/sdl_backend.h"
#include "engine/run_end.h"
#include "formats/story.h"
#include "gui/font.h"
#include "platform/file_bytes.h"
#include "platform/file_names.h"
#include "platform/port.h"
#include "ui/acs.h"
#include "ui/design.h"
#include "ui/session.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: torami [OPTIONS] [GAME]\n"
    "Plays the ACS script TORAMI.acs of the game folder GAME (or the script file GAME; a story\n"
    "file, .story or .txt, is built first). A window reloads the script when it is saved.\n"
    "Without GAME, the folder of the executable.\n"
    "\n"
    "  --headless         no window and no audio device: virtual clock, input from --input\n"
    "  --input FILE       mouse actions for a headless run\n"
    "  --trace FILE       write the trace (JSON Lines) to FILE, - for standard output\n"
    "  --shots DIR        headless: save the window as DIR/0001.png ... at every wait\n"
    "  --trace-lines      also trace every pass of the interpreter loop\n"
    "  --max-steps N      headless: stop after N passes (default 10000000)\n"
    "  --text-out FILE    also write each page and menu as a JSON line, - for standard output\n"
    "  --scale N          window: open at N times the design size (1.5 and the like too)\n"
    "  --fullscreen       window: fill the screen\n"
    "  --data-dir DIR     keep saved games and settings in DIR (headless: only then)\n"
    "  --continue, --new  continue an unfinished game without asking, or start anew\n"
    "  --check            check the script and the media it names without running it\n"
    "  --explore          play every path headless: endings, reachable errors, lines never run\n"
    "  --explore-out DIR  with --explore: write an input file for each ending and error\n"
    "  --explore-map FILE with --explore: write a map of the story (one HTML page)\n"
    "  --max-states N     with --explore: stop after N distinct waits (default 200000)\n"
    "  --build STORY      write the plain script of a story file (-o FILE, default TORAMI.acs\n"
    "                     beside it)\n"
    "  --unbuild SCRIPT   write a story file with named lines from a script (-o FILE, default\n"
    "                     the script's name ending in .story)\n"
    "  --help, --version\n";

struct CommandLine {
  bool help = false, version = false;
  bool headless = false, traceLines = false, fullscreen = false;
  std::optional<std::string> input, trace, shots, game, dataDir, textOut;
  ui::SaveOptions::Resume resume = ui::SaveOptions::Resume::Ask;
  bool check = false, explore = false;
  std::optional<std::string> exploreOut, exploreMap;
  std::optional<long> maxStates;
  std::optional<std::string> build, unbuild, output;
  long maxSteps = 10000000;
  double scale = 0;
};

// A bad command line: the message, then how the program is used.
engine::FatalError usageError(const std::string& message) {
  const std::string usage(kUsage);
  return engine::FatalError(engine::kExitUsage, message + "\n" + usage.substr(0, usage.size() - 1));
}

long number(const char* text, const char* option, long lo, long hi) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (!*text || *end || v < lo || v > hi)
    throw usageError(std::string("bad value for ") + option + ": " + text);
  return v;
}

// A scale from 1 to 16, whole or not ("1.5").
double scaleValue(const char* text) {
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (!*text || *end || !(v >= 1 && v <= 16))
    throw usageError(std::string("bad value for --scale: ") + text);
  return v;
}

CommandLine parse(int argc, char** argv) {
  CommandLine cl;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) throw usageError(a + " needs a value");
      return argv[++i];
    };
    if (a == "--help" || a == "-h") {
      cl.help = true;
      return cl;
    } else if (a == "--version") {
      cl.version = true;
      return cl;
    } else if (a == "--headless") {
      cl.headless = true;
    } else if (a == "--input") {
      cl.input = value();
    } else if (a == "--trace") {
      cl.trace = value();
    } else if (a == "--text-out") {
      cl.textOut = value();
    } else if (a == "--shots") {
      cl.shots = value();
    } else if (a == "--trace-lines") {
      cl.traceLines = true;
    } else if (a == "--max-steps") {
      cl.maxSteps = number(value(), "--max-steps", 1, 2000000000L);
    } else if (a == "--scale") {
      cl.scale = scaleValue(value());
    } else if (a == "--fullscreen") {
      cl.fullscreen = true;
    } else if (a == "--data-dir") {
      cl.dataDir = value();
    } else if (a == "--continue" || a == "--new") {
      cl.resume =
          a == "--continue" ? ui::SaveOptions::Resume::Continue : ui::SaveOptions::Resume::New;
    } else if (a == "--check") {
      cl.check = true;
    } else if (a == "--explore") {
      cl.explore = true;
    } else if (a == "--explore-out") {
      cl.exploreOut = value();
    } else if (a == "--explore-map") {
      cl.exploreMap = value();
    } else if (a == "--max-states") {
      cl.maxStates = number(value(), "--max-states", 1, 100000000L);
    } else if (a == "--build") {
      cl.build = value();
    } else if (a == "--unbuild") {
      cl.unbuild = value();
    } else if (a == "-o") {
      cl.output = value();
    } else if (!a.empty() && a[0] == '-') {
      throw usageError("unknown option " + a);
    } else if (cl.game) {
      throw usageError("more than one game given");
    } else {
      cl.game = a;
    }
  }
  if (cl.build && cl.unbuild) throw usageError("--build and --unbuild cannot be combined");
  if (cl.output && !cl.build && !cl.unbuild) throw usageError("-o goes with --build or --unbuild");
  if ((cl.build || cl.unbuild) && (cl.game || cl.check || cl.explore || cl.headless))
    throw usageError("--build and --unbuild take only their file and -o");
  if (cl.shots && !cl.headless) throw usageError("--shots needs --headless");
  if (cl.check && cl.explore) throw usageError("--check and --explore cannot be combined");
  if ((cl.exploreOut || cl.exploreMap || cl.maxStates) && !cl.explore)
    throw usageError("--explore-out, --explore-map and --max-states go with --explore");
  return cl;
}

fs::path executableFolder(const char* argv0) {
  const fs::path folder = platform::executableFolder();
  if (!folder.empty()) return folder;
  std::error_code ec;
  return fs::absolute(platform::pathFromUtf8(argv0), ec).parent_path();
}

void placeGame(const CommandLine& cl, const char* argv0, ui::Options& o) {
  if (!cl.game) {
    o.gameFolder = executableFolder(argv0);
    return;
  }
  const fs::path game = platform::pathFromUtf8(*cl.game);
  std::error_code ec;
  if (fs::is_directory(game, ec)) {
    o.gameFolder = game;
  } else if (fs::exists(game, ec)) {
    o.gameFolder = game.parent_path().empty() ? fs::path(".") : game.parent_path();
    o.scriptFile = game;
  } else {
    // A missing game is the script's load failure, shown as the error box.
    o.gameFolder = game;
  }
}

// The script file a run would load.
fs::path scriptOf(const ui::Options& o) { return ui::scriptFileOf(o).path; }

// The demo game shipped with the player: beside it (the Windows folder), installed under
// share/, or in the source tree around a build folder.
std::optional<fs::path> shippedDemo(const fs::path& executableFolder) {
  for (const fs::path& folder :
       {executableFolder / "demo", executableFolder / ".." / "share" / "torami" / "demo",
        executableFolder / ".." / "demo"}) {
    std::error_code ec;
    if (fs::exists(folder / "TORAMI.acs", ec)) return folder.lexically_normal();
  }
  return std::nullopt;
}

/* Started without a game and with no script beside it, a window says how to name one and
   offers the demo when there is one; false when the player closes instead. */
bool offerDemo(gui::Backend& backend, const fs::path& executableFolder, ui::Options& o) {
  const auto demo = shippedDemo(executableFolder);
  gui::MessageBox box;
  box.icon = gui::MessageBox::Icon::Question;
  box.title = ui::design::kCaption;
  box.text =
      "遊ぶゲームがありません。TORAMI.acs と素材のあるフォルダを指定して起動してください:\r\n"
      "    torami ゲームのフォルダ\r\n\r\n"
      "No game to play. Start torami with the folder that holds TORAMI.acs and its media:\r\n"
      "    torami GAME-FOLDER";
  if (demo) {
    box.text += "\r\n\r\nデモ The demo: " + platform::utf8OfPath(*demo);
    box.buttons = {"デモを遊ぶ Play the demo", "閉じる Close"};
  }
  if (backend.ask(box) != 0 || !demo) return false;
  o.gameFolder = *demo;
  return true;
}

int check(const CommandLine& cl, const char* argv0) {
  ui::Options options;
  placeGame(cl, argv0, options);
  const fs::path file = scriptOf(options);
  const auto result = author::checkScriptFile(file, platform::GameFolder(options.gameFolder));
  author::printDiagnostics(std::cout, result, file.string());
  return result.errors() > 0 ? 1 : 0;
}

int explore(const CommandLine& cl, const char* argv0) {
  ui::Options options;
  placeGame(cl, argv0, options);
  author::ExploreOptions o;
  o.gameFolder = options.gameFolder;
  o.scriptFile = options.scriptFile;
  if (cl.maxStates) o.maxStates = *cl.maxStates;
  o.progress = &std::cerr;
  o.progressInPlace = platform::standardErrorIsTerminal();
  const author::ExploreReport report = author::explore(o);
  author::printReport(std::cout, report, scriptOf(options).string());
  if (cl.exploreMap) {
    const fs::path map = platform::pathFromUtf8(*cl.exploreMap);
    author::writeExploreMap(report, map, platform::utf8OfPath(scriptOf(options)));
    std::cout << "\nmap: " << map.string() << "\n";
  }
  if (cl.exploreOut) {
    std::cout << "\ninput files:\n";
    for (const fs::path& f :
         author::writeInputFiles(report, platform::pathFromUtf8(*cl.exploreOut)))
      std::cout << "  " << f.string() << "\n";
  }
  return report.errors.empty() ? 0 : 1;
}

std::string readWhole(const fs::path& file) {
  const auto bytes = platform::readFileBytes(file, platform::kMaxScriptFileBytes);
  if (!bytes) throw engine::FatalError(engine::kExitUsage, "cannot read " + file.string());
  return std::string(bytes->begin(), bytes->end());
}

void writeWhole(const fs::path& file, std::string_view bytes) {
  if (!platform::writeFileWhole(file, bytes))
    throw engine::FatalError(engine::kExitUsage, "cannot write " + file.string());
}

int buildStory(const std::string& storyName, const std::optional<std::string>& output) {
  const fs::path story = platform::pathFromUtf8(storyName);
  const formats::BuiltStory built = formats::buildStory(readWhole(story));
  for (const formats::StoryError& e : built.errors)
    std::cerr << storyName << ":" << e.line << ":" << e.column << ": error: " << e.text << "\n";
  if (!built.ok()) return engine::kExitScriptError;
  const fs::path target =
      output ? platform::pathFromUtf8(*output) : story.parent_path() / "TORAMI.acs";
  writeWhole(target, built.script);
  std::cout << "wrote " << target.string() << ": " << built.lines.size() << " lines\n";
  return 0;
}

/* The story goes beside the script unless named; one that is there already is never
   overwritten unasked. */
int unbuildScript(const std::string& scriptName, const std::optional<std::string>& output) {
  const fs::path script = platform::pathFromUtf8(scriptName);
  fs::path target =
      output ? platform::pathFromUtf8(*output) : fs::path(script).replace_extension(".story");
  std::error_code ec;
  if (!output && fs::exists(target, ec))
    throw engine::FatalError(engine::kExitUsage,
                             target.string() + " is there already; name another file with -o");
  const author::Unbuilt story =
      author::unbuildScript(readWhole(script), platform::utf8OfPath(script.filename()));
  for (const std::string& e : story.errors) std::cerr << scriptName << ":" << e << "\n";
  if (!story.errors.empty()) return engine::kExitScriptError;
  for (const std::string& w : story.warnings) std::cerr << scriptName << ":" << w << "\n";
  writeWhole(target, story.story);
  std::cout << "wrote " << target.string() << "\n";
  return 0;
}

/* A window's text also goes to the system: the speech service is opened the first time
   reading aloud needs it, once for the whole run. */
ui::TextServices windowTextServices() {
  ui::TextServices services;
  services.speech = [] {
    static const std::unique_ptr<platform::Speech> speech = platform::openSpeech();
    return speech.get();
  };
  services.copy = platform::copyToClipboard;
  services.publishPage = platform::publishPage;
  services.publishMenu = platform::publishMenu;
  return services;
}

int play(const CommandLine& cl, const char* argv0) {
  ui::Options options;
  placeGame(cl, argv0, options);
  options.notices = &std::cerr;
  options.sleepsWhenIdle = !cl.headless;
  options.checkScript = author::errorsForReload;
  std::ofstream traceFile;
  std::optional<std::string> traceTarget = cl.trace;
  if (!traceTarget && cl.headless) traceTarget = "-";
  if (traceTarget == "-") {
    options.trace = &std::cout;
    options.traceName = "the trace on standard output";
  } else if (traceTarget) {
    traceFile.open(platform::pathFromUtf8(*traceTarget), std::ios::binary | std::ios::trunc);
    if (!traceFile) throw usageError("cannot write the trace file " + *traceTarget);
    options.trace = &traceFile;
    options.traceName = "the trace file " + *traceTarget;
  }
  std::ofstream textFile;
  if (cl.textOut == "-") {
    options.textOut = &std::cout;
  } else if (cl.textOut) {
    textFile.open(platform::pathFromUtf8(*cl.textOut), std::ios::binary | std::ios::trunc);
    if (!textFile) throw usageError("cannot write the text file " + *cl.textOut);
    options.textOut = &textFile;
  }
  options.recordFailureEndsRun = cl.headless;
  options.traceLines = cl.traceLines;
  if (cl.shots) {
    std::error_code ec;
    const fs::path shots = platform::pathFromUtf8(*cl.shots);
    fs::create_directories(shots, ec);
    if (!fs::is_directory(shots, ec)) throw usageError("cannot make the folder " + *cl.shots);
    options.shotsDir = shots;
  }

  ui::SaveOptions saves;
  saves.resume = cl.resume;
  if (cl.dataDir) {
    saves.dataFolder = platform::pathFromUtf8(*cl.dataDir);
  } else if (!cl.headless) {
    saves.dataFolder = platform::userDataFolder().value_or(fs::path());
  }
  if (cl.headless && saves.resume == ui::SaveOptions::Resume::Ask)
    saves.resume = ui::SaveOptions::Resume::New;  // a headless run never asks

  std::unique_ptr<gui::Backend> backend;
  if (cl.headless) {
    std::vector<record::InputAction> actions;
    if (cl.input) actions = record::readInputScript(*cl.input);
    backend = std::make_unique<backends::HeadlessBackend>(std::move(actions));
    options.maxSteps = cl.maxSteps;
  } else {
    const bool fullscreen =
        cl.fullscreen || (!saves.dataFolder.empty() &&
                          ui::readSettings(ui::Session::settingsFile(saves.dataFolder)).fullscreen);
    backend = std::make_unique<backends::SdlBackend>(
        ui::design::kClientWidth, ui::design::kClientHeight, cl.scale, fullscreen);
    options.text = windowTextServices();
    std::error_code ec;
    if (!cl.game && !fs::exists(scriptOf(options), ec) &&
        !offerDemo(*backend, executableFolder(argv0), options))
      return engine::kExitUsage;
  }
  return ui::Session(*backend, options, saves).run();
}

}  // namespace

int main(int argc, char** argv) {
  // The arguments as UTF-8 on every system.
  std::vector<std::string> arguments = platform::startProcess(argc, argv);
  std::vector<char*> pointers;
  for (std::string& a : arguments) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  argc = static_cast<int>(arguments.size());
  argv = pointers.data();
  try {
    const CommandLine cl = parse(argc, argv);
    if (cl.help) {
      std::cout << kUsage;
      return 0;
    }
    if (cl.version) {
      std::cout << "torami " << TORAMI_VERSION << "\n";
      return 0;
    }
    if (cl.build) return buildStory(*cl.build, cl.output);
    if (cl.unbuild) return unbuildScript(*cl.unbuild, cl.output);
    if (cl.check) return check(cl, argv[0]);
    if (cl.explore) return explore(cl, argv[0]);
    return play(cl, argv[0]);
  } catch (const engine::ProgramExit& e) {
    std::cerr << "torami: " << e.what() << "\n";
    return e.status();
  } catch (const std::exception& e) {
    std::cerr << "torami: " << e.what() << "\n";
    return engine::kExitUsage;
  }
}
