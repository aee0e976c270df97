#include "media/pictures.h"

#include <iostream>

#include "platform/assets.h"
#include "platform/picture_loader.h"
#include "platform/text_codec.h"

namespace media {

/* The strip is part of the window's design, so it is in place before the script runs. */
Pictures::Pictures(platform::PictureBox& picture1, platform::PictureBox& picture2,
                   const platform::GameFolder& folder, platform::Recorder& recorder)
    : Picture1(picture1),
      Picture2(picture2),
      folder_(folder),
      recorder_(recorder),
      cache_([](const std::filesystem::path& file, std::string* problem) {
        return platform::loadPicture(file, problem);
      }) {
  if (auto strip = platform::decodePicture(platform::asset("item_strip.gif")))
    Picture2.setPicture(std::move(strip));
}

/* The name is used as written. Whatever goes wrong (no such file, a folder, unreadable
   bytes, not a picture, a picture too large) leaves Picture1 exactly as it was, drawing
   included; a file that is there but does not show is said once on standard error. A
   picture that loads replaces the old one and everything drawn over it. */
void Pictures::GHG(const engine::Text& name) {
  bool ok = false;
  if (auto path = folder_.find(name, U".szg")) {
    const PictureCache::Picture picture = cache_.load(*path);
    ok = picture.image.has_value();
    if (ok) {
      Picture1.setPicture(picture.image);
      loadedName_ = name;
    } else if (picture.fresh) {
      std::cerr << "torami: the picture " << path->lexically_relative(folder_.path()).string()
                << " is not shown: " << picture.problem << std::endl;
    }
  }
  recorder_.record("picture", {{"name", platform::toUtf8(name)}, {"ok", ok}});
}

platform::Json Pictures::traceName() const {
  return loadedName_ ? platform::Json(platform::toUtf8(*loadedName_)) : platform::Json(nullptr);
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
