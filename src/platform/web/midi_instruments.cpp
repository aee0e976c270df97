#include "platform/web/midi_instruments.h"

#include <sstream>

namespace platform::midi {
namespace {

class Reader {
 public:
  Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool more(size_t n = 1) const { return pos_ + n <= bytes_.size(); }
  uint8_t byte() { return more() ? bytes_[pos_++] : 0; }
  uint32_t be(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | byte();
    return v;
  }
  uint32_t varLength() {
    uint32_t v = 0;
    for (int i = 0; i < 4 && more(); ++i) {
      const uint8_t b = byte();
      v = (v << 7) | (b & 0x7F);
      if (!(b & 0x80)) break;
    }
    return v;
  }
  void skip(size_t n) { pos_ = n > bytes_.size() - pos_ ? bytes_.size() : pos_ + n; }
  size_t pos() const { return pos_; }
  std::span<const uint8_t> take(size_t n) {
    n = std::min(n, bytes_.size() - pos_);
    auto s = bytes_.subspan(pos_, n);
    pos_ += n;
    return s;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

void scanTrack(std::span<const uint8_t> track, int (&program)[16], Instruments& out) {
  Reader r(track);
  uint8_t status = 0;
  while (r.more()) {
    r.varLength();
    uint8_t b = r.byte();
    if (b == 0xFF) {
      r.byte();
      r.skip(r.varLength());
      continue;
    }
    if (b == 0xF0 || b == 0xF7) {
      r.skip(r.varLength());
      continue;
    }
    uint8_t first;
    if (b & 0x80) {
      status = b;
      first = r.byte();
    } else {
      if (!status) return;  // data with no status before it: not readable further
      first = b;
    }
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
      case 0x90: {
        const uint8_t velocity = r.byte();
        if (velocity == 0) break;
        if (channel == 9)
          out.drums.insert(first & 0x7F);
        else
          out.programs.insert(program[channel]);
        break;
      }
      case 0xC0:
        program[channel] = first & 0x7F;
        break;
      case 0xD0:
        break;
      default:  // 0x80, 0xA0, 0xB0, 0xE0: two data bytes
        r.byte();
        break;
    }
  }
}

}  // namespace

/* Program changes are followed through the tracks in file order: in a type 1 file the
   tracks play at once, so a change in one track reaching a note in another is a guess
   that errs towards fetching more. */
Instruments instrumentsOf(std::span<const uint8_t> smf) {
  Instruments out;
  Reader r(smf);
  if (r.be(4) != 0x4D546864) return out;  // "MThd"
  r.skip(r.be(4));
  int program[16] = {};
  while (r.more(8)) {
    const uint32_t id = r.be(4);
    const uint32_t length = r.be(4);
    const auto chunk = r.take(length);
    if (id == 0x4D54726B) scanTrack(chunk, program, out);  // "MTrk"
  }
  return out;
}

std::vector<std::string> patchFiles(std::string_view timidityCfg, const Instruments& needed) {
  std::vector<std::string> files;
  std::istringstream in{std::string(timidityCfg)};
  std::string line, dir;
  bool drums = false;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string first, file;
    if (!(words >> first) || first[0] == '#') continue;
    if (first == "dir") {
      words >> dir;
    } else if (first == "drumset" || first == "bank") {
      drums = first == "drumset";
    } else if (first.find_first_not_of("0123456789") == std::string::npos && (words >> file)) {
      const int n = std::stoi(first);
      if (drums ? needed.drums.count(n) : needed.programs.count(n))
        files.push_back(dir.empty() ? file : dir + "/" + file);
    }
  }
  return files;
}

}  // namespace platform::midi
