#pragma once

#include <string>

namespace resgen {

// Sample frames of the success sound: 56,832 stereo frames, about 1.29 s at 44.1 kHz.
inline constexpr int kChimeFrames = 56832;
inline constexpr int kChimeRate = 44100;

// A complete RIFF/WAVE file (canonical 44-byte header, 16-bit stereo PCM) holding a soft,
// rising two-note chime. The same bytes on every run.
std::string MakeChimeWave();

}  // namespace resgen
