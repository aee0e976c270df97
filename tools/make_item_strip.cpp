// Generates assets/item_strip.gif: the item picture strip, eight 100 x 100 line drawings of
// small objects side by side (800 x 100, GIF87a, 32-entry grey ramp, LZW minimum code size 6).
//
// Build and run from the repository root:
//   g++ -std=c++20 -O2 -Wall -Wextra -o /tmp/make_item_strip tools/make_item_strip.cpp
//   /tmp/make_item_strip assets/item_strip.gif
//
// Drawing works on a supersampled grey canvas per tile (shapes are filled and stroked with hard
// edges at 8 x 8 samples per pixel), which is averaged down and mapped to the nearest grey of the
// ramp; this gives anti-aliased lines without any blending rules of its own.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gif_writer.h"
#include "vec2.h"

namespace {

constexpr int kTile = 100;
constexpr int kTiles = 8;
constexpr int kSS = 8;  // samples per pixel along each axis
constexpr int kHi = kTile * kSS;
constexpr double kPi = 3.14159265358979323846;

// The grey ramp of the strip; entries 13 and 31 stay unused by any pixel.
constexpr std::array<int, 32> kRamp = {0,   11,  18,  26,  34,  43,  51,  59,  67,  76,  83,
                                       91,  100, 108, 123, 131, 139, 147, 155, 163, 172, 180,
                                       187, 196, 203, 211, 219, 227, 236, 243, 254, 255};
constexpr int kBackground = 30;
constexpr int kFrame = 0;

// Line weights and inks shared by every drawing, so the eight tiles look like one set.
constexpr double kOutline = 1.6;
constexpr double kDetail = 1.0;
constexpr double kFine = 0.7;
constexpr double kInk = 0;
constexpr double kSoftInk = 51;

// A shader gives the grey of a point inside a shape, or a negative value to leave it unpainted.
using Shader = std::function<double(P)>;

/* ---------- geometry ---------- */

P rotateAround(P p, P c, double deg) {
  const double a = deg * kPi / 180, s = std::sin(a), co = std::cos(a);
  const P d = p - c;
  return {c.x + d.x * co - d.y * s, c.y + d.x * s + d.y * co};
}

Path rotated(Path path, P c, double deg) {
  for (P& p : path) p = rotateAround(p, c, deg);
  return path;
}

Path shifted(Path path, P d) {
  for (P& p : path) p = p + d;
  return path;
}

/* Points along an elliptical arc from a0 to a1 degrees (0 = +x, 90 = +y, i.e. downwards). */
Path arc(P c, double rx, double ry, double a0, double a1, int n = 0) {
  if (n == 0) n = std::max(8, static_cast<int>(std::abs(a1 - a0) / 4));
  Path out;
  for (int i = 0; i <= n; ++i) {
    const double a = (a0 + (a1 - a0) * i / n) * kPi / 180;
    out.push_back({c.x + rx * std::cos(a), c.y + ry * std::sin(a)});
  }
  return out;
}

Path ellipse(P c, double rx, double ry) {
  Path e = arc(c, rx, ry, 0, 360, 120);
  e.pop_back();
  return e;
}

Path circle(P c, double r) { return ellipse(c, r, r); }

Path bezier(P p0, P p1, P p2, P p3, int n = 24) {
  Path out;
  for (int i = 0; i <= n; ++i) {
    const double t = static_cast<double>(i) / n, u = 1 - t;
    out.push_back(p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) +
                  p3 * (t * t * t));
  }
  return out;
}

