// Writes the demo game's two background pieces as General MIDI files (format 1):
// demo/TITLE.MID, a bright theme at 100 bpm (16 bars, 38.4 s), and
// demo/NIGHT.MID, a quiet night piece at 72 bpm (12 bars, 40 s). Both end on the
// dominant so that they loop back into their first bar. Our own compositions.
//
//   g++ -std=c++20 -O2 -o /tmp/make_music tools/make_music.cpp && /tmp/make_music .
//
// The argument is the repository folder (default: the current folder).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kPpq = 480;
constexpr uint32_t kEighth = kPpq / 2;
constexpr int kDrums = 9;

struct Event {
  uint32_t tick;
  int order;  // at one tick: meta first, then note-offs, then the rest
  std::vector<uint8_t> bytes;
};

class Track {
 public:
  void meta(uint8_t type, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes = {0xff, type, static_cast<uint8_t>(data.size())};
    bytes.insert(bytes.end(), data.begin(), data.end());
    events_.push_back({0, 0, bytes});
  }
  void name(const std::string& text) { meta(0x03, {text.begin(), text.end()}); }
  void program(int channel, int number) {
    events_.push_back({0, 2, {static_cast<uint8_t>(0xc0 | channel), static_cast<uint8_t>(number)}});
  }
  void control(int channel, int number, int value) {
    events_.push_back({0,
                       2,
                       {static_cast<uint8_t>(0xb0 | channel), static_cast<uint8_t>(number),
                        static_cast<uint8_t>(value)}});
  }
  void note(int channel, int key, int velocity, uint32_t start, uint32_t length) {
    const auto k = static_cast<uint8_t>(key);
    events_.push_back(
        {start, 2, {static_cast<uint8_t>(0x90 | channel), k, static_cast<uint8_t>(velocity)}});
    events_.push_back({start + length, 1, {static_cast<uint8_t>(0x80 | channel), k, 0x40}});
  }

