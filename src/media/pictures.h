#pragma once
// GHG: the picture of the main picture area, loaded from name + ".szg" by content; a
// picture that does not load leaves the area exactly as it was. Also the item strip of
// Picture2, from which the item menu paints the picture of a picked item.
#include <functional>
#include <optional>

#include "engine/text.h"
#include "gui/picture_box.h"
#include "platform/file_lookup.h"
#include "record/recorder.h"

namespace media {

inline constexpr int kItemTile = 100;  // tiles of the strip are 100 x 100 pixels

class Pictures {
 public:
  // Loads the item strip into Picture2.
  Pictures(gui::PictureBox& Picture1, gui::PictureBox& Picture2, const platform::GameFolder& folder,
           record::Recorder& recorder);
  void GHG(const engine::Text& name);
  // The trace's `picture` value: the name of the last picture loaded, or null.
  record::Json traceName() const;

  // The 800 x 100 strip that Picture2 holds, or null when it could not be decoded.
  const formats::Image* itemStrip() const;
  // Copies tile `entry` of the strip unscaled to (100, 100) of Picture1.
  void paintItemTile(int entry);

  // While a saved game is replayed, a picture is only looked at, not decoded: the one the
  // replay ends with is decoded by settle(), which is false when it does not decode after
  // all (the replay must then be made again with every picture decoded).
  void setDeferred(bool on) { deferred_ = on; }
  bool settle();

  // Called with the name of a picture that did not load.
  std::function<void(const engine::Text& name)> onFailure;

 private:
  gui::PictureBox& Picture1;
  gui::PictureBox& Picture2;
  const platform::GameFolder& folder_;
  record::Recorder& recorder_;
  std::optional<engine::Text> loadedName_;
  bool deferred_ = false;
  std::optional<std::filesystem::path> pendingFile_;
};

}  // namespace media
