// The pictures of the built-in visualiser: oscilloscope and spectrum columns
// with fading trails, or bitmap bars lit through a skin's mask. Pure pixel
// work on 0x00RRGGBB buffers, so the drawing thread only adds timing and the
// copy to the window.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "playback/vis/skin_bitmap.h"
#include "zv_vis.h"

namespace zv {

struct VisSkin {
  PixelImage mask;      // bitmap bars only
  PixelImage active;    // bitmap bars only
  PixelImage inactive;  // the background
};

// The colour of a three-point gradient (0x00BBGGRR points) at level 0..255,
// as 0x00RRGGBB.
uint32_t gradientColour(const uint32_t points[3], int32_t level);

class VisFrame {
 public:
  // Takes the skin for a width x height picture. False (and nothing to draw)
  // when an image the settings need is missing or has another size.
  bool setup(int32_t width, int32_t height, const ZvVisSettings& settings, VisSkin skin);
  // New settings for the same skin: rebuilds the colour tables.
  void retune(const ZvVisSettings& settings);
  void clear();

  bool ready() const { return ready_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

  // Draws one frame of `planeLength` valid entries per plane into `out`
  // (width x height pixels, top row first).
  void draw(const ZvVisBuffer& buffer, int32_t planeLength, uint32_t* out);

 private:
  void buildTables();
  void drawColumns(const ZvVisBuffer& buffer, int32_t planeLength, uint32_t* out);
  void drawBars(const ZvVisBuffer& buffer, int32_t planeLength, uint32_t* out);
  void litPixel(size_t at, uint32_t colour, uint32_t* out);
  void unlitPixel(size_t at, int32_t decay, uint32_t* out);

  ZvVisSettings settings_ = {};
  VisSkin skin_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool ready_ = false;
  std::vector<uint32_t> colours1_, colours2_;  // `height` entries each
  std::vector<uint32_t> trail_;                // colour with its age in the top byte
  std::vector<int32_t> columns_;
  std::array<std::array<int32_t, 256>, 2> barLevels_ = {};
};

}  // namespace zv
