#include "eq_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zv::eq {

const char* const kBandLabels[kBands] = {"40", "100", "200", "500", "1K", "2K", "3K", "4K", "6K", "8K", "12K", "16K"};

int sliderMin(int slider) { return slider == 0 ? -200 : -150; }
int sliderMax(int slider) { return slider == 0 ? 200 : 150; }

float gainOfPosition(int position) { return static_cast<float>(std::pow(10.0, position / 200.0)); }

int positionOfGain(float gain) {
  if (!(gain > 0)) return -1000;
  return static_cast<int>(std::lround(200.0 * std::log10(static_cast<double>(gain))));
}

std::string labelOfGain(float gain) {
  const long db = gain > 0 ? std::lround(20.0 * std::log10(static_cast<double>(gain))) : -100;
  char text[16];
  if (db >= 0)
    std::snprintf(text, sizeof(text), "+%ld", db);
  else
    std::snprintf(text, sizeof(text), "\x96%ld", std::labs(db));
  return text;
}

float clampGain(float gain, int slider) {
  if (std::isnan(gain)) return 1.0f;
  const float low = gainOfPosition(sliderMin(slider)), high = gainOfPosition(sliderMax(slider));
  if (!(gain > low)) return low;
  return std::min(gain, high);
}

}  // namespace zv::eq
