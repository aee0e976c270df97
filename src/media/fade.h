#pragma once
// FADE: blinds to black (mode 1) or a negative flash (mode 2) over the picture area.
#include <cstdint>
#include <functional>

#include "platform/picture_box.h"
#include "platform/recorder.h"

namespace media {

class Fade {
 public:
  // `wait` is the timed wait that keeps processing window events.
  Fade(platform::PictureBox& area, std::function<void(int16_t ms)> wait,
       platform::Recorder& recorder)
      : area_(area), wait_(std::move(wait)), recorder_(recorder) {}
  void FADE(int16_t mode);

 private:
  void blinds();
  void flash();

  platform::PictureBox& area_;
  std::function<void(int16_t)> wait_;
  platform::Recorder& recorder_;
};

}  // namespace media
