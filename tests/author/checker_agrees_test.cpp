// The checker agrees with the player: random scripts (keywords, fields, numbers,
// conditions, markup, menus, tables) are checked and then played headless with random
// picks and clicks; a run that stops with a script error the checker could have seen
// (unknown keyword, missing field, bad number, range, condition) must find a diagnostic
// of the checker on that line or on the line whose command was running.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "author/checker.h"
#include "support/scenario.h"

namespace {

namespace fs = std::filesystem;

class ScriptMaker {
 public:
  explicit ScriptMaker(unsigned seed) : rng_(seed) {}

  std::string script() {
    lines_ = 6 + pick(10);
    std::string out;
    for (int k = 1; k <= lines_; ++k) out += line(k) + "\n";
    return out;
  }

  std::string input() {
    static const char* actions[] = {"click",  "click",  "click",   "pick 0", "pick 1",
                                    "pick 2", "pick 3", "heading", "chance"};
    std::string out;
    for (int i = 0; i < 30; ++i) out += std::string(actions[pick(9)]) + "\n";
    return out;
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool rarely() { return pick(8) == 0; }

  // A number field: mostly good, sometimes not a number or out of its range.
  std::string number(int lo, int hi) {
    switch (pick(12)) {
      case 0:
        return "x";
      case 1:
        return "";
      case 2:
        return std::to_string(hi + 1 + pick(3));
      case 3:
        return "40000";
      default:
        return std::to_string(lo + pick(hi - lo + 1));
    }
  }
  std::string target() { return rarely() ? number(0, 1200) : std::to_string(1 + pick(lines_ + 2)); }
  std::string flag() { return number(0, 30); }
  std::string value() { return pick(4) == 0 ? "F0" + std::to_string(pick(10)) : number(-3, 99); }

  std::string condition() {
    static const char* parts[] = {"F01=01",  "F02>00",        "F03^F04",  "F01=1",
                                  "F05}02",  "F31=01",        "F01 = 01", "F01F02",
                                  "&F01=01", "F02<03#F01=00", "x"};
    return parts[pick(11)];
  }

  std::string message() {
    static const char* parts[] = {"あ",        "いう", "＾",   "￥",  "＠12", "＠16",
                                  "＠x1",      "＃05", "＃ab", "：1", "：G",  "＆1わたし",
                                  "＆Zわたし", "＜",   "＞",   "＠"};
    std::string out;
    for (int i = 0, n = 1 + pick(4); i < n; ++i) out += parts[pick(16)];
    return out;
  }

  std::string menuText() {
    static const char* parts[] = {"＊a", "＊b", "＠back", "０items", "１one", "・", "x", "＊c"};
    std::string out = pick(6) == 0 ? "" : "＊go";
    for (int i = 0, n = pick(6); i < n; ++i) out += parts[pick(8)];
    return out;
  }

  std::string line(int k) {
    switch (pick(26)) {
      case 0:
        return "MES," + message();
      case 1:
        return "LET," + flag() + "," + value();
      case 2:
        return "INC," + flag() + "," + number(0, 5) + (rarely() ? "" : ",L");
      case 3:
        return "DEC," + flag();
      case 4:
        return "FGCL," + flag() + "," + flag();
      case 5:
        return "IF," + condition() + (rarely() ? "" : "," + target());
      case 6:
        return "GOTO," + target();
      case 7:
        return "GOSUB," + target();
      case 8:
        return "RET";
      case 9:
        return "CMST," + number(0, 9) + "," + menuText();
      case 10:
        return "CMSL," + number(0, 9) + "," + target();
      case 11:
        return "CASE," + std::to_string(pick(3) * 100 + pick(3));
      case 12:
        return "ENDCM";
      case 13:
        return "FP," + flag() + "," + std::to_string(k + 1 + pick(3));
      case 14:
        return "FJ," + flag() + "," + std::to_string(k + 1 + pick(2));
      case 15:
        return "ADDCM," + number(0, 9) + "," + number(0, 7) + ",＊" + message();
      case 16:
        return "DELCM," + number(0, 9) + "," + number(0, 7);
      case 17:
        return "ITMS," + number(0, 7) + "," + message();
      case 18:
        return "LBHGA," + number(0, 0) + ",x";
      case 19:
        return "LBHGV," + number(0, 0) + "," + value();
      case 20:
        return pick(2) ? "EOF" : "EXIT";
      case 21:
        return pick(2) ? "ENDIF" : "DO";
      case 22:
        return pick(2) ? "goto,1" : "";
      case 23:
        return std::to_string(pick(lines_ + 2));  // an FJ table line, or a stray number
      case 24:
        return "LET,1,99";
      default:
        return "CMSL,1," + target();
    }
  }

  std::mt19937 rng_;
  int lines_ = 0;
};

// The words the checker can see from the script alone.
bool checkable(const std::string& word) {
  return word == "命令無し" || word == "引数無し" || word == "数値不正" || word == "範囲外" ||
         word == "比較式";
}

TEST(CheckerAgreesWithThePlayer, OnRandomScriptsWithRandomPicks) {
  int runs = 0, errors = 0;
  for (unsigned seed = 1; seed <= 150; ++seed) {
    ScriptMaker maker(seed);
    const std::string text = maker.script();
    const fs::path folder = testing_support::scenarioFolder("agree");
    testing_support::writeScript(folder, text);
    author::CheckOptions co;
    co.media = false;
    const auto check =
        author::checkScriptFile(folder / "TORAMI.acs", platform::GameFolder(folder), co);
    std::set<int> said;
    for (const auto& d : check.diagnostics) said.insert(d.line);
    testing_support::ScenarioOptions o;
    o.input = maker.input();
    o.traceLines = true;
    o.maxSteps = 20000;
    const auto run = testing_support::runFolder(folder, o);
    ++runs;
    if (run.reason() != "error") continue;
    ++errors;
    const auto& error = run.last("error");
    const std::string box = error["text"].str();
    const std::string word = box.substr(0, box.find('('));
    if (!checkable(word)) continue;
    const int line = static_cast<int>(error["line"].integer());
    const auto passes = run.all("line");
    // The pass that stopped (its line event comes before its command runs), and the one
    // before it: the command that jumped or ran on to an empty line.
    auto passLine = [&](size_t back) {
      return passes.size() > back
                 ? static_cast<int>(passes[passes.size() - 1 - back]["line"].integer())
                 : 0;
    };
    const int running = passLine(0), before = passLine(1);
    bool seen = said.count(line) || said.count(running) || said.count(before);
    // An item message is typed by the menu while its CMSL line runs; a CASE reached in
    // sequence jumps to the end line its CMSL gave.
    for (int at : {running, before}) {
      const engine::Text& command = check.script.line(at);
      const engine::Text related = command.rfind(U"CMSL,", 0) == 0  ? U"ITMS,"
                                   : command.rfind(U"CASE", 0) == 0 ? U"CMSL,"
                                                                    : U"";
      for (int k = 1; k <= check.script.lineCount() && !seen && !related.empty(); ++k)
        seen = check.script.line(k).rfind(related, 0) == 0 && said.count(k);
    }
    EXPECT_TRUE(seen) << "seed " << seed << ": the player stopped with " << box
                      << " and the checker said nothing about line " << line << ", " << running
                      << " or " << before << "\n"
                      << text;
  }
  EXPECT_EQ(runs, 150);
  EXPECT_GT(errors, 30);  // the scripts do reach errors, so the property is exercised
}

}  // namespace
