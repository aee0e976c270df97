#pragma once
// Every word the error box can show, in one table. The first four are the words of the
// title's own checks; the last three stand for the cases its runtime was left to catch.
//
//   word               when
//   "命令無し"          the keyword of the current line is none of the 38 (an empty line too)
//   "引数無し"          a field the command reads is missing
//   "比較式"            a condition that cannot be read
//   "FP", "FJ"          a table command whose flag picks no line of its table
//   "CASE n無し"        the search after a pick met an ENDCM before the CASE of code n
//   "ファイルが読込めません" + CR LF + the file name: the script cannot be loaded
//   "数値不正"          a number field or markup argument that is not a number in -32768..32767
//   "範囲外"            an index outside its table, a jump outside 0..1200, menu text
//                       before the first marker, a ninth entry or a menu past 9
//   "桁あふれ"          a count that leaves -32768..32767
#include "engine/text.h"

namespace engine {

inline const Text kUnknownCommand = U"命令無し";
inline const Text kMissingField = U"引数無し";
inline const Text kBadCondition = U"比較式";
inline const Text kFpTable = U"FP";
inline const Text kFjTable = U"FJ";
inline const Text kNotANumber = U"数値不正";
inline const Text kOutOfRange = U"範囲外";
inline const Text kOverflow = U"桁あふれ";
inline const Text kCannotLoad = U"ファイルが読込めません";

// A number as the error box writes it: a blank before a number that is not negative.
Text signedNumber(int value);
// "CASE" + the pick code + "無し".
Text caseMissing(int pick);
// The word of a script file that cannot be loaded: the reason, CR LF, the file name.
Text loadFailure(TextView fileName);

}  // namespace engine
