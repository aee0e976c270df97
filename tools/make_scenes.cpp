// Generates the nine scene pictures of the demo game "The lighthouse keeper's letter": each
// 504 x 336 pixels, written as <name>.szg into the given folder in PNG, GIF87a or 24-bit BMP
// (the player recognises a picture by its content, not by its extension).
//
// Build and run from the repository root (the first two lines are one command):
//   g++ -std=c++20 -O2 tools/make_scenes.cpp $(pkg-config --cflags --libs sdl2 SDL2_image)
//       -o /tmp/make_scenes && /tmp/make_scenes demo
// Naming scenes after the folder renders only those: /tmp/make_scenes /tmp/out beach title
//
// Every scene is painted on a canvas of 4 x 4 samples per pixel: shapes have hard edges at that
// resolution and are averaged down, which gives clean anti-aliased outlines; skies, glows and
// beams are smooth functions evaluated per sample. Random details (stars, waves, reflections)
// come from a fixed-seed generator of our own, so the output is the same on every run.
// The bottom band of every scene (where the game draws its menu labels) is kept dark and calm.
//
// Formats: PNG for station, harbour, shop, sunrise and title; GIF87a (256 colours by median cut
// with a light 8 x 8 ordered dither) for lighthouse and beach; 24-bit BMP for stairs and lamproom.

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "gif_writer.h"
#include "vec2.h"

