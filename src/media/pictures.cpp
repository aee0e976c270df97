#include "media/pictures.h"

#include "platform/assets.h"
#include "platform/picture_loader.h"
#include "platform/text_codec.h"
#include "platform/trace.h"
#include "ui/acs.h"

namespace media {

/* The strip is part of the window's design, so it is in place before the script runs. */
Pictures::Pictures(ui::Acs& window) : w_(window) {
  if (auto strip = platform::decodePicture(platform::asset("item_strip.gif")))
    w_.Picture2->setPicture(std::move(strip));
}

/* The name is used as written. Whatever goes wrong (no such file, a folder, unreadable
   bytes, not a picture) leaves Picture1 exactly as it was, drawing included. A picture
   that loads replaces the old one and everything drawn over it. */
void Pictures::GHG(const engine::Text& name) {
  std::optional<platform::Image> picture;
  if (auto path = w_.mediaFile(name, U".szg")) picture = platform::loadPicture(*path);
  const bool ok = picture.has_value();
  if (ok) {
    w_.Picture1->setPicture(std::move(picture));
    loadedName_ = name;
  }
  if (w_.tracing())
    w_.writeTrace(w_.traceEvent("picture").add("name", platform::toUtf8(name)).add("ok", ok));
}

std::string Pictures::traceName() const {
  return loadedName_ ? platform::Json::quote(platform::toUtf8(*loadedName_)) : "null";
}

const platform::Image* Pictures::itemStrip() const {
  const auto& strip = w_.Picture2->picture();
  return strip ? &*strip : nullptr;
}

void Pictures::paintItemTile(int entry) {
  if (const platform::Image* strip = itemStrip())
    w_.Picture1->paintPicture(*strip, kItemTile, kItemTile, kItemTile, kItemTile, kItemTile * entry,
                              0, platform::RasterOp::Copy);
  if (w_.tracing()) w_.writeTrace(w_.traceEvent("item").add("entry", entry));
}

}  // namespace media
