#include "media/music.h"

#include "media/background_music.h"
#include "media/music_device.h"
#include "platform/text_codec.h"
#include "ui/acs.h"

namespace media {

Music::Music(ui::Acs& window) : w_(window) {}

Music::~Music() = default;

// The device opens with the first MUSPL, so a game without music never opens audio.
MusicDevice& Music::bg() {
  if (!bg_)
    bg_ = std::make_unique<MusicDevice>(w_.form.backend().mixer(),
                                        [this] { return w_.form.ticks(); });
  return *bg_;
}

void Music::MUSPL(const engine::Text& name, int16_t mode) {
  auto file = mode == 1 ? w_.mediaFile(name, U".MID") : std::nullopt;
  bool opened = media::MUSPL(bg(), file, mode, [this](bool on) { w_.TimerMIDI->setEnabled(on); });
  if (w_.tracing())
    w_.writeTrace(w_.traceEvent("music")
                      .add("mode", mode)
                      .add("name", platform::toUtf8(name))
                      .add("ok", opened));
}

void Music::timerMIDI_Timer() {
  if (media::timerMIDI_Timer(bg()) && w_.tracing()) w_.writeTrace(w_.traceEvent("music-restart"));
}

}  // namespace media
