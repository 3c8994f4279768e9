#include "app/wave_player.h"

namespace zw {

// Native builds run headless (tests, tools): there is no sound device to play on.
void PlayWaveFromMemory(const char* /*bytes*/) {}

void StopWavePlayback() {}

}  // namespace zw
