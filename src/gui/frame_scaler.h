#pragma once
// Scales the frame onto an area of the window. A whole-number factor replicates pixels
// exactly; any other factor replicates to the nearest whole number and filters only the
// seams between replicated pixels ("sharp bilinear"), so text stays even and crisp.
#include <cstdint>
#include <vector>

#include "formats/image.h"

namespace gui {

class FrameScaler {
 public:
  // Maps a source of srcW x srcH pixels onto dstW x dstH pixels.
  void setSize(int srcW, int srcH, int dstW, int dstH);
  int width() const { return static_cast<int>(xs_.size()); }
  int height() const { return static_cast<int>(ys_.size()); }
  // Writes rows firstRow..lastRow - 1, columns firstCol..lastCol - 1, of the scaled image
  // (0x00RRGGBB) to `dst`, which receives row firstRow from its column 0 on, the next row
  // `pitch` pixels further.
  void scale(const formats::Image& src, uint32_t* dst, int pitch, int firstRow, int lastRow,
             int firstCol = 0, int lastCol = 1 << 30) const;

  // Where a destination column or row takes its pixels: two source positions and the
  // weight of the second in 1/256.
  struct Tap {
    int first, second;
    uint32_t weight;
  };
  const std::vector<Tap>& columns() const { return xs_; }
  const std::vector<Tap>& rows() const { return ys_; }

 private:
  static std::vector<Tap> taps(int srcN, int dstN);

  std::vector<Tap> xs_, ys_;
};

}  // namespace gui
