// What the video input's tests share: the engine with only video.z in its
// plug-in folder, an owner window that collects the instance's notes, a
// real window the pictures are drawn into, and reading the frame number
// back from the binary strip at the top of the test videos.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "win32/owners.h"
#include "zv_playback.h"

namespace videotest {

struct Note {
  ZvTarget from;
  UINT code;
  std::vector<uint8_t> block;
};

// The test videos (made by fixture-setup.sh), as Windows paths.
std::string media(const std::string& name);

// Dispatches what waits in this thread's queue.
void pump();

// A message-only window standing in for the player's main window.
HWND owner();
std::vector<Note>& notes();
// Waits (pumping) for a note `code` from `from`; the first one found, or null.
const Note* waitNote(ZvTarget from, UINT code, int ms = 15000);
// How many notes `code` came from `from` so far.
int noteCount(ZvTarget from, UINT code);
// Waits (pumping) until `count` notes `code` came from `from`.
bool waitNoteCount(ZvTarget from, UINT code, int count, int ms = 15000);

// A stream opened through the engine, closed and stopped at the end: the
// destructor waits for the answer to its own close and for the instance's
// thread to end, so the status record (a member) outlives every write the
// instance could make to it.
class Stream {
 public:
  // Opens `file` (trying every candidate as the player does). id() is 0
  // when no input took it; opened() tells whether msgOpened came.
  explicit Stream(const std::string& file);
  ~Stream();
  ZvTarget id() const { return id_; }
  bool opened() const { return opened_; }
  const ZvOpenedPrm& report() const { return report_; }
  ZvVideoStatusRec& status() { return status_; }

 private:
  ZvVideoStatusRec status_{};
  ZvTarget id_ = 0;
  bool opened_ = false;
  ZvOpenedPrm report_{};
};

// A plain window with a 320x240 client area, painted magenta, shown. Like
// the video window it tells the stream where to draw (6130, 6131) and, after
// painting itself, asks for the picture again by sending the rectangle anew.
class PictureWindow {
 public:
  PictureWindow(int width = 320, int height = 240);
  PictureWindow(PictureWindow&&) = delete;  // the window keeps this object's address
  HWND hwnd() const { return hwnd_; }
  COLORREF pixel(int x, int y) const;
  // Pictures of `stream` go to `target`, from the whole 320x240 picture.
  void attach(ZvTarget stream, ZvRect32 target);
  void paint(HDC dc, const RECT& area) const;

 private:
  zv::UniqueWindow window_;
  HWND hwnd_ = nullptr;
  ZvTarget stream_ = 0;
  ZvRect32 target_{};
};

constexpr COLORREF kBackground = RGB(255, 0, 255);

// The frame number the strip shows, read at a scale (1 = full size) and
// offset; -1 when the strip is not clean black and white (no picture yet).
int frameCode(const PictureWindow& w, double scale = 1.0, int left = 0, int top = 0);

// Waits until the window shows frame `code`; the code last read.
int waitFrame(const PictureWindow& w, int code, int ms = 10000);

}  // namespace videotest