Path rect(double x0, double y0, double x1, double y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

Path roundRect(double x0, double y0, double x1, double y1, double r) {
  Path out;
  auto corner = [&](P c, double a0) {
    Path a = arc(c, r, r, a0, a0 + 90, 8);
    out.insert(out.end(), a.begin(), a.end());
  };
  corner({x1 - r, y0 + r}, -90);
  corner({x1 - r, y1 - r}, 0);
  corner({x0 + r, y1 - r}, 90);
  corner({x0 + r, y0 + r}, 180);
  return out;
}

Path closedLoop(Path p) {
  p.push_back(p.front());
  return p;
}

Path join(std::initializer_list<Path> parts) {
  Path out;
  for (const Path& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

/* ---------- shaders ---------- */

Shader solid(double g) {
  return [g](P) { return g; };
}

/* Grey changing linearly from ga at a to gb at b, constant beyond the ends. */
Shader linear(P a, P b, double ga, double gb) {
  return [=](P p) {
    const P d = b - a;
    const double t = std::clamp(dot(p - a, d) / dot(d, d), 0.0, 1.0);
    return ga + (gb - ga) * t;
  };
}

Shader radial(P c, double r, double g0, double g1) {
  return [=](P p) { return g0 + (g1 - g0) * std::clamp(len(p - c) / r, 0.0, 1.0); };
}

/* Round-body shading across the band from edge a to edge b: dark at both edges, brightest at the
   fraction h of the way, like a lit cylinder or bottle. */
Shader cylinder(P a, P b, double gEdge, double gLight, double h = 0.3) {
  return [=](P p) {
    const P d = b - a;
    const double t = std::clamp(dot(p - a, d) / dot(d, d), 0.0, 1.0);
    const double u = t < h ? (h - t) / h : (t - h) / (1 - h);
    return gLight + (gEdge - gLight) * std::pow(u, 1.6);
  };
}

/* Parallel lines at angle deg over a base shading; the base may leave points unpainted. */
Shader hatch(Shader base, double deg, double spacing, double width, double g) {
  const double a = deg * kPi / 180, s = std::sin(a), c = std::cos(a);
  return [=](P p) {
    const double u = p.x * c + p.y * s;
    const double f = u - spacing * std::floor(u / spacing);
    return f < width ? g : base(p);
  };
}

/* ---------- canvas ---------- */

/* One tile at kSS x kSS samples per pixel; coordinates are in tile pixels (0..100). */
class Canvas {
 public:
  Canvas() : v_(kHi * kHi, static_cast<float>(kRamp[kBackground])) {}

  /* Even-odd fill of one or more closed outlines (later rings cut holes into earlier ones). */
  void fill(const std::vector<Path>& rings, const Shader& shade) {
    double ymin = 1e9, ymax = -1e9;
    for (const Path& r : rings)
      for (P p : r) ymin = std::min(ymin, p.y), ymax = std::max(ymax, p.y);
    const int iy0 = std::max(0, static_cast<int>(std::floor(ymin * kSS)));
    const int iy1 = std::min(kHi - 1, static_cast<int>(std::ceil(ymax * kSS)));
    std::vector<double> xs;
    for (int iy = iy0; iy <= iy1; ++iy) {
      const double y = (iy + 0.5) / kSS;
      xs.clear();
      for (const Path& r : rings) crossings(r, y, xs);
      std::sort(xs.begin(), xs.end());
      for (size_t i = 0; i + 1 < xs.size(); i += 2) span(iy, y, xs[i], xs[i + 1], shade);
    }
  }
  void fill(const Path& ring, const Shader& shade) { fill(std::vector<Path>{ring}, shade); }
  void fill(const Path& ring, double g) { fill(ring, solid(g)); }

  /* A line of the given width with round ends and joins. */
  void stroke(const Path& line, double width, double g) {
    if (line.size() == 1) capsule(line[0], line[0], width / 2, g);
    for (size_t i = 0; i + 1 < line.size(); ++i) capsule(line[i], line[i + 1], width / 2, g);
  }
  void strokeClosed(const Path& ring, double width, double g) {
    stroke(closedLoop(ring), width, g);
  }

  /* A filled shape with an outline on top. */
  void shape(const Path& ring, const Shader& shade, double width = kOutline, double g = kInk) {
    fill(ring, shade);
    strokeClosed(ring, width, g);
  }
  void shape(const Path& ring, double fillGrey, double width = kOutline, double g = kInk) {
    shape(ring, solid(fillGrey), width, g);
  }

  void disc(P c, double r, double g) { fill(circle(c, r), g); }

  /* Mean grey of each pixel, mapped to the nearest ramp entry that pixels may use. */
  std::vector<uint8_t> indices() const {
    std::vector<uint8_t> out(kTile * kTile);
    for (int y = 0; y < kTile; ++y)
      for (int x = 0; x < kTile; ++x) out[y * kTile + x] = nearestEntry(mean(x, y));
    return out;
  }

 private:
  static void crossings(const Path& r, double y, std::vector<double>& xs) {
    for (size_t i = 0; i < r.size(); ++i) {
      const P a = r[i], b = r[(i + 1) % r.size()];
      if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y))
        xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
    }
  }

  void span(int iy, double y, double xa, double xb, const Shader& shade) {
    const int ix0 = std::max(0, static_cast<int>(std::ceil(xa * kSS - 0.5)));
    const int ix1 = std::min(kHi - 1, static_cast<int>(std::ceil(xb * kSS - 0.5)) - 1);
    for (int ix = ix0; ix <= ix1; ++ix) put(ix, iy, shade({(ix + 0.5) / kSS, y}));
  }

  void capsule(P a, P b, double r, double g) {
    const int ix0 = std::max(0, static_cast<int>(std::floor((std::min(a.x, b.x) - r) * kSS)));
    const int ix1 = std::min(kHi - 1, static_cast<int>(std::ceil((std::max(a.x, b.x) + r) * kSS)));
    const int iy0 = std::max(0, static_cast<int>(std::floor((std::min(a.y, b.y) - r) * kSS)));
    const int iy1 = std::min(kHi - 1, static_cast<int>(std::ceil((std::max(a.y, b.y) + r) * kSS)));
    const P d = b - a;
    const double dd = std::max(dot(d, d), 1e-12);
    for (int iy = iy0; iy <= iy1; ++iy)
      for (int ix = ix0; ix <= ix1; ++ix) {
        const P p{(ix + 0.5) / kSS, (iy + 0.5) / kSS};
        const double t = std::clamp(dot(p - a, d) / dd, 0.0, 1.0);
        if (len(p - (a + d * t)) <= r) put(ix, iy, g);
      }
  }

  void put(int ix, int iy, double g) {
    if (g >= 0) v_[iy * kHi + ix] = static_cast<float>(std::min(g, 254.0));
  }

  double mean(int x, int y) const {
    double sum = 0;
    for (int sy = 0; sy < kSS; ++sy)
      for (int sx = 0; sx < kSS; ++sx) sum += v_[(y * kSS + sy) * kHi + x * kSS + sx];
    return sum / (kSS * kSS);
  }

  static uint8_t nearestEntry(double g) {
    int best = 0;
    for (int i = 0; i < 32; ++i) {
      if (i == 13 || i == 31) continue;
      if (std::abs(kRamp[i] - g) < std::abs(kRamp[best] - g)) best = i;
    }
    return static_cast<uint8_t>(best);
  }

  std::vector<float> v_;
};

/* A soft oval shadow for an object to stand on. */
void groundShadow(Canvas& c, P centre, double rx, double ry) {
  c.fill(ellipse(centre, rx, ry), [=](P p) {
    const double dx = (p.x - centre.x) / rx, dy = (p.y - centre.y) / ry;
    return 215 + 39 * std::clamp(std::sqrt(dx * dx + dy * dy), 0.0, 1.0);
  });
}

/* ---------- hand-lettering ---------- */

// Glyphs in a cell 4 units wide and 6 high (y downwards), as strokes of points.
const std::map<char, std::vector<Path>>& glyphs() {
  static const std::map<char, std::vector<Path>> g = {
      {'T', {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
      {'I', {{{2, 0}, {2, 6}}, {{1, 0}, {3, 0}}, {{1, 6}, {3, 6}}}},
      {'C',
       {{{4, 1},
         {3.2, 0.1},
         {1.8, 0},
         {0.6, 0.7},
         {0, 2.2},
         {0, 3.8},
         {0.6, 5.3},
         {1.8, 6},
         {3.2, 5.9},
         {4, 5}}}},
      {'K', {{{0, 0}, {0, 6}}, {{4, 0}, {0, 3.6}}, {{1.4, 2.4}, {4, 6}}}},
      {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 2.9}, {3, 2.9}}}},
      {'N', {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}},
      {'o',
       {{{2, 2.6},
         {0.9, 3},
         {0.3, 4.2},
         {0.6, 5.5},
         {1.8, 6},
         {3.1, 5.6},
         {3.7, 4.4},
         {3.3, 3.1},
         {2, 2.6}}}},
      {'.', {{{0.8, 5.9}, {0.9, 6}}}},
      {'7', {{{0, 0}, {4, 0}, {1.6, 6}}, {{1.3, 3}, {3.3, 3}}}},
  };
  return g;
}

