#include "skinned_window.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "skin_paint.h"
#include "win_pos.h"
#include "xlabel.h"

namespace zv::ui {

namespace {

const WindowClassInfo kSkinnedClass{"ZvSkinnedWnd", CS_DBLCLKS};

// Classes of skinned windows other than the toolkit's own (useWindowClass).
std::vector<std::string>& otherSkinnedClasses() {
  static std::vector<std::string> names;
  return names;
}

POINT pointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

void ensureCommonControls() {
  static bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

}  // namespace

std::string uiRootDir() {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return ".";
  CharLowerBuffA(path, n);
  std::string dir(path, n);
  size_t slash = dir.find_last_of('\\');
  dir = slash == std::string::npos ? std::string(".") : dir.substr(0, slash);
  if (dir.size() >= 4 && dir.compare(dir.size() - 4, 4, "\\bin") == 0) dir.resize(dir.size() - 4);
  return dir;
}

TSkinnedWnd::TSkinnedWnd(std::string posName, bool sizeable) : posName_(std::move(posName)), sizeable_(sizeable) {}

namespace {
// The bytes of every window's off-screen buffer (the resources usage window
// shows them).
std::atomic<int64_t> gBufferBytes{0};
int64_t bufferBytes(SIZE size) { return static_cast<int64_t>(size.cx) * size.cy * 4; }
}  // namespace

int64_t graphicsBufferBytes() { return gBufferBytes.load(); }

TSkinnedWnd::~TSkinnedWnd() {
  // The tooltip is owned by this window; it goes first.
  tooltip_.reset();
  destroy();
  gBufferBytes -= bufferBytes(bufferSize_);
}

bool TSkinnedWnd::createSkinned(const char* title, const TSkin* skin, HWND owner, bool visible) {
  skin_ = skin;
  SIZE size{skin ? skin->defSize.cx : 200, skin ? skin->defSize.cy : 100};
  if (size.cx <= 0) size.cx = 200;
  if (size.cy <= 0) size.cy = 100;
  WinPos pos;
  if (!posName_.empty()) pos = readWinPos(posName_);
  if (sizeable_ && pos.width != kNoPosition && pos.height != kNoPosition) {
    size.cx = std::clamp(pos.width, static_cast<int>(skin ? skin->minSize.cx : 0), kSkinCoordLimit);
    size.cy = std::clamp(pos.height, static_cast<int>(skin ? skin->minSize.cy : 0), kSkinCoordLimit);
  }
  RECT r = placeWindow(pos.left, pos.top, size);
  DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX | (visible ? WS_VISIBLE : 0);
  WindowClassInfo cls = kSkinnedClass;
  if (className_) {
    cls.name = className_;
    auto& others = otherSkinnedClasses();
    if (std::find(others.begin(), others.end(), className_) == others.end()) others.push_back(className_);
  }
  if (!create(cls, 0, title, style, r.left, r.top, size.cx, size.cy, owner)) return false;
  layout();
  if (pos.rolledUp) toggleRollup();
  return true;
}

void TSkinnedWnd::setSkin(const TSkin* skin, bool resize) {
  skin_ = skin;
  hot_ = pressed_ = -1;
  if (!hwnd()) return;
  if (resize && skin && skin->defSize.cx > 0 && skin->defSize.cy > 0) {
    rolledUp_ = false;
    SetWindowPos(hwnd(), nullptr, 0, 0, skin->defSize.cx, skin->defSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  layout();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TSkinnedWnd::bindComponent(const std::string& name, HWND child) {
  bound_.emplace_back(name, child);
  if (hwnd()) layoutChildren();
}

void TSkinnedWnd::adoptElement(std::unique_ptr<UiElement> element) {
  element->attach(this);
  elements_.push_back(std::move(element));
  elements_.back()->invalidate();
  if (hwnd()) rebuildTooltips();
}

UiElement* TSkinnedWnd::findElement(const std::string& name) const {
  for (const auto& e : elements_)
    if (e->name() == name) return e.get();
  return nullptr;
}

bool TSkinnedWnd::placeFromSkin(UiElement& element, const std::string& controlName) {
  const TSkinCtl* ctl = skin_ ? skin_->findControl(controlName) : nullptr;
  if (!ctl) return false;
  element.setRect(controlRect(*ctl));
  if (element.hint().empty()) element.setHint(ctl->attr("hint"));
  return true;
}

void TSkinnedWnd::addTabStop(HWND child) { tabStops_.push_back(child); }

// The focus chain: focusable elements in the order added, then tab stops.
namespace {
struct ChainEntry {
  UiElement* element;
  HWND child;
};
}  // namespace

void TSkinnedWnd::focusNext(bool backwards) {
  std::vector<ChainEntry> chain;
  for (const auto& e : elements_)
    if (e->focusable() && e->visible() && e->enabled()) chain.push_back({e.get(), nullptr});
  for (HWND w : tabStops_)
    if (IsWindowVisible(w) && IsWindowEnabled(w)) chain.push_back({nullptr, w});
  if (chain.empty()) return;
  int current = -1;
  HWND focusWindow = GetFocus();
  for (size_t i = 0; i < chain.size(); ++i)
    if ((chain[i].element && focus_ >= 0 && focusedElement() == chain[i].element && focusWindow == hwnd()) ||
        (chain[i].child && chain[i].child == focusWindow))
      current = static_cast<int>(i);
  const int n = static_cast<int>(chain.size());
  int next = current < 0 ? (backwards ? n - 1 : 0) : (current + (backwards ? n - 1 : 1)) % n;
  if (chain[next].element) {
    setFocusElement(chain[next].element);
  } else {
    setFocusElement(nullptr);
    SetFocus(chain[next].child);
  }
}

UiElement* TSkinnedWnd::focusedElement() const {
  return focus_ >= 0 && focus_ < static_cast<int>(elements_.size()) ? elements_[focus_].get() : nullptr;
}

void TSkinnedWnd::setFocusElement(UiElement* element) {
  UiElement* old = focusedElement();
  focus_ = -1;
  for (size_t i = 0; i < elements_.size(); ++i)
    if (elements_[i].get() == element) focus_ = static_cast<int>(i);
  if (element && hwnd() && GetFocus() != hwnd()) SetFocus(hwnd());
  if (old && old != element) old->focusChanged();
  if (element && element != old) element->focusChanged();
}

bool TSkinnedWnd::hasFocus(const UiElement* element) const {
  return element && element == focusedElement() && hwnd() && GetFocus() == hwnd();
}

SIZE TSkinnedWnd::clientSize() const {
  RECT r{};
  if (hwnd()) GetClientRect(hwnd(), &r);
  return {r.right, r.bottom};
}

RECT TSkinnedWnd::controlRect(const TSkinCtl& ctl) const {
  SIZE s = clientSize();
  return ctl.bounds(s.cx, s.cy);
}

void TSkinnedWnd::invalidateRect(const RECT& r) {
  lastInvalidated_ = r;
  if (hwnd()) InvalidateRect(hwnd(), &r, FALSE);
}

void TSkinnedWnd::invalidateControl(int index) {
  if (!skin_ || index < 0 || index >= static_cast<int>(skin_->controls.size())) return;
  ++controlRedraws_;
  invalidateRect(controlRect(skin_->controls[index]));
}

void TSkinnedWnd::setControlHilite(int index, bool on) {
  if (!skin_ || index < 0 || index >= static_cast<int>(skin_->controls.size())) return;
  if (setHilitePart(mutableSkin()->controls[index], on)) invalidateControl(index);
}

void TSkinnedWnd::setControlDown(int index, bool on) {
  if (!skin_ || index < 0 || index >= static_cast<int>(skin_->controls.size())) return;
  if (setDownPart(mutableSkin()->controls[index], on)) invalidateControl(index);
}

void TSkinnedWnd::toggleRollup() {
  if (!hwnd() || !skin_) return;
  RECT r;
  GetWindowRect(hwnd(), &r);
  if (!rolledUp_) {
    int height = rollupHeight();
    if (height <= 0) return;
    unrolledHeight_ = r.bottom - r.top;
    rolledUp_ = true;
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    rolledUp_ = false;
    int height = unrolledHeight_ > 0 ? unrolledHeight_ : skin_->defSize.cy;
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int TSkinnedWnd::rollupHeight() const { return skin_ ? parseSkinNumber(skin_->attr("rollup")).value : 0; }

void TSkinnedWnd::maximizeToWorkArea() {
  if (!hwnd()) return;
  RECT r, work{};
  GetWindowRect(hwnd(), &r);
  MONITORINFO info{sizeof(info)};
  if (GetMonitorInfoA(MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST), &info))
    work = info.rcWork;
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  if (work.bottom > r.top)
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, work.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSkinnedWnd::runAction(TSkinCtl& ctl, int) {
  const std::string& a = ctl.action;
  if (a == "close")
    PostMessageA(hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  else if (a == "minimize")
    PostMessageA(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  else if (a == "rollup")
    toggleRollup();
  else if (a == "maximize")
    maximizeToWorkArea();
}

void TSkinnedWnd::layout() {
  applyRegion();
  layoutChildren();
  rebuildTooltips();
}

void TSkinnedWnd::applyRegion() {
  if (!hwnd()) return;
  SIZE s = clientSize();
  std::vector<POINT> outline = skin_ && !rolledUp_ ? skin_->windowRegion(s.cx, s.cy) : std::vector<POINT>{};
  if (outline.empty()) {
    SetWindowRgn(hwnd(), nullptr, TRUE);
    return;
  }
  HRGN region = CreatePolygonRgn(outline.data(), static_cast<int>(outline.size()), ALTERNATE);
  // On success the system owns the region.
  if (region && !SetWindowRgn(hwnd(), region, TRUE)) UniqueRegion drop(region);
}

void TSkinnedWnd::layoutChildren() {
  if (!skin_ || !hwnd()) return;
  SIZE s = clientSize();
  for (const TSkinCtl& ctl : skin_->controls) {
    if (ctl.type != ctControl) continue;
    for (auto& [name, child] : bound_) {
      if (!equalsNoCase(name, ctl.name()) || !IsWindow(child)) continue;
      RECT r = ctl.bounds(s.cx, s.cy);
      MoveWindow(child, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
      if (ctl.shapeKind == skPolygon) {
        std::vector<POINT> poly = ctl.polygon(s.cx, s.cy);
        for (POINT& p : poly) p.x -= r.left, p.y -= r.top;
        HRGN region = poly.size() >= 3 ? CreatePolygonRgn(poly.data(), static_cast<int>(poly.size()), ALTERNATE) : nullptr;
        if (region && !SetWindowRgn(child, region, TRUE)) UniqueRegion drop(region);
      }
      if (TXLabel* label = TXLabel::fromWindow(child)) label->applySkin(ctl);
    }
  }
}

void TSkinnedWnd::rebuildTooltips() {
  if (!hwnd()) return;
  tooltip_.reset();
  std::vector<std::pair<RECT, std::string>> tips;
  if (skin_)
    for (const TSkinCtl& ctl : skin_->controls)
      if (std::string tip = controlTooltip(ctl); !tip.empty()) tips.emplace_back(controlRect(ctl), std::move(tip));
  for (const auto& e : elements_)
    if (!e->hint().empty()) tips.emplace_back(e->rect(), e->hint());
  if (tips.empty()) return;
  ensureCommonControls();
  tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                                 0, 0, hwnd(), nullptr, thisModule(), nullptr));
  if (!tooltip_) return;
  UINT id = 1;
  for (auto& [rect, text] : tips) {
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = id++;
    ti.rect = rect;
    ti.lpszText = text.data();
    SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

UiElement* TSkinnedWnd::elementAt(POINT p) const {
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it)
    if ((*it)->visible() && PtInRect(&(*it)->rect(), p)) return it->get();
  return nullptr;
}

void TSkinnedWnd::setHot(int index) {
  if (index == hot_) return;
  int old = hot_;
  hot_ = index;
  if (old >= 0) setControlHilite(old, false);
  if (index >= 0) setControlHilite(index, true);
}

void TSkinnedWnd::setHotElement(UiElement* element) {
  if (element == hotElement_) return;
  if (hotElement_) hotElement_->setHot(false);
  hotElement_ = element;
  if (element && element->enabled()) element->setHot(true);
}

void TSkinnedWnd::onMouseDown(POINT p, bool right) {
  if (dragging_ || pressed_ >= 0 || mouseElement_) return;
  if (UiElement* element = elementAt(p)) {
    if (!element->enabled()) return;
    if (element->focusable()) setFocusElement(element);
    mouseElement_ = element;
    SetCapture(hwnd());
    element->mouseDown(p, right);
    return;
  }
  SIZE s = clientSize();
  int index = skin_ ? skin_->hitTest(p, s.cx, s.cy) : -1;
  const TSkinCtl* ctl = index >= 0 ? &skin_->controls[index] : nullptr;
  if (!ctl || !ctl->isButton() || ctl->action == "caption") {
    // The press moves the window; the cursor's offset from the window's
    // corner is kept while the mouse moves.
    RECT r;
    GetWindowRect(hwnd(), &r);
    windowStart_ = {r.left, r.top};
    dragStart_ = {r.left + p.x, r.top + p.y};
    dragging_ = true;
    SetCapture(hwnd());
    return;
  }
  pressed_ = index;
  SetCapture(hwnd());
  setControlDown(index, true);
}

void TSkinnedWnd::onMouseMove(POINT p, WPARAM) {
  if (dragging_) {
    RECT r;
    GetWindowRect(hwnd(), &r);
    POINT now{r.left + p.x, r.top + p.y};
    int x = windowStart_.x + (now.x - dragStart_.x), y = windowStart_.y + (now.y - dragStart_.y);
    if (x != r.left || y != r.top) SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (mouseElement_) {
    mouseElement_->mouseDrag(p, PtInRect(&mouseElement_->rect(), p) != FALSE);
    return;
  }
  SIZE s = clientSize();
  if (pressed_ >= 0) {
    setControlDown(pressed_, skin_->controls[pressed_].contains(p, s.cx, s.cy));
    return;
  }
  if (!tracking_) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd(), 0};
    tracking_ = TrackMouseEvent(&tme) != FALSE;
  }
  UiElement* element = elementAt(p);
  setHotElement(element);
  setHot(element || !skin_ ? -1 : skin_->hitTest(p, s.cx, s.cy));
}

void TSkinnedWnd::onMouseUp(POINT p, bool right, WPARAM keys) {
  if (dragging_) {
    dragging_ = false;
    ReleaseCapture();
    return;
  }
  if (UiElement* element = mouseElement_) {
    mouseElement_ = nullptr;
    ReleaseCapture();
    element->mouseUp(p, PtInRect(&element->rect(), p) != FALSE, right);
    return;
  }
  if (pressed_ < 0) return;
  const int index = pressed_;
  pressed_ = -1;  // before ReleaseCapture, whose WM_CAPTURECHANGED would cancel it
  ReleaseCapture();
  SIZE s = clientSize();
  TSkinCtl& ctl = mutableSkin()->controls[index];
  setControlDown(index, false);
  const bool over = ctl.contains(p, s.cx, s.cy);
  setHot(over ? index : skin_->hitTest(p, s.cx, s.cy));
  if (over && !ctl.action.empty()) runAction(ctl, (right || (keys & MK_SHIFT)) ? 1 : 0);
}

void TSkinnedWnd::onMouseLeave() {
  tracking_ = false;
  if (pressed_ >= 0 || dragging_ || mouseElement_) return;
  setHot(-1);
  setHotElement(nullptr);
}

LRESULT TSkinnedWnd::onHitTest(LPARAM lParam) {
  if (!sizeable_ || rolledUp_ || IsZoomed(hwnd())) return HTCLIENT;
  POINT p = pointOf(lParam);
  RECT r;
  GetWindowRect(hwnd(), &r);
  const int b = borderWidth();
  const bool left = p.x < r.left + b, right = p.x >= r.right - b, top = p.y < r.top + b, bottom = p.y >= r.bottom - b;
  if (top && left) return HTTOPLEFT;
  if (top && right) return HTTOPRIGHT;
  if (bottom && left) return HTBOTTOMLEFT;
  if (bottom && right) return HTBOTTOMRIGHT;
  if (left) return HTLEFT;
  if (right) return HTRIGHT;
  if (top) return HTTOP;
  if (bottom) return HTBOTTOM;
  return HTCLIENT;
}

bool TSkinnedWnd::onKey(UINT vk) {
  if (vk == VK_TAB) {
    focusNext(GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  UiElement* element = focusedElement();
  return element && element->enabled() && element->key(vk);
}

// Whether a window is of that class of this module: only then do its extra
// bytes hold one of our objects.
bool isOurWindowClass(HWND window, const char* className) {
  char name[64] = {};
  return window && GetClassNameA(window, name, sizeof(name)) > 0 && std::strcmp(name, className) == 0 &&
         reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) == thisModule();
}

TSkinnedWnd* TSkinnedWnd::fromWindow(HWND window) {
  bool ours = isOurWindowClass(window, kSkinnedClass.name);
  for (const std::string& name : otherSkinnedClasses())
    if (!ours) ours = isOurWindowClass(window, name.c_str());
  return ours ? dynamic_cast<TSkinnedWnd*>(WindowBase::from(window)) : nullptr;
}

bool TSkinnedWnd::translateUiMessage(MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !msg.hwnd) return false;
  // A Tab in a child (an EDIT) moves on in its skinned window's chain.
  HWND parent = GetParent(msg.hwnd);
  if (!parent) return false;
  TSkinnedWnd* window = fromWindow(parent);
  if (!window || std::find(window->tabStops_.begin(), window->tabStops_.end(), msg.hwnd) == window->tabStops_.end())
    return false;
  window->focusNext(GetKeyState(VK_SHIFT) < 0);
  return true;
}

void TSkinnedWnd::ensureBuffer(int width, int height) {
  width = std::max(1, width);
  height = std::max(1, height);
  if (buffer_ && width <= bufferSize_.cx && height <= bufferSize_.cy) return;
  // Grows only: a window that shrinks and grows again keeps one buffer.
  width = std::max<int>(width, bufferSize_.cx);
  height = std::max<int>(height, bufferSize_.cy);
  bufferDc_.reset();
  gBufferBytes -= bufferBytes(bufferSize_);
  buffer_ = createDib(width, height, &bufferBits_);
  if (!buffer_) {
    bufferSize_ = {0, 0};
    return;
  }
  bufferSize_ = {width, height};
  gBufferBytes += bufferBytes(bufferSize_);
  bufferDc_.reset(CreateCompatibleDC(nullptr));
  SelectObject(bufferDc_.get(), buffer_.get());  // the DC is deleted before the bitmap, never reselected
}

void TSkinnedWnd::paintSkin(HDC dc, int width, int height, const RECT& area) {
  if (!skin_) {
    fillSolid(dc, area, RGB(40, 40, 40));
    return;
  }
  drawSkinBackground(dc, *skin_, width, height, &area);
  for (const TSkinCtl& ctl : skin_->controls) drawSkinControl(dc, *skin_, ctl, width, height, &area);
}

void TSkinnedWnd::paintBackgroundPart(HDC dc, const RECT& area) {
  SIZE s = clientSize();
  int saved = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, area.right - area.left, area.bottom - area.top);
  SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
  paintSkin(dc, s.cx, s.cy, area);
  RestoreDC(dc, saved);
}

void TSkinnedWnd::renderAll() {
  SIZE s = clientSize();
  ensureBuffer(s.cx, s.cy);
  if (!bufferDc_) return;
  HDC dc = bufferDc_.get();
  int saved = SaveDC(dc);
  paintSkin(dc, s.cx, s.cy, {0, 0, s.cx, s.cy});
  for (const auto& e : elements_)
    if (e->visible()) e->paint(dc);
  paintOver(dc, s.cx, s.cy);
  RestoreDC(dc, saved);
}

void TSkinnedWnd::onPaint() {
  PaintDc paint(hwnd());
  ++paints_;
  SIZE s = clientSize();
  ensureBuffer(s.cx, s.cy);
  if (!bufferDc_) return;
  const RECT& area = paint.area();
  HDC dc = bufferDc_.get();
  int saved = SaveDC(dc);
  // Only the invalid part is drawn again; a control's state change redraws
  // its own rectangle.
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  paintSkin(dc, s.cx, s.cy, area);
  RECT overlap;
  for (const auto& e : elements_)
    if (e->visible() && IntersectRect(&overlap, &e->rect(), &area)) e->paint(dc);
  paintOver(dc, s.cx, s.cy);
  RestoreDC(dc, saved);
  BitBlt(paint.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left, area.top,
         SRCCOPY);
}

COLORREF TSkinnedWnd::bufferPixel(int x, int y) const {
  if (!bufferBits_ || x < 0 || y < 0 || x >= bufferSize_.cx || y >= bufferSize_.cy) return 0;
  GdiFlush();
  uint32_t v = bufferBits_[static_cast<size_t>(y) * bufferSize_.cx + x];
  return RGB((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
}

void TSkinnedWnd::onSize() {
  layout();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TSkinnedWnd::storePosition() {
  if (posName_.empty() || !hwnd() || IsIconic(hwnd())) return;
  RECT r;
  GetWindowRect(hwnd(), &r);
  WinPos pos;
  pos.left = r.left;
  pos.top = r.top;
  pos.rolledUp = rolledUp_;
  pos.width = r.right - r.left;
  pos.height = rolledUp_ ? unrolledHeight_ : r.bottom - r.top;
  writeWinPos(posName_, pos, sizeable_);
}

LRESULT TSkinnedWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: onPaint(); return 0;
    case WM_SIZE: if (wParam != SIZE_MINIMIZED) onSize(); return 0;
    case WM_NCHITTEST: return onHitTest(lParam);
    case WM_GETMINMAXINFO:
      if (skin_) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {std::max<LONG>(1, skin_->minSize.cx), rolledUp_ ? 1 : std::max<LONG>(1, skin_->minSize.cy)};
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: onMouseDown(pointOf(lParam), false); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: onMouseDown(pointOf(lParam), true); return 0;
    case WM_MOUSEMOVE: onMouseMove(pointOf(lParam), wParam); return 0;
    case WM_LBUTTONUP: onMouseUp(pointOf(lParam), false, wParam); return 0;
    case WM_RBUTTONUP: onMouseUp(pointOf(lParam), true, wParam); return 0;
    case WM_MOUSELEAVE: onMouseLeave(); return 0;
    case WM_MOUSEWHEEL:
      if (UiElement* e = focusedElement()) e->mouseWheel(static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd()) {
        dragging_ = false;
        if (pressed_ >= 0) {
          int index = pressed_;
          pressed_ = -1;
          setControlDown(index, false);
        }
        if (UiElement* e = mouseElement_) {
          mouseElement_ = nullptr;
          e->mouseUp({-1, -1}, false, false);
        }
      }
      return 0;
    case WM_KEYDOWN:
      if (onKey(static_cast<UINT>(wParam))) return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (UiElement* e = focusedElement()) e->focusChanged();
      return 0;
    case WM_DESTROY:
      storePosition();
      tooltip_.release();  // destroyed with its owner
      break;
  }
  return passOn(message, wParam, lParam);
}

}  // namespace zv::ui
