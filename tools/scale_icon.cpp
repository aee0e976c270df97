// Writes the program's icon for the desktop's icon theme: each pixel of the drawing
// becomes a square of FACTOR x FACTOR pixels (nearest neighbour, so the pixel art stays
// sharp and every machine writes the same file), and pure magenta becomes transparent,
// as it does in the window's own icon.
// Usage: scale_icon ICON.png FACTOR OUT.png
#include <cstdlib>
#include <iostream>
#include <string>

#include "formats/picture_loader.h"
#include "formats/png_writer.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: scale_icon ICON.png FACTOR OUT.png\n";
    return 2;
  }
  char* end = nullptr;
  const long factor = std::strtol(argv[2], &end, 10);
  if (*end || factor < 1 || factor > 64) {
    std::cerr << "scale_icon: bad factor " << argv[2] << "\n";
    return 2;
  }
  std::string problem;
  const auto icon = formats::loadPicture(argv[1], &problem);
  if (!icon) {
    std::cerr << "scale_icon: " << argv[1] << ": " << problem << "\n";
    return 1;
  }
  if (!formats::savePng(icon->enlarged(static_cast<int>(factor)), argv[3],
                        formats::Transparency::MagentaIsClear)) {
    std::cerr << "scale_icon: cannot write " << argv[3] << "\n";
    return 1;
  }
  return 0;
}