/* Small fixed wobble so the letters look drawn by hand, the same on every run. */
P wobble(int i) {
  const double a = std::sin(i * 12.9898) * 43758.5453;
  const double b = std::sin(i * 78.233) * 12543.1231;
  return {(a - std::floor(a) - 0.5) * 0.25, (b - std::floor(b) - 0.5) * 0.25};
}

/* Writes text with its top-left at origin, letters `size` pixels high, turned by deg. */
void letter(Canvas& c, const std::string& text, P origin, double size, double deg, double width,
            double g) {
  const double unit = size / 6, advance = 5.1, slant = 0.12;
  int seed = 1;
  double cx = 0;
  for (char ch : text) {
    const double w = (ch == '.') ? 2.4 : (ch == 'o' ? 4.9 : advance);
    for (const Path& s : glyphs().at(ch)) {
      Path line;
      for (P q : s) {
        const P j = wobble(seed++);
        const P local{cx + q.x + j.x + slant * (6 - q.y), q.y + j.y};
        line.push_back(rotateAround(origin + local * unit, origin, deg));
      }
      c.stroke(line, width, g);
    }
    cx += w;
  }
}

/* ---------- the eight items ---------- */

/* Item 0: a brass key on a string with a round-cornered tag lettered "No.7". */
void drawKey(Canvas& c) {
  groundShadow(c, {52, 86}, 34, 4);
  // Tag, turned a little, with a reinforced hole and its string back to the bow.
  const P tc{68, 28};
  const double turn = 9;
  auto T = [&](Path p) { return rotated(std::move(p), tc, turn); };
  const Path tag = T({{53, 18}, {86, 18}, {89, 21}, {89, 35}, {86, 38}, {53, 38}, {47, 28}});
  c.fill(shifted(tag, {1.2, 1.6}), 203);
  c.shape(tag, linear({50, 18}, {88, 40}, 243, 219));
  const P hole = rotateAround({53, 28}, tc, turn);
  c.stroke(bezier({25, 47.5}, {22, 26}, {38, 16}, hole + P{-0.8, 0}), kFine + 0.2, 67);
  c.disc(hole, 3, 196);
  c.strokeClosed(circle(hole, 3), kFine, 51);
  c.disc(hole, 1.4, 254);
  c.strokeClosed(circle(hole, 1.4), kFine, 34);
  letter(c, "No.7", rotateAround({59.5, 23}, tc, turn), 9, turn, 1.25, 18);

  // Key: ring bow, collar, shaft and a bit with two wards.
  c.fill(rect(36, 58, 83, 66), cylinder({0, 58}, {0, 66}, 131, 236, 0.3));
  c.strokeClosed(rect(36, 58, 83, 66), kOutline, kInk);
  c.stroke({{46, 60}, {80, 60}}, kFine, 254);
  const Path bit = {{67, 66}, {83, 66}, {83, 81}, {79, 81},   {79, 77},   {76, 77},
                    {76, 81}, {72, 81}, {72, 74}, {69.5, 74}, {69.5, 78}, {67, 78}};
  c.shape(bit, linear({67, 66}, {83, 81}, 211, 131));
  c.stroke({{68.5, 68}, {81.5, 68}}, kFine, 243);
  c.shape(roundRect(38, 55, 45, 69, 1.5), cylinder({0, 55}, {0, 69}, 123, 236, 0.3));
  c.stroke({{41.5, 56}, {41.5, 68}}, kFine, 91);
  const P bow{25, 62};
  c.fill({circle(bow, 14), circle(bow, 6.5)}, radial({20, 55}, 22, 243, 123));
  c.strokeClosed(circle(bow, 14), kOutline, kInk);
  c.strokeClosed(circle(bow, 6.5), kOutline, kInk);
  c.strokeClosed(circle(bow, 10.3), kFine, 100);
  for (int i = 0; i < 12; ++i)
    c.disc(rotateAround({bow.x, bow.y - 10.3}, bow, i * 30 + 15), 0.8, 67);
  c.stroke(arc(bow, 12.3, 12.3, 200, 255), kDetail, 254);
  c.stroke(arc(bow, 8.2, 8.2, 20, 80), kFine, 236);
}

