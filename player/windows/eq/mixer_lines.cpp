#include "mixer_lines.h"

#include "zv_mixer.h"

namespace zv::eq {
namespace {

constexpr uint32_t kSpeakers = 4, kWaveOut = 0x1008, kSynthesizer = 0x1004, kCompactDisc = 0x1005, kLineIn = 0x1002;
constexpr uint32_t kVolume = 0x50030001, kMute = 0x20010002, kBass = 0x50030002, kTreble = 0x50030003;

}  // namespace

MixerIds lookUpMixerIds() {
  MixerIds ids;
  const uint32_t lines[kMixerEntries] = {kSpeakers, kWaveOut, kSynthesizer, kCompactDisc, kLineIn, kSpeakers, kSpeakers};
  for (int i = 0; i < kMixerEntries; ++i) {
    const int32_t line = findLine(lines[i]);
    if (line == -1) continue;
    if (i < 5) {
      ids.volume[i] = findCtl(line, kVolume);
      ids.mute[i] = findCtl(line, kMute);
    } else {
      ids.volume[i] = findCtl(line, i == 5 ? kBass : kTreble);
    }
  }
  return ids;
}

MixerIds reopenMixer() {
  if (openMixer() != 0) return MixerIds{};
  return lookUpMixerIds();
}

}  // namespace zv::eq
