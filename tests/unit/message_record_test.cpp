// The record of the message area: runs of one colour merge, rows come out in order and
// a row with nothing printed is an empty list.
#include "ui/message_record.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/image.h"

namespace {

using formats::rgb;
using ui::MessageRecord;

void addText(MessageRecord& record, formats::Color color, const std::u32string& text) {
  for (char32_t c : text) record.add(color, c);
}

TEST(MessageRecord, NothingPrintedGivesEmptyRows) {
  MessageRecord record;
  EXPECT_EQ(record.json(2).dump(), "[[],[]]");
  EXPECT_EQ(record.json(0).dump(), "[]");
}

TEST(MessageRecord, AdjacentRunsOfOneColourMerge) {
  MessageRecord record;
  addText(record, rgb(0, 0, 0), U"ab");
  addText(record, rgb(0, 0, 0), U"c");
  addText(record, rgb(255, 0, 0), U"「」");
  addText(record, rgb(0, 0, 0), U"d");
  EXPECT_EQ(record.json(2).dump(),
            R"([[["#000000","abc"],["#ff0000","「」"],["#000000","d"]],[]])");
}

TEST(MessageRecord, RowsFollowLineBreaksAndDoNotMergeAcrossThem) {
  MessageRecord record;
  addText(record, rgb(0, 0, 128), U"x");
  record.newLine();
  addText(record, rgb(0, 0, 128), U"y");
  EXPECT_EQ(record.json(2).dump(), R"([[["#000080","x"]],[["#000080","y"]]])");
}

TEST(MessageRecord, AnEmptyRowBetweenTwoWithText) {
  MessageRecord record;
  addText(record, rgb(0, 0, 0), U"x");
  record.newLine();
  record.newLine();
  addText(record, rgb(0, 0, 0), U"z");
  EXPECT_EQ(record.json(3).dump(), R"([[["#000000","x"]],[],[["#000000","z"]]])");
}

TEST(MessageRecord, ClearForgetsEverythingAndStartsOnTheFirstRow) {
  MessageRecord record;
  addText(record, rgb(0, 0, 0), U"x");
  record.newLine();
  addText(record, rgb(0, 0, 0), U"y");
  record.clear();
  addText(record, rgb(255, 255, 0), U"z");
  EXPECT_EQ(record.json(2).dump(), R"([[["#ffff00","z"]],[]])");
}

TEST(MessageRecord, TextIsEscapedForJson) {
  MessageRecord record;
  addText(record, rgb(0, 0, 0), U"a\"b\\c");
  EXPECT_EQ(record.json(1).dump(), R"([[["#000000","a\"b\\c"]]])");
}

TEST(MessageRecord, ColourHexHasSixLowerCaseDigits) {
  EXPECT_EQ(ui::colorHex(rgb(0, 0, 0)), "#000000");
  EXPECT_EQ(ui::colorHex(rgb(255, 0, 255)), "#ff00ff");
  EXPECT_EQ(ui::colorHex(rgb(1, 2, 3)), "#010203");
}

}  // namespace
