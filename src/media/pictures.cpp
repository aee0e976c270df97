#include "media/pictures.h"

#include "platform/assets.h"
#include "platform/picture_cache.h"
#include "platform/picture_loader.h"
#include "platform/text_codec.h"

namespace media {

/* The strip is part of the window's design, so it is in place before the script runs. */
Pictures::Pictures(platform::PictureBox& picture1, platform::PictureBox& picture2,
                   const platform::GameFolder& folder, platform::Recorder& recorder)
    : Picture1(picture1), Picture2(picture2), folder_(folder), recorder_(recorder) {
  static const std::optional<platform::Image> strip =
      platform::decodePicture(platform::asset("item_strip.gif"));
  if (strip) Picture2.setPicture(strip);
}

/* The name is used as written. Whatever goes wrong (no such file, a folder, unreadable
   bytes, not a picture) leaves Picture1 exactly as it was, drawing included. A picture
   that loads replaces the old one and everything drawn over it. */
void Pictures::GHG(const engine::Text& name) {
  const auto path = folder_.find(name, U".szg");
  bool ok = false;
  if (deferred_) {
    ok = path && platform::looksLikePicture(*path);
    if (ok) {
      pendingFile_ = path;
      Picture1.setPendingPicture();
    }
  } else if (auto picture = path ? platform::loadPictureKept(*path) : std::nullopt) {
    ok = true;
    pendingFile_.reset();
    Picture1.setPicture(std::move(picture));
  }
  if (ok) loadedName_ = name;
  recorder_.record("picture", {{"name", platform::toUtf8(name)}, {"ok", ok}});
  if (!ok && onFailure) onFailure(name);
}

platform::Json Pictures::traceName() const {
  return loadedName_ ? platform::Json(platform::toUtf8(*loadedName_)) : platform::Json(nullptr);
}

bool Pictures::settle() {
  deferred_ = false;
  if (!Picture1.picturePending()) return true;
  auto picture = pendingFile_ ? platform::loadPictureKept(*pendingFile_) : std::nullopt;
  pendingFile_.reset();
  if (!picture) return false;
  Picture1.resolvePicture(std::move(*picture));
  return true;
}

const platform::Image* Pictures::itemStrip() const {
  const auto& strip = Picture2.picture();
  return strip ? &*strip : nullptr;
}

void Pictures::paintItemTile(int entry) {
  if (const platform::Image* strip = itemStrip())
    Picture1.paintPicture(*strip, kItemTile, kItemTile, kItemTile, kItemTile, kItemTile * entry, 0,
                          platform::RasterOp::Copy);
  recorder_.record("item", {{"entry", entry}});
}

}  // namespace media
