// The picture header check and the decoder behind it: any bytes are refused by the check,
// or decode to exactly the size the header promised (or fail to decode). The memory
// bound of a picture rests on that promise.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/picture_header.h"
#include "formats/picture_loader.h"
#include "fuzz/expect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const formats::PictureCheck check = formats::checkPictureHeader(bytes);
  if (!check.header) {
    FUZZ_EXPECT(!check.problem.empty());
    FUZZ_EXPECT(!formats::decodePicture(bytes));
    return 0;
  }
  const formats::PictureHeader& h = *check.header;
  FUZZ_EXPECT(h.width >= 1 && h.width <= formats::kMaxPictureSide);
  FUZZ_EXPECT(h.height >= 1 && h.height <= formats::kMaxPictureSide);
  // Large pictures take long to decode; their headers are what matters here.
  if (uint64_t{h.width} * h.height > (uint64_t{1} << 18)) return 0;
  std::string problem;
  const auto image = formats::decodePicture(bytes, &problem);
  if (!image) {
    FUZZ_EXPECT(!problem.empty());
    return 0;
  }
  FUZZ_EXPECT(static_cast<uint32_t>(image->width()) == h.width);
  FUZZ_EXPECT(static_cast<uint32_t>(image->height()) == h.height);
  return 0;
}
