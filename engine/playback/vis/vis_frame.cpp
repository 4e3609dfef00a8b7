#include "playback/vis/vis_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zv {
namespace {

int32_t nearest(double x) { return int32_t(std::lround(x)); }

uint32_t byteOf(uint32_t value, int shift) { return (value >> shift) & 0xFF; }

// Several words of the block count "per frame"; at half rate a frame covers
// two ticks, so the steps double.
int32_t perFrame(const ZvVisSettings& s, int32_t step) { return s.halfRate ? step * 2 : step; }

bool fits(const PixelImage& image, int32_t width, int32_t height) {
  return !image.empty() && image.width == width && image.height == height;
}

}  // namespace

uint32_t gradientColour(const uint32_t points[3], int32_t level) {
  level = std::clamp(level, 0, 255);
  const uint32_t from = level < 128 ? points[0] : points[1];
  const uint32_t to = level < 128 ? points[1] : points[2];
  const double weight = (level < 128 ? level : level - 128) / 128.0;
  auto mix = [&](int shift) {
    double a = byteOf(from, shift), b = byteOf(to, shift);
    return uint32_t(nearest(a + (b - a) * weight));
  };
  const uint32_t red = mix(0), green = mix(8), blue = mix(16);
  return red << 16 | green << 8 | blue;
}

bool VisFrame::setup(int32_t width, int32_t height, const ZvVisSettings& settings, VisSkin skin) {
  clear();
  settings_ = settings;
  if (width <= 0 || height <= 0) return false;
  const bool bars = settings.style == ZV_VIS_STYLE_BARS;
  // Every image is read pixel for pixel against the window, so one of
  // another size would be read out of bounds: such a skin draws nothing.
  if (!fits(skin.inactive, width, height)) return false;
  if (bars && (!fits(skin.mask, width, height) || !fits(skin.active, width, height))) return false;
  skin_ = std::move(skin);
  width_ = width;
  height_ = height;
  trail_.assign(size_t(width) * size_t(height), 0);
  columns_.assign(size_t(width), 0);
  buildTables();
  ready_ = true;
  return true;
}

void VisFrame::retune(const ZvVisSettings& settings) {
  settings_ = settings;
  if (ready_) buildTables();
}

void VisFrame::clear() {
  ready_ = false;
  skin_ = {};
  width_ = height_ = 0;
  trail_.clear();
  columns_.clear();
  colours1_.clear();
  colours2_.clear();
  barLevels_ = {};
}

void VisFrame::buildTables() {
  colours1_.resize(size_t(height_));
  colours2_.resize(size_t(height_));
  for (int32_t i = 0; i < height_; ++i) {
    const int32_t level = height_ > 1 ? nearest(255.0 * i / (height_ - 1)) : 0;
    colours1_[size_t(i)] = gradientColour(settings_.gradient1, level);
    colours2_[size_t(i)] = gradientColour(settings_.gradient2, level);
  }
}

void VisFrame::draw(const ZvVisBuffer& buffer, int32_t planeLength, uint32_t* out) {
  if (!ready_) return;
  planeLength = std::clamp<int32_t>(planeLength, 0, ZV_VIS_PLANE);
  const size_t count = size_t(width_) * size_t(height_);
  if (settings_.mode == ZV_VIS_SCOPE || (settings_.mode == ZV_VIS_SPECTRUM && settings_.style != ZV_VIS_STYLE_BARS))
    drawColumns(buffer, planeLength, out);
  else if (settings_.mode == ZV_VIS_SPECTRUM)
    drawBars(buffer, planeLength, out);
  else
    std::copy_n(skin_.inactive.pixels.data(), count, out);
}

void VisFrame::litPixel(size_t at, uint32_t colour, uint32_t* out) {
  out[at] = colour;
  trail_[at] = colour | 0xFF000000u;
}

void VisFrame::unlitPixel(size_t at, int32_t decay, uint32_t* out) {
  const uint32_t background = skin_.inactive.pixels[at];
  const uint32_t trail = trail_[at];
  const int32_t age = int32_t(trail >> 24);
  if (age > decay) {
    uint32_t shown = 0;
    for (int shift = 0; shift <= 16; shift += 8)
      shown |= ((byteOf(background, shift) * uint32_t(255 - age) + byteOf(trail, shift) * uint32_t(age)) / 256) << shift;
    out[at] = shown;
    trail_[at] = (trail & 0xFFFFFF) | uint32_t(age - decay) << 24;
  } else {
    out[at] = background;
    trail_[at] = 0;
  }
}

