#include "skin_model.h"

#include <algorithm>

namespace zv::ui {

namespace {

int clampCoord(long long v) { return static_cast<int>(std::clamp<long long>(v, -kSkinCoordLimit, kSkinCoordLimit)); }

SkinCoord coordOf(const std::string& word) {
  SkinNumber n = parseSkinNumber(word);
  return {n.value, n.farEdge};
}

RECT boundsOf(const std::vector<POINT>& points) {
  RECT r{0, 0, 0, 0};
  if (points.empty()) return r;
  r = {points[0].x, points[0].y, points[0].x, points[0].y};
  for (const POINT& p : points) {
    r.left = std::min<LONG>(r.left, p.x);
    r.top = std::min<LONG>(r.top, p.y);
    r.right = std::max<LONG>(r.right, p.x);
    r.bottom = std::max<LONG>(r.bottom, p.y);
  }
  return r;
}

// Even-odd rule, as a window region made from the same points fills.
bool insidePolygon(const std::vector<POINT>& poly, POINT p) {
  if (poly.size() < 3) return false;
  bool inside = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const POINT& a = poly[i];
    const POINT& b = poly[j];
    if ((a.y > p.y) != (b.y > p.y)) {
      long long lhs = static_cast<long long>(p.x - a.x) * (b.y - a.y);
      long long rhs = static_cast<long long>(b.x - a.x) * (p.y - a.y);
      if ((b.y - a.y) > 0 ? lhs < rhs : lhs > rhs) inside = !inside;
    }
  }
  return inside;
}

RECT sourceAt(int x, int y, int w, int h) {
  return {clampCoord(x), clampCoord(y), clampCoord(static_cast<long long>(x) + std::max(0, w)),
          clampCoord(static_cast<long long>(y) + std::max(0, h))};
}

RECT moved(const RECT& r, POINT by) {
  return {clampCoord(static_cast<long long>(r.left) + by.x), clampCoord(static_cast<long long>(r.top) + by.y),
          clampCoord(static_cast<long long>(r.right) + by.x), clampCoord(static_cast<long long>(r.bottom) + by.y)};
}

int typeOf(const SkinAttributes& a) {
  if (a.has("type")) {
    std::string t = toLowerAscii(a.value("type"));
    if (t == "button") return ctButton;
    if (t == "statebutton") return ctStateButton;
    if (t == "header") return ctHeader;
    if (t == "control") return ctControl;
    return ctSimple;
  }
  if (a.has("onaction") && a.has("offaction")) return ctStateButton;
  if (a.has("action") || a.has("action1")) return ctButton;
  return ctSimple;
}

int fillOf(const SkinAttributes& a, int type) {
  if (a.has("fill")) {
    std::string f = toLowerAscii(a.value("fill"));
    if (f == "color") return sfColor;
    if (f == "bitmap") return sfBitmap;
    if (f == "gradient") return sfGradient;
    return sfNone;
  }
  return type == ctControl ? sfNone : sfBitmap;
}

const char* const kStateKeys[4] = {"normal", "hilite", "down", "hilitedown"};

void readShape(TSkinCtl& ctl) {
  std::string shape = ctl.attributes.has("shape") ? ctl.attributes.value("shape") : "full";
  if (equalsNoCase(trimSkin(shape), "none")) shape = "rect 0 0 0 0";
  if (equalsNoCase(trimSkin(shape), "full") || trimSkin(shape).empty()) shape = "rect 0 0 !0 !0";
  std::vector<std::string> words = splitSkinWords(shape);
  if (!words.empty() && equalsNoCase(words[0], "polygon")) {
    ctl.shapeKind = skPolygon;
    ctl.points = parseSkinPoints(words, 1);
    return;
  }
  ctl.shapeKind = skRect;
  // "rect" is optional before the four numbers.
  size_t first = (!words.empty() && equalsNoCase(words[0], "rect")) ? 1 : 0;
  SkinCoord* fields[4] = {&ctl.rect.left, &ctl.rect.top, &ctl.rect.width, &ctl.rect.height};
  for (size_t i = 0; i < 4; ++i) *fields[i] = first + i < words.size() ? coordOf(words[first + i]) : SkinCoord{};
}

void readPictures(TSkinCtl& ctl, const TSkin& skin) {
  const SkinAttributes& a = ctl.attributes;
  if (ctl.fill == sfColor) {
    for (int s = 0; s < 4; ++s) {
      const char* key = a.has(kStateKeys[s]) ? kStateKeys[s] : "normal";
      ctl.pictures[s].color = parseSkinColor(a.value(key));
    }
    return;
  }
  if (ctl.fill == sfGradient) {
    for (int s = 0; s < 4; ++s) {
      std::string value = a.has(kStateKeys[s]) ? a.value(kStateKeys[s]) : a.has("normal") ? a.value("normal") : "0 0 0 0";
      std::vector<std::string> words = splitSkinWords(value);
      for (size_t i = 0; i < 4; ++i) ctl.pictures[s].gradient[i] = i < words.size() ? parseSkinColor(words[i]) : 0;
    }
    return;
  }
  // Bitmap pictures (also kept for fill none, where nothing is drawn).
  const RECT own = ctl.bounds(skin.defSize.cx, skin.defSize.cy);
  const int w = own.right - own.left, h = own.bottom - own.top;
  auto explicitPicture = [&](int s, RECT& out) {
    if (!a.has(kStateKeys[s])) return false;
    std::vector<std::string> words = splitSkinWords(a.value(kStateKeys[s]));
    if (words.size() >= 4)
      out = sourceAt(parseSkinNumber(words[0]).value, parseSkinNumber(words[1]).value, parseSkinNumber(words[2]).value,
                     parseSkinNumber(words[3]).value);
    else if (words.size() >= 2)
      out = sourceAt(parseSkinNumber(words[0]).value, parseSkinNumber(words[1]).value, w, h);
    else
      out = sourceAt(0, 0, 0, 0);
    return true;
  };
  RECT normal = sourceAt(own.left, own.top, w, h);
  explicitPicture(ssNormal, normal);
  ctl.pictures[ssNormal].source = normal;
  if (!explicitPicture(ssHilite, ctl.pictures[ssHilite].source))
    ctl.pictures[ssHilite].source = moved(normal, skin.hiliteOffset);
  if (!explicitPicture(ssDown, ctl.pictures[ssDown].source)) ctl.pictures[ssDown].source = moved(normal, skin.downOffset);
  if (!explicitPicture(ssHiliteDown, ctl.pictures[ssHiliteDown].source)) {
    const bool useDown = skin.hiliteDownOffset.x == 0 && skin.hiliteDownOffset.y == 0;
    ctl.pictures[ssHiliteDown].source = useDown ? ctl.pictures[ssDown].source : moved(normal, skin.hiliteDownOffset);
  }
}

}  // namespace