namespace {

constexpr int kW = 504;
constexpr int kH = 336;
constexpr int kSS = 4;  // samples per pixel along each axis
constexpr int kSW = kW * kSS;
constexpr int kSH = kH * kSS;
constexpr double kPi = 3.14159265358979323846;

/* ---------- colours and points ---------- */

struct Col {
  double r = 0, g = 0, b = 0;
};
Col operator+(Col a, Col b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Col operator-(Col a, Col b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
Col operator*(Col a, double s) { return {a.r * s, a.g * s, a.b * s}; }
Col operator*(Col a, Col b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

Col hex(uint32_t v) {
  return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}
Col mix(Col a, Col b, double t) { return a + (b - a) * t; }

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
double smooth(double e0, double e1, double x) {
  const double t = clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

struct Box {
  double x0 = 0, y0 = 0, x1 = kW, y1 = kH;
};

/* A colour and its coverage; a shader returns one for every sample inside a shape. */
struct Rgba {
  Col c;
  double a = 1;
};
using Shader = std::function<Rgba(P)>;
using Inside = std::function<bool(P)>;
using Light = std::function<Col(P)>;

/* Deterministic numbers: splitmix64, so runs and platforms agree. */
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed) {}
  uint64_t next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double uniform() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
  double range(double a, double b) { return a + (b - a) * uniform(); }

 private:
  uint64_t s_;
};

/* ---------- shaders ---------- */

struct Stop {
  double at;
  Col c;
};

/* Colour along stops sorted by position, eased between neighbours. */
Col ramp(std::span<const Stop> stops, double at) {
  if (at <= stops.front().at) return stops.front().c;
  for (size_t i = 1; i < stops.size(); ++i)
    if (at < stops[i].at)
      return mix(stops[i - 1].c, stops[i].c, smooth(stops[i - 1].at, stops[i].at, at));
  return stops.back().c;
}

Shader solid(Col c, double a = 1) {
  return [=](P) { return Rgba{c, a}; };
}

Shader vertical(std::vector<Stop> stops, double a = 1) {
  return [=](P p) { return Rgba{ramp(stops, p.y), a}; };
}

Shader vgrad(double y0, Col c0, double y1, Col c1, double a = 1) {
  return vertical({{y0, c0}, {y1, c1}}, a);
}

/* A material colour under the scene's light: albedo times the light arriving at the point. */
Shader lit(Col albedo, Light light, double a = 1) {
  return [=](P p) { return Rgba{albedo * light(p), a}; };
}

/* ---------- path helpers ---------- */

Path rect(double x0, double y0, double x1, double y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

/* Catmull-Rom curve through the control points, n steps per segment. */
Path spline(const Path& ctrl, int n = 12) {
  Path out;
  for (size_t i = 0; i + 1 < ctrl.size(); ++i) {
    const P p0 = ctrl[i == 0 ? 0 : i - 1], p1 = ctrl[i], p2 = ctrl[i + 1];
    const P p3 = ctrl[std::min(i + 2, ctrl.size() - 1)];
    for (int k = 0; k < n; ++k) {
      const double t = static_cast<double>(k) / n, t2 = t * t, t3 = t2 * t;
      out.push_back((p1 * 2 + (p2 - p0) * t + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * t2 +
                     (p1 * 3 - p0 - p2 * 3 + p3) * t3) *
                    0.5);
    }
  }
  out.push_back(ctrl.back());
  return out;
}

/* The area under a curve down to the given bottom: a silhouette of land or a ridge. */
Path below(Path curve, double bottom) {
  curve.push_back({curve.back().x, bottom});
  curve.push_back({curve.front().x, bottom});
  return curve;
}

/* A gently rolling ridge line across the picture built from a few sine waves. */
Path ridge(double x0, double x1, double base, double amp, uint64_t seed) {
  Rng rng(seed);
  std::array<double, 4> f{}, ph{}, a{};
  for (int k = 0; k < 4; ++k) {
    f[k] = rng.range(0.006, 0.02) * (k + 1);
    ph[k] = rng.range(0, 2 * kPi);
    a[k] = amp / (k + 1.2);
  }
  Path out;
  for (double x = x0; x <= x1 + 0.01; x += 2) {
    double y = base;
    for (int k = 0; k < 4; ++k) y -= a[k] * std::sin(f[k] * x + ph[k]);
    out.push_back({x, y});
  }
  return out;
}

double segmentDistance(P p, P a, P b) {
  const P d = b - a;
  const double l2 = dot(d, d);
  const double t = l2 > 0 ? clamp01(dot(p - a, d) / l2) : 0;
  return len(p - (a + d * t));
}

Box bounds(const Path& path, double pad = 0) {
  Box b{1e9, 1e9, -1e9, -1e9};
  for (P p : path) {
    b.x0 = std::min(b.x0, p.x - pad);
    b.y0 = std::min(b.y0, p.y - pad);
    b.x1 = std::max(b.x1, p.x + pad);
    b.y1 = std::max(b.y1, p.y + pad);
  }
  return b;
}

/* ---------- the canvas ---------- */

/* The final picture before it is stored: one colour per pixel, components 0..1. */
struct Picture {
  std::vector<Col> px = std::vector<Col>(static_cast<size_t>(kW) * kH);
  Col& at(int x, int y) { return px[static_cast<size_t>(y) * kW + x]; }
  const Col& at(int x, int y) const { return px[static_cast<size_t>(y) * kW + x]; }
};

class Canvas {
 public:
  Canvas() : s_(static_cast<size_t>(kSW) * kSH) {}

  void fill(const Shader& sh) {
    region(
        {}, [](P) { return true; }, sh);
  }

  /* Nonzero-winding fill of a closed outline. */
  void polygon(const Path& poly, const Shader& sh) {
    const Box b = bounds(poly);
    std::vector<std::pair<double, int>> xs;
    for (int j = rowOf(b.y0); j < rowEnd(b.y1); ++j) {
      const double y = (j + 0.5) / kSS;
      xs.clear();
      for (size_t i = 0; i < poly.size(); ++i) {
        const P a = poly[i], c = poly[(i + 1) % poly.size()];
        if ((a.y <= y && y < c.y) || (c.y <= y && y < a.y))
          xs.push_back({a.x + (y - a.y) * (c.x - a.x) / (c.y - a.y), a.y < c.y ? 1 : -1});
      }
      std::sort(xs.begin(), xs.end());
      int winding = 0;
      for (size_t i = 0; i + 1 < xs.size(); ++i) {
        winding += xs[i].second;
        if (winding != 0) span(j, xs[i].first, xs[i + 1].first, sh);
      }
    }
  }

  void ellipse(P c, double rx, double ry, const Shader& sh) {
    for (int j = rowOf(c.y - ry); j < rowEnd(c.y + ry); ++j) {
      const double dy = ((j + 0.5) / kSS - c.y) / ry;
      if (std::abs(dy) >= 1) continue;
      const double half = rx * std::sqrt(1 - dy * dy);
      span(j, c.x - half, c.x + half, sh);
    }
  }
  void circle(P c, double r, const Shader& sh) { ellipse(c, r, r, sh); }

  /* Any shape given as a test, within a box. */
  void region(Box b, const Inside& inside, const Shader& sh) {
    for (int j = rowOf(b.y0); j < rowEnd(b.y1); ++j) {
      const double y = (j + 0.5) / kSS;
      for (int i = colOf(b.x0); i < colEnd(b.x1); ++i) {
        const P p{(i + 0.5) / kSS, y};
        if (inside(p)) blend(i, j, p, sh);
      }
    }
  }

  /* A line of the given width along the path, with round ends and joins. */
  void stroke(const Path& path, double width, const Shader& sh) {
    const double r = width / 2;
    region(
        bounds(path, r + 1), [&](P p) { return distanceTo(path, p) < r; }, sh);
  }

  /* Light added on top of what is there, within a box. */
  void add(Box b, const Light& light) {
    for (int j = rowOf(b.y0); j < rowEnd(b.y1); ++j)
      for (int i = colOf(b.x0); i < colEnd(b.x1); ++i) {
        Col& s = s_[static_cast<size_t>(j) * kSW + i];
        s = s + light({(i + 0.5) / kSS, (j + 0.5) / kSS});
      }
  }

  /* A soft round glow: a tight core and a wide halo. */
  void glow(P c, double r, Col col, double strength) {
    add({c.x - 3 * r, c.y - 3 * r, c.x + 3 * r, c.y + 3 * r}, [=](P p) {
      const double d = len(p - c) / r;
      return col * (strength * std::exp(-d * d));
    });
  }

  Picture downsample() const {
    Picture out;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        Col sum;
        for (int j = 0; j < kSS; ++j)
          for (int i = 0; i < kSS; ++i)
            sum = sum + s_[static_cast<size_t>(y * kSS + j) * kSW + x * kSS + i];
        out.at(x, y) = sum * (1.0 / (kSS * kSS));
      }
    return out;
  }

 private:
  static int rowOf(double y) { return std::clamp(static_cast<int>(std::floor(y * kSS)), 0, kSH); }
  static int rowEnd(double y) { return std::clamp(static_cast<int>(std::ceil(y * kSS)), 0, kSH); }
  static int colOf(double x) { return std::clamp(static_cast<int>(std::floor(x * kSS)), 0, kSW); }
  static int colEnd(double x) { return std::clamp(static_cast<int>(std::ceil(x * kSS)), 0, kSW); }

  static double distanceTo(const Path& path, P p) {
    double d = path.size() == 1 ? len(p - path[0]) : 1e9;
    for (size_t i = 0; i + 1 < path.size(); ++i)
      d = std::min(d, segmentDistance(p, path[i], path[i + 1]));
    return d;
  }

  /* Samples of row j whose centres lie in [x0, x1). */
  void span(int j, double x0, double x1, const Shader& sh) {
    const int i0 = std::clamp(static_cast<int>(std::ceil(x0 * kSS - 0.5)), 0, kSW);
    const int i1 = std::clamp(static_cast<int>(std::ceil(x1 * kSS - 0.5)), 0, kSW);
    const double y = (j + 0.5) / kSS;
    for (int i = i0; i < i1; ++i) blend(i, j, {(i + 0.5) / kSS, y}, sh);
  }

  void blend(int i, int j, P p, const Shader& sh) {
    const Rgba c = sh(p);
    if (c.a <= 0) return;
    Col& s = s_[static_cast<size_t>(j) * kSW + i];
    s = mix(s, c.c, std::min(c.a, 1.0));
  }

  std::vector<Col> s_;
};

/* ---------- shared scenery ---------- */

/* Stars of many sizes over a box, dimmer towards the horizon; the brightest get a soft halo and
   a faint cross of light. */
void stars(Canvas& c, Rng& rng, int count, Box b, double horizon, double brightness = 1) {
  for (int k = 0; k < count; ++k) {
    const P p{rng.range(b.x0, b.x1), rng.range(b.y0, b.y1)};
    const double m = std::pow(rng.uniform(), 3.2);
    const double fade = smooth(horizon, horizon - 0.75 * (horizon - b.y0), p.y);
    const double level = brightness * fade * (0.35 + 0.65 * m);
    if (level < 0.04) continue;
    const double tint = rng.uniform();
    const Col col = tint < 0.2 ? hex(0xFFE2B8) : tint < 0.55 ? hex(0xDDE6FF) : hex(0xFFFFFF);
    c.circle(p, 0.32 + 0.75 * m, solid(col, level));
    if (m > 0.45) c.glow(p, 1.2 + 2.5 * m, col, 0.25 * level);
    if (m > 0.8) {
      const double l = 4 + 5 * m;
      c.add({p.x - l, p.y - l, p.x + l, p.y + l}, [=](P q) {
        const double dx = std::abs(q.x - p.x), dy = std::abs(q.y - p.y);
        const double ray = std::exp(-dy * dy * 6) * std::max(0.0, 1 - dx / l) +
                           std::exp(-dx * dx * 6) * std::max(0.0, 1 - dy / l);
        return col * (0.35 * level * ray);
      });
    }
  }
}

/* A moon disk with a soft halo, faint seas on its face, lit evenly; `phase` > 0 cuts a crescent
   by taking away a disk shifted by phase * r to the right (negative: to the left). */
void moon(Canvas& c, P at, double r, Col col, double halo, double phase = 0) {
  c.glow(at, r * 4.5, col * hex(0xB8C8FF), halo * 0.35);
  c.glow(at, r * 1.6, col, halo * 0.45);
  const P cut{at.x + phase * r, at.y - 0.12 * r * std::abs(phase)};
  const double cutR = r * 1.02;
  auto inDisk = [=](P p) {
    if (len(p - at) >= r) return false;
    return phase == 0 || len(p - cut) >= cutR;
  };
  // Soft darker seas on the face, lit a little more towards the upper left.
  static constexpr std::array<std::array<double, 3>, 6> kSeas = {{{-0.28, -0.22, 0.3},
                                                                  {0.18, -0.32, 0.22},
                                                                  {0.12, 0.12, 0.3},
                                                                  {-0.34, 0.3, 0.18},
                                                                  {0.42, 0.08, 0.14},
                                                                  {-0.05, 0.48, 0.12}}};
  c.region({at.x - r, at.y - r, at.x + r, at.y + r}, inDisk, [=](P p) {
    const double d = len(p - (at + P{-0.3 * r, -0.3 * r})) / (1.6 * r);
    double seas = 0;
    if (phase == 0)
      for (const auto& s : kSeas) {
        const double q = len(p - P{at.x + s[0] * r, at.y + s[1] * r}) / (s[2] * r);
        seas += std::exp(-q * q * q * q);
      }
    const Col face = mix(col, col * hex(0xD8D0C8), clamp01(d));
    return Rgba{face * (1 - 0.09 * std::min(seas, 1.4)), 1};
  });
}

/* A cloud bank: a row of rounded lobes with a flat base, darker on top and lit from below. */
void cloud(Canvas& c, Rng& rng, P at, double length, double thick, Col top, Col under,
           double alpha = 1) {
  struct Lobe {
    P c;
    double rx, ry;
  };
  std::vector<Lobe> lobes;
  const int n = 6 + static_cast<int>(length / 16);
  for (int k = 0; k < n; ++k) {
    const double t = (k + rng.range(0.2, 0.8)) / n - 0.5;
    const double h = thick * (0.3 + 0.9 * (1 - 4 * t * t)) * rng.range(0.7, 1.2);
    lobes.push_back(
        {{at.x + t * length, at.y - 0.2 * h}, length * rng.range(0.03, 0.06) + 1.2 * h, h});
  }
  const Box b{at.x - length, at.y - 2 * thick, at.x + length, at.y + 1};
  auto inside = [=](P p) {
    if (p.y > at.y) return false;
    for (const Lobe& l : lobes) {
      const P d{(p.x - l.c.x) / l.rx, (p.y - l.c.y) / l.ry};
      if (dot(d, d) < 1) return true;
    }
    return false;
  };
  c.region(b, inside, [=](P p) {
    const Col col = mix(top, under, smooth(at.y - 1.3 * thick, at.y, p.y));
    return Rgba{p.y > at.y - 1.2 ? col * 1.08 : col, alpha};
  });
}

/* Sea below the horizon: a gradient with gentle lighter and darker wave dashes, closer together
   near the horizon. */
void sea(Canvas& c, Rng& rng, double horizon, std::vector<Stop> stops, Col crest, double waves) {
  c.polygon(rect(0, horizon, kW, kH), vertical(stops));
  for (double k = 0; k < 60; k += 1) {
    const double y = horizon + 1.5 + 0.045 * k * k + 0.8 * k;
    if (y > kH) break;
    const double depth = (y - horizon) / (kH - horizon);
    const int dashes = 10 + static_cast<int>(rng.range(0, 8));
    for (int d = 0; d < dashes; ++d) {
      const double x = rng.range(-20, kW + 20);
      const double l = rng.range(4, 16) * (0.5 + 3 * depth);
      const double thick = 0.35 + 1.2 * depth;
      const bool light = rng.uniform() < 0.6;
      const Col col = light ? crest : ramp(stops, y) * 0.7;
      c.ellipse({x, y + rng.range(-1, 1)}, l, thick,
                solid(col, waves * (light ? 0.35 : 0.3) * (1 - 0.6 * depth)));
    }
  }
}

/* A column of horizontal light streaks on water under a light at x: the reflection. */
void reflection(Canvas& c, Rng& rng, double x, double y0, double y1, double width, Col col,
                double strength) {
  for (double y = y0 + 1; y < y1;) {
    const double t = (y - y0) / (y1 - y0);
    const int n = 2 + static_cast<int>(rng.range(0, 3));
    for (int k = 0; k < n; ++k) {
      const double w = width * (0.4 + 0.9 * t) * rng.range(0.2, 0.7);
      const double off = rng.range(-1, 1) * width * (0.3 + 0.8 * t);
      c.ellipse({x + off, y}, w, 0.45 + 0.9 * t,
                solid(col, strength * (1 - 0.75 * t) * rng.range(0.5, 1)));
    }
    y += 1.3 + 4 * t * rng.range(0.6, 1.3);
  }
}

/* A wire hanging between two points, sagging by `sag` pixels in the middle. */
Path wire(P a, P b, double sag) {
  Path out;
  for (int i = 0; i <= 20; ++i) {
    const double t = i / 20.0;
    out.push_back(lerp(a, b, t) + P{0, 4 * sag * t * (1 - t)});
  }
  return out;
}

/* A broad beam of light from a lamp: bright along its axis, soft at the sides. */
void beam(Canvas& c, P from, double angle, double spread, double length, Col col, double strength) {
  c.add({}, [=](P p) {
    const P d = p - from;
    const double dist = len(d);
    if (dist < 1) return Col{};
    double da = std::atan2(d.y, d.x) - angle;
    da = std::remainder(da, 2 * kPi);
    const double across = std::exp(-std::pow(std::abs(da) / spread, 2.2));
    const double along = 1 - smooth(0.15 * length, length, dist);
    return col * (strength * across * along);
  });
}

/* ---------- the lighthouse ---------- */

struct TowerLook {
  Col lit, shade;        // body colour on the lit and the shaded side
  Col band;              // the painted band near the top
  Col iron;              // gallery, railing, dome
  Col rim;               // edge light on the lit side
  double lightSide = 1;  // +1: light comes from the right, -1: from the left
  bool lampOn = false;
  Col glass = hex(0x1A2036);  // the lamp room glass when the lamp is dark
  Col windows = hex(0x141826);
};

/* Where a lighthouse stands: `base` is the bottom centre, h its height, w the tower's width at
   the foot. The proportions of all its parts follow from these. */
struct TowerShape {
  P base;
  double h, w;
  double plinthTop() const { return base.y - 0.05 * h; }
  double galleryY() const { return base.y - 0.76 * h; }
};

/* Plinth, the tapering white tower with its painted band, door and two small windows. */
void towerBody(Canvas& c, const TowerShape& t, const TowerLook& look) {
  const P base = t.base;
  const double h = t.h, w = t.w, plinthTop = t.plinthTop(), galleryY = t.galleryY();
  const double topW = 0.64 * w;
  auto halfAt = [=](double y) {
    return 0.5 * (topW + (w - topW) * (y - galleryY) / (plinthTop - galleryY));
  };
  c.polygon(rect(base.x - 0.68 * w, plinthTop, base.x + 0.68 * w, base.y + 2),
            solid(mix(look.shade, look.iron, 0.4)));
  c.polygon(rect(base.x - 0.68 * w, plinthTop, base.x + 0.68 * w, plinthTop + 0.012 * h),
            solid(look.rim, 0.5));
  const Path tower = {{base.x - w / 2, plinthTop},
                      {base.x - topW / 2, galleryY},
                      {base.x + topW / 2, galleryY},
                      {base.x + w / 2, plinthTop}};
  const double bandTop = base.y - 0.62 * h, bandBottom = base.y - 0.52 * h;
  c.polygon(tower, [=](P p) {
    const double u = std::clamp((p.x - base.x) / halfAt(p.y), -1.0, 1.0);
    const double n = std::sqrt(std::max(0.0, 1 - u * u));
    const double diffuse = clamp01(0.75 * u * look.lightSide + 0.55 * n);
    Col col = mix(look.shade, look.lit, diffuse);
    if (p.y > bandTop && p.y < bandBottom) col = col * look.band;
    const double rim = smooth(0.72, 0.97, u * look.lightSide);
    return Rgba{mix(col, look.rim, 0.8 * rim), 1};
  });
  const double door = 0.16 * w;
  c.polygon(rect(base.x - door, plinthTop - 0.09 * h, base.x + door, plinthTop),
            solid(look.windows));
  c.circle({base.x, plinthTop - 0.09 * h}, door, solid(look.windows));
  for (double f : {0.3, 0.48}) {
    const double y = base.y - f * h;
    c.polygon(rect(base.x - 0.05 * w, y - 0.028 * h, base.x + 0.05 * w, y), solid(look.windows));
  }
}

/* The lantern on top: glass between iron bars, lit or dark, the dome and its ventilator.
   Returns the centre of the lamp. */
P lantern(Canvas& c, const TowerShape& t, const TowerLook& look) {
  const P base = t.base;
  const double h = t.h, w = t.w, galleryY = t.galleryY();
  const double roomH = 0.13 * h, roomW = 0.5 * w, roomBottom = galleryY - 0.035 * h;
  const P lamp{base.x, roomBottom - roomH / 2};
  c.polygon(rect(base.x - roomW / 2, galleryY - 0.04 * h, base.x + roomW / 2, galleryY),
            solid(look.iron));
  if (look.lampOn) {
    c.polygon(rect(base.x - roomW / 2, roomBottom - roomH, base.x + roomW / 2, roomBottom),
              [=](P p) {
                const double d = len(p - lamp) / (0.5 * roomW);
                return Rgba{mix(hex(0xFFFFF4), hex(0xFFC96A), clamp01(d * 0.9)), 1};
              });
  } else {
    c.polygon(rect(base.x - roomW / 2, roomBottom - roomH, base.x + roomW / 2, roomBottom),
              vgrad(roomBottom - roomH, look.glass * 1.5, roomBottom, look.glass));
  }
  for (double f : {-0.5, -0.17, 0.17, 0.5})
    c.polygon(rect(base.x + f * roomW - 0.022 * w, roomBottom - roomH,
                   base.x + f * roomW + 0.022 * w, roomBottom),
              solid(look.iron));
  const double domeY = roomBottom - roomH;
  c.polygon(rect(base.x - 0.31 * w, domeY - 0.012 * h, base.x + 0.31 * w, domeY + 0.004 * h),
            solid(look.iron));
  c.region(
      {base.x - 0.3 * w, domeY - 0.08 * h, base.x + 0.3 * w, domeY},
      [=](P p) {
        const double dx = (p.x - base.x) / (0.28 * w), dy = (p.y - domeY) / (0.075 * h);
        return dx * dx + dy * dy < 1 && p.y < domeY;
      },
      [=](P p) {
        const double u = (p.x - base.x) / (0.28 * w) * look.lightSide;
        return Rgba{mix(look.iron, look.rim, 0.45 * smooth(0.3, 1.0, u)), 1};
      });
  c.circle({base.x, domeY - 0.085 * h}, 0.018 * h, solid(look.iron));
  c.stroke({{base.x, domeY - 0.09 * h}, {base.x, domeY - 0.125 * h}}, std::max(0.6, 0.006 * h),
           solid(look.iron));
  return lamp;
}

/* The gallery deck around the lantern and its railing. */
void gallery(Canvas& c, const TowerShape& t, const TowerLook& look) {
  const P base = t.base;
  const double h = t.h, w = t.w, galleryY = t.galleryY();
  const double deckW = 0.56 * w + 0.2 * w;
  c.polygon(rect(base.x - deckW, galleryY - 0.004 * h, base.x + deckW, galleryY + 0.02 * h),
            solid(look.iron));
  const double railY = galleryY - 0.05 * h;
  c.stroke({{base.x - deckW + 0.5, railY}, {base.x + deckW - 0.5, railY}}, std::max(0.7, 0.007 * h),
           solid(look.iron));
  const int posts = 7;
  for (int k = 0; k <= posts; ++k) {
    const double x = base.x - deckW + 0.5 + (2 * deckW - 1) * k / posts;
    c.stroke({{x, railY}, {x, galleryY}}, std::max(0.45, 0.004 * h), solid(look.iron));
  }
}

/* Draws a lighthouse standing at `base` (bottom centre) and returns the centre of its lamp. */
P lighthouse(Canvas& c, P base, double h, double w, const TowerLook& look) {
  const TowerShape t{base, h, w};
  towerBody(c, t, look);
  const P lamp = lantern(c, t, look);
  gallery(c, t, look);
  if (look.lampOn) {
    c.glow(lamp, 0.09 * h, hex(0xFFE6A8), 0.9);
    c.glow(lamp, 0.3 * h, hex(0xFFC46A), 0.35);
  }
  return lamp;
}

/* Height of a curve (points ordered by x) at x. */
double heightOn(const Path& curve, double x) {
  for (size_t i = 0; i + 1 < curve.size(); ++i)
    if (x >= curve[i].x && x <= curve[i + 1].x) {
      const double t = (x - curve[i].x) / std::max(1e-9, curve[i + 1].x - curve[i].x);
      return curve[i].y + (curve[i + 1].y - curve[i].y) * t;
    }
  return curve.back().y;
}

/* Tufts of grass standing on a ridge line between x0 and x1, their tips catching the light. */
void grass(Canvas& c, Rng& rng, const Path& ground, double x0, double x1, Col body, Col rim) {
  for (double x = x0; x < x1; x += rng.range(1.5, 5)) {
    const double y = heightOn(ground, x) + 1;
    const double h = rng.range(2, 6.5), lean = rng.range(-1.8, 1.8);
    const Path blade = {{x - 0.8, y}, {x + lean, y - h}, {x + 0.8, y}};
    c.polygon(blade, [=](P p) {
      return Rgba{mix(body, rim, 0.5 * smooth(y - h * 0.4, y - h, p.y)), 1};
    });
  }
}

/* A rock in the water: a lumpy outline on a flat base, its top lit on the side of the light. */
void rock(Canvas& c, Rng& rng, P base, double w, double h, Col body, Col rim, double lightSide) {
  Path ctrl = {{base.x - w / 2, base.y}};
  for (int k = 1; k < 5; ++k) {
    const double t = k / 5.0;
    ctrl.push_back({base.x - w / 2 + w * t,
                    base.y - h * std::pow(std::sin(kPi * t), 0.6) * rng.range(0.75, 1.1)});
  }
  ctrl.push_back({base.x + w / 2, base.y});
  const Path outline = spline(ctrl, 6);
  c.polygon(outline, vgrad(base.y - h, body, base.y, body * 0.45));
  c.stroke(outline, 1.2, [=](P p) {
    const double side = (p.x - base.x) / (w / 2) * lightSide;
    return Rgba{rim, p.y > base.y - 1 ? 0.0 : 0.55 * smooth(-0.3, 0.6, side)};
  });
}

/* Foam around a rock at the waterline: a few soft white streaks. */
void foam(Canvas& c, Rng& rng, P at, double w, double strength) {
  for (int k = 0; k < 5; ++k)
    c.ellipse({at.x + rng.range(-0.5, 0.5) * w, at.y + rng.range(-1.5, 2.5)},
              rng.range(0.3, 0.7) * w, rng.range(0.6, 1.4),
              solid(hex(0xC8D4F4), strength * rng.range(0.4, 1)));
}

/* ---------- a sitting cat seen from behind ---------- */

void cat(Canvas& c, P base, double s, Col body, Col rim, double rimSide) {
  const Shader fur = [=](P p) {
    const double u = (p.x - base.x) / (14 * s) * rimSide;
    const double stripe = 0.5 + 0.5 * std::sin((p.y - base.y) / s * 1.1 + (p.x - base.x) / s * 0.2);
    Col col = body * (0.8 + 0.3 * stripe);
    return Rgba{mix(col, rim, 0.6 * smooth(0.45, 1.0, u)), 1};
  };
  // Tail curling along the ground, then body, head and ears.
  const Path tail = spline({{base.x + 7 * s, base.y - 1.5 * s},
                            {base.x + 16 * s, base.y - 1 * s},
                            {base.x + 22 * s, base.y - 4 * s},
                            {base.x + 23 * s, base.y - 8 * s}},
                           8);
  c.stroke(tail, 3.2 * s, fur);
  const Path bodyPath = spline({{base.x - 10 * s, base.y + 0.5 * s},
                                {base.x - 12.5 * s, base.y - 4 * s},
                                {base.x - 11 * s, base.y - 11 * s},
                                {base.x - 6.5 * s, base.y - 19 * s},
                                {base.x - 4 * s, base.y - 25 * s},
                                {base.x + 4 * s, base.y - 25 * s},
                                {base.x + 6.5 * s, base.y - 19 * s},
                                {base.x + 11 * s, base.y - 11 * s},
                                {base.x + 12.5 * s, base.y - 4 * s},
                                {base.x + 10 * s, base.y + 0.5 * s}},
                               10);
  c.polygon(bodyPath, fur);
  const P head{base.x, base.y - 29 * s};
  c.ellipse(head, 7.5 * s, 6.5 * s, fur);
  for (double side : {-1.0, 1.0})
    c.polygon({{head.x + side * 7.2 * s, head.y - 1 * s},
               {head.x + side * 6.0 * s, head.y - 10.5 * s},
               {head.x + side * 1.8 * s, head.y - 5.5 * s}},
              fur);
}

/* ---------- finishing ---------- */

/* Darkens the corners a little and the bottom band, where the menu labels are drawn, more. */
void finish(Picture& pic, double bottomDark = 0.38, double vignette = 0.22) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const double dx = (x + 0.5) / kW - 0.5, dy = (y + 0.5) / kH - 0.5;
      const double v = 1 - vignette * std::pow(4 * (dx * dx + dy * dy) / 2, 1.3);
      const double b = 1 - bottomDark * smooth(262, kH, y);
      pic.at(x, y) = pic.at(x, y) * (v * b);
    }
}

/* ---------- the scenes ---------- */

const std::vector<Stop> kDuskSky = {{0, hex(0x2C2B5C)},   {55, hex(0x4C4280)},
                                    {110, hex(0x9A6290)}, {150, hex(0xE0806E)},
                                    {185, hex(0xF8AE6C)}, {205, hex(0xFFD89A)}};

const TowerLook kDuskTower = {.lit = hex(0xE8C8C8),
                              .shade = hex(0x6A5478),
                              .band = hex(0xC06A70),
                              .iron = hex(0x2A2236),
                              .rim = hex(0xFFD0A0),
                              .lightSide = 1,
                              .lampOn = false,
                              .glass = hex(0x221C34),
                              .windows = hex(0x2A2236)};

/* Sky, hills and the telegraph line beside the track. */
void stationBackdrop(Canvas& c, Rng& rng) {
  c.fill(vertical(kDuskSky));
  c.glow({400, 214}, 70, hex(0xFFB070), 0.45);
  c.glow({400, 214}, 200, hex(0xFF9A70), 0.18);
  stars(c, rng, 40, {0, 0, kW, 90}, 120, 0.7);
  moon(c, {96, 52}, 8, hex(0xFFF2D8), 0.5, 0.55);
  cloud(c, rng, {170, 118}, 200, 12, hex(0x6A4F86), hex(0xF29A86));
  cloud(c, rng, {390, 92}, 150, 10, hex(0x5E4A82), hex(0xE8908A));
  cloud(c, rng, {300, 152}, 120, 7, hex(0xA86A88), hex(0xFFC08A), 0.9);
  // Hills, far to near.
  c.polygon(below(ridge(0, kW, 200, 10, 7), kH), solid(hex(0xB27A92)));
  c.polygon(below(ridge(0, kW, 212, 9, 11), kH), solid(hex(0x6E4C72)));
  c.polygon(below(ridge(0, kW, 222, 4, 13), kH), solid(hex(0x3E2E4C)));
  // Telegraph poles beside the track and their sagging wires.
  const std::array<double, 4> poles = {28, 196, 352, 490};
  for (double x : poles) {
    c.stroke({{x, 226}, {x, 128}}, 2.4, solid(hex(0x2A2036)));
    c.stroke({{x - 9, 134}, {x + 9, 134}}, 1.8, solid(hex(0x2A2036)));
  }
  for (size_t k = 0; k + 1 < poles.size(); ++k)
    for (double off : {-7.0, 7.0})
      c.stroke(wire({poles[k] + off, 133}, {poles[k + 1] + off, 133}, 16), 0.7,
               solid(hex(0x2A2036), 0.8));
}

/* The last train, its rear end towards us, pulling out to the right with its windows lit. */
void leavingTrain(Canvas& c) {
  const Col trainCol = hex(0x2C2438);
  Path body = spline(
      {{560, 230}, {332, 230}, {322, 222}, {320, 196}, {328, 184}, {348, 180}, {560, 180}}, 6);
  c.polygon(body, vgrad(180, hex(0x4A3A56), 230, trainCol));
  c.stroke(spline({{326, 186}, {348, 181}, {560, 181}}, 6), 1.4, solid(hex(0xFFB890), 0.7));
  for (double x = 348; x < kW; x += 24) {
    c.polygon(rect(x, 190, x + 15, 204), vgrad(190, hex(0xFFE7B0), 204, hex(0xFFC070)));
    c.glow({x + 7.5, 197}, 10, hex(0xFFC070), 0.18);
  }
  c.polygon(rect(324, 192, 334, 208), solid(hex(0xFFD58F), 0.85));
  c.polygon(rect(330, 216, 560, 220), solid(hex(0x1A1422)));
  c.circle({327, 218}, 2.2, solid(hex(0xFF5040)));
  c.glow({327, 218}, 5, hex(0xFF4030), 0.7);
  c.glow({327, 218}, 16, hex(0xFF4030), 0.2);
}

/* The platform with its edge line, the shelter roof at the left and a hanging name board. */
void platform(Canvas& c) {
  c.polygon(rect(0, 236, kW, kH), vgrad(236, hex(0x4A3A54), kH, hex(0x16121C)));
  for (double y : {252.0, 268.0, 290.0, 318.0})
    c.polygon(rect(0, y, kW, y + 0.8), solid(hex(0x0E0A12), 0.25));
  c.polygon(rect(0, 236, kW, 239), solid(hex(0xE8C4A0), 0.8));
  c.polygon(rect(0, 243, kW, 244.2), solid(hex(0xF2D890), 0.35));
  // The shelter roof at the left edge, its post and a hanging name board.
  c.polygon({{0, 96}, {110, 108}, {110, 116}, {0, 106}}, solid(hex(0x221A2C)));
  c.stroke({{0, 105}, {110, 115}}, 1.2, solid(hex(0xFFB890), 0.35));
  c.polygon(rect(84, 112, 90, 262), vgrad(112, hex(0x2A2034), 262, hex(0x1A1422)));
  c.stroke({{34, 108}, {34, 122}}, 0.8, solid(hex(0x221A2C)));
  c.stroke({{70, 111}, {70, 122}}, 0.8, solid(hex(0x221A2C)));
  c.polygon(rect(26, 122, 78, 138), solid(hex(0x221A2C)));
  c.polygon(rect(28, 124, 76, 136), solid(hex(0xD8C8C0)));
}

/* A lamp post with its lamp lit and the pool of light at its foot. */
void lampPost(Canvas& c) {
  const P lamp{250, 126};
  c.glow({250, 262}, 40, hex(0xFFC070), 0.22);
  c.polygon(rect(248.5, 128, 251.5, 262), solid(hex(0x1C1624)));
  c.polygon({{244, 262}, {256, 262}, {254, 254}, {246, 254}}, solid(hex(0x1C1624)));
  c.polygon({{242, 120}, {258, 120}, {254, 114}, {246, 114}}, solid(hex(0x1C1624)));
  c.circle(lamp, 5, solid(hex(0xFFF4D0)));
  c.glow(lamp, 10, hex(0xFFD890), 0.8);
  c.glow(lamp, 48, hex(0xFFB060), 0.22);
  c.stroke({{251.6, 140}, {251.6, 255}}, 0.7, solid(hex(0xFFC080), 0.4));
}

/* A wooden bench, rim-lit by the lamp on its right. */
void bench(Canvas& c) {
  const Col wood = hex(0x241C2C), rim = hex(0xFFC88A);
  for (double y : {226.0, 234.0}) {
    c.polygon(rect(120, y, 206, y + 4.5), solid(wood));
    c.polygon(rect(120, y, 206, y + 1), solid(rim, 0.45));
  }
  c.polygon(rect(116, 244, 210, 249), solid(wood));
  c.polygon(rect(116, 244, 210, 245), solid(rim, 0.6));
  for (double x : {126.0, 196.0}) {
    c.polygon(rect(x, 224, x + 4, 262), solid(wood));
    c.polygon(rect(x + 3, 224, x + 4, 262), solid(rim, 0.35));
  }
}

/* Dusk at a country station: the bench and the lamp on the platform, the last train pulling out
   to the right under an orange-violet sky. */
Picture station() {
  Canvas c;
  Rng rng(101);
  stationBackdrop(c, rng);
  leavingTrain(c);
  platform(c);
  lampPost(c);
  bench(c);
  Picture pic = c.downsample();
  finish(pic);
  return pic;
}

/* The harbour street in one-point perspective: depth s is 1 at the left edge of the picture and
   0 at the vanishing point; heights on the facades are street units, scaled by s. */
struct Street {
  P vp{250, 222};
  double leftX(double s) const { return vp.x - vp.x * s; }
  double groundY(double s) const { return vp.y + (300 - vp.y) * s; }
  P facade(double s, double h) const { return {leftX(s), groundY(s) - h * s}; }
  double quayX(double s) const { return vp.x + (560 - vp.x) * s; }
};

struct Shop {
  double s0, s1, height;
  Col wall;
  bool open = true;
  double at(double a) const { return s0 + (s1 - s0) * a; }
};

/* Sky, sea, the far cape with its dark lighthouse and a boat at anchor. */
void harbourBackdrop(Canvas& c, Rng& rng) {
  const double horizon = 208;
  c.fill(vertical({{0, hex(0x23264E)},
                   {70, hex(0x453C76)},
                   {135, hex(0x93608C)},
                   {180, hex(0xE28A70)},
                   {horizon, hex(0xF6BA82)}}));
  c.glow({430, 210}, 90, hex(0xFFB07A), 0.3);
  stars(c, rng, 50, {0, 0, kW, 100}, 130, 0.75);
  cloud(c, rng, {330, 72}, 180, 13, hex(0x3E3670), hex(0xC8789A));
  cloud(c, rng, {430, 130}, 130, 8, hex(0x7A5688), hex(0xF4A08A));
  sea(c, rng, horizon,
      {{horizon, hex(0xE6A088)}, {222, hex(0x9A6A8C)}, {260, hex(0x4A3E6A)}, {kH, hex(0x2A2448)}},
      hex(0xFFD0B0), 0.8);
  reflection(c, rng, 430, horizon, 262, 30, hex(0xFFC8A0), 0.45);
  const Path cape = spline(
      {{352, horizon + 1}, {366, 203}, {382, 198}, {410, 194}, {440, 190}, {470, 187}, {506, 189}},
      10);
  c.polygon(below(cape, horizon + 1), solid(hex(0x4C3A5C)));
  TowerLook tower = kDuskTower;
  tower.lit = hex(0xC0A0B8);
  tower.shade = hex(0x4A3A5A);
  lighthouse(c, {470, 188}, 48, 8.5, tower);
  const Col hull = hex(0x2A2034);
  c.polygon({{268, 236}, {318, 236}, {312, 243}, {274, 243}}, solid(hull));
  c.polygon(rect(286, 228, 300, 236), solid(hull));
  c.stroke({{294, 228}, {294, 204}}, 1.1, solid(hull));
  c.polygon(rect(289, 230, 293, 233), solid(hex(0xFFCC80)));
  c.glow({291, 231.5}, 4, hex(0xFFB060), 0.5);
  c.ellipse({293, 246}, 26, 1.3, solid(hull, 0.5));
}

/* The paved street, the quay's edge, bollards and the rope between them. */
void streetAndQuay(Canvas& c, const Street& st) {
  const P vp = st.vp, far{st.quayX(1.2), st.groundY(1.2)};
  c.polygon({{0, st.groundY(1)}, vp, far, {far.x, kH}, {0, kH}},
            vgrad(222, hex(0x5A4660), kH, hex(0x241C2E)));
  c.polygon({vp, far, far + P{0, 4}, {vp.x, vp.y + 0.5}}, solid(hex(0xD8A890), 0.7));
  for (double f : {0.2, 0.45, 0.7})
    c.stroke({vp, {vp.x + (far.x - vp.x) * f - (1 - f) * 200, kH + 30}}, 0.8,
             solid(hex(0x1A1420), 0.2));
  Path rope;
  for (double s = 0.18; s < 1.1; s *= 1.45) {
    const P foot{st.quayX(s) - 6 * s, st.groundY(s)};
    c.polygon(rect(foot.x - 3 * s, foot.y - 16 * s, foot.x + 3 * s, foot.y), solid(hex(0x2A2034)));
    c.ellipse({foot.x, foot.y - 16 * s}, 3.6 * s, 1.3 * s, solid(hex(0x3A2E46)));
    rope.push_back({foot.x, foot.y - 13 * s});
  }
  for (size_t k = 0; k + 1 < rope.size(); ++k)
    c.stroke(wire(rope[k], rope[k + 1], 0.06 * (rope[k + 1].x - rope[k].x)), 0.9,
             solid(hex(0x2A2034)));
}

/* One shop along the street: wall, roof, lit upper window, eave and its front, open with a
   short curtain or shuttered. Returns where its lanterns hang. */
std::vector<double> shopFront(Canvas& c, const Street& st, const Shop& sh) {
  auto quad = [&](double h0, double h1, double a0 = 0, double a1 = 1) {
    return Path{st.facade(sh.at(a0), h1), st.facade(sh.at(a1), h1), st.facade(sh.at(a1), h0),
                st.facade(sh.at(a0), h0)};
  };
  auto yAt = [&](double h) { return st.facade(sh.s0, h).y; };
  const Col post = hex(0x1E1626), warm = hex(0xF0A860);
  c.polygon(quad(0, sh.height), solid(sh.wall));
  c.polygon(quad(sh.height - 4, sh.height + 16), solid(hex(0x221A2A)));
  c.polygon(quad(sh.height + 14, sh.height + 16), solid(hex(0xE8A890), 0.5));
  c.polygon(quad(112, 150, 0.2, 0.8), vgrad(yAt(150), hex(0xFFD48A), yAt(112), hex(0xE89050)));
  for (double a = 0.2; a <= 0.81; a += 0.075)
    c.polygon(quad(112, 150, a, a + 0.012), solid(hex(0x3A2430)));
  c.polygon(quad(92, 108), solid(post));
  c.polygon(quad(106, 108), solid(hex(0xE0A088), 0.45));
  if (!sh.open) {
    c.polygon(quad(0, 88, 0.04, 0.96), solid(hex(0x2E2230)));
    for (double a = 0.04; a < 0.96; a += 0.09)
      c.polygon(quad(4, 84, a, a + 0.006), solid(warm, 0.35));
    c.polygon(quad(0, sh.height, 0, 0.04), solid(post));
    return {};
  }
  c.polygon(quad(0, 88, 0.08, 0.92), vgrad(yAt(88), warm, yAt(0), hex(0x8A5040)));
  c.polygon(quad(66, 88, 0.08, 0.92), solid(hex(0x283A5A)));
  for (double a = 0.08 + 0.21; a < 0.92; a += 0.21)
    c.polygon(quad(66, 88, a, a + 0.01), solid(warm, 0.8));
  c.polygon(quad(0, 6, 0.08, 0.92), solid(hex(0x2A1E28)));
  if (sh.height > 180) {
    // A signboard standing out from the wall towards the street.
    const P a = st.facade(sh.at(0.12), 168), b = st.facade(sh.at(0.12), 118);
    const double w = 14 * sh.s0;
    c.polygon(rect(a.x, a.y, a.x + w, b.y), solid(post));
    c.polygon(rect(a.x + 0.15 * w, a.y + 0.15 * w, a.x + 0.85 * w, b.y - 0.15 * w),
              vgrad(a.y, hex(0xE8D4B8), b.y, hex(0xB89880)));
  }
  c.polygon(quad(0, sh.height, 0, 0.04), solid(post));
  return {sh.at(0.3), sh.at(0.8)};
}

/* A red paper lantern hanging under an eave at depth s, lighting the street below it. */
void paperLantern(Canvas& c, const Street& st, double s) {
  const P at = st.facade(s, 84);
  const double rx = 10 * s, ry = 14 * s;
  const P ctr{at.x + 10 * s, at.y + ry};
  const Col cap = hex(0x1E1626);
  c.glow({ctr.x + 8 * s, st.groundY(s) - 2 * s}, 22 * s, hex(0xFF9A50), 0.25);
  c.stroke({{ctr.x, at.y - 4 * s}, {ctr.x, ctr.y - ry}}, std::max(0.5, 1.2 * s), solid(cap));
  c.ellipse(ctr, rx, ry, [=](P p) {
    const double d = len({(p.x - ctr.x) / rx, (p.y - ctr.y) / ry});
    return Rgba{mix(hex(0xFFE6A0), hex(0xE0502E), smooth(0.1, 1.0, d)), 1};
  });
  for (double f : {-0.55, 0.0, 0.55})
    c.ellipse({ctr.x, ctr.y + f * ry}, rx * std::sqrt(1 - f * f * 0.9), std::max(0.3, 0.5 * s),
              solid(hex(0x8A3020), 0.5));
  for (double end : {-1.0, 1.0})
    c.polygon(rect(ctr.x - 0.55 * rx, ctr.y + end * ry - 2 * s, ctr.x + 0.55 * rx,
                   ctr.y + end * ry + 2 * s),
              solid(cap));
  c.glow(ctr, rx * 1.8, hex(0xFF9A50), 0.45);
}

/* Utility poles along the quay, their wires converging to the distance. */
void quayPoles(Canvas& c, const Street& st) {
  const Col dark = hex(0x1E1626);
  const std::array<double, 3> depths = {0.16, 0.3, 0.58};
  std::vector<P> arms;
  for (double s : depths) {
    const P foot{st.quayX(s) - 14 * s, st.groundY(s)};
    const double top = foot.y - 250 * s;
    c.polygon(rect(foot.x - 2.4 * s, top, foot.x + 2.4 * s, foot.y), solid(dark));
    c.polygon(rect(foot.x - 16 * s, top + 8 * s, foot.x + 16 * s, top + 11 * s), solid(dark));
    arms.push_back({foot.x, top + 9 * s});
  }
  for (size_t k = 0; k + 1 < arms.size(); ++k)
    for (double off : {-12.0, 12.0}) {
      const P a = arms[k] + P{off * depths[k], 0}, b = arms[k + 1] + P{off * depths[k + 1], 0};
      c.stroke(wire(a, b, 0.025 * (b.x - a.x)), 0.7, solid(dark, 0.85));
    }
}

/* The harbour street at dusk, seen along the quay: wooden shops with paper lanterns on the left,
   the sea on the right and the dark lighthouse on its cape far away. */
Picture harbour() {
  Canvas c;
  Rng rng(202);
  harbourBackdrop(c, rng);
  const Street st;
  streetAndQuay(c, st);
  // Facades receding along the street, drawn from the far end.
  const std::array<Shop, 6> shops = {{{0.13, 0.09, 170, hex(0x3A2C44)},
                                      {0.2, 0.13, 150, hex(0x40303E)},
                                      {0.3, 0.2, 185, hex(0x3C2C40)},
                                      {0.45, 0.3, 160, hex(0x44323E)},
                                      {0.68, 0.45, 195, hex(0x3A2A3C)},
                                      {1.05, 0.68, 175, hex(0x402E40), false}}};
  std::vector<double> lanterns;
  for (const Shop& sh : shops)
    for (double s : shopFront(c, st, sh)) lanterns.push_back(s);
  for (double s : lanterns) paperLantern(c, st, s);
  quayPoles(c, st);
  Picture pic = c.downsample();
  finish(pic);
  return pic;
}

/* ---------- small props ---------- */

/* A glass bottle standing at `base`: round body, shoulders, neck and cork, lit from `light`. */
void bottle(Canvas& c, P base, double w, double h, double neck, Col tint, const Light& light) {
  const double hw = w / 2, nw = std::max(1.2, w * 0.18), shoulder = base.y - h * (1 - neck);
  const Path outline = spline({{base.x - hw, base.y},
                               {base.x - hw, shoulder + 0.1 * h},
                               {base.x - nw, shoulder - 0.08 * h},
                               {base.x - nw, base.y - h},
                               {base.x + nw, base.y - h},
                               {base.x + nw, shoulder - 0.08 * h},
                               {base.x + hw, shoulder + 0.1 * h},
                               {base.x + hw, base.y}},
                              8);
  c.polygon(outline, [=](P p) {
    const double u = (p.x - base.x) / hw;
    return Rgba{tint * light(p) * (0.75 + 0.25 * (1 - u * u)), 0.9};
  });
  c.polygon(rect(base.x - hw * 0.62, shoulder + 0.12 * h, base.x - hw * 0.42, base.y - 0.1 * h),
            solid(hex(0xFFF4E0) * light(base), 0.45));
  c.polygon(
      rect(base.x - nw * 1.1, base.y - h - 0.08 * h, base.x + nw * 1.1, base.y - h + 0.02 * h),
      lit(hex(0x8A5A3A), light));
}

/* A round clock: brass rim, cream face, twelve marks and two hands. */
void clockFace(Canvas& c, P at, double r, double hour, double minute, const Light& light) {
  c.circle(at, r, lit(hex(0x9A7030), light));
  c.circle(at, r * 0.84, lit(hex(0xEFE2C2), light));
  const Col ink = hex(0x2A1E18);
  for (int k = 0; k < 12; ++k) {
    const double a = k * kPi / 6;
    const P d{std::sin(a), -std::cos(a)};
    c.stroke({at + d * (r * 0.66), at + d * (r * 0.76)}, std::max(0.6, r * 0.05), solid(ink, 0.8));
  }
  const double ha = hour / 12 * 2 * kPi, ma = minute / 60 * 2 * kPi;
  c.stroke({at, at + P{std::sin(ha), -std::cos(ha)} * (r * 0.42)}, std::max(0.8, r * 0.08),
           solid(ink));
  c.stroke({at, at + P{std::sin(ma), -std::cos(ma)} * (r * 0.62)}, std::max(0.6, r * 0.05),
           solid(ink));
  c.circle(at, std::max(0.8, r * 0.07), solid(ink));
}

const std::array<Col, 5> kGlassTints = {hex(0x4A8A6A), hex(0xC08A40), hex(0x4A6AA8), hex(0x9A4A4A),
                                        hex(0xB0B8A0)};

/* The back wall of dark boards and the window onto the evening street. */
void shopWall(Canvas& c, Rng& rng, const Light& light) {
  c.fill(lit(hex(0x6A4630), light));
  for (double x = 8; x < kW; x += 42)
    c.polygon(rect(x, 0, x + 1.4, 240), solid(hex(0x1E120C), 0.35));
  c.polygon(rect(0, 0, kW, 20), lit(hex(0x3A2418), light));
  c.polygon(rect(0, 20, kW, 23), solid(hex(0x140C08), 0.6));
  // The window: evening outside, a few roofs and one lantern.
  c.polygon(rect(22, 40, 128, 182), lit(hex(0x4A2E20), light));
  c.polygon(rect(30, 48, 120, 174),
            vertical({{48, hex(0x1E2450)}, {120, hex(0x5A4278)}, {174, hex(0xC07068)}}));
  c.polygon(below(ridge(30, 120, 160, 5, 31), 174), solid(hex(0x2A1E34)));
  c.circle({96, 156}, 2, solid(hex(0xFFB060)));
  c.glow({96, 156}, 5, hex(0xFF9040), 0.6);
  stars(c, rng, 8, {30, 48, 120, 110}, 150, 0.8);
  for (double x : {58.0, 89.0}) c.polygon(rect(x, 48, x + 3, 174), lit(hex(0x4A2E20), light));
  for (double y : {89.0, 131.0}) c.polygon(rect(30, y, 120, y + 3), lit(hex(0x4A2E20), light));
  c.polygon({{34, 170}, {60, 50}, {68, 50}, {42, 170}}, solid(hex(0xFFFFFF), 0.05));
  c.polygon({{20, 182}, {130, 182}, {134, 190}, {16, 190}}, lit(hex(0x5A3A28), light));
}

/* The wall clock, the shelves of bottles and the tall clock case. */
void shopShelves(Canvas& c, Rng& rng, const Light& light) {
  clockFace(c, {196, 84}, 28, 6.3, 24, light);
  c.polygon(rect(193, 112, 199, 150), lit(hex(0x7A5424), light));
  c.circle({196, 152}, 7, lit(hex(0xC09A48), light));
  const std::array<double, 3> shelfY = {92, 146, 200};
  for (double y : shelfY) {
    c.polygon(rect(286, y, 446, y + 7), lit(hex(0x5A3820), light));
    c.polygon(rect(286, y, 446, y + 1.5), lit(hex(0xA07048), light));
    c.polygon(rect(286, y + 7, 446, y + 10), solid(hex(0x140C08), 0.4));
  }
  for (size_t k = 0; k < shelfY.size(); ++k) {
    double x = 296;
    while (x < 432) {
      const double w = rng.range(9, 18), h = rng.range(22, 40);
      if (k == 1 && x > 380 && x < 400) {
        clockFace(c, {x + 12, shelfY[k] - 14}, 12, 3, 40, light);
        x += 28;
        continue;
      }
      bottle(c, {x + w / 2, shelfY[k]}, w, h, rng.range(0.3, 0.5),
             kGlassTints[static_cast<size_t>(rng.range(0, 5))], light);
      x += w + rng.range(3, 8);
    }
  }
  // Tall clock case at the right.
  c.polygon(rect(456, 44, 500, 240), lit(hex(0x4A2C1A), light));
  c.polygon(rect(460, 48, 496, 236), lit(hex(0x5C3A22), light));
  clockFace(c, {478, 72}, 15, 8, 50, light);
  c.polygon(rect(466, 100, 490, 200), solid(hex(0x1A100A), 0.7));
  c.stroke({{478, 100}, {474, 170}}, 1, lit(hex(0xC09A48), light));
  c.circle({474, 172}, 6, lit(hex(0xC09A48), light));
  // Shelf on the left below the clock with small things.
  c.polygon(rect(146, 196, 262, 203), lit(hex(0x5A3820), light));
  c.polygon(rect(146, 196, 262, 197.5), lit(hex(0xA07048), light));
  clockFace(c, {166, 182}, 12, 10, 10, light);
  bottle(c, {196, 196}, 14, 26, 0.4, kGlassTints[0], light);
  bottle(c, {214, 196}, 10, 34, 0.55, kGlassTints[3], light);
  c.polygon(rect(226, 176, 256, 196), lit(hex(0x7A4E2C), light));
  c.polygon(rect(226, 176, 256, 179), lit(hex(0xB08050), light));
}

/* The hanging lamp with its green shade. */
void hangingLamp(Canvas& c, P lampAt) {
  c.stroke({lampAt + P{0, -60}, lampAt + P{0, -14}}, 1.2, solid(hex(0x1A100A)));
  c.polygon({{lampAt.x - 6, lampAt.y - 16},
             {lampAt.x + 6, lampAt.y - 16},
             {lampAt.x + 22, lampAt.y},
             {lampAt.x - 22, lampAt.y}},
            vgrad(lampAt.y - 16, hex(0x3A4A2A), lampAt.y, hex(0x6A7A40)));
  c.ellipse(lampAt + P{0, 1}, 10, 5, solid(hex(0xFFF8E0)));
  c.glow(lampAt + P{0, 4}, 16, hex(0xFFE0A0), 0.9);
  c.glow(lampAt + P{0, 30}, 110, hex(0xFFB060), 0.16);
}

/* The counter, lit top and panelled front, with a candy jar, the letter and a hand bell. */
void counter(Canvas& c, Rng& rng, const Light& light) {
  c.polygon({{30, 226}, {474, 226}, {490, 242}, {14, 242}}, [=](P p) {
    return Rgba{hex(0x9A6A40) * light(p) * (0.8 + 0.3 * smooth(226, 242, p.y)), 1};
  });
  c.polygon({{14, 242}, {490, 242}, {490, 245}, {14, 245}}, lit(hex(0xC08A58), light));
  c.polygon(rect(14, 245, 490, kH), vgrad(245, hex(0x3A2416), kH, hex(0x1A100A)));
  for (double x = 30; x < 470; x += 112) {
    c.polygon(rect(x, 258, x + 96, 330), solid(hex(0x120A06), 0.35));
    c.polygon(rect(x + 2, 260, x + 94, 328), vgrad(258, hex(0x3E2818), kH, hex(0x1C120C)));
  }
  c.ellipse({104, 229}, 18, 3.5, solid(hex(0x1A100A), 0.35));
  for (int k = 0; k < 18; ++k)
    c.circle({rng.range(92, 116), rng.range(206, 226)}, 2.6,
             lit(kGlassTints[static_cast<size_t>(rng.range(0, 5))] * 1.3, light));
  c.polygon(rect(88, 192, 120, 228), solid(hex(0xDDEEFF) * light({104, 210}), 0.22));
  c.polygon(rect(91, 196, 94, 224), solid(hex(0xFFFFFF), 0.35));
  c.polygon(rect(90, 186, 118, 192), lit(hex(0x8A6A3A), light));
  const Path letter = {{222, 228}, {268, 224}, {272, 236}, {226, 240}};
  c.polygon({{224, 231}, {270, 227}, {274, 239}, {228, 243}}, solid(hex(0x1A100A), 0.35));
  c.polygon(letter, lit(hex(0xF2E6CC), light));
  c.stroke({{222, 228}, {246, 234}, {268, 224}}, 0.8, solid(hex(0x8A7050), 0.7));
  c.circle({246, 234}, 2.6, lit(hex(0xB02A24), light));
  c.ellipse({352, 230}, 12, 3, solid(hex(0x1A100A), 0.35));
  c.polygon(
      spline({{340, 230}, {343, 222}, {346, 213}, {352, 210}, {358, 213}, {361, 222}, {364, 230}},
             6),
      [=](P p) {
        const double u = (p.x - 352) / 12;
        return Rgba{hex(0xD0A040) * light(p) * (0.7 + 0.5 * (1 - u * u)), 1};
      });
  c.stroke({{352, 210}, {352, 200}}, 3, lit(hex(0x3A2418), light));
  c.circle({352, 199}, 3, lit(hex(0x3A2418), light));
}

/* Inside the old curio shop: shelves of bottles and clocks behind the counter, a hanging lamp,
   the evening outside the window, the letter on the counter. */
Picture shop() {
  Canvas c;
  Rng rng(303);
  const P lampAt{250, 60};
  const Light light = [=](P p) {
    const double d = len(p - lampAt);
    return hex(0xFFD9A8) *
           (0.3 + 1.0 * std::exp(-std::pow(d / 170, 2)) + 0.25 * std::exp(-std::pow(d / 330, 2)));
  };
  shopWall(c, rng, light);
  shopShelves(c, rng, light);
  hangingLamp(c, lampAt);
  counter(c, rng, light);
  Picture pic = c.downsample();
  finish(pic, 0.4, 0.35);
  return pic;
}

const TowerLook kNightTower = {.lit = hex(0xC6CEE6),
                               .shade = hex(0x262E4E),
                               .band = hex(0xB08A98),
                               .iron = hex(0x262C4C),
                               .rim = hex(0xEEF2FF),
                               .lightSide = 1,
                               .lampOn = false,
                               .glass = hex(0x141C36),
                               .windows = hex(0x0E1226)};

const std::vector<Stop> kNightSky = {
    {0, hex(0x060A1E)}, {90, hex(0x0F1738)}, {170, hex(0x1E2B58)}, {215, hex(0x34467A)}};

/* The lighthouse on its cape at night, its lamp dark, under the moon and stars. */
Picture lighthouseNight() {
  Canvas c;
  Rng rng(404);
  const double horizon = 215;
  c.fill(vertical(kNightSky));
  stars(c, rng, 280, {0, 0, kW, horizon}, horizon);
  moon(c, {392, 74}, 22, hex(0xF4F0E0), 0.9);
  cloud(c, rng, {330, 112}, 170, 6, hex(0x18224A), hex(0x5A6A9C), 0.8);
  cloud(c, rng, {460, 150}, 110, 4, hex(0x1C2850), hex(0x4A5A8A), 0.7);
  c.polygon(below(ridge(400, kW, horizon - 3, 3, 41), horizon + 1), solid(hex(0x1A2448)));
  sea(c, rng, horizon, {{horizon, hex(0x2C3C6C)}, {245, hex(0x18234A)}, {kH, hex(0x070B1C)}},
      hex(0x8A9AD0), 0.8);
  reflection(c, rng, 392, horizon, 300, 20, hex(0xE8ECFF), 0.55);
  // The cape, rim-lit by the moon on its right.
  const Path top = spline({{-4, 150},
                           {50, 146},
                           {110, 139},
                           {160, 139},
                           {210, 146},
                           {244, 166},
                           {266, 192},
                           {290, 214},
                           {318, 228},
                           {346, 236}},
                          12);
  const Path shore = spline({{346, 236}, {336, 252}, {318, 274}, {304, 302}, {296, 340}}, 10);
  Path land = top;
  land.insert(land.end(), shore.begin() + 1, shore.end());
  land.push_back({-4, 340});
  c.polygon(land, vgrad(140, hex(0x141A36), kH, hex(0x060814)));
  c.stroke(top, 1.6, [](P p) { return Rgba{hex(0x8A9AD0), 0.15 + 0.45 * smooth(120, 300, p.x)}; });
  c.stroke(shore, 1.4, solid(hex(0xB8C4EC), 0.3));
  grass(c, rng, top, 0, 230, hex(0x141A36), hex(0x8A9AD0));
  // The keeper's cottage beside the tower.
  c.polygon(rect(180, 124, 222, 146), vgrad(124, hex(0x3A4470), 146, hex(0x1A2040)));
  c.polygon({{176, 126}, {226, 126}, {214, 112}, {188, 112}}, solid(hex(0x0E1226)));
  c.stroke({{188, 112}, {214, 112}, {226, 126}}, 1, solid(hex(0x9AAAD8), 0.5));
  c.polygon(rect(196, 131, 205, 139), solid(hex(0x0E1226)));
  lighthouse(c, {150, 141}, 116, 24, kNightTower);
  // Rocks at the foot of the cape with foam.
  for (const auto& r : std::array<std::array<double, 4>, 4>{
           {{302, 229, 26, 10}, {336, 239, 30, 14}, {366, 244, 18, 8}, {388, 249, 10, 4}}}) {
    rock(c, rng, {r[0], r[1]}, r[2], r[3], hex(0x1E2646), hex(0x9AAAD8), 1);
    foam(c, rng, {r[0], r[1] + 1}, r[2] * 0.7, 0.45);
  }
  foam(c, rng, {280, 222}, 20, 0.35);
  Picture pic = c.downsample();
  finish(pic);
  return pic;
}

/* A faint band of the galaxy across the sky: soft light with extra small stars along it. */
void milkyWay(Canvas& c, Rng& rng, P a, P b, double width, double horizon) {
  const P d = b - a;
  const double l = len(d);
  const P n{-d.y / l, d.x / l};
  c.add({0, 0, kW, horizon}, [=](P p) {
    const double off = dot(p - a, n), t = dot(p - a, d) / (l * l);
    const double wobble = 1 + 0.35 * std::sin(t * 11) + 0.2 * std::sin(t * 23 + 1);
    const double core = std::exp(-std::pow(off / (width * wobble), 2));
    const double fade = smooth(horizon, horizon - 60, p.y);
    return hex(0x6A6AA8) * (0.16 * core * fade);
  });
  for (int k = 0; k < 260; ++k) {
    const double t = rng.uniform();
    const double off = (rng.uniform() + rng.uniform() + rng.uniform() - 1.5) * width * 1.2;
    const P p = a + d * t + n * off;
    if (p.y > horizon - 4 || p.y < 0 || p.x < 0 || p.x > kW) continue;
    c.circle(p, rng.range(0.3, 0.6),
             solid(hex(0xE8E8FF), rng.range(0.3, 0.8) * smooth(horizon, horizon - 60, p.y)));
  }
}

/* The night beach: stars and the galaxy, the lighthouse lit far off, the cat on the sand. */
Picture beach() {
  Canvas c;
  Rng rng(707);
  const double horizon = 190;
  c.fill(vertical({{0, hex(0x050818)}, {100, hex(0x0E1634)}, {horizon, hex(0x2A3C6E)}}));
  milkyWay(c, rng, {10, 10}, {504, 150}, 34, horizon);
  stars(c, rng, 300, {0, 0, kW, horizon}, horizon);
  moon(c, {86, 58}, 15, hex(0xFFF6E0), 0.8, -0.55);
  sea(c, rng, horizon, {{horizon, hex(0x2E4070)}, {250, hex(0x121C3E)}}, hex(0x8A9AD0), 0.7);
  reflection(c, rng, 86, horizon, 246, 12, hex(0xE8ECFF), 0.4);
  // Far cape with the lighthouse, lit now, its beam over the sea.
  const Path cape =
      spline({{360, horizon + 1}, {396, 183}, {440, 177}, {480, 174}, {506, 174}}, 10);
  c.polygon(below(cape, horizon + 1), solid(hex(0x0C1228)));
  TowerLook tower = kNightTower;
  tower.lampOn = true;
  tower.lit = hex(0x8A94B8);
  tower.rim = hex(0xB0BAE0);
  tower.lightSide = -1;
  const P lamp = lighthouse(c, {462, 176}, 40, 7, tower);
  beam(c, lamp, -kPi + 0.1, 0.05, 520, hex(0xFFE6B0), 0.22);
  beam(c, lamp, -0.25, 0.08, 90, hex(0xFFE6B0), 0.12);
  reflection(c, rng, lamp.x, horizon, 240, 6, hex(0xFFD890), 0.35);
  // The shore: foam lines, wet sand that mirrors the sky, then dry sand.
  const Path shore = spline(
      {{-4, 248}, {80, 245}, {170, 249}, {260, 246}, {360, 250}, {440, 247}, {508, 249}}, 12);
  c.polygon(below(shore, kH), vgrad(246, hex(0x26325C), 262, hex(0x1C2446)));
  Path dry = shore;
  for (P& p : dry) p.y += 9 + 3 * std::sin(p.x * 0.02);
  c.polygon(below(dry, kH), vgrad(255, hex(0x323A60), kH, hex(0x151A30)));
  c.stroke(shore, 1.4, solid(hex(0xD8E0FF), 0.55));
  Path foamLine = shore;
  for (P& p : foamLine) p.y -= 4 + 1.5 * std::sin(p.x * 0.035);
  c.stroke(foamLine, 1, solid(hex(0xC8D4F4), 0.3));
  for (P& p : foamLine) p.y -= 6 + 2 * std::sin(p.x * 0.05 + 1);
  c.stroke(foamLine, 0.8, solid(hex(0xC8D4F4), 0.18));
  // The cat, looking out to sea, the moon behind it on the left.
  const P catAt{306, 270};
  c.ellipse({catAt.x + 26, catAt.y + 1}, 30, 2.8, solid(hex(0x0A0E1E), 0.45));
  cat(c, catAt, 1.3, hex(0x1A1C2C), hex(0x9AA8D8), -1);
  Picture pic = c.downsample();
  finish(pic);
  return pic;
}

/* ---------- inside the lighthouse ---------- */

struct Spiral {
  P axis;         // foot of the central column on screen
  double radius;  // outer edge of the treads
  double tilt;    // flattening of the circles seen from the side
  double rise;    // height gained per tread
  double step;    // angle per tread
  double theta0;