// Each column has a height h around the centre line; rows e run from
// height/2 - 1 at the top to -height/2 at the bottom. The centre row belongs
// to every column, so silence shows a flat line. A lit pixel's colour comes
// from the first table, the column's end taking the top entry and each step
// back towards the centre two entries lower.
void VisFrame::drawColumns(const ZvVisBuffer& buffer, int32_t n, uint32_t* out) {
  const int32_t half = height_ / 2;
  const bool scope = settings_.mode == ZV_VIS_SCOPE;
  if (scope) {
    for (int32_t x = 0; x < width_; ++x) {
      const int32_t index = width_ > 1 && n > 0 ? nearest(double(n - 1) * x / (width_ - 1)) : 0;
      columns_[size_t(x)] = nearest(double(buffer.scopeLeft[index]) * (height_ - 1) / 255.0);
    }
  } else {
    const int32_t centre = width_ / 2;
    for (int32_t d = 0; d <= width_ / 2; ++d) {
      const int32_t p = width_ > 1 ? nearest(512.0 * d / (width_ - 1)) : 0;
      auto columnHeight = [&](uint8_t level) {
        return std::clamp(nearest(double(level) * (height_ - 1) / 128.0), 0, std::max(0, half - 1));
      };
      const int32_t index = std::min(p + 2, int32_t(ZV_VIS_PLANE) - 1);
      if (centre - d >= 0) columns_[size_t(centre - d)] = columnHeight(buffer.spectrumLeft[index]);
      if (centre + d < width_) columns_[size_t(centre + d)] = columnHeight(buffer.spectrumRight[index]);
    }
    columns_[size_t(centre)] = 0;
  }

  const int32_t decay = perFrame(settings_, settings_.trailDecay);
  const int32_t top = int32_t(colours1_.size()) - 1;
  for (int32_t y = 0; y < height_; ++y) {
    const int32_t e = half - 1 - y;
    for (int32_t x = 0; x < width_; ++x) {
      const int32_t h = columns_[size_t(x)];
      bool lit;
      int32_t distance;
      if (scope) {
        lit = h >= 0 ? (e >= 0 && e <= h) : (e <= 0 && e >= h);
        distance = std::abs(h - e);
      } else {
        lit = std::abs(e) <= h;
        distance = h - std::abs(e);
      }
      const size_t at = size_t(y) * size_t(width_) + size_t(x);
      if (lit)
        litPixel(at, colours1_[size_t(std::max(0, top - 2 * distance))], out);
      else
        unlitPixel(at, decay, out);
    }
  }
}

// Bar i averages spectrum entries 1 + N*i/(K-1) .. N*(i+1)/(K-1) (one bar:
// 1 .. N); entries past the N written ones count as 0.
void VisFrame::drawBars(const ZvVisBuffer& buffer, int32_t n, uint32_t* out) {
  int32_t bars = settings_.barCount;
  if (bars <= 0 || bars > 256) bars = 256;
  const int32_t fall = perFrame(settings_, settings_.barFall);
  const uint8_t* planes[2] = {buffer.spectrumLeft, buffer.spectrumRight};
  for (int32_t channel = 0; channel < 2; ++channel) {
    for (int32_t i = 0; i < bars; ++i) {
      int64_t first = 1, last = n;
      if (bars > 1) {
        first = 1 + int64_t(n) * i / (bars - 1);
        last = int64_t(n) * (i + 1) / (bars - 1);
      }
      int64_t sum = 0;
      for (int64_t j = first; j <= last && j < n; ++j) sum += planes[channel][j];
      const int64_t entries = last - first + 1;
      int32_t level = entries > 0 ? int32_t(std::clamp<int64_t>(8 * sum / entries, 0, 255)) : 0;
      int32_t& previous = barLevels_[size_t(channel)][size_t(i)];
      // A bar falls by at most `fall` a frame but never below the sound: a
      // steady level stays put instead of flickering a step down every
      // second frame.
      if (level < previous) level = std::max(level, previous - fall);
      previous = level;
    }
  }
  const size_t count = size_t(width_) * size_t(height_);
  for (size_t at = 0; at < count; ++at) {
    const uint32_t m = skin_.mask.pixels[at];
    const int32_t bar = int32_t(byteOf(m, 16));
    const int32_t channel = (m >> 15) & 1;
    const int32_t threshold = int32_t(byteOf(m, 0));
    const bool lit = bar < bars && threshold < barLevels_[size_t(channel)][size_t(bar)];
    out[at] = lit ? skin_.active.pixels[at] : skin_.inactive.pixels[at];
  }
}

}  // namespace zv
