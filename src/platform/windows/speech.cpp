// Windows: reading aloud through the system's speech API (SAPI), in a Japanese voice
// where one is installed.
#include <windows.h>
// windows.h first: the speech API's header needs its types.
#include <sapi.h>

#include "platform/port.h"
#include "platform/windows/wide_text.h"

namespace platform {
namespace {

class SapiVoice : public Speech {
 public:
  explicit SapiVoice(ISpVoice* voice) : voice_(voice) {}
  ~SapiVoice() override { voice_->Release(); }

  void say(const std::string& text) override {
    const std::wstring wide = windows::widen(text);
    voice_->Speak(wide.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
  }

 private:
  ISpVoice* voice_;
};

/* The first voice that speaks Japanese (language 411), or false when none is installed. */
bool chooseJapaneseVoice(ISpVoice* voice) {
  ISpObjectTokenCategory* category = nullptr;
  if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                              IID_ISpObjectTokenCategory, reinterpret_cast<void**>(&category))))
    return false;
  bool chosen = false;
  IEnumSpObjectTokens* tokens = nullptr;
  if (SUCCEEDED(category->SetId(SPCAT_VOICES, FALSE)) &&
      SUCCEEDED(category->EnumTokens(L"Language=411", nullptr, &tokens)) && tokens) {
    ISpObjectToken* token = nullptr;
    if (tokens->Next(1, &token, nullptr) == S_OK && token) {
      chosen = SUCCEEDED(voice->SetVoice(token));
      token->Release();
    }
    tokens->Release();
  }
  category->Release();
  return chosen;
}

}  // namespace

std::unique_ptr<Speech> openSpeech() {
  // The window's thread may have COM already, in another mode: that serves as well.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ISpVoice* voice = nullptr;
  if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                              reinterpret_cast<void**>(&voice)))) {
    tell("cannot read aloud: Windows has no speech service here");
    return nullptr;
  }
  if (!chooseJapaneseVoice(voice))
    tell("Windows has no Japanese voice: the text is read with the default voice");
  return std::make_unique<SapiVoice>(voice);
}

}  // namespace platform
