#pragma once
// Signs in a script file's bytes that it was saved in a way the player does not read as
// meant: Unix line ends (the player ends lines only at CR LF or CR, so it joins such
// lines), UTF-8 text (the player reads code page 932, so the text comes out garbled), and
// bytes that do not decode at all. The checker reports them and a normal run says them
// once on standard error.
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct FileNote {
  int line = 0;    // the script line, as the player counts lines
  int column = 0;  // 1-based, in characters of that line
  std::string text;
  bool unixLineEnds = false;  // the note on LF line ends, which join the file's lines
};

std::vector<FileNote> scriptFileNotes(std::string_view bytes);

}  // namespace engine