void SkinAttributes::add(std::string key, std::string value) {
  lines_.push_back(key + "=" + value);
  pairs_.emplace_back(std::move(key), std::move(value));
}

std::string SkinAttributes::value(std::string_view key) const {
  for (const auto& [k, v] : pairs_)
    if (equalsNoCase(k, key)) return v;
  return {};
}

bool SkinAttributes::has(std::string_view key) const {
  for (const auto& kv : pairs_)
    if (equalsNoCase(kv.first, key)) return true;
  return false;
}

RECT SkinRect::resolve(int windowWidth, int windowHeight) const {
  RECT r;
  r.left = left.resolve(windowWidth);
  r.top = top.resolve(windowHeight);
  r.right = width.farEdge ? windowWidth - width.value : r.left + width.value;
  r.bottom = height.farEdge ? windowHeight - height.value : r.top + height.value;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

std::vector<POINT> TSkinCtl::polygon(int windowWidth, int windowHeight) const {
  std::vector<POINT> out;
  out.reserve(points.size());
  for (const SkinPoint& p : points) out.push_back({p.x.resolve(windowWidth), p.y.resolve(windowHeight)});
  return out;
}

RECT TSkinCtl::bounds(int windowWidth, int windowHeight) const {
  if (shapeKind == skPolygon) {
    if (points.size() < 3) return {0, 0, 0, 0};
    RECT r = boundsOf(polygon(windowWidth, windowHeight));
    return r;
  }
  return rect.resolve(windowWidth, windowHeight);
}

bool TSkinCtl::contains(POINT p, int windowWidth, int windowHeight) const {
  if (shapeKind == skPolygon) return insidePolygon(polygon(windowWidth, windowHeight), p);
  RECT r = rect.resolve(windowWidth, windowHeight);
  return PtInRect(&r, p) != FALSE;
}

bool setHilitePart(TSkinCtl& ctl, bool on) {
  if (!ctl.isButton()) return false;
  int next = on ? (ctl.state | ssHilite) : (ctl.state & ~ssHilite);
  if (next == ctl.state) return false;
  ctl.state = next;
  return true;
}

bool setDownPart(TSkinCtl& ctl, bool on) {
  int next = on ? (ctl.state | ssDown) : (ctl.state & ~ssDown);
  if (next == ctl.state) return false;
  ctl.state = next;
  return true;
}

TSkinCtl* TSkin::findControl(std::string_view name) {
  for (TSkinCtl& c : controls)
    if (equalsNoCase(c.name(), name)) return &c;
  return nullptr;
}

const TSkinCtl* TSkin::findControl(std::string_view name) const {
  return const_cast<TSkin*>(this)->findControl(name);
}

int TSkin::hitTest(POINT p, int windowWidth, int windowHeight) const {
  for (int i = static_cast<int>(controls.size()) - 1; i >= 0; --i)
    if (controls[i].contains(p, windowWidth, windowHeight)) return i;
  return -1;
}

std::vector<POINT> TSkin::windowRegion(int windowWidth, int windowHeight) const {
  std::vector<POINT> out;
  if (region.size() < 3) return out;
  for (const SkinPoint& p : region) out.push_back({p.x.resolve(windowWidth), p.y.resolve(windowHeight)});
  return out;
}

SkinRect parseSkinRect(std::string_view value) {
  std::vector<std::string> words = splitSkinWords(value);
  SkinRect r;
  SkinCoord* fields[4] = {&r.left, &r.top, &r.width, &r.height};
  for (size_t i = 0; i < 4; ++i) *fields[i] = i < words.size() ? coordOf(words[i]) : SkinCoord{};
  return r;
}

std::vector<SkinPoint> parseSkinPoints(const std::vector<std::string>& words, size_t first) {
  std::vector<SkinPoint> points;
  // An odd word left over at the end has no partner and is dropped.
  for (size_t i = first; i + 1 < words.size(); i += 2) points.push_back({coordOf(words[i]), coordOf(words[i + 1])});
  return points;
}

POINT parseSkinPoint(std::string_view value, POINT fallback) {
  std::vector<std::string> words = splitSkinWords(value);
  if (words.size() < 2) return fallback;
  return {parseSkinNumber(words[0]).value, parseSkinNumber(words[1]).value};
}

std::unique_ptr<TSkin> parseSkin(const std::vector<std::string>& lines, SIZE bitmapSize) {
  auto skin = std::make_unique<TSkin>();
  size_t split = lines.size();
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == "..") {
      split = i;
      break;
    }
  // Controls section: blocks separated by ".".
  std::vector<SkinAttributes> blocks(1);
  std::string key, value;
  for (size_t i = 0; i < split; ++i) {
    if (lines[i] == ".") {
      blocks.emplace_back();
      continue;
    }
    if (splitSkinAttribute(lines[i], key, value)) blocks.back().add(key, value);
  }
  for (size_t i = split + 1; i < lines.size(); ++i)
    if (splitSkinAttribute(lines[i], key, value)) skin->attributes.add(key, value);

  const SkinAttributes& wa = skin->attributes;
  POINT minSize = parseSkinPoint(wa.value("minsize"), {0, 0});
  skin->minSize = {std::max<LONG>(0, minSize.x), std::max<LONG>(0, minSize.y)};
  POINT defSize = parseSkinPoint(wa.value("defsize"), {bitmapSize.cx, bitmapSize.cy});
  skin->defSize = {std::max<LONG>(0, defSize.x), std::max<LONG>(0, defSize.y)};
  skin->hiliteOffset = parseSkinPoint(wa.value("hilite"), {0, 0});
  skin->downOffset = parseSkinPoint(wa.value("down"), {0, 0});
  skin->hiliteDownOffset = wa.has("hilitedown") ? parseSkinPoint(wa.value("hilitedown"), {0, 0}) : skin->downOffset;
  if (wa.has("region")) skin->region = parseSkinPoints(splitSkinWords(wa.value("region")), 0);

  for (SkinAttributes& block : blocks) {
    // A block with no attribute (an empty block between two ".") makes no control.
    if (block.lines().empty()) continue;
    TSkinCtl ctl;
    ctl.attributes = std::move(block);
    readShape(ctl);
    ctl.action = ctl.attributes.has("action") ? ctl.attributes.value("action") : ctl.attributes.value("name");
    ctl.action1 = ctl.attributes.value("action1");
    ctl.relaction = ctl.attributes.value("relaction");
    ctl.onaction = ctl.attributes.value("onaction");
    ctl.offaction = ctl.attributes.value("offaction");
    ctl.type = typeOf(ctl.attributes);
    ctl.fill = fillOf(ctl.attributes, ctl.type);
    readPictures(ctl, *skin);
    ctl.state = ssNormal;
    skin->controls.push_back(std::move(ctl));
  }
  return skin;
}

}  // namespace zv::ui
