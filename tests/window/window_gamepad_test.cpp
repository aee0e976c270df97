// A gamepad in the window's backend, through SDL's virtual game controller under a private
// X server: plugged in after the window opened, its buttons and its left stick arrive as the
// named buttons of the input file.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "backends/sdl/sdl_backend.h"
#include "support/environment.h"
#include "window/x11_session.h"

namespace {

using gui::RawInput;

// The inputs the backend gives within a while, as "down A", "up Left" ...
std::string inputsOf(backends::SdlBackend& backend) {
  std::string out;
  for (int tries = 0; tries < 20; ++tries) {
    backend.wait(gui::Wait::Time, backend.ticks() + 10);
    while (auto in = backend.nextInput()) {
      if (in->type == RawInput::ButtonDown) out += "down " + in->key.name + " ";
      if (in->type == RawInput::ButtonUp) out += "up " + in->key.name + " ";
    }
  }
  return out;
}

TEST(WindowGamepad, ButtonsAndTheStickArriveByName) {
  testing_support::XSession x;
  ASSERT_TRUE(x.ok()) << "Xvfb did not start (install the xvfb package)";
  testing_support::EnvOverride display("DISPLAY", x.name());
  testing_support::EnvOverride driver("SDL_VIDEODRIVER", "x11");
  backends::SdlBackend backend(506, 384, 1, false);

  const int index = SDL_JoystickAttachVirtual(
      SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
  if (index < 0) GTEST_SKIP() << "no virtual gamepad in this SDL: " << SDL_GetError();
  SDL_Joystick* pad = SDL_JoystickOpen(index);
  ASSERT_NE(pad, nullptr);
  inputsOf(backend);  // the backend opens the controller as it is announced
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 1);
  EXPECT_EQ(inputsOf(backend), "down A down Start ");
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
  EXPECT_EQ(inputsOf(backend), "up A ");
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -30000);
  EXPECT_EQ(inputsOf(backend), "down Left ");
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -12000);  // not yet back
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 30000);
  EXPECT_EQ(inputsOf(backend), "down Down ");
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 0);
  EXPECT_EQ(inputsOf(backend), "up Left ");
  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(index);
}

}  // namespace