/* Item 1: a pocket watch showing ten past ten, with its bow and a loop of chain. */
void drawWatch(Canvas& c) {
  const P m{48, 57};
  groundShadow(c, {52, 88}, 28, 3.5);
  // Chain loops out to the right from the bow.
  const Path chain = bezier({48, 15}, {72, 6}, {92, 34}, {80, 60}, 14);
  for (size_t i = 0; i + 1 < chain.size(); ++i) {
    const P a = chain[i], b = chain[i + 1], mid = lerp(a, b, 0.5);
    const double deg = std::atan2(b.y - a.y, b.x - a.x) * 180 / kPi;
    Path link = rotated(ellipse(mid, 2.9, i % 2 ? 0.9 : 1.6), mid, deg);
    c.strokeClosed(link, kDetail, i % 2 ? 34 : 59);
  }
  c.strokeClosed(circle({80.4, 62}, 2.3), kDetail, 34);
  // Bow ring and crown.
  c.fill({ellipse({48, 16}, 6.5, 5.5), ellipse({48, 16}, 4.2, 3.4)},
         linear({42, 12}, {54, 20}, 236, 139));
  c.strokeClosed(ellipse({48, 16}, 6.5, 5.5), kDetail + 0.2, kInk);
  c.strokeClosed(ellipse({48, 16}, 4.2, 3.4), kDetail, kInk);
  c.shape(roundRect(44.5, 21, 51.5, 27, 1.2), cylinder({44.5, 0}, {51.5, 0}, 123, 236, 0.35));
  for (double x = 46; x <= 50.5; x += 1.5) c.stroke({{x, 21.8}, {x, 26.2}}, 0.5, 91);
  c.shape(rect(46, 27, 50, 30.5), 163, kDetail);
  // Case, bezel and dial.
  c.fill(circle(m, 28), radial({40, 47}, 40, 243, 123));
  c.strokeClosed(circle(m, 28), kOutline, kInk);
  c.fill({circle(m, 25.2), circle(m, 22.5)}, radial({58, 67}, 30, 187, 100));
  c.strokeClosed(circle(m, 25.2), kDetail, 26);
  c.fill(circle(m, 22.5), radial({42, 50}, 30, 254, 227));
  c.strokeClosed(circle(m, 22.5), kDetail, kInk);
  c.stroke(arc(m, 26.6, 26.6, 195, 250), kDetail, 254);
  for (int i = 0; i < 60; ++i) {
    const double a = i * 6;
    const bool hour = i % 5 == 0, quarter = i % 15 == 0;
    const double r0 = quarter ? 16.5 : (hour ? 18 : 20.3);
    const P p0 = rotateAround({m.x, m.y - r0}, m, a), p1 = rotateAround({m.x, m.y - 21}, m, a);
    c.stroke({p0, p1}, quarter ? 1.5 : (hour ? 1.1 : 0.45), hour ? kInk : 91);
  }
  // Seconds dial.
  const P s{m.x, m.y + 10};
  c.fill(circle(s, 5), 236);
  c.strokeClosed(circle(s, 5), kFine, 59);
  for (int i = 0; i < 12; ++i)
    c.stroke({rotateAround({s.x, s.y - 3.8}, s, i * 30), rotateAround({s.x, s.y - 5}, s, i * 30)},
             0.45, 67);
  c.stroke({s, rotateAround({s.x, s.y - 4.2}, s, 130)}, 0.6, kInk);
  // Hands: spade hour hand at ten, long minute hand at two.
  const Path hourHand = {{m.x - 1.3, m.y}, {m.x - 1, m.y - 8},    {m.x - 2.2, m.y - 10},
                         {m.x, m.y - 13},  {m.x + 2.2, m.y - 10}, {m.x + 1, m.y - 8},
                         {m.x + 1.3, m.y}};
  c.fill(rotated(hourHand, m, -60), kInk);
  const Path minuteHand = {{m.x - 1, m.y}, {m.x, m.y - 19.5}, {m.x + 1, m.y}};
  c.fill(rotated(minuteHand, m, 60), kInk);
  c.stroke({m, rotateAround({m.x, m.y + 4.5}, m, 60)}, 1.2, kInk);
  c.disc(m, 2, kInk);
  c.disc(m, 0.8, 203);
}

