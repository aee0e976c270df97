#include "author/explore_progress.h"

#include <chrono>
#include <string>

namespace author {
namespace {

constexpr double kQuiet = 1.0;      // seconds without any line
constexpr double kInPlace = 0.2;    // seconds between rewrites of the line in place
constexpr double kLineEvery = 3.0;  // seconds between lines elsewhere

}  // namespace

Progress::Progress(std::ostream* out, bool inPlace, Clock clock)
    : out_(out), inPlace_(inPlace), clock_(std::move(clock)) {
  if (!clock_) {
    const auto start = std::chrono::steady_clock::now();
    clock_ = [start] {
      return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
  }
}

void Progress::update(long states) {
  if (!out_) return;
  const double now = clock_();
  if (now < kQuiet) return;
  if (shownAt_ >= 0 && now - shownAt_ < (inPlace_ ? kInPlace : kLineEvery)) return;
  show(states, now);
}

void Progress::show(long states, double now) {
  const std::string line = "exploring: " + std::to_string(states) + " states, " +
                           std::to_string(static_cast<long>(states / now)) + " states per second";
  if (inPlace_) {
    // Spaces cover what a longer line before left.
    *out_ << '\r' << line << "   " << std::flush;
  } else {
    *out_ << line << '\n' << std::flush;
  }
  shownAt_ = now;
}

void Progress::finish(long states) {
  if (!out_ || shownAt_ < 0 || !inPlace_) return;
  show(states, clock_());
  *out_ << '\n' << std::flush;
}

}  // namespace author
