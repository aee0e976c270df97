#pragma once
// Standard error points at /dev/null while an object of this class lives. Libraries
// print lines of their own there (the PNG decoder its errors and warnings, the sound
// libraries what they try while they look for a device); the user gets one line of
// ours instead.
namespace platform {

class QuietStandardError {
 public:
  QuietStandardError();
  ~QuietStandardError();
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace platform
