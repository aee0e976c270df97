#pragma once
// How a run ends. Ending the program from anywhere unwinds to main with a ProgramExit, so
// destructors close files and audio and tests can run the engine in-process: a GameEnd
// when a game ends (its reason goes to the trace), a FatalError when the program cannot
// run (no font, a bad command line, an unreadable input file: its message goes to
// standard error).
#include <stdexcept>
#include <string>
#include <string_view>

namespace engine {

// Why a game ended: the script's EOF or EXIT, a script error, the window closed, the
// input file of a headless run used up, or its step limit reached.
enum class EndReason { Eof, Exit, Error, Close, Input, Limit };

// The reason as the trace and the explorer's files name it: "eof", "exit", "error",
// "close", "input", "limit".
std::string_view traceName(EndReason reason);

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitScriptError = 1;
inline constexpr int kExitUsage = 2;  // also: no font, no display, an unreadable input file
inline constexpr int kExitNoInput = 3;

class ProgramExit : public std::runtime_error {
 public:
  int status() const { return status_; }

 protected:
  ProgramExit(int status, const std::string& message)
      : std::runtime_error(message), status_(status) {}

 private:
  int status_;
};

// The end of a game, with its reason for the trace.
class GameEnd : public ProgramExit {
 public:
  GameEnd(int status, EndReason reason)
      : ProgramExit(status, std::string(traceName(reason))), reason_(reason) {}
  EndReason reason() const { return reason_; }

 private:
  EndReason reason_;
};

// A failure that keeps the program from running, said on standard error.
class FatalError : public ProgramExit {
 public:
  FatalError(int status, const std::string& message) : ProgramExit(status, message) {}
};

}  // namespace engine
