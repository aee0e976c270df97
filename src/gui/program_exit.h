#pragma once
// Ending the program from anywhere unwinds to main with a ProgramExit, so destructors
// close files and audio and tests can run the engine in-process. A game ends with a
// reason for the trace (eof, exit, error, close, input, limit); a program that cannot
// run (no font, a bad command line, an unreadable input file) ends with a message for
// standard error instead.
#include <stdexcept>
#include <string>

namespace gui {

class ProgramExit : public std::runtime_error {
 public:
  // The end of a game, with its trace reason.
  static ProgramExit game(int status, std::string reason) {
    return ProgramExit(status, std::move(reason), "");
  }
  // A failure that keeps the program from running, said on standard error.
  ProgramExit(int status, const std::string& message) : ProgramExit(status, "", message) {}

  int status() const { return status_; }
  const std::string& reason() const { return reason_; }
  bool hasMessage() const { return what()[0] != '\0'; }

 private:
  ProgramExit(int status, std::string reason, const std::string& message)
      : std::runtime_error(message), status_(status), reason_(std::move(reason)) {}
  int status_;
  std::string reason_;
};

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitScriptError = 1;
inline constexpr int kExitUsage = 2;  // also: no font, no display, an unreadable input file
inline constexpr int kExitNoInput = 3;

}  // namespace gui
