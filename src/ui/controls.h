#pragma once
// The window's controls, created in the title's order (later ones lie above earlier
// ones) with their design values, and the places scripted input aims at.
#include <array>

#include "gui/form.h"
#include "ui/command_menu.h"

namespace ui {

struct Controls {
  gui::PictureBox* Picture2;
  gui::Timer* TimerMIDI;
  gui::PictureBox* Picture1;
  gui::Label* LBcm;
  MenuLabels Label1;
  gui::PictureBox* MES;
  gui::Label* Label2;
  std::array<gui::Label*, 1> LBhg;
};

Controls createControls(gui::Form& form);

}  // namespace ui
