// TVideoWnd: the window that shows the pictures of a stream that has them.
// A sizeable frame of the program's family with the picture surface (a
// child window the playing instance draws into) and up to three tool panels
// below it: the main controls (times, seek bar, size buttons), the image
// controls (seven buttons choosing what the slider changes) and the
// statistics line. Four size modes: normal and double size in the frame,
// the desktop's work area and the whole screen without it. The zoom and
// position of each file live in its "VIDSET" record of the information cache.
#pragma once
#include <array>
#include <functional>
#include <string>

#include "frame_window.h"
#include "own_controls.h"
#include "picture_surface.h"
#include "video_layout.h"
#include "zv_playback.h"
#include "zv_plugins.h"

namespace zvplayer {

enum class VideoSizeMode { normal = 0, twice = 1, desktop = 2, fullScreen = 3 };
enum class VideoPanel { main = 0, image = 1, statistics = 2 };

class TVideoWnd : public zv::ui::TFrameWnd {
 public:
  // `text` gives a localised text ("key###default").
  using TextFn = std::function<std::string(const char*)>;
  explicit TVideoWnd(TextFn text);
  ~TVideoWnd() override;

  // Creates the (hidden) window with the frame of `root` owned by `owner`.
  bool create(const std::string& root, HWND owner);

  // Shows the pictures of `stream` (whose record the window reads while the
  // stream lasts): stores the previous file's record, loads the new file's,
  // lays out and tells the instance its window and rectangle.
  void showStream(ZvTarget stream, const ZvVideoStatusRec* status, int width, int height, const std::string& file);
  // Stores the file's record, forgets the stream and hides the window.
  void hideVideo();
  ZvTarget stream() const { return stream_; }

  void setSizeMode(VideoSizeMode mode);
  VideoSizeMode sizeMode() const { return mode_; }
  void togglePanel(VideoPanel panel);
  bool panelShown(VideoPanel panel) const { return panels_[static_cast<int>(panel)]; }
  // Chooses the control the slider changes, and changes one.
  void selectControl(int index);
  void setControl(int index, int32_t value);
  int32_t control(int index) const { return controls_[index]; }
  HWND pictureWindow() const { return surface_.hwnd(); }
  const std::string& statisticsText() const;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void layout() override;
  void runAction(zv::ui::TSkinCtl& ctl, int selector) override;

 private:
  void createPanels();
  void layoutPanels(const RECT& area);
  void placeWindow();
  void sendPictureRect();
  void sendAdjust();
  void storeFile();
  void loadFile(const std::string& file);
  void showControlValue();
  void onTimer();
  void showMenu(POINT at);
  bool onKey(UINT vk);
  void storeSettings();
  PictureZoom zoom() const;

  TextFn text_;
  PictureSurface surface_;
  ZvTarget stream_ = 0;
  const ZvVideoStatusRec* status_ = nullptr;
  int pictureWidth_ = 0, pictureHeight_ = 0;
  std::string file_;
  VideoSizeMode mode_ = VideoSizeMode::normal;
  std::array<bool, 3> panels_{};
  std::array<int32_t, 7> controls_{1000, 1000, 0, 0, 0, 0, 0};
  int current_ = 0;
  POINT centre_{};
  bool placing_ = false;  // the window is being moved by the size mode, not by the user

  zv::ui::TZText* pos_ = nullptr;
  zv::ui::TZText* total_ = nullptr;
  zv::ui::TZSlider* seekBar_ = nullptr;
  std::array<zv::ui::TZButton*, 4> sizeButtons_{};
  std::array<zv::ui::TZButton*, 7> controlButtons_{};
  zv::ui::TZSlider* controlSlider_ = nullptr;
  zv::ui::TZText* controlLabel_ = nullptr;
  zv::ui::TZText* statistics_ = nullptr;
  int seekRange_ = -1;
};

}  // namespace zvplayer
