#pragma once
// Points and paths in the plane for the picture generators.
#include <cmath>
#include <vector>

struct P {
  double x = 0, y = 0;
};
inline P operator+(P a, P b) { return {a.x + b.x, a.y + b.y}; }
inline P operator-(P a, P b) { return {a.x - b.x, a.y - b.y}; }
inline P operator*(P a, double s) { return {a.x * s, a.y * s}; }
inline double dot(P a, P b) { return a.x * b.x + a.y * b.y; }
inline double len(P a) { return std::sqrt(dot(a, a)); }
inline P lerp(P a, P b, double t) { return a + (b - a) * t; }

using Path = std::vector<P>;
