#include <windows.h>

#include <mmsystem.h>

#include "app/wave_player.h"

namespace zw {

void PlayWaveFromMemory(const char* bytes) {
  // No default system sound replaces unplayable data; the result is of no interest.
  PlaySoundA(bytes, nullptr, SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}

void StopWavePlayback() { PlaySoundA(nullptr, nullptr, 0); }

}  // namespace zw
