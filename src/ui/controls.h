#pragma once
// The window's controls, created in the title's order (later ones lie above earlier
// ones) with their design values, and the places scripted input aims at.
#include <array>

#include "platform/form.h"
#include "ui/command_menu.h"

namespace ui {

struct Controls {
  platform::PictureBox* Picture2;
  platform::Timer* TimerMIDI;
  platform::PictureBox* Picture1;
  platform::Label* LBcm;
  MenuLabels Label1;
  platform::PictureBox* MES;
  platform::Label* Label2;
  std::array<platform::Label*, 1> LBhg;
};

Controls createControls(platform::Form& form);

}  // namespace ui
