#pragma once

#include <functional>

namespace zw {

// Starts playing a complete wave file (RIFF header included) straight from memory and returns
// at once; a new call replaces a sound still playing. The bytes must stay valid until the
// sound has ended or StopWavePlayback has been called. Failures are silent.
void PlayWaveFromMemory(const char* bytes);

// Stops any sound that PlayWaveFromMemory started.
void StopWavePlayback();

// Routes TWaveData's playing through the given function instead of the platform player;
// nullptr restores the platform player. The function receives nullptr for a stop.
void SetWavePlayerForTests(std::function<void(const char*)> player);

}  // namespace zw