  P at(double r, double theta, double z) const {
    return {axis.x + r * std::sin(theta), axis.y - z + tilt * r * std::cos(theta)};
  }
  double angle(int i) const { return theta0 + i * step; }
};

/* One tread: a wedge from the column to the outer edge with its underside showing, and the part
   of the handrail above it on its baluster, so that sorting treads by depth also sorts the rail. */
void tread(Canvas& c, const Spiral& s, int i, const Light& light) {
  const double a0 = s.angle(i), a1 = a0 + s.step * 0.96, z = i * s.rise;
  Path face;
  for (int k = 0; k <= 4; ++k) face.push_back(s.at(s.radius, a0 + (a1 - a0) * k / 4, z));
  for (int k = 4; k >= 0; --k) face.push_back(s.at(12, a0 + (a1 - a0) * k / 4, z));
  Path under = face;
  for (P& p : under) p.y += 7;
  c.polygon(under, lit(hex(0x2A2C38), light));
  c.polygon(face, lit(hex(0x5A5E70), light));
  const Shader edgeLight = [=](P p) {
    return Rgba{hex(0xA8A8B8) * light(p) + hex(0x4A5A80) * 0.35, 1};
  };
  c.stroke(Path(face.begin(), face.begin() + 5), 1.3, edgeLight);
  const double railH = 46, mid = a0 + s.step * 0.5;
  c.stroke({s.at(s.radius - 3, mid, z), s.at(s.radius - 3, mid, z + railH + s.rise * 0.5)}, 1.1,
           lit(hex(0x6A6C7C), light));
  Path rail;
  for (int k = 0; k <= 8; ++k) {
    const double th = a0 + s.step * k / 8;
    rail.push_back(s.at(s.radius - 3, th, z + s.rise * k / 8 + railH));
  }
  c.stroke(rail, 2.6, [=](P p) { return Rgba{hex(0x8A8C9C) * light(p) + hex(0x4A5A80) * 0.3, 1}; });
}

/* The flashlight held at the foot of the stair: how much of its cone reaches a point. */
struct Torch {
  P from{40, 380}, target{330, 160};
  double aim() const { return std::atan2(target.y - from.y, target.x - from.x); }
  double cone(P p) const {
    const P d = p - from;
    const double da = std::remainder(std::atan2(d.y, d.x) - aim(), 2 * kPi);
    return std::exp(-std::pow(std::abs(da) / 0.24, 2.4));
  }
};

/* The round wall of stone blocks, darker towards the sides, and a narrow arched window. */
void towerWall(Canvas& c, const Light& light) {
  c.fill([=](P p) {
    const double u = std::clamp((p.x - 252) / 300, -0.99, 0.99);
    const double phi = std::asin(u);
    const int course = static_cast<int>(std::floor(p.y / 26));
    const double phase = phi / 0.16 + (course % 2) * 0.5;
    const double fx = phase - std::floor(phase);
    const double mortarX = 0.9 / (300 * std::cos(phi) * 0.16);
    const double fy = p.y / 26 - course;
    const bool mortar = fy < 1.2 / 26 || fx < mortarX;
    const double shade = 0.45 + 0.55 * std::cos(phi);
    const double tone = 0.92 + 0.08 * std::sin(course * 12.9898 + std::floor(phase) * 78.233);
    return Rgba{hex(0x6C6A70) * light(p) * (shade * (mortar ? 0.55 : tone)), 1};
  });
  c.polygon(rect(398, 60, 422, 112), solid(hex(0x10141E)));
  c.circle({410, 60}, 12, solid(hex(0x10141E)));
  c.polygon(rect(402, 62, 418, 108), vgrad(50, hex(0x3A5290), 108, hex(0x1A2448)));
  c.circle({410, 62}, 8, solid(hex(0x3A5290)));
  c.circle({412, 58}, 1, solid(hex(0xFFFFFF), 0.9));
  c.glow({410, 80}, 30, hex(0x6A86D0), 0.2);
}

/* The stair: treads behind the column, the column, then the treads in front. */
void spiralStair(Canvas& c, const Light& light) {
  const Spiral s{{252, 318}, 150, 0.5, 24, 0.46, -1.0};
  std::vector<int> order;
  for (int i = -1; i < 22; ++i) order.push_back(i);
  auto depth = [&](int i) { return std::cos(s.angle(i) + s.step / 2); };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return depth(a) < depth(b); });
  auto drawTreads = [&](bool front) {
    for (int i : order)
      if ((depth(i) >= 0) == front) tread(c, s, i, light);
  };
  drawTreads(false);
  c.polygon(rect(242, 0, 262, kH), [=](P p) {
    const double u = (p.x - 252) / 10;
    return Rgba{hex(0x4A4C5A) * light(p) * (0.55 + 0.45 * (1 - u * u) + 0.3 * u), 1};
  });
  for (double y = 10; y < kH; y += s.rise * 2.2)
    c.polygon(rect(240, y, 264, y + 3), lit(hex(0x3A3C48), light));
  drawTreads(true);
}

