#pragma once
// GHG: the picture of the main picture area, loaded from name + ".szg" by content; a
// picture that does not load leaves the area exactly as it was. Also the item strip of
// Picture2, from which the item menu paints the picture of a picked item.
#include <optional>
#include <string>

#include "engine/text.h"
#include "platform/image.h"

namespace ui {
class Acs;
}

namespace media {

inline constexpr int kItemTile = 100;  // tiles of the strip are 100 x 100 pixels
inline constexpr int kItemTiles = 8;

class Pictures {
 public:
  // Loads the item strip into Picture2.
  explicit Pictures(ui::Acs& window);
  void GHG(const engine::Text& name);
  // The trace's `picture` value: the name of the last picture loaded, or null.
  std::string traceName() const;

  // The 800 x 100 strip that Picture2 holds, or null when it could not be decoded.
  const platform::Image* itemStrip() const;
  // Copies tile `entry` of the strip unscaled to (100, 100) of Picture1.
  void paintItemTile(int entry);

 private:
  ui::Acs& w_;
  std::optional<engine::Text> loadedName_;
};

}  // namespace media
