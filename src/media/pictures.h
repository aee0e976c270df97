#pragma once
// GHG: the picture of the main picture area, loaded from name + ".szg" by content; a
// picture that does not load leaves the area exactly as it was. Also the item strip.
#include <optional>
#include <string>

#include "engine/text.h"

namespace ui {
class Acs;
}

namespace media {

class Pictures {
 public:
  explicit Pictures(ui::Acs& window);
  void GHG(const engine::Text& name);
  // The trace's `picture` value: the name of the last picture loaded, or null.
  std::string traceName() const;

 private:
  ui::Acs& w_;
  std::optional<engine::Text> loadedName_;
};

}  // namespace media