/* The beam itself, seen in the dusty air, and a few motes in it. */
void torchHaze(Canvas& c, Rng& rng, const Torch& torch) {
  c.add({}, [=](P p) {
    const double dist = len(p - torch.from);
    return hex(0xFFE8C0) *
           (0.13 * torch.cone(p) * smooth(40, 200, dist) * std::exp(-std::pow(dist / 420, 2)));
  });
  const double aim = torch.aim(), reach = len(torch.target - torch.from);
  for (int k = 0; k < 70; ++k) {
    const double t = rng.range(0.25, 0.95), off = rng.range(-0.12, 0.12);
    const P p = torch.from + P{std::cos(aim + off), std::sin(aim + off)} * (t * reach);
    c.circle(p, rng.range(0.35, 0.8),
             solid(hex(0xFFF0D0), 0.5 * torch.cone(p) * rng.range(0.3, 1)));
  }
}

/* Inside the tower: the iron spiral stair climbing out of sight, caught by a flashlight. */
Picture stairs() {
  Canvas c;
  Rng rng(505);
  const Torch torch;
  const P window{410, 70};
  const Light light = [=](P p) {
    const double spot = 1 + 1.2 * std::exp(-std::pow(len(p - torch.target) / 70, 2));
    const double dist = len(p - torch.from);
    const Col torchLight =
        hex(0xFFE8C0) * (1.3 * torch.cone(p) * spot * std::exp(-std::pow(dist / 520, 2)));
    const Col moonLight = hex(0x6A86D0) * (0.6 * std::exp(-std::pow(len(p - window) / 90, 2)));
    return hex(0x24304E) + torchLight + moonLight;
  };
  towerWall(c, light);
  spiralStair(c, light);
  torchHaze(c, rng, torch);
  Picture pic = c.downsample();
  finish(pic, 0.5, 0.4);
  return pic;
}