/* Item 2: a round paper lantern with ribs, a crest, a wire handle and a tassel. */
void drawLantern(Canvas& c) {
  const P m{50, 53};
  const double rx = 25, ry = 27;
  // Handle wire and hook.
  c.stroke(arc({50, 22}, 8, 11, 180, 360), kDetail, 34);
  c.stroke(arc({50, 8.5}, 2.4, 2.4, 90, 400), kDetail, 34);
  // Paper body glowing from inside.
  c.fill(ellipse(m, rx, ry), [=](P p) {
    const double dx = (p.x - m.x) / rx, dy = (p.y - m.y) / ry;
    return 254 - 90 * std::pow(std::clamp(dx * dx + dy * dy * 0.35, 0.0, 1.0), 1.4);
  });
  // Ribs: horizontal hoops seen slightly from above.
  for (int i = -6; i <= 6; ++i) {
    const double y = m.y + ry * i / 7.0;
    const double half = rx * std::sqrt(1 - std::pow((y - m.y) / ry, 2));
    c.stroke(arc({m.x, y}, half, 2.2 * half / rx, 0, 180), 0.55, 100);
  }
  // Crest: a five-petalled flower in a ring on the front.
  c.disc(m, 9.5, 243);
  c.strokeClosed(circle(m, 9.5), kDetail + 0.3, 18);
  for (int i = 0; i < 5; ++i) c.disc(rotateAround({m.x, m.y - 4}, m, i * 72), 2.7, 26);
  c.disc(m, 1.6, 243);
  c.strokeClosed(circle(m, 1.6), 0.6, 26);
  c.strokeClosed(ellipse(m, rx, ry), kOutline, kInk);
  // Top and bottom rims of lacquered wood.
  c.shape(roundRect(37, 23, 63, 30, 1.5), cylinder({0, 23}, {0, 30}, 26, 131, 0.35));
  c.stroke({{38.5, 25}, {61.5, 25}}, 0.5, 155);
  c.shape(roundRect(39, 77, 61, 83.5, 1.5), cylinder({0, 77}, {0, 83.5}, 26, 131, 0.35));
  c.stroke({{40.5, 79}, {59.5, 79}}, 0.5, 155);
  // Tassel.
  c.stroke({{50, 83.5}, {50, 86}}, kDetail, 34);
  c.shape(roundRect(48, 85.5, 52, 88, 1), 67, kFine);
  for (double x = 47; x <= 53.1; x += 1.2)
    c.stroke({{50 + (x - 50) * 0.4, 88}, {x, 94.5}}, 0.5, x < 50 ? 43 : 91);
}

/* Item 3: a sealed letter with a stamp and a postmark. */
void drawLetter(Canvas& c) {
  const P m{50, 52};
  const double tilt = -7;
  auto T = [&](Path p) { return rotated(std::move(p), m, tilt); };
  auto Tp = [&](P p) { return rotateAround(p, m, tilt); };
  c.fill(T(rect(15.5, 33.5, 86.5, 75.5)), 211);  // shadow
  const Path body = T(rect(13, 31, 84, 73));
  c.fill(body, linear(Tp({13, 31}), Tp({84, 73}), 254, 227));
  // Lower folds and the flap with its seal.
  c.fill(T({{13, 73}, {45, 50}, {52, 50}, {84, 73}}), linear(Tp({50, 50}), Tp({50, 73}), 236, 219));
  c.stroke(T({{13, 73}, {45, 50}}), kDetail, 59);
  c.stroke(T({{84, 73}, {52, 50}}), kDetail, 59);
  const Path flap = T({{13, 31}, {48.5, 57}, {84, 31}});
  c.fill(flap, linear(Tp({48, 31}), Tp({48, 57}), 243, 203));
  c.stroke(shifted(flap, {0, 0.9}), 0.6, 172);
  c.stroke(flap, kDetail + 0.2, kInk);
  c.strokeClosed(body, kOutline, kInk);
  // Wax seal with a wavy rim and a pressed star.
  const P seal = Tp({48.5, 56});
  Path rim;
  for (int i = 0; i < 48; ++i) {
    const double a = i * 2 * kPi / 48, r = 7.2 + 0.7 * std::sin(i * 1.9) + 0.4 * std::sin(i * 5.3);
    rim.push_back({seal.x + r * std::cos(a), seal.y + r * std::sin(a)});
  }
  c.shape(rim, radial(seal + P{-3, -3}, 11, 100, 26), kDetail, kInk);
  c.strokeClosed(circle(seal, 4.6), 0.7, 18);
  Path star;
  for (int i = 0; i < 10; ++i)
    star.push_back(rotateAround({seal.x, seal.y - (i % 2 ? 1.4 : 3.4)}, seal, i * 36 + tilt));
  c.fill(star, 139);
  c.stroke(arc(seal, 5.8, 5.8, 200, 250), 0.7, 163);
  // Stamp with a perforated edge and a little mountain.
  const double sx0 = 66, sy0 = 35, sx1 = 79, sy1 = 50;
  Path edge;
  auto teeth = [&](P a, P b, int n) {
    for (int i = 0; i < n; ++i) {
      const P p = lerp(a, b, static_cast<double>(i) / n), q = lerp(a, b, (i + 0.5) / n);
      const P nrm = P{(b - a).y, -(b - a).x} * (0.9 / len(b - a));
      edge.push_back(p);
      edge.push_back(q + nrm);
    }
  };
  teeth({sx0, sy0}, {sx1, sy0}, 7);
  teeth({sx1, sy0}, {sx1, sy1}, 8);
  teeth({sx1, sy1}, {sx0, sy1}, 7);
  teeth({sx0, sy1}, {sx0, sy0}, 8);
  c.shape(T(edge), 243, kFine, 51);
  c.fill(T(rect(68, 37, 77, 48)), linear(Tp({0, 37}), Tp({0, 48}), 196, 236));
  c.fill(T({{68, 48}, {71.5, 41}, {73.5, 44}, {75, 42.5}, {77, 48}}), 91);
  c.disc(Tp({74.8, 39.3}), 1.2, 254);
  c.strokeClosed(T(rect(68, 37, 77, 48)), 0.5, 67);
  // Postmark rings and wavy cancel lines over the stamp.
  const P pm = Tp({62, 45});
  c.strokeClosed(circle(pm, 6), 0.7, 91);
  c.strokeClosed(circle(pm, 4.2), 0.5, 131);
  for (int k = 0; k < 3; ++k) {
    Path wave;
    for (double x = 66; x <= 82; x += 0.5)
      wave.push_back(Tp({x, 41 + 3 * k + 0.9 * std::sin((x - 66) * 0.9)}));
    c.stroke(wave, 0.6, 83);
  }
  // Address lines.
  for (int k = 0; k < 3; ++k) {
    const double x0 = 24 + 2 * k;
    c.stroke(T({{x0, 61.5 + 4.5 * k}, {x0 + 20 - 4 * k, 61.5 + 4.5 * k}}), 0.5, 139);
  }
}

