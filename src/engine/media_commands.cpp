// Commands that show or play something: messages, pictures, item texts, the small
// label, music, sound effects and fades.
#include <string>

#include "engine/commands.h"
#include "engine/script_error.h"

namespace engine::cmd {
namespace {

int16_t itemSlot(Interpreter& in) {
  int16_t k = in.N(2);
  if (k < 0 || k >= kItems) fail(kOutOfRange);
  return k;
}

int16_t labelIndex(Interpreter& in) {
  int16_t index = in.N(2);
  if (index != 0) fail(kOutOfRange);  // LBhg has one element
  return index;
}

}  // namespace

void MES(Interpreter& in) { in.host().MESHG(in.T(2)); }

void GHG(Interpreter& in) { in.host().GHG(in.T(2)); }

void ITMS(Interpreter& in) {
  Text text = in.T(3);
  in.state().ItemMessages[itemSlot(in)] = text;
}

void ITCG(Interpreter& in) {
  Text text = in.T(3);
  in.state().ItemCgTexts[itemSlot(in)] = text;
}

void SOUND(Interpreter& in) {
  Text name = in.T(2);
  in.host().SOUND(name, in.N(3));
}

void LBHGA(Interpreter& in) {
  int16_t index = labelIndex(in);
  in.host().setLabelCaption(index, in.T(3));
}

void LBHGV(Interpreter& in) {
  int16_t index = labelIndex(in);
  std::string digits = std::to_string(in.N(3));
  in.host().setLabelCaption(index, Text(digits.begin(), digits.end()));
}

void MUSPL(Interpreter& in) {
  Text name = in.T(2);
  in.host().MUSPL(name, in.N(3));
}

void FADE(Interpreter& in) { in.host().FADE(in.N(2)); }

}  // namespace engine::cmd
