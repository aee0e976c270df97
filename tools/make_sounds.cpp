// Writes the sound effects, all synthesised here: the default chime that stands
// in for a wave file that cannot be played (assets/chime.wav, built into the
// executable) and short effects for the demo game (demo/*.wav).
//
//   g++ -std=c++20 -O2 -o /tmp/make_sounds tools/make_sounds.cpp && /tmp/make_sounds .
//
// The argument is the repository folder (default: the current folder).
// Output: 16-bit PCM, mono, 22050 Hz.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

/* A fixed pseudo-random sequence, so every run writes the same files. */
class Noise {
 public:
  double next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
  }

 private:
  uint32_t state_ = 12345;
};

Samples silence(double seconds) { return Samples(static_cast<size_t>(seconds * kRate), 0.0); }

/* Adds `voice(t)` for t in [0, length) seconds, starting at `at` seconds. */
void mix(Samples& out, double at, double length, const std::function<double(double)>& voice) {
  const size_t first = static_cast<size_t>(at * kRate);
  const size_t count = static_cast<size_t>(length * kRate);
  for (size_t i = 0; i < count && first + i < out.size(); ++i)
    out[first + i] += voice(static_cast<double>(i) / kRate);
}

double attack(double t, double seconds) { return t < seconds ? t / seconds : 1.0; }

/* A struck tone: partials as (frequency ratio, amplitude, decay per second). */
struct Partial {
  double ratio, amplitude, decay;
};

std::function<double(double)> struck(double base, std::vector<Partial> partials) {
  return [base, partials](double t) {
    double v = 0;
    for (const Partial& p : partials)
      v += p.amplitude * std::exp(-p.decay * t) * std::sin(2 * kPi * base * p.ratio * t);
    return v * attack(t, 0.002);
  };
}

/* Low-pass filtered noise burst with an exponential decay. */
std::function<double(double)> burst(double decay, double smoothing, uint32_t seed) {
  auto noise = std::make_shared<Noise>();
  for (uint32_t i = 0; i < seed; ++i) noise->next();
  auto state = std::make_shared<double>(0.0);
  return [=](double t) {
    *state += smoothing * (noise->next() - *state);
    return *state * std::exp(-decay * t) * attack(t, 0.001);
  };
}

void normalise(Samples& s, double peak) {
  double top = 0;
  for (double v : s) top = std::max(top, std::abs(v));
  if (top > 0)
    for (double& v : s) v *= peak / top;
  const size_t fade = std::min<size_t>(s.size(), kRate / 100);  // no click at the end
  for (size_t i = 0; i < fade; ++i) s[s.size() - 1 - i] *= static_cast<double>(i) / fade;
}

void put(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xff));
}

bool writeWave(const std::string& path, const Samples& s) {
  std::ofstream out(path, std::ios::binary);
  const uint32_t data = static_cast<uint32_t>(s.size() * 2);
  out.write("RIFF", 4);
  put(out, 36 + data, 4);
  out.write("WAVEfmt ", 8);
  put(out, 16, 4);
  put(out, 1, 2);  // PCM
  put(out, 1, 2);  // mono
  put(out, kRate, 4);
  put(out, kRate * 2, 4);
  put(out, 2, 2);
  put(out, 16, 2);
  out.write("data", 4);
  put(out, data, 4);
  for (double v : s) {
    const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
    put(out, static_cast<uint32_t>(static_cast<int16_t>(q)) & 0xffff, 2);
  }
  std::printf("%s: %.2f s\n", path.c_str(), static_cast<double>(s.size()) / kRate);
  return static_cast<bool>(out);
}

/* Two soft bell tones, high then low: a short, friendly "ding-dong". */
Samples chime() {
  Samples s = silence(0.85);
  const std::vector<Partial> tone = {{1, 1.0, 5}, {2, 0.3, 9}, {3, 0.1, 14}, {4.2, 0.05, 20}};
  mix(s, 0.0, 0.85, struck(1318.5, tone));
  mix(s, 0.2, 0.65, struck(1046.5, tone));
  normalise(s, 0.6);
  return s;
}

/* Three knuckle knocks on a wooden door: a low body thump, a woody knock and a click. */
Samples knock() {
  Samples s = silence(0.6);
  const double times[] = {0.0, 0.17, 0.33};
  const double force[] = {1.0, 0.85, 0.95};
  for (int i = 0; i < 3; ++i) {
    mix(s, times[i], 0.2, [f = force[i]](double t) {
      return f * (std::sin(2 * kPi * 92 * t) * std::exp(-38 * t) +
                  0.5 * std::sin(2 * kPi * 210 * t) * std::exp(-70 * t) +
                  0.15 * std::sin(2 * kPi * 1150 * t) * std::exp(-260 * t));
    });
    mix(s, times[i], 0.08,
        [b = burst(110, 0.25, i * 97), f = force[i]](double t) { return 0.6 * f * b(t); });
  }
  normalise(s, 0.7);
  return s;
}

