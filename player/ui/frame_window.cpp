#include "frame_window.h"

#include <algorithm>

#include "gdi_text.h"
#include "skin_paint.h"

namespace zv::ui {

namespace {

const int kPlainWidth = 240, kPlainHeight = 120;

// The plain frame: three copies of the frame stacked (normal, hot, pressed
// buttons), so the skin's "hilite" and "down" offsets find them.
const char kPlainFrameText[] =
    "name=close\naction=close\nshape=!22 5 16 16\nhint=Close\n.\n"
    "name=maximize\naction=maximize\nshape=!40 5 16 16\nhint=Maximize\n.\n"
    "name=rollup\naction=rollup\nshape=!58 5 16 16\nhint=Roll up\n.\n"
    "name=minimize\naction=minimize\nshape=!76 5 16 16\nhint=Minimize\n"
    "..\n"
    "defsize=240 120\nminsize=160 60\nclient=6 26 !6 !6\ncaption=10 4 !90 18\n"
    "font=Tahoma 8 b\ncaptioncolor=#E6E8EE\nhilite=0 120\ndown=0 240\nrollup=26\n";

struct Canvas {
  PixelImage image;
  void fill(int x0, int y0, int x1, int y1, uint32_t rgb) {
    for (int y = std::max(0, y0); y < std::min(image.height, y1); ++y)
      for (int x = std::max(0, x0); x < std::min(image.width, x1); ++x)
        image.pixels[static_cast<size_t>(y) * image.width + x] = rgb;
  }
  void dot(int x, int y, uint32_t rgb) { fill(x, y, x + 1, y + 1, rgb); }
};

void drawPlainFrame(Canvas& c, int y0, int buttonState, bool sizeable, bool closeOnly) {
  const uint32_t edge = 0x1a1d23, face = 0x2c3038, caption = 0x353a44, client = 0x23262d, glyph = 0xc8ccd6;
  const uint32_t hot = 0x4a5262, down = 0x569cf0;
  c.fill(0, y0, kPlainWidth, y0 + kPlainHeight, face);
  c.fill(0, y0, kPlainWidth, y0 + 1, edge);
  c.fill(0, y0 + kPlainHeight - 1, kPlainWidth, y0 + kPlainHeight, edge);
  c.fill(0, y0, 1, y0 + kPlainHeight, edge);
  c.fill(kPlainWidth - 1, y0, kPlainWidth, y0 + kPlainHeight, edge);
  c.fill(1, y0 + 1, kPlainWidth - 1, y0 + 25, caption);
  c.fill(6, y0 + 26, kPlainWidth - 6, y0 + kPlainHeight - 6, client);
  if (sizeable)
    for (int i = 0; i < 3; ++i) c.fill(kPlainWidth - 5 - 3 * i, y0 + kPlainHeight - 3, kPlainWidth - 4 - 3 * i, y0 + kPlainHeight - 2, glyph);
  const int lefts[4] = {kPlainWidth - 22, kPlainWidth - 40, kPlainWidth - 58, kPlainWidth - 76};
  for (int b = 0; b < (closeOnly ? 1 : 4); ++b) {
    const int x = lefts[b], y = y0 + 5;
    if (buttonState) c.fill(x, y, x + 16, y + 16, buttonState == 1 ? hot : down);
    switch (b) {
      case 0:  // close: a cross
        for (int i = 4; i < 12; ++i) c.dot(x + i, y + i, glyph), c.dot(x + 15 - i, y + i, glyph);
        break;
      case 1:  // maximize: a box
        c.fill(x + 4, y + 4, x + 12, y + 5, glyph), c.fill(x + 4, y + 11, x + 12, y + 12, glyph);
        c.fill(x + 4, y + 4, x + 5, y + 12, glyph), c.fill(x + 11, y + 4, x + 12, y + 12, glyph);
        break;
      case 2:  // roll up: a caret
        for (int i = 0; i < 4; ++i) c.fill(x + 8 - i - 1, y + 6 + i, x + 8 + i + 1, y + 7 + i, glyph);
        break;
      default:  // minimize: a bar
        c.fill(x + 4, y + 10, x + 12, y + 12, glyph);
        break;
    }
  }
}

}  // namespace

const char* frameSkinFile(FrameKind kind) {
  switch (kind) {
    case FrameKind::sizeable: return "sizewin.skn";
    case FrameKind::dialog: return "dialog.skn";
    default: return "window.skn";
  }
}

std::unique_ptr<TSkin> builtinFrameSkin(FrameKind kind) {
  Canvas canvas;
  canvas.image.width = kPlainWidth;
  canvas.image.height = kPlainHeight * 3;
  canvas.image.pixels.assign(static_cast<size_t>(kPlainWidth) * kPlainHeight * 3, 0);
  for (int state = 0; state < 3; ++state) drawPlainFrame(canvas, state * kPlainHeight, state, kind == FrameKind::sizeable, kind == FrameKind::dialog);
  std::string text = kPlainFrameText;
  SkinLines lines = readSkinLines("plain.skn", [&](const std::string&) { return std::optional<std::string>(text); });
  auto skin = parseSkin(lines.lines, {kPlainWidth, kPlainHeight * 3});
  if (kind == FrameKind::dialog) {
    // Dialogs close only.
    std::erase_if(skin->controls, [](const TSkinCtl& c) { return c.action != "close"; });
  }
  skin->bitmap = SkinBitmap(std::move(canvas.image));
  return skin;
}

std::unique_ptr<TSkin> loadFrameSkin(const std::string& root, FrameKind kind) {
  const std::string folder = root + "\\skins\\";
  SkinLoadResult result = loadSkin(folder + frameSkinFile(kind), folder + "window.bmp");
  if (result.ok() && !result.skin->bitmap.empty()) return std::move(result.skin);
  return builtinFrameSkin(kind);
}

TFrameWnd::TFrameWnd(std::string posName, FrameKind kind)
    : TSkinnedWnd(std::move(posName), kind == FrameKind::sizeable), kind_(kind) {}

bool TFrameWnd::createFrame(const std::string& root, const char* title, SIZE clientSize, HWND owner, bool visible) {
  frame_ = loadFrameSkin(root, kind_);
  pictureSize_ = frame_->defSize;
  captionFont_ = createSkinFont(parseSkinFont(frame_->attr("font"), SkinFontDesc{"Tahoma", 8, true}));
  if (clientSize.cx > 0 && clientSize.cy > 0) {
    // The window is the client plus the frame's margins around "client".
    SkinRect client = parseSkinRect(frame_->attr("client"));
    RECT c = client.resolve(frame_->defSize.cx, frame_->defSize.cy);
    frame_->defSize.cx = std::max<LONG>(frame_->minSize.cx, clientSize.cx + frame_->defSize.cx - (c.right - c.left));
    frame_->defSize.cy = std::max<LONG>(frame_->minSize.cy, clientSize.cy + frame_->defSize.cy - (c.bottom - c.top));
  }
  return createSkinned(title, frame_.get(), owner, visible);
}

RECT TFrameWnd::clientRect() const {
  SIZE s = clientSize();
  if (!skin() || !skin()->attributes.has("client")) return {0, 0, s.cx, s.cy};
  return parseSkinRect(skin()->attr("client")).resolve(s.cx, s.cy);
}

RECT TFrameWnd::captionRect(int width, int height) const {
  std::string value = skin()->attr("caption");
  if (splitSkinWords(value).size() >= 4) return parseSkinRect(value).resolve(width, height);
  if (const TSkinCtl* ctl = skin()->findControl("caption")) return ctl->bounds(width, height);
  RECT client = clientRect();
  return {8, 0, width - 8, client.top};
}

int TFrameWnd::rollupHeight() const {
  int height = TSkinnedWnd::rollupHeight();
  if (height > 0) return height;
  return clientRect().top;
}

void TFrameWnd::layout() { TSkinnedWnd::layout(); }

void TFrameWnd::paintSkin(HDC dc, int width, int height, const RECT& area) {
  const TSkin* frame = skin();
  if (!frame) return TSkinnedWnd::paintSkin(dc, width, height, area);
  const LONG dw = pictureSize_.cx, dh = pictureSize_.cy;
  RECT picture{0, 0, dw, dh};
  if (splitSkinWords(frame->attr("frame")).size() >= 4) {
    SkinRect f = parseSkinRect(frame->attr("frame"));
    picture = {f.left.value, f.top.value, f.left.value + f.width.value, f.top.value + f.height.value};
  }
  const LONG pw = picture.right - picture.left, ph = picture.bottom - picture.top;
  RECT client = parseSkinRect(frame->attr("client")).resolve(pw, ph);
  auto inset = [&](const char* key, LONG fallback) {
    return frame->attributes.has(key) ? static_cast<LONG>(parseSkinNumber(frame->attr(key)).value) : fallback;
  };
  // "sides": the left and the right width (one number: both).
  LONG left = client.left, right = pw - client.right;
  if (frame->attributes.has("sides")) {
    std::vector<std::string> words = splitSkinWords(frame->attr("sides"));
    if (!words.empty()) left = right = parseSkinNumber(words[0]).value;
    if (words.size() >= 2) right = parseSkinNumber(words[1]).value;
  }
  // Everything but the picture's middle column and row is kept at its size
  // (at least the "sides", "upper" and "lower" parts): a logo in the caption
  // strip or the rounded border of the client area never stretches, only
  // the plain middle does.
  const LONG keepX = std::max<LONG>(0, (pw - 2) / 2), keepY = std::max<LONG>(0, (ph - 2) / 2);
  drawNineSlice(dc, frame->bitmap, picture, {0, 0, width, height},
                {std::max(left, keepX), std::max(inset("upper", client.top), keepY), std::max(right, keepX),
                 std::max(inset("lower", ph - client.bottom), keepY)});
  if (frame->attributes.has("clientcolor")) fillSolid(dc, clientRect(), parseSkinColor(frame->attr("clientcolor")));
  for (const TSkinCtl& ctl : frame->controls) drawSkinControl(dc, *frame, ctl, width, height, &area);
  // The caption.
  char title[256] = {};
  GetWindowTextA(hwnd(), title, sizeof(title));
  RECT caption = captionRect(width, height);
  SelectedObject font(dc, captionFont_.get());
  SetBkMode(dc, TRANSPARENT);
  const char* colorKey = frame->attributes.has("captioncolor") ? "captioncolor" : "color";
  SetTextColor(dc, frame->attributes.has(colorKey) ? parseSkinColor(frame->attr(colorKey)) : RGB(230, 232, 238));
  drawActiveText(dc, title, -1, &caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

}  // namespace zv::ui
