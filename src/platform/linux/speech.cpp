// Linux: reading aloud through speech-dispatcher. Its library is loaded when reading
// aloud is first asked for, so the player starts and plays without it.
#include <dlfcn.h>
#include <speech-dispatcher/libspeechd.h>

#include <cstring>
#include <mutex>

#include "platform/port.h"

namespace platform {
namespace {

struct SpeechLibrary {
  void* handle = nullptr;
  decltype(&spd_open) open = nullptr;
  decltype(&spd_close) close = nullptr;
  decltype(&spd_say) say = nullptr;
  decltype(&spd_cancel) cancel = nullptr;
  decltype(&spd_set_language) setLanguage = nullptr;
  decltype(&spd_list_synthesis_voices) voices = nullptr;
  decltype(&free_spd_voices) freeVoices = nullptr;
};

template <typename F>
bool find(void* handle, F& function, const char* name) {
  function = reinterpret_cast<F>(dlsym(handle, name));
  return function != nullptr;
}

/* The library stays loaded for the rest of the run once found: unloading it while the
   service's own threads may still run is never safe. */
bool loadLibrary(SpeechLibrary& lib) {
  lib.handle = dlopen("libspeechd.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!lib.handle) return false;
  return find(lib.handle, lib.open, "spd_open") && find(lib.handle, lib.close, "spd_close") &&
         find(lib.handle, lib.say, "spd_say") && find(lib.handle, lib.cancel, "spd_cancel") &&
         find(lib.handle, lib.setLanguage, "spd_set_language") &&
         find(lib.handle, lib.voices, "spd_list_synthesis_voices") &&
         find(lib.handle, lib.freeVoices, "free_spd_voices");
}

bool hasJapaneseVoice(const SpeechLibrary& lib, SPDConnection* connection) {
  SPDVoice** voices = lib.voices(connection);
  if (!voices) return false;
  bool found = false;
  for (SPDVoice** v = voices; *v && !found; ++v)
    found = (*v)->language && std::strncmp((*v)->language, "ja", 2) == 0;
  lib.freeVoices(voices);
  return found;
}

class Dispatcher : public Speech {
 public:
  Dispatcher(const SpeechLibrary& lib, SPDConnection* connection)
      : lib_(lib), connection_(connection) {}
  ~Dispatcher() override { lib_.close(connection_); }

  void say(const std::string& text) override {
    const std::lock_guard lock(mutex_);
    lib_.cancel(connection_);
    if (!text.empty()) lib_.say(connection_, SPD_TEXT, text.c_str());
  }

 private:
  const SpeechLibrary& lib_;
  SPDConnection* connection_;
  std::mutex mutex_;
};

}  // namespace

std::unique_ptr<Speech> openSpeech() {
  static SpeechLibrary lib;
  static const bool loaded = loadLibrary(lib);
  if (!loaded) {
    tell(
        "torami: cannot read aloud: speech-dispatcher's library (libspeechd2) is not "
        "installed");
    return nullptr;
  }
  SPDConnection* connection = lib.open("torami", "main", nullptr, SPD_MODE_THREADED);
  if (!connection) {
    tell(
        "torami: cannot read aloud: the speech-dispatcher service does not answer (is the "
        "speech-dispatcher package installed?)");
    return nullptr;
  }
  lib.setLanguage(connection, "ja");
  if (!hasJapaneseVoice(lib, connection))
    tell(
        "torami: speech-dispatcher has no Japanese voice: the text is read with its default "
        "voice");
  return std::make_unique<Dispatcher>(lib, connection);
}

}  // namespace platform
