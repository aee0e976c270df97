#pragma once
// Something the player sees over the game's frame that is no part of the game (the
// player's menu, a notice): painted on what is presented only, never on the frame that
// snapshots, screenshots and save thumbnails take.
#include "formats/image.h"

namespace gui {

class Layer {
 public:
  virtual ~Layer() = default;
  // Whether the layer paints anything now.
  virtual bool shows() const = 0;
  // Paints over the game's frame (the whole client area).
  virtual void paint(formats::Image& screen) = 0;
};

}  // namespace gui