/* Item 4: a small medicine bottle with a cork, liquid and a paper label. */
void drawBottle(Canvas& c) {
  groundShadow(c, {50, 88}, 24, 3.2);
  const Path glass = join({{{44, 28}, {44, 35}},
                           bezier({44, 35}, {44, 39}, {33, 39}, {33, 46}, 12),
                           {{33, 83}},
                           bezier({33, 83}, {33, 86.5}, {35, 87}, {38, 87}, 6),
                           {{62, 87}},
                           bezier({62, 87}, {65, 87}, {67, 86.5}, {67, 83}, 6),
                           {{67, 46}},
                           bezier({67, 46}, {67, 39}, {56, 39}, {56, 35}, 12),
                           {{56, 28}}});
  c.fill(glass, cylinder({33, 0}, {67, 0}, 196, 254, 0.28));
  // Liquid up to a slightly curved surface.
  const Path liquid = join({arc({50, 55}, 16.3, 1.6, 180, 0, 20),
                            {{66.3, 83}},
                            bezier({66.3, 83}, {66.3, 86}, {64.5, 86.3}, {62, 86.3}, 6),
                            {{38, 86.3}},
                            bezier({38, 86.3}, {35.5, 86.3}, {33.7, 86}, {33.7, 83}, 6)});
  c.fill(liquid, cylinder({33, 0}, {67, 0}, 59, 147, 0.3));
  c.strokeClosed(ellipse({50, 55}, 16.3, 1.6), 0.6, 76);
  // Label.
  c.shape(rect(36, 61, 64, 79), linear({36, 0}, {64, 0}, 254, 219), kDetail, 34);
  c.strokeClosed(rect(38, 63, 62, 77), 0.5, 123);
  c.fill(rect(47.5, 65, 52.5, 75), 34);
  c.fill(rect(45, 67.5, 55, 72.5), 34);
  // Glass highlights and outline.
  c.stroke({{37.5, 47}, {37.5, 58}}, 1.8, 254);
  c.stroke({{37.5, 81}, {37.5, 84}}, 1.4, 254);
  c.stroke({{46.5, 29.5}, {46.5, 35}}, 1, 254);
  c.stroke(glass, kOutline, kInk);
  c.stroke({{38, 87}, {62, 87}}, kOutline, kInk);
  // Lip and cork.
  c.shape(roundRect(42.5, 26, 57.5, 30, 1.5), cylinder({42.5, 0}, {57.5, 0}, 172, 254, 0.3),
          kDetail + 0.2);
  c.shape(join({{{44.5, 26}},
                bezier({44.5, 26}, {44, 20}, {44, 15}, {45, 14}, 6),
                {{55, 14}},
                bezier({55, 14}, {56, 15}, {56, 20}, {55.5, 26}, 6)}),
          cylinder({44, 0}, {56, 0}, 131, 211, 0.35), kDetail + 0.2);
  c.fill(ellipse({50, 14.2}, 5, 1.3), 172);
  c.strokeClosed(ellipse({50, 14.2}, 5, 1.3), kFine, 34);
  const P pores[] = {{47, 18}, {52.5, 17}, {49, 21.5}, {53.5, 22.5}, {46.5, 24}, {51, 24.5}};
  for (P p : pores) c.disc(p, 0.55, 91);
}