/* ---------- the lamp room ---------- */

/* The great lens: a barrel of glass prisms around the flame, a bull's-eye at its middle. */
void lens(Canvas& c, P ctr, double hw, double top, double bottom) {
  auto halfAt = [=](double y) {
    const double v = (y - ctr.y) / (bottom - top) * 2;
    return hw * (1 - 0.22 * v * v);
  };
  Path outline;
  for (double y = top; y <= bottom; y += 2) outline.push_back({ctr.x - halfAt(y), y});
  for (double y = bottom; y >= top; y -= 2) outline.push_back({ctr.x + halfAt(y), y});
  const double beltTop = ctr.y - 30, beltBottom = ctr.y + 30;
  c.polygon(outline, [=](P p) {
    const double u = (p.x - ctr.x) / halfAt(p.y);
    const double d = len({(p.x - ctr.x) / hw, (p.y - ctr.y) / (bottom - top) * 1.6});
    Col col = mix(hex(0xFFF0C4), hex(0xE08A38), smooth(0.1, 1.0, d));
    double band = 1;
    if (p.y < beltTop || p.y > beltBottom) {
      const double eye = (p.y - ctr.y) / (bottom - top);
      const double yy = p.y + 6 * eye * (1 - u * u);
      const double f = yy / 7 - std::floor(yy / 7);
      const double lip = eye < 0 ? 0.85 : 0.15;
      band = 0.6 + 0.25 * std::sin(f * kPi) + 0.45 * std::exp(-std::pow((f - lip) / 0.07, 2));
    } else {
      const double r = len(p - ctr);
      const double f = r / 6 - std::floor(r / 6);
      band = r < 30 ? 0.72 + 0.4 * std::pow(std::sin(f * kPi), 2) : 0.9;
    }
    const double edge = 0.55 + 0.45 * std::sqrt(std::max(0.0, 1 - u * u));
    return Rgba{col * (band * edge), 1};
  });
  // Brass frames: the belt, the panel joints following the barrel.
  const Col brass = hex(0x8A5A28);
  for (double y : {beltTop, beltBottom, top + 2.0, bottom - 2.0}) {
    Path ring;
    const double eye = (y - ctr.y) / (bottom - top);
    for (double u = -1; u <= 1.001; u += 0.05)
      ring.push_back({ctr.x + u * halfAt(y), y + 6 * eye * (1 - u * u)});
    c.stroke(ring, 2.2, solid(brass, 0.9));
  }
  for (double phi : {-1.05, -0.5, 0.5, 1.05}) {
    Path joint;
    for (double y = top + 2; y <= bottom - 2; y += 3) {
      if (phi * phi < 0.3 && y > beltTop && y < beltBottom) {
        if (joint.size() > 1) c.stroke(joint, 1.6, solid(brass, 0.8));
        joint.clear();
        continue;
      }
      joint.push_back({ctr.x + halfAt(y) * std::sin(phi), y});
    }
    c.stroke(joint, 1.6, solid(brass, 0.8));
  }
}

