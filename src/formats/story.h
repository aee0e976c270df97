#pragma once
// Story files: a script written with names for the lines that jumps land on, so that an
// inserted line moves nothing by hand. UTF-8, any line ends. A line starting with "#" and
// a blank line are left out; "*name" (letters, digits, "_") names the next script line;
// "{name}" anywhere becomes that line's number and "{{" a "{"; "{}" at the start of a
// line is removed (so a script line may begin with "#" or "*", or be blank). Every other
// line is a script line as it stands. Building gives the plain script in code page 932
// with CR LF line ends, as the player reads it.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

inline constexpr int kStoryMaxLines = 1200;

struct StoryError {
  int line = 0;    // 1-based line of the story
  int column = 0;  // 1-based, in characters
  std::string text;
};

struct BuiltStory {
  std::vector<std::u32string> lines;  // the script's lines, names replaced
  // Per script line (index 0 is line 1): its story line, and for each character of the
  // script line (and one past its end) the story column it came from.
  std::vector<int> storyLine;
  std::vector<std::vector<int>> storyColumns;
  std::vector<StoryError> errors;
  std::string script;  // code page 932 with CR LF; empty when there are errors

  bool ok() const { return errors.empty(); }
  // Where a place of the script comes from in the story (column 0: the whole line).
  std::pair<int, int> storyPlace(int scriptLine, int scriptColumn) const;
};

BuiltStory buildStory(std::string_view utf8);

// A path that names a story rather than a plain script: ".story" or ".txt".
bool isStoryFile(const std::filesystem::path& path);

// A name as story files write them: letters, digits and "_", at least one.
bool isStoryName(std::u32string_view name);

}  // namespace formats