/* Item 5: a cassette tape: screws, a written label, two reels in the window. */
void drawCassette(Canvas& c) {
  groundShadow(c, {50, 80}, 38, 3.5);
  const Path shell = roundRect(12, 26, 88, 76, 3.5);
  c.fill(shell, hatch(linear({12, 26}, {88, 76}, 163, 123), 45, 3, 0.45, 100));
  c.strokeClosed(shell, kOutline, kInk);
  // Label with a written line and a side mark.
  const Path label = roundRect(18, 30, 82, 60, 2);
  c.shape(label, 243, kDetail, 26);
  c.fill(rect(18.6, 30.6, 81.4, 35), 196);
  c.stroke({{18.6, 35}, {81.4, 35}}, 0.5, 67);
  // A line of handwriting: a looping curve whose loops vary a little in size.
  Path scribble;
  for (double t = 0; t <= 26; t += 0.1) {
    const double loop = 0.9 + 0.35 * std::sin(t * 0.7);
    scribble.push_back(
        {30 + t * 1.5 - 1.1 * std::sin(t * 2.2), 40.5 - loop * 1.6 * std::cos(t * 2.2)});
  }
  c.stroke(scribble, 0.7, 43);
  c.shape(rect(21, 37.5, 26, 42.5), 26, kFine);
  // Window showing the two packs of tape.
  const Path window = roundRect(30, 44, 70, 56, 5);
  const P reelL{40, 50}, reelR{60, 50};
  c.fill(window, [=](P p) {
    const double dl = len(p - reelL), dr = len(p - reelR);
    if (dl <= 9.5 || dr <= 6.5) return std::fmod(std::min(dl, dr), 1.3) < 0.25 ? 59.0 : 34.0;
    return 172.0;
  });
  for (P r : {reelL, reelR}) {
    c.disc(r, 3.8, 236);
    c.strokeClosed(circle(r, 3.8), kDetail, kInk);
    c.disc(r, 2.4, 43);
    for (int i = 0; i < 3; ++i)
      c.stroke({rotateAround({r.x, r.y - 0.9}, r, i * 120 + 30),
                rotateAround({r.x, r.y - 2.6}, r, i * 120 + 30)},
               0.9, 236);
  }
  c.stroke({{40, 54}, {60, 54}}, 0.5, 139);
  c.strokeClosed(window, kDetail, kInk);
  c.stroke(arc({50, 50}, 17, 3.5, 200, 250), 0.7, 236);
  // Bottom ramp with guide holes.
  const Path ramp = {{26, 76}, {30, 64}, {70, 64}, {74, 76}};
  c.fill(ramp, linear({0, 64}, {0, 76}, 163, 100));
  c.stroke(ramp, kDetail, kInk);
  for (double x : {36.0, 64.0}) {
    c.disc({x, 70}, 2, 18);
    c.disc({x - 0.5, 69.5}, 0.6, 139);
  }
  for (double x : {45.0, 55.0}) c.fill(rect(x - 1.5, 68.5, x + 1.5, 71.5), 26);
  // Corner screws.
  for (P s : {P{16, 30}, P{84, 30}, P{16, 72}, P{84, 72}}) {
    c.disc(s, 1.8, 211);
    c.strokeClosed(circle(s, 1.8), 0.6, kInk);
    c.stroke({s + P{-1.1, 0}, s + P{1.1, 0}}, 0.5, kInk);
    c.stroke({s + P{0, -1.1}, s + P{0, 1.1}}, 0.5, kInk);
  }
}

/* Item 6: a torch (electric flashlight) lying at a slant with its beam lines. */
void drawFlashlight(Canvas& c) {
  const P m{46, 56};
  const double tilt = -28;
  auto T = [&](Path p) { return rotated(std::move(p), m, tilt); };
  auto Tp = [&](P p) { return rotateAround(p, m, tilt); };
  groundShadow(c, {50, 81}, 32, 3.5);
  // Body along the x axis before turning: tail cap at 14, head flare from 52 to 64.
  const Shader body = cylinder(Tp({0, 49}), Tp({0, 63}), 51, 211, 0.3);
  c.shape(T(roundRect(14, 50, 22, 62, 2)), cylinder(Tp({0, 50}), Tp({0, 62}), 34, 172, 0.3));
  c.shape(T(rect(21, 49, 54, 63)), body);
  for (double x = 25; x <= 39; x += 2) c.stroke(T({{x, 49.8}, {x, 62.2}}), 0.6, 34);
  c.stroke(T({{41, 49}, {41, 63}}), kFine, 34);
  // Switch.
  c.shape(T(roundRect(44, 46.5, 51, 49.5, 1.4)), 91, kDetail);
  c.stroke(T({{45.5, 47.4}, {49.5, 47.4}}), 0.5, 196);
  // Head flaring out and the lens ring.
  const Path head = {{54, 49}, {66, 44}, {71, 44}, {71, 68}, {66, 68}, {54, 63}};
  c.shape(T(head), cylinder(Tp({0, 44}), Tp({0, 68}), 59, 227, 0.28));
  c.stroke(T({{66, 44.2}, {66, 67.8}}), kDetail, 18);
  c.fill(T(ellipse({71, 56}, 3.5, 12)), radial(Tp({70, 52}), 12, 254, 196));
  c.strokeClosed(T(ellipse({71, 56}, 3.5, 12)), kOutline, kInk);
  c.strokeClosed(T(ellipse({71, 56}, 2.2, 8.8)), 0.6, 123);
  c.disc(Tp({71.4, 56}), 1.6, 147);
  // Beam rays.
  for (int i = -2; i <= 2; ++i) {
    const double a = i * 14;
    const P from = Tp(rotateAround({78, 56}, {71, 56}, a));
    const P to = Tp(rotateAround({88, 56}, {71, 56}, a));
    c.stroke({from, to}, kDetail, i == 0 ? 51 : 100);
  }
  // Wrist strap loop at the tail.
  c.stroke(T(bezier({14, 54}, {4, 52}, {4, 62}, {14, 59}, 16)), kDetail, 51);
}

