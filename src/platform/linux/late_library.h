#pragma once

#include <mutex>

namespace platform {

/* A shared library that is opened the first time one of its functions is called, or
   sooner on a thread of its own (preloadForWindow), instead of by the loader before the
   program starts: the picture and sound libraries bring some sixty more with them. */
class LateLibrary {
 public:
  constexpr LateLibrary(const char* soname, const char* purpose)
      : soname_(soname), purpose_(purpose) {}
  LateLibrary(const LateLibrary&) = delete;
  LateLibrary& operator=(const LateLibrary&) = delete;

  // Opens the library once; later calls wait for that first opening. False when missing.
  bool open();
  // The named function, or nullptr (and the reason as SDL's error) when it cannot be had.
  void* function(const char* name);

 private:
  const char* soname_;
  const char* purpose_;
  std::once_flag once_;
  void* handle_ = nullptr;
};

extern LateLibrary lateImage, lateMixer, lateSynth;

}  // namespace platform
