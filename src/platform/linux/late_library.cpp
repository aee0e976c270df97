#include "platform/linux/late_library.h"

#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "platform/port.h"

namespace platform {

LateLibrary lateImage("libSDL2_image-2.0.so.0", "pictures");
LateLibrary lateMixer("libSDL2_mixer-2.0.so.0", "sound");
LateLibrary lateSynth("libfluidsynth.so.3", "music");

/* Opened into the global scope, as the loader would have: the synthesiser's helper
   library is then found by name like any other. A library that is missing is said once;
   the game plays on without what it gives. */
bool LateLibrary::open() {
  std::call_once(once_, [this] {
    handle_ = dlopen(soname_, RTLD_NOW | RTLD_GLOBAL);
    if (!handle_)
      std::fprintf(stderr, "torami: no %s: cannot load %s (%s)\n", purpose_, soname_, dlerror());
  });
  return handle_ != nullptr;
}

void* LateLibrary::function(const char* name) {
  if (!open()) {
    SDL_SetError("cannot load %s", soname_);
    return nullptr;
  }
  void* f = dlsym(handle_, name);
  if (!f) SDL_SetError("%s has no %s", soname_, name);
  return f;
}

/* The window's first frame needs the fonts: they are searched for on another core while
   the window opens. */
void preloadForWindow() {
  std::thread([] { findFontFile(FontFace::Gothic); }).detach();
}

/* The first picture and sound come soon after the script is read: their libraries are
   loaded on another core meanwhile, each asked for once however often the script is. The
   synthesiser opens with the audio device, so sound takes both. */
void preloadLibraries(bool pictures, bool sound) {
  static std::atomic<bool> picturesAsked{false}, soundAsked{false};
  const bool openPictures = pictures && !picturesAsked.exchange(true);
  const bool openSound = sound && !soundAsked.exchange(true);
  if (!openPictures && !openSound) return;
  std::thread([openPictures, openSound] {
    if (openPictures) lateImage.open();
    if (openSound) {
      lateMixer.open();
      lateSynth.open();
    }
  }).detach();
}

}  // namespace platform
