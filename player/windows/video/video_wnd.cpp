#include "video_wnd.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "video_settings.h"
#include "vidset_store.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "help_request.h"

namespace zvplayer {
namespace {

constexpr UINT_PTR kTimerStatus = 1;
constexpr UINT kStatusPeriodMs = 250;
constexpr int kRowHeight = 26;       // main and image panels
constexpr int kStatisticsHeight = 20;
// Narrower than this, the statistics line takes two lines.
constexpr int kStatisticsWideWidth = 480;

int statisticsHeight(int width) { return width < kStatisticsWideWidth ? 2 * kStatisticsHeight - 4 : kStatisticsHeight; }
constexpr int kGap = 4;

constexpr const char* kSizeButtons[4][2] = {
    {"v1x", "1x"}, {"v2x", "2x"}, {"vDesk", "Desk"}, {"vFS", "FS"}};
constexpr const char* kSizeHints[4] = {"v1x###(1) Normal size", "v2x###(2) Double size", "vDesk###(3) Desktop",
                                       "vFS###(4) Fullscreen"};
constexpr const char* kControlCaptions[7] = {"HS", "VS", "HP", "VP", "Br", "Co", "Col"};
constexpr const char* kControlHints[7] = {"VidHSize###Horizontal size", "VidVSize###Vertical size",
                                          "VidHPos###Horizontal position", "VidVPos###Vertical position",
                                          "VidBright###Brightness", "VidContrast###Contrast", "VidColor###Color"};
constexpr const char* kPanelKeys[3] = {"video_cpl", "video_img", "video_stat"};

// The menu: text ("key###caption|command") and what it does.
enum MenuItem : UINT { menuNormal = 1, menuDouble, menuDesktop, menuFullScreen, menuMain, menuImage, menuStatistics };
constexpr const char* kMenuTexts[7] = {
    "VidNormSize###(1) Normal size|1x",        "VidDblSize###(2) Double size|2x",
    "VidDesktop###(3) Desktop|desk",           "VidFullscreen###(4) Fullscreen|fs",
    "VidMainPanel###(Space) Main control panel|cpl", "VidImgPanel###(I) Image control panel|img",
    "VidStatPanel###(S) Statistics panel|stat"};

// "key###caption|command": the key and caption go to the language lookup,
// the command after "|" is not shown.
std::string menuCaption(const TVideoWnd::TextFn& text, const char* entry) {
  std::string s = entry;
  const size_t bar = s.rfind('|');
  if (bar != std::string::npos) s.resize(bar);
  return text ? text(s.c_str()) : s.substr(s.find("###") + 3);
}

std::string timeText(int32_t ms) {
  if (ms < 0) ms = 0;
  const int32_t s = ms / 1000;
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%d:%02d", s / 60, s % 60);
  return buffer;
}

RECT workArea() {
  RECT r{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0) || IsRectEmpty(&r))
    r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return r;
}

}  // namespace

TVideoWnd::TVideoWnd(TextFn text) : TFrameWnd({}, zv::ui::FrameKind::sizeable), text_(std::move(text)) {
  useWindowClass("ZVVideoWindow");
  for (int i = 0; i < kImageControls; ++i) {
    const std::string key = "videoctl" + std::to_string(i);
    controls_[i] = clampControl(i, configInt(key.c_str(), i < 2 ? 1000 : 0));
  }
  for (int i = 0; i < 3; ++i) panels_[i] = configBool(kPanelKeys[i], ZV_FALSE) != ZV_FALSE;
  const RECT work = workArea();
  centre_.x = configInt("video_cx", (work.left + work.right) / 2);
  centre_.y = configInt("video_cy", (work.top + work.bottom) / 2);
  mode_ = configInt("video_cw", 1000) >= 2000 ? VideoSizeMode::twice : VideoSizeMode::normal;
}

// Destroyed here, while this class still answers WM_DESTROY (which stores
// the settings and the file's record).
TVideoWnd::~TVideoWnd() { destroy(); }

