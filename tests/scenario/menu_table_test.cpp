// ADDCM and DELCM run headless: single entries stored and emptied, what the menu then
// shows and returns, the order the fields are read in, and the error boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu_trace.h"
#include "support/scenario.h"

using namespace menu_trace;
using testing_support::runScript;

namespace {

using Lines = std::vector<long>;
using Menus = std::vector<std::string>;

// The script with ",END" of its CMSL line replaced by the number of its first ENDCM line.
std::string withEnd(std::string script) {
  int line = 1;
  for (size_t i = 0; i < script.find("\nENDCM\n"); ++i) line += script[i] == '\n';
  return script.replace(script.find(",END\n"), 4, "," + std::to_string(line + 1));
}

// Menu 1 filled by CMST, then the edits, then the menu with a branch for each "＊" entry.
std::string editsThenMenu(const std::string& edits) {
  return withEnd("CMST,1,＊A＊B＊C\n" + edits +
                 "CMSL,1,END\nCASE,100\nCASE,101\nCASE,102\nCASE,103\nCASE,104\nCASE,105\n"
                 "CASE,106\nCASE,107\nENDCM\nEXIT\n");
}

TEST(MenuTable, EditsAndTheLabelsTheyGive) {
  struct Case {
    const char* name;
    std::string edits;
    std::string menu;  // as the first wait shows it
  } cases[] = {
      {"store into an empty slot between", "ADDCM,1,4,＊E\n", "[A|B|C|E||||] 11110000"},
      {"store before the others", "DELCM,1,0\nADDCM,1,0,＊Z\n", "[Z|B|C|||||] 11100000"},
      {"overwrite", "ADDCM,1,1,＊X\n", "[A|X|C|||||] 11100000"},
      {"an empty text empties", "ADDCM,1,1,\n", "[A|C||||||] 11000000"},
      {"DELCM empties", "DELCM,1,1\n", "[A|C||||||] 11000000"},
      {"DELCM on an empty entry", "DELCM,1,5\n", "[A|B|C|||||] 11100000"},
      {"a marker alone", "ADDCM,1,7,＊\n", "[A|B|C|||||] 11110000"},
      {"a first character that is no marker is cut off", "ADDCM,1,3,-Lamp\n",
       "[A|B|C|Lamp||||] 11110000"},
      {"an ASCII digit is no marker", "ADDCM,1,3,2Two\n", "[A|B|C|Two||||] 11110000"},
      {"the text is not split", "ADDCM,1,3,＊D・＊E２F\n", "[A|B|C|D・＊E２F||||] 11110000"},
      {"entry 7 and flag references", "LET,3,7\nADDCM,1,F03,＊H\n", "[A|B|C|H||||] 11110000"},
      {"a later CMST replaces what ADDCM stored", "ADDCM,1,6,＊G\nCMST,1,＊Q\n",
       "[Q|||||||] 10000000"},
      {"other menus are untouched", "ADDCM,2,0,＊Other\nDELCM,3,0\n", "[A|B|C|||||] 11100000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto r = runScript(editsThenMenu(c.edits), "");
    ASSERT_EQ(menuWaits(r).size(), 1u);
    EXPECT_EQ(menuWaits(r)[0], "1 コマンド " + c.menu);
    EXPECT_EQ(r.reason(), "input");
  }
}

TEST(MenuTable, PickCodesKeepTheirEntryNumbers) {
  struct Case {
    const char* name;
    std::string edits;
    std::string input;
    long code;
  } cases[] = {
      // Menu 3 with A, B, C: without B the labels read A, C and C still returns 302.
      {"DELCM moves labels up, not codes", "DELCM,3,1\n", "pick 1", 302},
      {"a marker alone is picked", "ADDCM,3,5,＊\n", "pick 3", 305},
      {"an inserted entry", "ADDCM,3,7,＊H\nDELCM,3,0\n", "pick 2", 307},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto r =
        runScript(withEnd("CMST,3,＊A＊B＊C\n" + c.edits +
                          "CMSL,3,END\nCASE,300\nCASE,302\nLET,5,2\nCASE,305\nLET,5,5\nCASE,307\n"
                          "LET,5,7\nENDCM\nEXIT\n"),
                  c.input);
    EXPECT_EQ(picks(r), Lines{c.code});
    EXPECT_EQ(flag(r, 5), c.code - 300);
    EXPECT_EQ(r.reason(), "exit");
  }
  auto r = runScript("CMST,3,＊A＊B＊C\nDELCM,3,1\nCMSL,3,5\nCASE,302\nENDCM\nEXIT\n", "");
  EXPECT_EQ(menuWaits(r), Menus{"1 コマンド [A|C||||||] 11000000"});
}

TEST(MenuTable, AnEntryWithoutMarkerDoesNothingMoreWhenPicked) {
  auto r = runScript(editsThenMenu("ADDCM,1,3,-Lamp\n"), "pick 3\npick 3\npick 2\n");
  const std::string menu = "1 コマンド [A|B|C|Lamp||||] 11110000";
  EXPECT_EQ(menuWaits(r), (Menus{menu, menu, menu}));
  EXPECT_EQ(picks(r), Lines{102});
  EXPECT_TRUE(r.all("item").empty());
}

TEST(MenuTable, AFullWidthDigitFirstOpensThatMenu) {
  auto r = runScript(editsThenMenu("CMST,4,＊Deep\nADDCM,1,3,４Four・x\n"), "pick 3\npick 0\n");
  EXPECT_EQ(menuWaits(r), (Menus{"1 コマンド [A|B|C|Four・x||||] 11110000",
                                 "1 Four・x＞ [Deep|||||||] 10000000"}));
  EXPECT_EQ(picks(r), Lines{400});
  EXPECT_EQ(r.reason(), "error");  // menu 4 has no CASE in this block
  EXPECT_EQ(r.errorText(), "CASE 400無し( 13)\rENDCM");
}

TEST(MenuTable, EditsInTheItemMenuAddAndRemoveItems) {
  const std::string script =
      "ITMS,2,地図だ\nITMS,5,鍵だ\nADDCM,0,2,-Map\nADDCM,0,5,＊Key\nADDCM,0,6,＊Gone\n"
      "DELCM,0,6\nCMSL,0,10\nCASE,5\nLET,5,5\nENDCM\nEXIT\n";
  auto r = runScript(script, "pick 0\npick 1\n");
  const std::string menu = "1 コマンド [Map|Key||||||] 11000000";
  EXPECT_EQ(menuWaits(r), (Menus{menu, menu}));
  std::vector<long> items;
  for (const JsonValue& e : r.all("item")) items.push_back(e["entry"].integer());
  EXPECT_EQ(items, (Lines{2, 5}));
  EXPECT_EQ(picks(r), Lines{5});
  EXPECT_EQ(flag(r, 0), 5);
  EXPECT_EQ(flag(r, 5), 5);
}

TEST(MenuTable, NeitherCommandTouchesFlagsOrTheScreen) {
  auto r = runScript("LET,4,3\nADDCM,1,0,＊A\nDELCM,1,0\nADDCM,0,0,＊B\nEXIT\n");
  EXPECT_EQ(r.reason(), "exit");
  EXPECT_EQ(endMenu(r), "null");
  EXPECT_EQ(flag(r, 4), 3);
  EXPECT_EQ(flag(r, 0), 0);
}

TEST(MenuTable, FieldsAreReadInTheirOrderAndOutOfRangeIsAnError) {
  struct Case {
    const char* line;
    const char* word;
  } cases[] = {
      {"ADDCM,abc,1", "引数無し"},  // field 4 is read first
      {"ADDCM", "引数無し"},           {"ADDCM,1,2", "引数無し"},
      {"ADDCM,abc,1,＊A", "数値不正"}, {"ADDCM,1,abc,＊A", "数値不正"},
      {"ADDCM,1,,＊A", "数値不正"},    {"ADDCM,F31,1,＊A", "範囲外"},  // a flag outside the table
      {"DELCM", "引数無し"},           {"DELCM,1", "引数無し"},
      {"DELCM,abc", "数値不正"},       {"DELCM,1,x", "数値不正"},
      {"ADDCM,10,0,＊A", "範囲外"},    {"ADDCM,-1,0,＊A", "範囲外"},
      {"ADDCM,0,8,＊A", "範囲外"},     {"ADDCM,0,-1,＊A", "範囲外"},
      {"DELCM,10,0", "範囲外"},        {"DELCM,-1,0", "範囲外"},
      {"DELCM,0,8", "範囲外"},         {"DELCM,0,-1", "範囲外"},
  };
  for (const Case& c : cases) {
    auto r = runScript(std::string("LET,1,1\nLET,2,2\n") + c.line + "\nEXIT\n");
    EXPECT_EQ(r.status, 1) << c.line;
    EXPECT_EQ(r.errorText(), std::string(c.word) + "( 3)\r" + c.line);
  }
  // The edges of the table are inside it.
  auto r = runScript("ADDCM,9,7,＊A\nADDCM,0,0,＊B\nDELCM,9,7\nDELCM,0,0\nEXIT\n");
  EXPECT_EQ(r.reason(), "exit");
}

}  // namespace