/* The lamp room lit: the lens blazing, the glazing's iron frame, beams going out over the sea. */
Picture lampRoom() {
  Canvas c;
  Rng rng(606);
  const P ctr{252, 148};
  const double horizon = 200;
  const Light light = [=](P p) {
    const double d = len(p - ctr);
    return hex(0x1C2440) * 0.8 + hex(0xFFC880) * (1.6 * std::exp(-std::pow(d / 170, 2)) +
                                                  0.4 * std::exp(-std::pow(d / 320, 2)));
  };
  // Outside: the night, the sea and the beams.
  c.fill(vertical({{0, hex(0x080E28)}, {120, hex(0x142050)}, {horizon, hex(0x26386A)}}));
  stars(c, rng, 160, {0, 40, kW, horizon}, horizon);
  sea(c, rng, horizon, {{horizon, hex(0x1E2C58)}, {kH, hex(0x060A18)}}, hex(0x6A7AB0), 0.8);
  beam(c, ctr, kPi - 0.06, 0.1, 700, hex(0xFFE8B8), 0.5);
  beam(c, ctr, 0.06, 0.1, 700, hex(0xFFE8B8), 0.5);
  for (double x : {40.0, 470.0}) reflection(c, rng, x, horizon, 232, 40, hex(0xFFD890), 0.25);
  // The roof inside: dark ribs meeting above the lens.
  c.polygon(rect(0, 0, kW, 44), lit(hex(0x2A2630), light));
  for (double k = -6; k <= 6; k += 1)
    c.stroke({{ctr.x + k * 14, 0}, {ctr.x + k * 60, 44}}, 2, lit(hex(0x4A4450), light));
  c.polygon(rect(0, 40, kW, 48), lit(hex(0x3A3440), light));
  // The glazing: mullions bunching towards the sides of the round room, and the sill.
  for (double phi = -1.5; phi <= 1.51; phi += 0.3) {
    const double x = ctr.x + 300 * std::sin(phi), w = 3 + 4 * std::cos(phi);
    c.polygon(rect(x - w / 2, 44, x + w / 2, 228), lit(hex(0x3A3844), light));
    c.polygon(rect(x - w / 2, 44, x - w / 2 + 1, 228), solid(hex(0xFFD8A0), 0.25 * std::cos(phi)));
  }
  c.polygon(rect(0, 228, kW, 240), lit(hex(0x4A4450), light));
  c.polygon(rect(0, 228, kW, 230), solid(hex(0xFFD8A0), 0.3));
  c.polygon(rect(0, 240, kW, kH), [=](P p) {
    return Rgba{hex(0x2A2630) * light(p) * (0.9 - 0.4 * smooth(240, kH, p.y)), 1};
  });
  for (double x = 12; x < kW; x += 36) c.circle({x, 250}, 1.5, lit(hex(0x6A6070), light));
  // The pedestal and the lens on it.
  c.polygon({{226, 240}, {278, 240}, {292, 300}, {212, 300}}, lit(hex(0x3A3440), light));
  c.polygon(rect(200, 300, 304, 310), lit(hex(0x3A3440), light));
  c.polygon(rect(214, 236, 290, 246), lit(hex(0x8A5A28), light));
  c.glow(ctr, 130, hex(0xFFB860), 0.35);
  lens(c, ctr, 70, 58, 238);
  c.glow(ctr, 12, hex(0xFFFFFF), 0.9);
  c.glow(ctr, 60, hex(0xFFE8B0), 0.3);
  c.glow(ctr, 300, hex(0xFFB060), 0.12);
  Picture pic = c.downsample();
  finish(pic, 0.45, 0.3);
  return pic;
}

