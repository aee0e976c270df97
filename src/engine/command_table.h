#pragma once
// The 38 keywords of the script language, in the order the loop tests them.
#include "engine/text.h"

namespace engine {

class Interpreter;

struct Command {
  const char32_t* keyword;
  void (*run)(Interpreter&);
};

// The command whose keyword equals `keyword` exactly (same case and length), or null.
const Command* findCommand(TextView keyword);

}  // namespace engine
