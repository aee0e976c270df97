// Linux: reading aloud through speech-dispatcher. Its library is loaded when reading
// aloud is first asked for, so the player starts and plays without it.
#include <dlfcn.h>
#include <speech-dispatcher/libspeechd.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

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

/* What the game asked to say, handed to the thread that talks to the service. */
struct Pending {
  std::mutex mutex;
  std::condition_variable changed;
  std::optional<std::string> text;
  bool done = false;
};

/* Connects and then says each text as it comes, the latest only: a page turned before the
   voice reached it is not said. */
void talk(const SpeechLibrary& lib, const std::shared_ptr<Pending>& pending) {
  SPDConnection* connection = lib.open("torami", "main", nullptr, SPD_MODE_THREADED);
  if (!connection) {
    tell(
        "cannot read aloud: the speech-dispatcher service does not answer (is the "
        "speech-dispatcher package installed?)");
    return;
  }
  lib.setLanguage(connection, "ja");
  if (!hasJapaneseVoice(lib, connection))
    tell(
        "speech-dispatcher has no Japanese voice: the text is read with its default "
        "voice");
  for (;;) {
    std::unique_lock lock(pending->mutex);
    pending->changed.wait(lock, [&] { return pending->text || pending->done; });
    if (pending->done) break;
    const std::string text = std::move(*pending->text);
    pending->text.reset();
    lock.unlock();
    lib.cancel(connection);
    if (!text.empty()) lib.say(connection, SPD_TEXT, text.c_str());
  }
  lib.close(connection);
}

/* The service is reached on a thread of its own: one that is slow to start or does not
   answer never holds the game. The thread is left to end with the program when the
   service never answers. */
class Dispatcher : public Speech {
 public:
  explicit Dispatcher(const SpeechLibrary& lib) : pending_(std::make_shared<Pending>()) {
    std::thread([&lib, pending = pending_] { talk(lib, pending); }).detach();
  }
  ~Dispatcher() override {
    const std::lock_guard lock(pending_->mutex);
    pending_->done = true;
    pending_->changed.notify_one();
  }

  void say(const std::string& text) override {
    const std::lock_guard lock(pending_->mutex);
    pending_->text = text;
    pending_->changed.notify_one();
  }

 private:
  std::shared_ptr<Pending> pending_;
};

}  // namespace

std::unique_ptr<Speech> openSpeech() {
  static SpeechLibrary lib;
  static const bool loaded = loadLibrary(lib);
  if (!loaded) {
    tell(
        "cannot read aloud: speech-dispatcher's library (libspeechd2) is not "
        "installed");
    return nullptr;
  }
  return std::make_unique<Dispatcher>(lib);
}

}  // namespace platform