/* Two steps on a wooden floor: a dull thud with a short scuff. */
Samples footstep() {
  Samples s = silence(0.75);
  const double times[] = {0.0, 0.42};
  for (int i = 0; i < 2; ++i) {
    mix(s, times[i], 0.25, [k = 1.0 - 0.15 * i](double t) {
      return k * std::sin(2 * kPi * (68 - 40 * t) * t) * std::exp(-28 * t);
    });
    mix(s, times[i] + 0.01, 0.15,
        [b = burst(30, 0.12, 7 + i * 31)](double t) { return 0.45 * b(t) * attack(t, 0.006); });
  }
  normalise(s, 0.7);
  return s;
}

/* A hand bell: inharmonic partials with a hum below, ringing out slowly. */
Samples bell() {
  Samples s = silence(2.6);
  mix(s, 0.0, 2.6,
      struck(587.3, {{0.5, 0.35, 1.2},
                     {1.0, 1.0, 1.8},
                     {1.19, 0.3, 2.6},
                     {1.5, 0.22, 3.2},
                     {2.0, 0.3, 3.8},
                     {2.52, 0.12, 5.5},
                     {2.66, 0.1, 6.5},
                     {4.07, 0.07, 9}}));
  mix(s, 0.0, 0.02, [b = burst(200, 0.6, 3)](double t) { return 0.3 * b(t); });
  normalise(s, 0.7);
  return s;
}

/* A page turning: rustling noise through a band-pass that sweeps upwards,
   swelling and falling, then the flap of the page settling. */
Samples pageTurn() {
  Samples s = silence(0.5);
  Noise noise;
  double low = 0, band = 0;
  const double length = 0.36;
  mix(s, 0.0, length, [&](double t) {
    const double centre = 1200 + 3200 * t / length;
    const double f = 2 * std::sin(kPi * centre / kRate);
    const double high = noise.next() - low - 0.7 * band;
    band += f * high;
    low += f * band;
    const double swell = std::sin(kPi * t / length);
    return band * swell * swell * (0.8 + 0.2 * std::sin(2 * kPi * 23 * t));
  });
  mix(s, 0.33, 0.12, [b = burst(45, 0.35, 11)](double t) { return 0.9 * b(t); });
  normalise(s, 0.6);
  return s;
}

/* A brass tone: harmonics that brighten as the note swells, with a light vibrato
   on long notes. */
std::function<double(double)> brass(double freq, double length) {
  return [=](double t) {
    const double env = attack(t, 0.035) * std::min(1.0, (length - t) / 0.06);
    const double vibrato = t > 0.2 ? 1 + 0.004 * std::sin(2 * kPi * 5.5 * (t - 0.2)) : 1.0;
    double v = 0;
    for (int k = 1; k <= 10; ++k)
      v += std::pow(env, 1 + 0.25 * k) / k * std::sin(2 * kPi * freq * vibrato * k * t);
    return v;
  };
}

/* Ta-ta-ta-taa-taaa in two voices, a third and a sixth apart. */
Samples fanfare() {
  struct Note {
    double at, length, upper, lower;
  };
  const Note notes[] = {{0.00, 0.12, 523.25, 392.00},
                        {0.14, 0.12, 523.25, 392.00},
                        {0.28, 0.12, 523.25, 392.00},
                        {0.42, 0.30, 659.25, 523.25},
                        {0.76, 1.00, 783.99, 659.25}};
  Samples s = silence(1.85);
  for (const Note& n : notes) {
    mix(s, n.at, n.length, brass(n.upper, n.length));
    mix(s, n.at, n.length, [v = brass(n.lower, n.length)](double t) { return 0.7 * v(t); });
  }
  normalise(s, 0.7);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : ".";
  bool ok = writeWave(root + "/assets/chime.wav", chime());
  ok = writeWave(root + "/demo/knock.wav", knock()) && ok;
  ok = writeWave(root + "/demo/footstep.wav", footstep()) && ok;
  ok = writeWave(root + "/demo/bell.wav", bell()) && ok;
  ok = writeWave(root + "/demo/page.wav", pageTurn()) && ok;
  ok = writeWave(root + "/demo/fanfare.wav", fanfare()) && ok;
  return ok ? 0 : 1;
}
