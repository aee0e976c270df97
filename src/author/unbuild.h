#pragma once
// `torami --unbuild`: a story file from a plain script, with a name for every line that a
// jump, a call, a menu's end line or an FJ table names, and the name in place of each
// such number, so that building the story gives the script back.
#include <string>
#include <string_view>
#include <vector>

namespace author {

struct Unbuilt {
  std::string story;                  // UTF-8, LF line ends; empty when there are errors
  std::vector<std::string> errors;    // "LINE:COLUMN: error: text", places of the script
  std::vector<std::string> warnings;  // "LINE: warning: text": it builds, not to the same bytes
};

// `scriptName` names the script in the story's heading.
Unbuilt unbuildScript(std::string_view bytes, const std::string& scriptName);

}  // namespace author
