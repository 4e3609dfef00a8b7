// The skin object: TSkin with one TSkinCtl per control block, built from the
// logical lines of a skin file. Parsing is pure (lines and the bitmap's size
// in, model out); the bitmap itself is attached by the loader.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin_bitmap.h"
#include "skin_text.h"

namespace zv::ui {

// A coordinate that may count from the far (right or bottom) edge.
struct SkinCoord {
  int value = 0;
  bool farEdge = false;
  int resolve(int extent) const { return farEdge ? extent - value : value; }
  bool operator==(const SkinCoord&) const = default;
};

struct SkinPoint {
  SkinCoord x, y;
  bool operator==(const SkinPoint&) const = default;
};

// Left, top, width, height. A far-edge width or height puts that edge at the
// window's extent minus the value ("!0": up to the edge).
struct SkinRect {
  SkinCoord left, top, width, height;
  RECT resolve(int windowWidth, int windowHeight) const;
  bool operator==(const SkinRect&) const = default;
};

enum SkinShapeKind { skRect = 0, skPolygon = 1 };
enum SkinCtlType { ctSimple = 0, ctButton = 1, ctStateButton = 2, ctHeader = 3, ctControl = 4 };
enum SkinFill { sfNone = 0, sfColor = 1, sfBitmap = 2, sfGradient = 3 };
enum SkinState { ssNormal = 0, ssHilite = 1, ssDown = 2, ssHiliteDown = 3 };

// What one state shows: a source rectangle (x, y, width, height) in the skin
// bitmap, a colour, or four gradient colours.
struct StatePicture {
  RECT source{};  // left, top, right, bottom in the bitmap
  COLORREF color = 0;
  std::array<COLORREF, 4> gradient{};
};

// Attributes of a block or of the window section, as "key=value" texts in
// file order; look-up takes the first key that matches (case-insensitive).
class SkinAttributes {
 public:
  void add(std::string key, std::string value);
  // The value of `key`, or empty.
  std::string value(std::string_view key) const;
  bool has(std::string_view key) const;
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
  std::vector<std::pair<std::string, std::string>> pairs_;
};

class TSkinCtl {
 public:
  SkinAttributes attributes;
  SkinShapeKind shapeKind = skRect;
  SkinRect rect;                  // for skRect
  std::vector<SkinPoint> points;  // for skPolygon (fewer than 3: an empty shape)
  int type = ctSimple;
  std::string action, action1, relaction, onaction, offaction;
  int fill = sfBitmap;
  std::array<StatePicture, 4> pictures{};
  int state = ssNormal;

  std::string attr(std::string_view key) const { return attributes.value(key); }
  std::string name() const { return attributes.value("name"); }
  bool isButton() const { return type == ctButton || type == ctStateButton; }

  // The control's bounding rectangle in a window of that size.
  RECT bounds(int windowWidth, int windowHeight) const;
  // Whether the point lies in the control's shape.
  bool contains(POINT p, int windowWidth, int windowHeight) const;
  // The polygon resolved for a window of that size.
  std::vector<POINT> polygon(int windowWidth, int windowHeight) const;
  const StatePicture& picture() const { return pictures[state & 3]; }
};

// Changes to the two parts of a control's state; true when the state changed
// (and the control must be redrawn). Hilite applies to buttons only.
bool setHilitePart(TSkinCtl& ctl, bool on);
bool setDownPart(TSkinCtl& ctl, bool on);

class TSkin {
 public:
  SkinAttributes attributes;
  std::vector<TSkinCtl> controls;
  SIZE minSize{0, 0};
  SIZE defSize{0, 0};
  POINT hiliteOffset{0, 0}, downOffset{0, 0}, hiliteDownOffset{0, 0};
  std::vector<SkinPoint> region;  // empty, or the window's outline
  SkinBitmap bitmap;
  std::string folder;  // the folder of the skin file, with a final "\"
  std::vector<std::string> problems;

  std::string attr(std::string_view key) const { return attributes.value(key); }
  // The first control whose "name" is `name` (case-insensitive), or null.
  TSkinCtl* findControl(std::string_view name);
  const TSkinCtl* findControl(std::string_view name) const;
  // The index of the topmost control (last in file order) whose shape holds
  // the point, or -1.
  int hitTest(POINT p, int windowWidth, int windowHeight) const;
  // The window outline resolved for a window of that size; empty when the
  // skin has none or it has fewer than three points.
  std::vector<POINT> windowRegion(int windowWidth, int windowHeight) const;
};

// Builds a skin from logical lines; the bitmap's size gives the default
// "defsize". The bitmap itself is not touched.
std::unique_ptr<TSkin> parseSkin(const std::vector<std::string>& lines, SIZE bitmapSize);

// Parsing helpers the windows use for their own values.
SkinRect parseSkinRect(std::string_view value);
std::vector<SkinPoint> parseSkinPoints(const std::vector<std::string>& words, size_t first);
POINT parseSkinPoint(std::string_view value, POINT fallback);

}  // namespace zv::ui
