#include "gui/frame_scaler.h"

#include <algorithm>
#include <cmath>

namespace gui {
namespace {

uint32_t blend(uint32_t a, uint32_t b, uint32_t w) {
  if (w == 0 || a == b) return a;
  const uint32_t rb = ((a & 0xff00ff) * (256 - w) + (b & 0xff00ff) * w) >> 8;
  const uint32_t g = ((a & 0x00ff00) * (256 - w) + (b & 0x00ff00) * w) >> 8;
  return (rb & 0xff00ff) | (g & 0x00ff00);
}

}  // namespace

/* Each destination pixel's centre, placed in the source replicated by the nearest whole
   factor k, falls between two replicated pixels; only where those come from different
   source pixels does the second get a weight. With dstN = k * srcN every weight is 0. */
std::vector<FrameScaler::Tap> FrameScaler::taps(int srcN, int dstN) {
  std::vector<Tap> out(std::max(dstN, 0));
  if (srcN <= 0 || dstN <= 0) return out;
  const double factor = static_cast<double>(dstN) / srcN;
  const int k = std::max(1, static_cast<int>(std::lround(factor)));
  for (int d = 0; d < dstN; ++d) {
    const double u = (d + 0.5) / factor * k - 0.5;  // in replicated pixels
    const double i0 = std::floor(u);
    const auto first = std::clamp(static_cast<int>(i0) / k, 0, srcN - 1);
    const auto second = std::clamp((static_cast<int>(i0) + 1) / k, 0, srcN - 1);
    const auto weight = static_cast<uint32_t>(std::lround((u - i0) * 256));
    out[d] = {first, second, first == second ? 0 : std::min(weight, 256u)};
  }
  return out;
}

void FrameScaler::setSize(int srcW, int srcH, int dstW, int dstH) {
  xs_ = taps(srcW, dstW);
  ys_ = taps(srcH, dstH);
}

void FrameScaler::scale(const formats::Image& src, uint32_t* dst, int pitch, int firstRow,
                        int lastRow, int firstCol, int lastCol) const {
  const size_t x0 = static_cast<size_t>(std::max(firstCol, 0));
  const size_t x1 = std::min(static_cast<size_t>(std::max(lastCol, 0)), xs_.size());
  for (int y = std::max(firstRow, 0); y < std::min(lastRow, height()); ++y) {
    const Tap& ty = ys_[y];
    const formats::Color* row0 = src.row(ty.first);
    const formats::Color* row1 = src.row(ty.second);
    uint32_t* out = dst + static_cast<size_t>(y - firstRow) * pitch;
    for (size_t x = x0; x < x1; ++x) {
      const Tap& tx = xs_[x];
      const uint32_t top = blend(row0[tx.first], row0[tx.second], tx.weight);
      if (ty.weight == 0) {
        out[x] = top;
        continue;
      }
      out[x] = blend(top, blend(row1[tx.first], row1[tx.second], tx.weight), ty.weight);
    }
  }
}

}  // namespace gui