/* ---------- sunrise and the title ---------- */

/* Three gulls far off: each a pair of shallow arcs. */
void gulls(Canvas& c, std::span<const P> at, Col col) {
  for (P p : at)
    for (double side : {-1.0, 1.0})
      c.stroke(spline({p, p + P{side * 3.5, -2.5}, p + P{side * 7, -0.5}}, 6), 1.1, solid(col));
}

/* Dawn sky with lit clouds, the sun on the horizon, the sea with its golden path, gulls. */
void dawn(Canvas& c, Rng& rng, double horizon) {
  const P sun{332, horizon + 2};
  c.fill(vertical({{0, hex(0x34508E)},
                   {60, hex(0x6A78B0)},
                   {125, hex(0xD69AAE)},
                   {170, hex(0xF8B880)},
                   {200, hex(0xFFDCA0)},
                   {horizon, hex(0xFFEEC4)}}));
  c.glow(sun, 110, hex(0xFFD090), 0.45);
  c.glow(sun, 260, hex(0xFFB080), 0.2);
  stars(c, rng, 14, {0, 0, kW, 50}, 80, 0.5);
  cloud(c, rng, {150, 70}, 220, 15, hex(0x6A6498), hex(0xF8B8A0), 0.95);
  cloud(c, rng, {400, 98}, 190, 16, hex(0x8A78A8), hex(0xFFD0A0), 0.95);
  cloud(c, rng, {250, 138}, 150, 10, hex(0xC890A0), hex(0xFFE0B0), 0.9);
  cloud(c, rng, {470, 162}, 90, 6, hex(0xE0A09A), hex(0xFFE8C0), 0.9);
  c.circle(sun, 20, solid(hex(0xFFF8E4)));
  c.glow(sun, 28, hex(0xFFF0C0), 0.8);
  c.polygon(below(ridge(380, kW, horizon - 2, 3, 81), horizon + 1), solid(hex(0xB88090)));
  sea(c, rng, horizon,
      {{horizon, hex(0xF4C090)}, {226, hex(0xC08088)}, {270, hex(0x6A5478)}, {kH, hex(0x2A2A50)}},
      hex(0xFFE0B8), 0.8);
  reflection(c, rng, sun.x, horizon, 300, 34, hex(0xFFE8B0), 0.75);
  const std::array<P, 4> birds = {{{236, 84}, {258, 98}, {222, 106}, {286, 72}}};
  gulls(c, birds, hex(0x4A3A5A));
}

