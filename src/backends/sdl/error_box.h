#pragma once
// The error box of a window run: a small window of our own with the stop icon, the text
// and one OK button, drawn with the design's fonts (so Japanese text shows as it should)
// and run by the program's own event loop. Nothing outlives the program: no helper
// process shows it, and the program's end takes it along.
#include <functional>
#include <string>

struct SDL_Window;

namespace backends::sdl {

// Shows the box over `owner` (may be null) at the owner's scale and returns when the user
// dismisses it (OK, Return, Space, Escape, closing the box), closes the owner window,
// or the process is asked to end (SIGTERM, SIGINT). `repaintOwner` redraws the owner
// when it is uncovered meanwhile. Lines of the text are separated by LF.
void showErrorBox(SDL_Window* owner, int scale, const std::string& title, const std::string& text,
                  const std::function<void()>& repaintOwner);

}  // namespace backends::sdl
