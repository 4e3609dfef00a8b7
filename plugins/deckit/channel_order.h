// Vorbis and Opus (mapping family 1) store 3 to 8 channels in their own
// order (front left, centre, front right, ...); the output side uses the
// WAVE order (FL FR FC LFE BL BR SL SR). kVorbisToWave[n][i] is the Vorbis
// channel that goes to WAVE position i of an n-channel stream.
#pragma once

namespace deckit {

inline constexpr int kVorbisToWave[9][8] = {
    {}, {0}, {0, 1}, {0, 2, 1}, {0, 1, 2, 3}, {0, 2, 1, 3, 4},
    {0, 2, 1, 5, 3, 4}, {0, 2, 1, 6, 5, 3, 4}, {0, 2, 1, 7, 5, 6, 3, 4}};

}  // namespace deckit
