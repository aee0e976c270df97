#pragma once
// FADE: blinds to black (mode 1) or a negative flash (mode 2) over the picture area.
#include <cstdint>
#include <functional>

#include "gui/picture_box.h"
#include "record/recorder.h"

namespace media {

class Fade {
 public:
  // `wait` is the timed wait that keeps processing window events.
  Fade(gui::PictureBox& area, std::function<void(int16_t ms)> wait, record::Recorder& recorder)
      : area_(area), wait_(std::move(wait)), recorder_(recorder) {}
  void FADE(int16_t mode);

 private:
  void blinds();
  void flash();

  gui::PictureBox& area_;
  std::function<void(int16_t)> wait_;
  record::Recorder& recorder_;
};

}  // namespace media
