#include "video_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "testkit.h"
#include "zv_memory.h"
#include "win32/owners.h"

namespace videotest {
namespace {

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= ZV_BUS_FIRST && msg <= ZV_BUS_LAST) {
    MSG m = {hwnd, msg, wp, lp, 0, {0, 0}};
    Note note{static_cast<ZvTarget>(wp), msg, {}};
    if (lp) {
      note.block.resize(size_t(_mgetsize(reinterpret_cast<void*>(lp))));
      getMsgPrm(&m, note.block.data());
    }
    notes().push_back(std::move(note));
    finishMsg(&m);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_PAINT) {
    zv::PaintDc dc(hwnd);
    if (auto* self = reinterpret_cast<const PictureWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)))
      self->paint(dc.get(), dc.area());
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// Stops an instance and waits for its thread to end, pumping meanwhile:
// nothing of it runs on into the next case, nor writes to a status record
// that has gone with its Stream.
void stopInstance(ZvTarget id) {
  HANDLE copy = nullptr;
  if (const ZvInstanceRec* rec = instanceInfoById(id); rec && rec->threadHandle)
    DuplicateHandle(GetCurrentProcess(), static_cast<HANDLE>(rec->threadHandle), GetCurrentProcess(), &copy,
                    SYNCHRONIZE, FALSE, 0);
  zv::UniqueKernelHandle thread(copy);
  stopPlugin(id);
  if (!thread) return;
  EXPECT_TRUE(zvtest::waitFor([&] {
    pump();
    return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0;
  }, 10000)) << "the instance's thread did not end";
}

}  // namespace

std::string media(const std::string& name) { return zvtest::testDir() + "\\media\\" + name; }

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

std::vector<Note>& notes() {
  static std::vector<Note> all;
  return all;
}

HWND owner() {
  static HWND w = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ownerProc;
    wc.lpszClassName = "ZvVideoTestOwner";
    RegisterClassA(&wc);
    return CreateWindowA("ZvVideoTestOwner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }();
  return w;
}

const Note* waitNote(ZvTarget from, UINT code, int ms) {
  const Note* found = nullptr;
  zvtest::waitFor([&] {
    pump();
    for (const Note& n : notes())
      if (n.from == from && n.code == code) {
        found = &n;
        return true;
      }
    return false;
  }, ms);
  return found;
}

int noteCount(ZvTarget from, UINT code) {
  int n = 0;
  for (const Note& note : notes())
    if (note.from == from && note.code == code) ++n;
  return n;
}

bool waitNoteCount(ZvTarget from, UINT code, int count, int ms) {
  return zvtest::waitFor([&] {
    pump();
    return noteCount(from, code) >= count;
  }, ms);
}

Stream::Stream(const std::string& file) {
  ZvOpenContext* context = nullptr;
  ZvTarget id = inOpen(file.c_str(), reinterpret_cast<ZvTarget>(owner()), &status_.audio, &context);
  while (id) {
    bool failed = false;
    zvtest::waitFor([&] {
      pump();
      for (const Note& n : notes()) {
        if (n.from != id) continue;
        if (n.code == msgOpened) {
          opened_ = true;
          std::memcpy(&report_, n.block.data(), std::min(n.block.size(), sizeof(report_)));
        }
        if (n.code == msgOpenFailed) failed = true;
      }
      return opened_ || failed;
    }, 15000);
    if (opened_ || !failed) break;
    stopInstance(id);
    id = inOpenNext(&context);
  }
  id_ = opened_ ? id : 0;
  // The context is of no use once an instance took the file.
  while (context && inOpenNext(&context)) {
  }
}

Stream::~Stream() {
  if (!id_) return;
  // A stream that ended has said "closed" already: the answer waited for is
  // the one to this close, not that earlier one.
  const int closed = noteCount(id_, msgClosed);
  inClose(id_, 0, 0);
  EXPECT_TRUE(waitNoteCount(id_, msgClosed, closed + 1, 10000)) << "the close was not answered";
  stopInstance(id_);
}

PictureWindow::PictureWindow(int width, int height) {
  static bool registered = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = pictureProc;
    wc.lpszClassName = "ZvVideoTestPicture";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  window_.reset(CreateWindowExA(0, "ZvVideoTestPicture", "pictures", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                          nullptr, nullptr, nullptr));
  hwnd_ = window_.get();
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    pump();
  }
}

void PictureWindow::attach(ZvTarget stream, ZvRect32 target) {
  stream_ = stream;
  target_ = target;
  inSetVideo(stream, hwnd_);
  inSetVideoRect(stream, target.left, target.top, target.right, target.bottom, 0, 0, 320, 240);
}

void PictureWindow::paint(HDC dc, const RECT& area) const {
  zv::UniqueBrush brush(CreateSolidBrush(kBackground));
  FillRect(dc, &area, brush.get());
  if (stream_)
    inSetVideoRect(stream_, target_.left, target_.top, target_.right, target_.bottom, 0, 0, 320, 240);
}

COLORREF PictureWindow::pixel(int x, int y) const {
  zv::WindowDc dc(hwnd_);
  return GetPixel(dc.get(), x, y);
}

int frameCode(const PictureWindow& w, double scale, int left, int top) {
  zv::WindowDc window(w.hwnd());
  HDC dc = window.get();
  int code = 0;
  for (int bit = 0; bit < 8 && code >= 0; ++bit) {
    COLORREF c = GetPixel(dc, left + int((bit * 40 + 20) * scale), top + int(15 * scale));
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (r > 200 && g > 200 && b > 200) code |= 1 << bit;
    else if (!(r < 50 && g < 50 && b < 50)) code = -1;
  }
  return code;
}

int waitFrame(const PictureWindow& w, int code, int ms) {
  int last = -1;
  zvtest::waitFor([&] {
    pump();
    last = frameCode(w);
    return last == code;
  }, ms);
  return last;
}

}  // namespace videotest
