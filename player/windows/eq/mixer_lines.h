// The seven mixer entries the player uses ("Volume", "Wave", "MIDI", "CD",
// "Line", "Bass", "Treble"): looked up after every openMixer, in this order:
// the speakers destination, the wave-out, synthesizer, compact-disc and
// line-in sources (each with its volume and mute control), then the speakers
// again for the bass and the treble control. A missing one is -1.
#pragma once
#include <array>
#include <cstdint>

namespace zv::eq {

constexpr int kMixerEntries = 7;

struct MixerIds {
  std::array<int32_t, kMixerEntries> volume{-1, -1, -1, -1, -1, -1, -1};
  std::array<int32_t, kMixerEntries> mute{-1, -1, -1, -1, -1, -1, -1};  // entries 5 and 6 have none
};

// openMixer() has been called; looks the seven entries up.
MixerIds lookUpMixerIds();
// openMixer() and the look-ups (all -1 when the mixer does not open).
MixerIds reopenMixer();

}  // namespace zv::eq