/* The cape with the lighthouse, backlit, gold along its edges, rocks and foam at its foot. */
void dawnCape(Canvas& c, Rng& rng) {
  const Path top = spline({{-4, 150},
                           {30, 147},
                           {62, 144},
                           {100, 141},
                           {128, 143},
                           {150, 149},
                           {172, 156},
                           {186, 166},
                           {194, 178},
                           {208, 186},
                           {220, 199},
                           {236, 205},
                           {254, 211},
                           {272, 215}},
                          10);
  Path land = top;
  for (P p : spline({{272, 215}, {250, 236}, {214, 270}, {190, 340}}, 8)) land.push_back(p);
  land.push_back({-4, 340});
  c.polygon(land, vgrad(140, hex(0x3A2C4C), kH, hex(0x140E20)));
  for (double off : {9.0, 19.0, 31.0}) {
    Path layer;
    for (P p : top)
      if (p.x > 150 - off) layer.push_back({p.x - off, p.y + off * 0.5});
    c.stroke(layer, 1, solid(hex(0x7A5A7A), 0.3));
  }
  c.stroke(top, 1.6, solid(hex(0xFFC890), 0.6));
  grass(c, rng, top, 0, 176, hex(0x2E2240), hex(0xFFC890));
  for (const auto& r : std::array<std::array<double, 3>, 2>{{{288, 221, 7}, {306, 226, 4}}}) {
    c.ellipse({r[0], r[1]}, r[2], r[2] * 0.6, solid(hex(0x2A2040)));
    c.ellipse({r[0] + r[2] * 0.3, r[1] - r[2] * 0.45}, r[2] * 0.6, 0.6, solid(hex(0xFFC890), 0.5));
    foam(c, rng, {r[0], r[1] + 1}, r[2] * 1.4, 0.4);
  }
  foam(c, rng, {262, 222}, 14, 0.4);
  foam(c, rng, {238, 248}, 16, 0.3);
  TowerLook tower = kDuskTower;
  tower.lit = hex(0xF4D8C8);
  tower.shade = hex(0x5A4868);
  tower.glass = hex(0xA07868);
  lighthouse(c, {92, 143}, 112, 22, tower);
}

/* Sunrise over the sea from the cape, the lighthouse against the dawn on the left. */
Picture sunrise() {
  Canvas c;
  Rng rng(808);
  dawn(c, rng, 206);
  dawnCape(c, rng);
  Picture pic = c.downsample();
  finish(pic, 0.4, 0.2);
  return pic;
}

/* The title card: the lighthouse before a great moon, its beam sweeping over the evening sea. */
Picture title() {
  Canvas c;
  Rng rng(909);
  const double horizon = 232;
  const P moonAt{320, 116};
  c.fill(vertical(
      {{0, hex(0x0A1030)}, {100, hex(0x1E2660)}, {180, hex(0x4A4A88)}, {horizon, hex(0xB07890)}}));
  stars(c, rng, 240, {0, 0, kW, horizon}, horizon);
  moon(c, moonAt, 66, hex(0xFFF4DC), 0.9);
  cloud(c, rng, {150, 176}, 220, 8, hex(0x3A3A78), hex(0xC07890), 0.85);
  cloud(c, rng, {440, 196}, 140, 6, hex(0x5A4A88), hex(0xE09098), 0.85);
  sea(c, rng, horizon, {{horizon, hex(0x6A5A8A)}, {262, hex(0x2A2E60)}, {kH, hex(0x080C20)}},
      hex(0xC8C0E8), 0.8);
  reflection(c, rng, moonAt.x, horizon, 320, 30, hex(0xFFF4DC), 0.65);
  // The headland with the lighthouse, its lamp lit.
  const Path top = spline({{120, horizon + 1},
                           {170, 222},
                           {206, 204},
                           {238, 197},
                           {282, 196},
                           {320, 204},
                           {366, 220},
                           {420, horizon + 1}},
                          12);
  c.polygon(below(top, horizon + 2), solid(hex(0x0E1230)));
  c.stroke(top, 1.4, [=](P p) { return Rgba{hex(0xE8D8E8), 0.5 * smooth(230, 330, p.x)}; });
  grass(c, rng, top, 150, 400, hex(0x0E1230), hex(0xB8B0D8));
  for (const auto& r : std::array<std::array<double, 4>, 3>{
           {{150, horizon + 2, 20, 6}, {398, horizon + 3, 26, 7}, {426, horizon + 4, 12, 4}}}) {
    rock(c, rng, {r[0], r[1]}, r[2], r[3], hex(0x1A1E40), hex(0xE8D8E8), 1);
    foam(c, rng, {r[0], r[1] + 1}, r[2] * 0.8, 0.35);
  }
  TowerLook tower = kNightTower;
  tower.lit = hex(0x4A5080);
  tower.shade = hex(0x12162E);
  tower.rim = hex(0xFFF2D8);
  tower.lampOn = true;
  const P lamp = lighthouse(c, {262, 198}, 152, 28, tower);
  beam(c, lamp, -kPi + 0.2, 0.07, 560, hex(0xFFE6B0), 0.38);
  beam(c, lamp, -0.06, 0.05, 300, hex(0xFFE6B0), 0.14);
  c.glow(lamp, 40, hex(0xFFE0A0), 0.3);
  reflection(c, rng, lamp.x, horizon + 4, 290, 10, hex(0xFFD890), 0.35);
  Picture pic = c.downsample();
  finish(pic, 0.45, 0.25);
  return pic;
}

/* ---------- storing ---------- */

uint8_t byteOf(double v) { return static_cast<uint8_t>(std::lround(clamp01(v) * 255)); }

std::vector<uint8_t> rgbBytes(const Picture& pic) {
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(kW) * kH * 3);
  for (const Col& c : pic.px) out.insert(out.end(), {byteOf(c.r), byteOf(c.g), byteOf(c.b)});
  return out;
}

SDL_Surface* surfaceOf(const Picture& pic) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 24, SDL_PIXELFORMAT_RGB24);
  if (!s) return nullptr;
  const std::vector<uint8_t> rgb = rgbBytes(pic);
  for (int y = 0; y < kH; ++y)
    std::copy_n(rgb.data() + static_cast<size_t>(y) * kW * 3, kW * 3,
                static_cast<uint8_t*>(s->pixels) + static_cast<ptrdiff_t>(y) * s->pitch);
  return s;
}

/* ---------- colour reduction for GIF ---------- */

struct ColourBox {
  std::vector<std::pair<uint32_t, uint32_t>> colours;  // rgb, count
  int longest = 0;
  int range = 0;
};

int channel(uint32_t rgb, int ch) { return static_cast<int>((rgb >> (16 - 8 * ch)) & 0xFF); }

void measure(ColourBox& b) {
  std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
  for (const auto& [rgb, n] : b.colours)
    for (int ch = 0; ch < 3; ++ch) {
      lo[ch] = std::min(lo[ch], channel(rgb, ch));
      hi[ch] = std::max(hi[ch], channel(rgb, ch));
    }
  b.range = -1;
  for (int ch = 0; ch < 3; ++ch)
    if (hi[ch] - lo[ch] > b.range) b.range = hi[ch] - lo[ch], b.longest = ch;
}

/* Median cut: split the box with the widest spread (weighted by its pixel count) at the
   median pixel of its longest axis until there are `size` boxes; each box gives its mean. */
std::vector<gif::Rgb> medianCut(const std::vector<uint8_t>& rgb, size_t size) {
  std::map<uint32_t, uint32_t> hist;
  for (size_t i = 0; i < rgb.size(); i += 3)
    ++hist[(uint32_t{rgb[i]} << 16) | (uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]];
  std::vector<ColourBox> boxes(1);
  boxes[0].colours.assign(hist.begin(), hist.end());
  measure(boxes[0]);
  while (boxes.size() < size) {
    auto score = [](const ColourBox& b) {
      uint64_t n = 0;
      for (const auto& c : b.colours) n += c.second;
      return b.colours.size() < 2 ? 0.0 : b.range * std::sqrt(static_cast<double>(n));
    };
    auto it = std::max_element(
        boxes.begin(), boxes.end(),
        [&](const ColourBox& a, const ColourBox& b) { return score(a) < score(b); });
    if (score(*it) == 0) break;
    const int ch = it->longest;
    std::sort(it->colours.begin(), it->colours.end(), [ch](const auto& a, const auto& b) {
      return channel(a.first, ch) < channel(b.first, ch);
    });
    uint64_t total = 0, acc = 0;
    for (const auto& c : it->colours) total += c.second;
    size_t cut = 1;
    for (; cut < it->colours.size() - 1; ++cut) {
      acc += it->colours[cut - 1].second;
      if (acc * 2 >= total) break;
    }
    ColourBox other;
    other.colours.assign(it->colours.begin() + static_cast<ptrdiff_t>(cut), it->colours.end());
    it->colours.resize(cut);
    measure(*it);
    measure(other);
    boxes.push_back(std::move(other));
  }
  std::vector<gif::Rgb> palette;
  for (const ColourBox& b : boxes) {
    std::array<double, 3> sum{};
    double n = 0;
    for (const auto& [c, k] : b.colours) {
      for (int ch = 0; ch < 3; ++ch) sum[ch] += channel(c, ch) * static_cast<double>(k);
      n += k;
    }
    palette.push_back({static_cast<uint8_t>(std::lround(sum[0] / n)),
                       static_cast<uint8_t>(std::lround(sum[1] / n)),
                       static_cast<uint8_t>(std::lround(sum[2] / n))});
  }
  return palette;
}

uint8_t nearest(const std::vector<gif::Rgb>& palette, double r, double g, double b) {
  size_t best = 0;
  double bestD = 1e18;
  for (size_t i = 0; i < palette.size(); ++i) {
    const double dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
    const double d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (d < bestD) bestD = d, best = i;
  }
  return static_cast<uint8_t>(best);
}

/* 256 colours by median cut, placed with a light 8 x 8 ordered dither against banding. */
gif::IndexedImage quantize(const Picture& pic, double ditherSpread) {
  const std::vector<uint8_t> rgb = rgbBytes(pic);
  gif::IndexedImage img{kW, kH, medianCut(rgb, 256), {}};
  img.pixels.resize(static_cast<size_t>(kW) * kH);
  static constexpr std::array<int, 64> kBayer = {
      0,  32, 8,  40, 2,  34, 10, 42, 48, 16, 56, 24, 50, 18, 58, 26, 12, 44, 4,  36, 14, 46,
      6,  38, 60, 28, 52, 20, 62, 30, 54, 22, 3,  35, 11, 43, 1,  33, 9,  41, 51, 19, 59, 27,
      49, 17, 57, 25, 15, 47, 7,  39, 13, 45, 5,  37, 63, 31, 55, 23, 61, 29, 53, 21};
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const size_t i = static_cast<size_t>(y) * kW + x;
      const double t = ((kBayer[(y % 8) * 8 + x % 8] + 0.5) / 64 - 0.5) * ditherSpread;
      img.pixels[i] = nearest(img.palette, rgb[3 * i] + t, rgb[3 * i + 1] + t, rgb[3 * i + 2] + t);
    }
  return img;
}

/* ---------- main ---------- */

enum class Format { Png, Gif, Bmp };

struct Scene {
  const char* name;
  Picture (*draw)();
  Format format;
};

bool save(const Picture& pic, Format format, const std::string& path) {
  if (format == Format::Gif) {
    gif::writeFile(path, gif::encodeGif87a(quantize(pic, 10), 8));
    return true;
  }
  SDL_Surface* s = surfaceOf(pic);
  if (!s) return false;
  const int rc =
      format == Format::Png ? IMG_SavePNG(s, path.c_str()) : SDL_SaveBMP(s, path.c_str());
  SDL_FreeSurface(s);
  return rc == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [SCENE...]\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const std::array<Scene, 9> scenes = {{{"station", station, Format::Png},
                                        {"harbour", harbour, Format::Png},
                                        {"shop", shop, Format::Png},
                                        {"lighthouse", lighthouseNight, Format::Gif},
                                        {"stairs", stairs, Format::Bmp},
                                        {"lamproom", lampRoom, Format::Bmp},
                                        {"beach", beach, Format::Gif},
                                        {"sunrise", sunrise, Format::Png},
                                        {"title", title, Format::Png}}};
  for (const Scene& s : scenes) {
    if (argc > 2 && std::find_if(argv + 2, argv + argc, [&](const char* a) {
                      return std::string(a) == s.name;
                    }) == argv + argc)
      continue;
    const std::string path = dir + "/" + s.name + ".szg";
    if (!save(s.draw(), s.format, path)) {
      std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), SDL_GetError());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
