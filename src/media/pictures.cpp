#include "media/pictures.h"

#include "formats/picture_loader.h"
#include "gui/assets.h"
#include "media/picture_cache.h"
#include "platform/text_codec.h"

namespace media {
namespace {

/* One cache for the process: a player that plays the game again (a load, the explorer's
   thousands of runs) finds the pictures already decoded. */
PictureCache& pictureCache() {
  static PictureCache cache([](const std::filesystem::path& file, std::string* problem) {
    return formats::loadPicture(file, problem);
  });
  return cache;
}

}  // namespace

/* The strip is part of the window's design, so it is in place before the script runs. */
Pictures::Pictures(gui::PictureBox& picture1, gui::PictureBox& picture2,
                   const platform::GameFolder& folder, record::Recorder& recorder)
    : Picture1(picture1), Picture2(picture2), folder_(folder), recorder_(recorder) {
  static const std::optional<formats::Image> strip =
      formats::decodePicture(gui::asset("item_strip.gif"));
  if (strip && Picture2.drawn()) Picture2.setPicture(strip);
}

/* The name is used as written. Whatever goes wrong (no such file, a folder, unreadable
   bytes, not a picture, a picture too large) leaves Picture1 exactly as it was, drawing
   included (onFailure says why, once). A
   picture that loads replaces the old one and everything drawn over it. */
void Pictures::GHG(const engine::Text& name) {
  const auto path = folder_.find(name, U".szg");
  bool ok = false;
  if (deferred_) {
    ok = path && formats::looksLikePicture(*path);
    if (ok) {
      pendingFile_ = path;
      Picture1.setPendingPicture();
    }
  } else if (path) {
    const PictureCache::Picture picture = pictureCache().load(*path);
    ok = picture.image.has_value();
    if (ok) {
      pendingFile_.reset();
      Picture1.setPicture(picture.image);
    }
  }
  if (ok) loadedName_ = name;
  recorder_.record("picture", {{"name", platform::toUtf8(name)}, {"ok", ok}});
  if (!ok && onFailure) onFailure(name);
}

record::Json Pictures::traceName() const {
  return loadedName_ ? record::Json(platform::toUtf8(*loadedName_)) : record::Json(nullptr);
}

bool Pictures::settle() {
  deferred_ = false;
  if (!Picture1.picturePending()) return true;
  if (!pendingFile_) return false;
  const PictureCache::Picture picture = pictureCache().load(*pendingFile_);
  pendingFile_.reset();
  if (!picture.image) return false;
  Picture1.resolvePicture(*picture.image);
  return true;
}

const formats::Image* Pictures::itemStrip() const {
  const auto& strip = Picture2.picture();
  return strip ? &*strip : nullptr;
}

void Pictures::paintItemTile(int entry) {
  if (const formats::Image* strip = itemStrip())
    Picture1.paintPicture(*strip, kItemTile, kItemTile, kItemTile, kItemTile, kItemTile * entry, 0,
                          formats::RasterOp::Copy);
  recorder_.record("item", {{"entry", entry}});
}

}  // namespace media
