#pragma once
// Our images to and from the surfaces of the SDL libraries (pictures they decode, PNGs
// they write, the window's icon and pointer).
#include <optional>

#include "formats/image.h"

struct SDL_Surface;

namespace formats {

// A 32-bit surface of the image (with an alpha channel only for MagentaIsClear); null
// on failure.
SDL_Surface* toSurface(const Image& image, Transparency transparency = Transparency::Opaque);
// The pixels of a surface of any format; takes the surface and frees it. Nullopt for a
// null surface or a failed conversion.
std::optional<Image> fromSurface(SDL_Surface* surface);

}  // namespace formats
