#pragma once
// Pictures the picture and fade tests make for themselves, in the formats a game folder
// may hold, plus broken files; shots read back; scripts that stop for a shot in the middle.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../../tools/gif_writer.h"
#include "backends/headless/headless_backend.h"
#include "formats/image.h"
#include "formats/picture_loader.h"
#include "formats/png_writer.h"
#include "support/fake_backend.h"
#include "support/scenario.h"
#include "ui/acs.h"
#include "ui/controls.h"

namespace picture_fixtures {

namespace fs = std::filesystem;
using formats::Color;
using formats::Image;
using formats::rgb;

inline constexpr int kAreaWidth = 504, kAreaHeight = 336;  // Picture1
inline constexpr Color kAreaBack = rgb(64, 64, 64);        // Picture1 without a picture

/* Sixteen clearly different colours, none of them the area's background or its inverse,
   none black or white, so a fade or a misplaced picture always shows. */
inline Color paletteColor(int i) {
  static const Color kColors[16] = {
      rgb(200, 30, 30),  rgb(30, 200, 30),   rgb(30, 30, 200),   rgb(200, 200, 30),
      rgb(200, 30, 200), rgb(30, 200, 200),  rgb(120, 60, 10),   rgb(10, 120, 60),
      rgb(60, 10, 120),  rgb(240, 150, 100), rgb(100, 240, 150), rgb(150, 100, 240),
      rgb(90, 90, 160),  rgb(160, 90, 90),   rgb(90, 160, 90),   rgb(220, 220, 160)};
  return kColors[i & 15];
}

/* A picture of 8 x 8 pixel blocks, each block a colour chosen by its position and the
   seed; every position of a block row differs from its neighbour. */
inline int patternIndex(int x, int y, int seed) { return (x / 8 + 3 * (y / 8) + seed) & 15; }

inline Image pattern(int width, int height, int seed) {
  Image image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.set(x, y, paletteColor(patternIndex(x, y, seed)));
  return image;
}

inline void writeBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

inline std::unique_ptr<SDL_Surface, SurfaceDeleter> toSurface(const Image& image) {
  std::unique_ptr<SDL_Surface, SurfaceDeleter> s(
      SDL_CreateRGBSurfaceWithFormat(0, image.width(), image.height(), 24, SDL_PIXELFORMAT_RGB24));
  for (int y = 0; y < image.height(); ++y) {
    auto* row = static_cast<Uint8*>(s->pixels) + y * s->pitch;
    for (int x = 0; x < image.width(); ++x) {
      Color c = image.at(x, y);
      row[3 * x] = static_cast<Uint8>(c >> 16);
      row[3 * x + 1] = static_cast<Uint8>(c >> 8);
      row[3 * x + 2] = static_cast<Uint8>(c);
    }
  }
  return s;
}

enum class Format { Png, Bmp, Gif, Jpeg };

inline const char* formatName(Format f) {
  switch (f) {
    case Format::Png:
      return "PNG";
    case Format::Bmp:
      return "BMP";
    case Format::Gif:
      return "GIF";
    case Format::Jpeg:
      return "JPEG";
  }
  return "?";
}

/* The pattern picture written in one format under any file name; true when written. */
inline bool writePattern(const fs::path& path, Format format, int width, int height, int seed) {
  fs::create_directories(path.parent_path());
  Image image = pattern(width, height, seed);
  switch (format) {
    case Format::Png:
      return formats::savePng(image, path);
    case Format::Bmp:
      return SDL_SaveBMP(toSurface(image).get(), path.string().c_str()) == 0;
    case Format::Jpeg:
      return IMG_SaveJPG(toSurface(image).get(), path.string().c_str(), 95) == 0;
    case Format::Gif: {
      gif::IndexedImage indexed{width, height, {}, {}};
      for (int i = 0; i < 16; ++i) {
        Color c = paletteColor(i);
        indexed.palette.push_back(
            {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
      }
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          indexed.pixels.push_back(static_cast<uint8_t>(patternIndex(x, y, seed)));
      std::vector<uint8_t> bytes = gif::encodeGif87a(indexed, 4);
      writeBytes(path, std::string(bytes.begin(), bytes.end()));
      return true;
    }
  }
  return false;
}

inline bool writePng(const fs::path& path, int width, int height, int seed) {
  return writePattern(path, Format::Png, width, height, seed);
}

/* The part of a shot that is Picture1 (it lies at the top-left of the window). */
inline Image pictureArea(const Image& shot) {
  Image area(kAreaWidth, kAreaHeight);
  area.paint(shot, 0, 0, kAreaWidth, kAreaHeight, 0, 0, formats::RasterOp::Copy);
  return area;
}

/* The shots of a run, in the order of its waits. */
inline std::vector<Image> readShots(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder / "shots")) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  std::vector<Image> shots;
  for (const fs::path& f : files) shots.push_back(formats::loadPicture(f).value_or(Image()));
  return shots;
}

/* Expands each line "SHOT" into a polling loop that the engine leaves when the "ﾁｬﾝｽ!"
   label is double-clicked, so the run waits (and takes a shot) at that point. Flag 1 is
   armed first; flag 10 is cleared after each shot. The input for the shots is one
   "chance" per SHOT. */
struct ShotScript {
  std::string script;
  std::string input;
};

inline ShotScript withShots(const std::vector<std::string>& lines) {
  ShotScript out{"LET,1,99\n", ""};
  int line = 2;
  for (const std::string& l : lines) {
    if (l == "SHOT") {
      out.script += "DO\nIF,F10=99," + std::to_string(line) + "\nLET,10,0\n";
      out.input += "chance\n";
      line += 3;
    } else {
      out.script += l + "\n";
      ++line;
    }
  }
  return out;
}

/* Pixels of `a` that differ from `b` inside a rectangle (both images must cover it). */
inline int differences(const Image& a, const Image& b, formats::Rect r) {
  int n = 0;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) n += a.at(x, y) != b.at(x, y);
  return n;
}

/* Pixels inside a rectangle that are not of colour c. */
inline int notOfColor(const Image& a, Color c, formats::Rect r) {
  int n = 0;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) n += a.at(x, y) != c;
  return n;
}

/* A headless backend that keeps the picture area of every frame the form presents, with
   the virtual time: what a person would have seen during a fade. */
class RecordingBackend : public backends::HeadlessBackend {
 public:
  struct Frame {
    uint32_t t;
    Image area;
  };
  RecordingBackend() : HeadlessBackend({}) {}
  void present(gui::FrameSource& source) override {
    frames.push_back({ticks(), pictureArea(source.frame())});
  }
  std::vector<Frame> frames;
};

/* The window object run in the test itself, so its controls can be looked at. */
struct Window {
  Window(const fs::path& folder, const std::string& script) : acs(backend, options(folder)) {
    testing_support::writeScript(folder, script);
  }
  ui::Options options(const fs::path& folder) {
    ui::Options o;
    o.gameFolder = folder;
    o.trace = &trace;
    o.maxSteps = 1000000;
    return o;
  }
  std::ostringstream trace;
  RecordingBackend backend;
  ui::Acs acs;
};

/* The window's controls on a form of their own, for testing one part directly, with a
   trace kept in memory. */
struct Controls {
  explicit Controls(const fs::path& folder = {}) : folder(folder) {}
  testing_support::FakeBackend backend;
  gui::Form form{backend, 506, 384};
  ui::Controls c = ui::createControls(form);
  std::ostringstream trace;
  record::Recorder recorder{&trace, {}, {}};
  platform::GameFolder folder;
};

}  // namespace picture_fixtures
