#include "platform/linux/late_library.h"

#include <SDL.h>
#include <dlfcn.h>

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

/* The window's first frame needs the fonts, and its first picture and sound soon come
   after: the fonts are searched for and the libraries loaded on another core meanwhile. */
void preloadForWindow() {
  std::thread([] {
    findFontFile(FontFace::Gothic);
    lateImage.open();
    lateMixer.open();
    lateSynth.open();
  }).detach();
}

}  // namespace platform