/* Item 7: an admission ticket lettered "TICKET", with a perforated stub. */
void drawTicket(Canvas& c) {
  const P m{50, 50};
  const double tilt = -8;
  auto T = [&](Path p) { return rotated(std::move(p), m, tilt); };
  auto Tp = [&](P p) { return rotateAround(p, m, tilt); };
  // Outline with round notches at both ends of the tear line.
  const double x0 = 10, x1 = 90, y0 = 33, y1 = 67, tear = 70;
  const Path outline = join({{{x0 + 3, y0}},
                             arc({tear, y0}, 3.2, 3.2, 180, 0, 12),
                             {{x1 - 3, y0}, {x1, y0 + 3}, {x1, y1 - 3}, {x1 - 3, y1}},
                             arc({tear, y1}, 3.2, 3.2, 0, -180, 12),
                             {{x0 + 3, y1}, {x0, y1 - 3}, {x0, y0 + 3}}});
  c.fill(shifted(T(outline), {1.5, 2}), 203);
  c.fill(T(outline), hatch(linear(Tp({x0, y0}), Tp({x1, y1}), 254, 227), -45, 2.6, 0.35, 211));
  c.fill(T(rect(x0 + 4, y0 + 4, tear - 6, y1 - 4)), 254);
  c.strokeClosed(T(outline), kOutline, kInk);
  c.strokeClosed(T(rect(x0 + 4, y0 + 4, tear - 6, y1 - 4)), kDetail, 34);
  c.strokeClosed(T(rect(x0 + 5.5, y0 + 5.5, tear - 7.5, y1 - 5.5)), 0.5, 100);
  for (double y = y0 + 4; y <= y1 - 3.9; y += 2.6) c.disc(Tp({tear, y}), 0.6, 43);
  // Lettering and small stars.
  letter(c, "TICKET", Tp({17, 43.5}), 9, tilt, 1.4, kInk);
  for (double x : {18.5, 59.5}) {
    Path star;
    const P sc = Tp({x, 57.5});
    for (int i = 0; i < 10; ++i)
      star.push_back(rotateAround({sc.x, sc.y - (i % 2 ? 0.9 : 2.2)}, sc, i * 36 + tilt));
    c.fill(star, 34);
  }
  for (double x = 23; x <= 55; x += 2) c.disc(Tp({x, 57.5}), 0.5, 67);
  // Stub: a round punch hole and a printed bar pattern.
  c.disc(Tp({80, 41.5}), 2.6, 203);
  c.strokeClosed(circle(Tp({80, 41.5}), 2.6), kFine, 34);
  for (int i = 0; i < 4; ++i)
    c.stroke(T({{74.5, 50.5 + 2.8 * i}, {85.5, 50.5 + 2.8 * i}}), 0.9, 67);
  c.stroke(T({{74.5, 61.7}, {80.5, 61.7}}), 0.9, 67);
}

/* ---------- strip ---------- */

/* Draws the frame of a tile: its first and last row and column in entry 0. */
void frameTile(std::vector<uint8_t>& tile) {
  for (int i = 0; i < kTile; ++i) {
    tile[i] = tile[(kTile - 1) * kTile + i] = kFrame;
    tile[i * kTile] = tile[i * kTile + kTile - 1] = kFrame;
  }
}

gif::IndexedImage buildStrip() {
  using Draw = void (*)(Canvas&);
  const std::array<Draw, kTiles> items = {drawKey,    drawWatch,    drawLantern,    drawLetter,
                                          drawBottle, drawCassette, drawFlashlight, drawTicket};
  gif::IndexedImage img;
  img.width = kTile * kTiles;
  img.height = kTile;
  for (int v : kRamp)
    img.palette.push_back(
        {static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v)});
  img.pixels.assign(static_cast<size_t>(img.width) * img.height, kBackground);
  for (int k = 0; k < kTiles; ++k) {
    Canvas canvas;
    items[k](canvas);
    std::vector<uint8_t> tile = canvas.indices();
    frameTile(tile);
    for (int y = 0; y < kTile; ++y)
      std::copy_n(tile.begin() + y * kTile, kTile, img.pixels.begin() + y * img.width + k * kTile);
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : "assets/item_strip.gif";
  try {
    const std::vector<uint8_t> bytes = gif::encodeGif87a(buildStrip(), 6);
    gif::writeFile(out, bytes);
    std::printf("%s: %zu bytes\n", out.c_str(), bytes.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_item_strip: %s\n", e.what());
    return 1;
  }
  return 0;
}
