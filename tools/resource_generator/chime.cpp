#include "chime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "byte_writer.h"

namespace resgen {

namespace {

constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2;

struct Partial {
  double ratio;      // to the note's fundamental
  double amplitude;  // relative
  double decay;      // time constant in seconds
};

struct Note {
  double start;      // seconds
  double frequency;  // Hz
  double pan;        // -1 left .. +1 right
  double gain;
};

// Few, mostly harmonic partials keep the chime soft; upper ones fade faster, like a struck bar.
constexpr Partial kPartials[] = {{1.0, 1.0, 0.34}, {2.0, 0.16, 0.17}, {3.0, 0.04, 0.09}};
// G5 then C6: a rising fourth, slightly apart in the stereo image.
constexpr Note kNotes[] = {{0.0, 783.99, -0.25, 0.85}, {0.12, 1046.50, 0.25, 1.0}};

constexpr double kAttack = 0.006;  // avoids the click of a hard onset
constexpr double kRelease = 0.08;  // the file ends in silence
constexpr double kPeak = 0.45;     // of full scale: well clear of clipping

double RaisedCosine(double x) { return 0.5 - 0.5 * std::cos(std::numbers::pi * x); }

}  // namespace

std::string MakeChimeWave() {
  std::vector<double> left(kChimeFrames, 0.0);
  std::vector<double> right(kChimeFrames, 0.0);
  const double duration = static_cast<double>(kChimeFrames) / kChimeRate;
  for (const Note& note : kNotes) {
    // Constant-power panning.
    const double angle = (note.pan + 1.0) * std::numbers::pi / 4.0;
    const double gain_left = std::cos(angle) * note.gain;
    const double gain_right = std::sin(angle) * note.gain;
    for (int i = 0; i < kChimeFrames; ++i) {
      const double t = static_cast<double>(i) / kChimeRate - note.start;
      if (t < 0.0) {
        continue;
      }
      double value = 0.0;
      for (const Partial& partial : kPartials) {
        value += partial.amplitude * std::exp(-t / partial.decay) *
                 std::sin(2.0 * std::numbers::pi * note.frequency * partial.ratio * t);
      }
      const double envelope = t < kAttack ? RaisedCosine(t / kAttack) : 1.0;
      left[i] += value * envelope * gain_left;
      right[i] += value * envelope * gain_right;
    }
  }
  double peak = 0.0;
  for (int i = 0; i < kChimeFrames; ++i) {
    const double remaining = duration - static_cast<double>(i) / kChimeRate;
    if (remaining < kRelease) {
      const double fade = RaisedCosine(std::max(remaining, 0.0) / kRelease);
      left[i] *= fade;
      right[i] *= fade;
    }
    peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
  }
  const double scale = peak > 0.0 ? kPeak * 32767.0 / peak : 0.0;

  const auto data_size = static_cast<std::uint32_t>(kChimeFrames * kChannels * kBytesPerSample);
  ByteWriter out;
  out.Tag("RIFF");
  out.U32(36 + data_size);
  out.Tag("WAVE");
  out.Tag("fmt ");
  out.U32(16);
  out.U16(1);  // PCM
  out.U16(kChannels);
  out.U32(kChimeRate);
  out.U32(kChimeRate * kChannels * kBytesPerSample);
  out.U16(kChannels * kBytesPerSample);
  out.U16(kBytesPerSample * 8);
  out.Tag("data");
  out.U32(data_size);
  for (int i = 0; i < kChimeFrames; ++i) {
    out.I16(static_cast<std::int16_t>(std::lround(left[i] * scale)));
    out.I16(static_cast<std::int16_t>(std::lround(right[i] * scale)));
  }
  return out.Result();
}

}  // namespace resgen