  std::vector<uint8_t> encode(uint32_t end) const {
    std::vector<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    if (!sorted.empty() && sorted.back().tick > end)
      throw std::runtime_error("an event after the end of the piece");
    sorted.push_back({end, 3, {0xff, 0x2f, 0x00}});
    std::vector<uint8_t> body;
    uint32_t now = 0;
    for (const Event& e : sorted) {
      quantity(body, e.tick - now);
      now = e.tick;
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    return body;
  }

 private:
  static void quantity(std::vector<uint8_t>& out, uint32_t value) {
    if (value > 0x0fffffff) throw std::runtime_error("a delta time beyond 28 bits");
    uint8_t groups[4];
    int count = 0;
    do {
      groups[count++] = value & 0x7f;
      value >>= 7;
    } while (value && count < 4);
    while (count > 1) out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
  }

  std::vector<Event> events_;
};

void be(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.put(static_cast<char>((value >> (8 * i)) & 0xff));
}

bool writeMidi(const std::string& path, const std::vector<Track>& tracks, uint32_t end) {
  std::ofstream out(path, std::ios::binary);
  out.write("MThd", 4);
  be(out, 6, 4);
  be(out, 1, 2);
  be(out, static_cast<uint32_t>(tracks.size()), 2);
  be(out, kPpq, 2);
  for (const Track& t : tracks) {
    const auto body = t.encode(end);
    out.write("MTrk", 4);
    be(out, static_cast<uint32_t>(body.size()), 4);
    out.write(reinterpret_cast<const char*>(body.data()),
              static_cast<std::streamsize>(body.size()));
  }
  std::printf("%s: %u ticks\n", path.c_str(), end);
  return static_cast<bool>(out);
}

/* "C4" is 60; sharps with '#', flats with 'b'. */
int pitchClass(const std::string& text, size_t& at) {
  static const int kSteps[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (at >= text.size() || text[at] < 'A' || text[at] > 'G') throw std::runtime_error(text);
  int pc = kSteps[text[at++] - 'A'];
  while (at < text.size() && (text[at] == '#' || text[at] == 'b')) pc += text[at++] == '#' ? 1 : -1;
  return pc;
}

int key(const std::string& text) {
  size_t at = 0;
  const int pc = pitchClass(text, at);
  return pc + 12 * (std::stoi(text.substr(at)) + 1);
}

/* Words between blanks and bar lines ("|", only for reading). */
std::vector<std::string> words(std::string text) {
  std::replace(text.begin(), text.end(), '|', ' ');
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string word; in >> word;) out.push_back(word);
  return out;
}

/* A melody: "NOTE:EIGHTHS" words, "r" for a rest. */
uint32_t melody(Track& track, int channel, const std::string& text, int velocity) {
  uint32_t at = 0;
  for (const std::string& word : words(text)) {
    const size_t colon = word.find(':');
    const uint32_t length = std::stoul(word.substr(colon + 1)) * kEighth;
    const std::string pitch = word.substr(0, colon);
    const bool downbeat = at % (8 * kEighth) == 0;
    if (pitch != "r")
      track.note(channel, key(pitch), velocity + (downbeat ? 8 : 0), at, length - kEighth / 8);
    at += length;
  }
  return at;
}

struct Chord {
  int root;  // pitch class
  int bass;  // pitch class of the lowest note
  std::vector<int> intervals;
  uint32_t start, length;
};

/* "Dm:8 C/E:4 Esus4:4": symbol and length in eighths. */
std::vector<Chord> chords(const std::string& text) {
  std::vector<Chord> out;
  uint32_t at = 0;
  for (const std::string& word : words(text)) {
    const size_t colon = word.find(':');
    const uint32_t length = std::stoul(word.substr(colon + 1)) * kEighth;
    std::string symbol = word.substr(0, colon);
    size_t pos = 0;
    Chord c{pitchClass(symbol, pos), 0, {}, at, length};
    c.bass = c.root;
    const size_t slash = symbol.find('/');
    const std::string quality =
        symbol.substr(pos, slash == std::string::npos ? slash : slash - pos);
    if (slash != std::string::npos) {
      size_t b = slash + 1;
      c.bass = pitchClass(symbol, b);
    }
    if (quality == "")
      c.intervals = {0, 4, 7};
    else if (quality == "m")
      c.intervals = {0, 3, 7};
    else if (quality == "7")
      c.intervals = {0, 4, 7, 10};
    else if (quality == "m7")
      c.intervals = {0, 3, 7, 10};
    else if (quality == "maj7")
      c.intervals = {0, 4, 7, 11};
    else if (quality == "sus4")
      c.intervals = {0, 5, 7};
    else
      throw std::runtime_error(symbol);
    out.push_back(c);
    at += length;
  }
  return out;
}

/* Close voicing between G3 and D5, held for the chord's length. */
void pad(Track& track, int channel, const std::vector<Chord>& progression, int velocity) {
  for (const Chord& c : progression)
    for (int interval : c.intervals) {
      int n = 48 + (c.root + interval) % 12;
      while (n < 55) n += 12;
      track.note(channel, n, velocity, c.start, c.length - 10);
    }
}

/* Eighth-note broken chords rising from the root in octave 3 and falling back;
   each note rings into the next, up to the end of its chord. */
void arpeggio(Track& track, int channel, const std::vector<Chord>& progression, int velocity) {
  for (const Chord& c : progression) {
    const int root = 48 + c.root;
    const int third = c.intervals[1];
    const int pattern[8] = {0, 7, 12, 12 + third, 19, 12 + third, 12, 7};
    for (uint32_t i = 0; i * kEighth < c.length; ++i)
      track.note(channel, root + pattern[i % 8], velocity - (i % 2 ? 12 : 0), c.start + i * kEighth,
                 std::min(kEighth * 2, c.length - i * kEighth));
  }
}

/* Root for half the chord, then the fifth and the octave. */
void bass(Track& track, int channel, const std::vector<Chord>& progression, int velocity) {
  for (const Chord& c : progression) {
    const int low = 36 + c.bass;
    if (c.length < 8 * kEighth) {
      track.note(channel, low, velocity, c.start, c.length - 20);
      continue;
    }
    track.note(channel, low, velocity, c.start, 4 * kEighth - 20);
    track.note(channel, 36 + (c.root + 7) % 12, velocity - 10, c.start + 4 * kEighth,
               2 * kEighth - 20);
    track.note(channel, low + 12, velocity - 14, c.start + 6 * kEighth, 2 * kEighth - 20);
  }
}

Track setup(const std::string& name, int channel, int program, int volume, int pan) {
  Track t;
  t.name(name);
  if (channel != kDrums) t.program(channel, program);
  t.control(channel, 7, volume);
  t.control(channel, 10, pan);
  t.control(channel, 91, 64);  // reverb
  return t;
}

Track conductor(const std::string& title, uint32_t usPerQuarter) {
  Track t;
  t.name(title);
  t.meta(0x51, {static_cast<uint8_t>(usPerQuarter >> 16), static_cast<uint8_t>(usPerQuarter >> 8),
                static_cast<uint8_t>(usPerQuarter)});
  t.meta(0x58, {4, 2, 24, 8});  // 4/4
  return t;
}

/* Kick on 1 and 3, side stick on 2 and 4, closed hi-hat in eighths; a snare run
   into the loop at the end. */
void drums(Track& track, uint32_t bars) {
  const uint32_t bar = 8 * kEighth;
  for (uint32_t b = 0; b < bars; ++b) {
    const uint32_t at = b * bar;
    for (uint32_t i = 0; i < 8; ++i) track.note(kDrums, 42, i % 2 ? 34 : 50, at + i * kEighth, 60);
    track.note(kDrums, 36, 70, at, 120);
    track.note(kDrums, 36, 62, at + 4 * kEighth, 120);
    if (b + 1 < bars) {
      track.note(kDrums, 37, 52, at + 2 * kEighth, 120);
      track.note(kDrums, 37, 52, at + 6 * kEighth, 120);
    } else {
      for (uint32_t i = 4; i < 8; ++i) track.note(kDrums, 38, 44 + 8 * i, at + i * kEighth, 120);
    }
  }
  track.note(kDrums, 49, 58, 0, 4 * kEighth);
}

bool writeTitle(const std::string& path) {
  const std::string tune =
      "A4:2 C5:2 F5:3 E5:1 | D5:2 C5:2 G4:4 | F4:2 A4:2 D5:3 C5:1 | Bb4:2 A4:2 F4:4 |"
      "A4:2 C5:2 F5:2 G5:2 | A5:3 G5:1 E5:4 | D5:2 F5:2 Bb5:2 A5:1 G5:1 | G5:4 r:2 C5:2 |"
      "F5:3 E5:1 F5:2 A5:2 | G5:2 E5:2 C5:4 | D5:2 F5:2 Bb5:3 A5:1 | A5:4 F5:2 C5:2 |"
      "Bb4:2 D5:2 G5:3 F5:1 | E5:2 G5:2 C5:4 | A4:2 C5:2 D5:2 F5:2 | E5:6 r:2";
  const auto harmony =
      chords("F:8 C/E:8 Dm:8 Bb:8 F:8 C:8 Bb:8 C:8 F:8 Am:8 Bb:8 F:8 Gm:8 C:8 F:4 Bb:4 C7:8");
  Track lead = setup("Flute", 0, 73, 100, 70);
  Track piano = setup("Piano", 1, 0, 78, 50);
  Track strings = setup("Strings", 2, 48, 70, 80);
  Track low = setup("Bass", 3, 32, 100, 64);
  Track kit = setup("Drums", kDrums, 0, 80, 64);
  const uint32_t end = melody(lead, 0, tune, 88);
  arpeggio(piano, 1, harmony, 64);
  pad(strings, 2, harmony, 46);
  bass(low, 3, harmony, 84);
  drums(kit, end / (8 * kEighth));
  return writeMidi(path, {conductor("Title", 600000), lead, piano, strings, low, kit}, end);
}

bool writeNight(const std::string& path) {
  const std::string tune =
      "E5:4 C5:2 A4:2 | C5:3 B4:1 A4:4 | G4:2 C5:2 E5:2 G5:2 | F5:3 E5:1 D5:4 |"
      "E5:2 A5:2 G5:2 E5:2 | F5:4 E5:2 C5:2 | D5:3 E5:1 F5:2 A5:2 | G#5:2 E5:2 B4:4 |"
      "A4:2 C5:2 F5:4 | G5:3 F5:1 E5:2 D5:2 | E5:4 C5:2 A4:2 | D5:2 F5:2 E5:2 B4:2";
  const auto harmony = chords("Am:8 Fmaj7:8 C:8 G:8 Am:8 F:8 Dm:8 E:8 F:8 G:8 Em:4 Am:4 Dm:4 E7:4");
  Track lead = setup("Music box", 0, 10, 112, 60);
  Track guitar = setup("Nylon guitar", 1, 24, 100, 44);
  Track warm = setup("Warm pad", 2, 89, 80, 84);
  Track low = setup("Bass", 3, 32, 110, 64);
  const uint32_t end = melody(lead, 0, tune, 90);
  arpeggio(guitar, 1, harmony, 66);
  pad(warm, 2, harmony, 42);
  bass(low, 3, harmony, 82);
  return writeMidi(path, {conductor("Night", 833333), lead, guitar, warm, low}, end);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : ".";
  try {
    bool ok = writeTitle(root + "/demo/TITLE.MID");
    ok = writeNight(root + "/demo/NIGHT.MID") && ok;
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_music: %s\n", e.what());
    return 1;
  }
}
