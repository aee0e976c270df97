#pragma once
// GHG: the picture of the main picture area, loaded from name + ".szg" by content; a
// picture that does not load leaves the area exactly as it was. Also the item strip of
// Picture2, from which the item menu paints the picture of a picked item.
#include <optional>

#include "engine/text.h"
#include "media/picture_cache.h"
#include "platform/file_lookup.h"
#include "platform/picture_box.h"
#include "platform/recorder.h"

namespace media {

inline constexpr int kItemTile = 100;  // tiles of the strip are 100 x 100 pixels

class Pictures {
 public:
  // Loads the item strip into Picture2.
  Pictures(platform::PictureBox& Picture1, platform::PictureBox& Picture2,
           const platform::GameFolder& folder, platform::Recorder& recorder);
  void GHG(const engine::Text& name);
  // The trace's `picture` value: the name of the last picture loaded, or null.
  platform::Json traceName() const;

  // The 800 x 100 strip that Picture2 holds, or null when it could not be decoded.
  const platform::Image* itemStrip() const;
  // Copies tile `entry` of the strip unscaled to (100, 100) of Picture1.
  void paintItemTile(int entry);

 private:
  platform::PictureBox& Picture1;
  platform::PictureBox& Picture2;
  const platform::GameFolder& folder_;
  platform::Recorder& recorder_;
  std::optional<engine::Text> loadedName_;
  PictureCache cache_;
};

}  // namespace media