bool TVideoWnd::create(const std::string& root, HWND owner) {
  const std::string title = text_ ? text_("VideoTitle###Video") : "Video";
  if (!createFrame(root, title.c_str(), {kFallbackWidth, kFallbackHeight}, owner, false)) return false;
  if (!surface_.create(hwnd())) return false;
  createPanels();
  layout();
  return true;
}

// ---- Panels ----------------------------------------------------------------

void TVideoWnd::createPanels() {
  using namespace zv::ui;
  pos_ = &addElement<TZText>("", DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  pos_->setName("pos");
  seekBar_ = &addElement<TZSlider>(0, 0, 0);
  seekBar_->setName("tb");
  seekBar_->setStep(5000);
  seekBar_->onChange = [this](int ms) {
    if (stream_) inSeek(stream_, ms);
  };
  total_ = &addElement<TZText>("", DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  total_->setName("total");
  for (int i = 0; i < 4; ++i) {
    TZButton& b = addElement<TZButton>(kSizeButtons[i][1]);
    b.setName(kSizeButtons[i][0]);
    const std::string hint = text_ ? text_(kSizeHints[i]) : std::string(kSizeHints[i]).substr(std::strlen(kSizeButtons[i][0]) + 3);
    b.setHint(hint);
    b.onClick = [this, i] { setSizeMode(static_cast<VideoSizeMode>(i)); };
    sizeButtons_[i] = &b;
  }
  for (int i = 0; i < kImageControls; ++i) {
    TZButton& b = addElement<TZButton>(kControlCaptions[i]);
    b.setName("SpeedButton" + std::to_string(i + 1));
    const std::string hint = text_ ? text_(kControlHints[i]) : std::string(std::strstr(kControlHints[i], "###") + 3);
    b.setHint(hint);
    b.onClick = [this, i] { selectControl(i); };
    controlButtons_[i] = &b;
  }
  controlSlider_ = &addElement<TZSlider>(500, 2000, 1000);
  controlSlider_->setName("ctb");
  controlSlider_->setStep(10);
  controlSlider_->onChange = [this](int v) { setControl(current_, v); };
  controlLabel_ = &addElement<TZText>("", DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  statistics_ = &addElement<TZText>("", DT_LEFT);  // wraps in a narrow window
  showControlValue();
}

void TVideoWnd::layoutPanels(const RECT& area) {
  RECT a = area;
  auto row = [&](bool shown, int height) {
    RECT r{a.left, a.bottom, a.right, a.bottom};
    if (!shown) return r;
    r.top = std::max(a.top, a.bottom - height);
    a.bottom = r.top;
    return r;
  };
  // From the bottom up: statistics, image controls, main controls.
  const RECT stat = row(panels_[2], statisticsHeight(area.right - area.left));
  const RECT image = row(panels_[1], kRowHeight);
  const RECT main = row(panels_[0], kRowHeight);
  // Rolled up, the client area may have no height left for the picture.
  if (surface_.hwnd())
    MoveWindow(surface_.hwnd(), a.left, a.top, std::max(0L, a.right - a.left), std::max(0L, a.bottom - a.top), TRUE);

  auto place = [](zv::ui::UiElement* e, bool shown, LONG l, LONG t, LONG r, LONG b) {
    e->setVisible(shown && r > l);
    e->setRect({l, t, std::max(l, r), b});
  };
  const LONG mt = main.top + 3, mb = main.bottom - 3;
  LONG right = main.right - kGap;
  const int sizeWidths[4] = {26, 26, 40, 28};
  for (int i = 3; i >= 0; --i) {
    place(sizeButtons_[i], panels_[0], right - sizeWidths[i], mt, right, mb);
    right -= sizeWidths[i] + 2;
  }
  right -= kGap;
  place(pos_, panels_[0], main.left + kGap, mt, main.left + kGap + 40, mb);
  place(total_, panels_[0], right - 40, mt, right, mb);
  place(seekBar_, panels_[0], main.left + kGap + 46, mt, right - 46, mb);

  const LONG it = image.top + 3, ib = image.bottom - 3;
  LONG left = image.left + kGap;
  for (int i = 0; i < kImageControls; ++i) {
    const int w = i == 6 ? 30 : 26;
    place(controlButtons_[i], panels_[1], left, it, left + w, ib);
    left += w + 2;
  }
  place(controlLabel_, panels_[1], image.right - kGap - 52, it, image.right - kGap, ib);
  place(controlSlider_, panels_[1], left + kGap, it, image.right - kGap - 56, ib);
  place(statistics_, panels_[2], stat.left + kGap, stat.top + 2, stat.right - kGap, stat.bottom);
}

void TVideoWnd::togglePanel(VideoPanel panel) {
  const int i = static_cast<int>(panel);
  panels_[i] = !panels_[i];
  setConfigBool(kPanelKeys[i], panels_[i] ? ZV_TRUE : ZV_FALSE);
  // The picture keeps its size in the frame: the window grows or shrinks.
  if (mode_ == VideoSizeMode::normal || mode_ == VideoSizeMode::twice)
    placeWindow();
  else
    layout();
  if (panel == VideoPanel::statistics) onTimer();
}

// ---- Size modes and the picture rectangle ------------------------------------

void TVideoWnd::setSizeMode(VideoSizeMode mode) {
  mode_ = mode;
  placeWindow();
}

void TVideoWnd::placeWindow() {
  if (!hwnd()) return;
  const bool framed = mode_ == VideoSizeMode::normal || mode_ == VideoSizeMode::twice;
  LONG_PTR ex = GetWindowLongPtrA(hwnd(), GWL_EXSTYLE);
  ex = framed ? (ex & ~WS_EX_TOOLWINDOW) : (ex | WS_EX_TOOLWINDOW);
  SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, ex);
  RECT target{};
  bool topmost = false;
  if (framed) {
    // The frame's margins around its client area, and the shown panels.
    const SIZE now = clientSize();
    const RECT client = clientRect();
    const double scale = mode_ == VideoSizeMode::twice ? 2.0 : 1.0;
    const int width = int(std::lround((pictureWidth_ > 0 && pictureHeight_ > 0 ? pictureWidth_ : kFallbackWidth) * scale));
    const int panelHeight = (panels_[0] ? kRowHeight : 0) + (panels_[1] ? kRowHeight : 0) +
                            (panels_[2] ? statisticsHeight(width) : 0);
    const RECT frame{-client.left, -client.top, now.cx - client.right, now.cy - client.bottom + panelHeight};
    target = framedWindowRect(pictureWidth_, pictureHeight_, scale, frame,
                              centre_, workArea());
    topmost = configBool("Topmost", ZV_FALSE) != ZV_FALSE;
  } else if (mode_ == VideoSizeMode::desktop) {
    target = workArea();
  } else {
    target = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    topmost = true;
  }
  placing_ = true;
  // Without SWP_NOOWNERZORDER the owner (the main window, with a topmost
  // setting of its own) would be reordered too, and "not on top" would be
  // turned into a place above the owner, which keeps the topmost flag.
  SetWindowPos(hwnd(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, target.left, target.top, target.right - target.left,
               target.bottom - target.top, SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
  placing_ = false;
  layout();
}

void TVideoWnd::layout() {
  TFrameWnd::layout();
  if (!surface_.hwnd()) return;
  const bool framed = mode_ == VideoSizeMode::normal || mode_ == VideoSizeMode::twice;
  const SIZE size = clientSize();
  layoutPanels(framed ? clientRect() : RECT{0, 0, size.cx, size.cy});
  sendPictureRect();
}

PictureZoom TVideoWnd::zoom() const { return {controls_[0], controls_[1], controls_[2], controls_[3]}; }

void TVideoWnd::sendPictureRect() {
  RECT client{};
  GetClientRect(surface_.hwnd(), &client);
  const std::optional<RECT> r = pictureRect(client.right, client.bottom, pictureWidth_, pictureHeight_, zoom());
  // Nothing to draw into (a picture or surface without size): no rectangle.
  surface_.setPictureRect(r ? *r : RECT{0, 0, 0, 0});
  if (!r || !stream_) return;
  inSetVideoRect(stream_, r->left, r->top, r->right, r->bottom, 0, 0, pictureWidth_, pictureHeight_);
}

void TVideoWnd::sendAdjust() {
  if (!stream_) return;
  const ZvVideoAdjustPrm prm{controls_[4], controls_[5], controls_[6], {0, 0}};
  pluginMsg(stream_, msgInVideoAdjust, &prm, sizeof(prm));
}

// ---- Image controls ------------------------------------------------------------

void TVideoWnd::selectControl(int index) {
  if (index < 0 || index >= kImageControls) return;
  current_ = index;
  showControlValue();
}

void TVideoWnd::setControl(int index, int32_t value) {
  if (index < 0 || index >= kImageControls) return;
  value = clampControl(index, value);
  if (controls_[index] == value) return;
  controls_[index] = value;
  if (index == current_) showControlValue();
  if (index < 4)
    sendPictureRect();
  else
    sendAdjust();
}

void TVideoWnd::showControlValue() {
  if (!controlSlider_) return;
  const ControlRange range = controlRange(current_);
  controlSlider_->setRange(range.low, range.high);
  controlSlider_->setValue(controls_[current_]);
  controlLabel_->setText(controlLabel(controls_[current_]));
  for (int i = 0; i < kImageControls; ++i) {
    // The chosen control's button is written in brackets.
    const std::string caption = i == current_ ? std::string("[") + kControlCaptions[i] + "]" : kControlCaptions[i];
    if (controlButtons_[i]->caption() != caption) controlButtons_[i]->setCaption(caption);
  }
}

// ---- Streams and files -----------------------------------------------------------

void TVideoWnd::showStream(ZvTarget stream, const ZvVideoStatusRec* status, int width, int height,
                           const std::string& file) {
  if (file != file_) {
    storeFile();
    loadFile(file);
  }
  // A stream still fading out (a cross-fade) stops drawing here.
  if (stream_ && stream_ != stream) inSetVideo(stream_, nullptr);
  stream_ = stream;
  status_ = status;
  pictureWidth_ = width;
  pictureHeight_ = height;
  seekRange_ = -1;
  if (!IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_SHOWNA);
  placeWindow();
  inSetVideo(stream_, surface_.hwnd());
  sendPictureRect();
  sendAdjust();
  SetTimer(hwnd(), kTimerStatus, kStatusPeriodMs, nullptr);
  onTimer();
}

void TVideoWnd::hideVideo() {
  storeFile();
  file_.clear();
  stream_ = 0;
  status_ = nullptr;
  if (!hwnd()) return;
  KillTimer(hwnd(), kTimerStatus);
  onTimer();
  ShowWindow(hwnd(), SW_HIDE);
}

void TVideoWnd::storeFile() {
  if (!file_.empty()) storeVidset(file_, zoom());
}

void TVideoWnd::loadFile(const std::string& file) {
  file_ = file;
  if (const std::optional<PictureZoom> z = loadVidset(file)) {
    controls_[0] = z->hSize, controls_[1] = z->vSize, controls_[2] = z->hPos, controls_[3] = z->vPos;
  } else {
    controls_ = {1000, 1000, 0, 0, 0, 0, 0};
  }
  showControlValue();
}

const std::string& TVideoWnd::statisticsText() const {
  static const std::string none;
  return statistics_ ? statistics_->text() : none;
}

void TVideoWnd::onTimer() {
  if (!statistics_) return;
  const ZvVideoStatusRec* s = stream_ ? status_ : nullptr;
  if (panels_[2])
    statistics_->setText(s ? statisticsLine(pictureWidth_, pictureHeight_, s->frameRate2, s->frameRate,
                                            s->droppedPercent, s->syncOffsetMs, s->videoKbps)
                           : std::string());
  if (!s) {
    pos_->setText("");
    total_->setText("");
    seekBar_->setRange(0, 0);
    seekRange_ = -1;
    return;
  }
  pos_->setText(timeText(s->audio.positionMs));
  total_->setText(timeText(s->audio.lengthMs));
  if (s->audio.lengthMs != seekRange_) {
    seekRange_ = s->audio.lengthMs;
    seekBar_->setRange(0, std::max(0, seekRange_));
  }
  if (GetCapture() != hwnd()) seekBar_->setValue(s->audio.positionMs);
}

// ---- Keys, menu, messages ---------------------------------------------------------

bool TVideoWnd::onKey(UINT vk) {
  switch (vk) {
    case '1': case '2': case '3': case '4':
      setSizeMode(static_cast<VideoSizeMode>(vk - '1'));
      return true;
    case VK_ESCAPE:
      if (mode_ == VideoSizeMode::desktop || mode_ == VideoSizeMode::fullScreen) setSizeMode(VideoSizeMode::normal);
      return true;
    case VK_SPACE: togglePanel(VideoPanel::main); return true;
    case 'I': togglePanel(VideoPanel::image); return true;
    case 'S': togglePanel(VideoPanel::statistics); return true;
    // Up and down choose the image control; + and - change it a per cent at a time.
    case VK_UP: selectControl((current_ + kImageControls - 1) % kImageControls); return true;
    case VK_DOWN: selectControl((current_ + 1) % kImageControls); return true;
    case VK_ADD: case VK_OEM_PLUS: setControl(current_, controls_[current_] + 10); return true;
    case VK_SUBTRACT: case VK_OEM_MINUS: setControl(current_, controls_[current_] - 10); return true;
    default: return false;
  }
}

void TVideoWnd::showMenu(POINT at) {
  zv::UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  for (UINT id = menuNormal; id <= menuStatistics; ++id) {
    if (id == menuMain) AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    const bool checked = id <= menuFullScreen ? static_cast<UINT>(mode_) == id - menuNormal : panels_[id - menuMain];
    AppendMenuA(menu.get(), MF_STRING | (checked ? MF_CHECKED : 0), id,
                menuCaption(text_, kMenuTexts[id - 1]).c_str());
  }
  SetForegroundWindow(hwnd());
  const UINT chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
  if (chosen >= menuNormal && chosen <= menuFullScreen)
    setSizeMode(static_cast<VideoSizeMode>(chosen - menuNormal));
  else if (chosen >= menuMain && chosen <= menuStatistics)
    togglePanel(static_cast<VideoPanel>(chosen - menuMain));
}

void TVideoWnd::runAction(zv::ui::TSkinCtl& ctl, int selector) {
  if (ctl.action == "maximize") {
    setSizeMode(mode_ == VideoSizeMode::desktop ? VideoSizeMode::normal : VideoSizeMode::desktop);
    return;
  }
  TFrameWnd::runAction(ctl, selector);
}

void TVideoWnd::storeSettings() {
  for (int i = 0; i < kImageControls; ++i) setConfigInt(("videoctl" + std::to_string(i)).c_str(), controls_[i]);
  setConfigInt("video_cx", centre_.x);
  setConfigInt("video_cy", centre_.y);
  const int scale = mode_ == VideoSizeMode::twice ? 2000 : 1000;
  setConfigInt("video_cw", scale);
  setConfigInt("video_ch", scale);
  storeFile();
}

LRESULT TVideoWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "video.html")) return TRUE;
  switch (message) {
    case WM_KEYDOWN:
      if (onKey(static_cast<UINT>(wParam))) return 0;
      break;
    case WM_CONTEXTMENU: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (lParam == -1) GetCursorPos(&at);
      showMenu(at);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kTimerStatus) {
        onTimer();
        return 0;
      }
      break;
    case WM_CLOSE:
      // Closing only hides: the window comes back with the next pictures.
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      if (!placing_ && IsWindowVisible(hwnd()) &&
          (mode_ == VideoSizeMode::normal || mode_ == VideoSizeMode::twice)) {
        RECT r{};
        GetWindowRect(hwnd(), &r);
        centre_ = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      }
      break;
    case WM_DESTROY:
      KillTimer(hwnd(), kTimerStatus);
      storeSettings();
      break;
    default:
      break;
  }
  return TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zvplayer
