#pragma once
// GIF pictures, decoded here rather than by the image library, whose GIF decoder breaks
// on some broken files (found by fuzzing: a broken LZW stream overruns its stack). The
// result is the library's for every sound file: the first image it would decode, at that
// image's size, with its colour table (indexes past the table white), LZW decoded with
// the variable code width, interlaced rows in their places, pixels the stream does not
// reach left at index 0.
#include <cstdint>
#include <optional>
#include <span>

#include "formats/image.h"

namespace formats {

struct GifImageAt {
  uint32_t width = 0, height = 0;
  size_t colours = 0;      // where the colour table of the image starts (0: none in the file)
  size_t colourCount = 0;  // entries of that table the image uses
  size_t data = 0;         // where the image's LZW code size is
  bool interlaced = false;
};

// The image a GIF decoder takes: it reads the stream byte by byte, skips extensions,
// passes over any other byte that does not start an image, and over an image it cannot
// start (a code size above 12, a width or height of 0), going on right after that
// image's code size. nullopt when no image is found before the end or the trailer.
std::optional<GifImageAt> findGifImage(std::span<const uint8_t> gif);

// Decodes that image; nullopt when there is none or the file is cut short before its
// colour table is complete.
std::optional<Image> decodeGif(std::span<const uint8_t> gif);

}  // namespace formats
