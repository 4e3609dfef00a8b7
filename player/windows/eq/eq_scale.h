// The equalizer sliders' scale: positions in tenths of a decibel, gains as
// linear factors (gain = 10^(position / 200)), and the dB labels.
// Slider -1 is the preamp, 0..11 the bands from 40 Hz to 16 kHz.
#pragma once
#include <string>

namespace zv::eq {

constexpr int kBands = 12;
constexpr int kPreamp = -1;
// The band captions, 40 Hz first.
extern const char* const kBandLabels[kBands];

// The slider's range: band 0 (40 Hz) -200..200, the preamp and the other
// bands -150..150.
int sliderMin(int slider);
int sliderMax(int slider);

float gainOfPosition(int position);
// Nearest integer to 200 x log10(gain); -1000 for a gain of 0 (or below).
int positionOfGain(float gain);
// The nearest dB as "+6" or, below zero, the en dash (0x96) and the
// absolute value; a gain of 0 reads -100.
std::string labelOfGain(float gain);

// A gain that a slider can show: NaN becomes 1.0 (flat), anything else is
// held inside the slider's range (a gain of 0 or below, or -infinity, takes
// the bottom; +infinity the top). Stored curves from files and records go
// through this before they reach the output library.
float clampGain(float gain, int slider);

}  // namespace zv::eq
