// CPU cost of the built-in visualiser per drawn frame, at the classic
// 275 x 116 display and at four times its area: the drawing alone, and the
// whole `vis` thread (drawing plus the copy to a real window) measured by
// its thread time while it runs at 30 frames a second.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "benchkit.h"
#include "playback/vis/vis_frame.h"
#include "win32/owners.h"
#include "zv_plugins.h"
#include "zv_vis.h"
#include "zvdsp.h"

namespace {

int32_t planeLength() {
  ZvOutParams p = {};
  outGetParams(&p);
  return p.visFrames;
}

void fillBuffer(ZvVisBuffer& vis, int phase) {
  for (int i = 0; i < ZV_VIS_PLANE; ++i) {
    vis.scopeLeft[i] = int8_t(std::lround(120 * std::sin((i + phase) * 0.05)));
    vis.scopeRight[i] = int8_t(-vis.scopeLeft[i]);
    vis.spectrumLeft[i] = uint8_t((i * 7 + phase) % 160);
    vis.spectrumRight[i] = uint8_t((i * 3 + phase) % 150);
  }
}

zv::PixelImage background(int32_t w, int32_t h) {
  zv::PixelImage im;
  im.width = w;
  im.height = h;
  for (int32_t i = 0; i < w * h; ++i) im.pixels.push_back(uint32_t(i * 2654435761u) & 0x3F3F3F);
  return im;
}

ZvVisSettings settings(int32_t mode, const std::string& skinDir) {
  ZvVisSettings s = {};
  s.mode = mode;
  const uint32_t g[3] = {0x008000, 0x00FFFF, 0x0000FF};
  for (int i = 0; i < 3; ++i) s.gradient1[i] = s.gradient2[i] = g[i];
  s.trailDecay = 16;
  s.barFall = 24;
  std::strncpy(s.skinDir, skinDir.c_str(), sizeof(s.skinDir) - 1);
  return s;
}

// Seconds of drawing per frame, the data changing every frame as in playback.
double drawingOnly(int32_t w, int32_t h, int32_t mode) {
  zv::VisFrame frame;
  zv::VisSkin skin;
  skin.inactive = background(w, h);
  frame.setup(w, h, settings(mode, ""), skin);
  std::vector<uint32_t> out(size_t(w) * size_t(h));
  // Data prepared beforehand, so only the drawing is timed.
  static std::vector<ZvVisBuffer> buffers(8);
  for (size_t i = 0; i < buffers.size(); ++i) fillBuffer(buffers[i], int(i) * 37);
  const int32_t n = planeLength();
  size_t next = 0;
  return zvbench::secondsPerItem([&](int64_t count) {
    for (int64_t i = 0; i < count; ++i) frame.draw(buffers[next++ % buffers.size()], n, out.data());
  });
}

void writeSkin(const std::string& dir, int32_t w, int32_t h) {
  const uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u;
  std::vector<uint8_t> file(54 + size_t(stride) * size_t(h), 0x20);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  std::memset(file.data(), 0, 54);
  file[0] = 'B';
  file[1] = 'M';
  put32(2, uint32_t(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  file[26] = 1;
  file[28] = 24;
  CreateDirectoryA(dir.c_str(), nullptr);
  zvbench::writeFile(dir + "\\inactive.bmp", file.data(), file.size());
}

double threadSeconds(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
  auto s = [](FILETIME t) { return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7; };
  return s(kernel) + s(user);
}

// Share of one core that the `vis` thread takes while drawing into a window.
double wholeThreadShare(int32_t w, int32_t h, int32_t mode, double* framesDrawn) {
  const std::string dir = zvbench::workDir() + "\\visbench_" + std::to_string(w);
  writeSkin(dir, w, h);
  RECT r = {0, 0, w, h};
  AdjustWindowRectEx(&r, WS_POPUP, FALSE, 0);
  zv::UniqueWindow owner(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 20, 20, r.right - r.left,
                                         r.bottom - r.top, nullptr, nullptr, nullptr, nullptr));
  if (!owner) return -1;
  HWND window = owner.get();
  ZvTarget id = startPlugin("vis", GetCurrentThreadId());
  const ZvInstanceRec* rec = instanceInfoById(id);
  HANDLE copy = nullptr;
  DuplicateHandle(GetCurrentProcess(), static_cast<HANDLE>(rec->threadHandle), GetCurrentProcess(), &copy,
                  THREAD_QUERY_INFORMATION | SYNCHRONIZE, FALSE, 0);
  zv::UniqueKernelHandle owned(copy);
  HANDLE thread = owned.get();
  const ZvVisSettings s = settings(mode, dir);
  pluginMsg(id, msgVisSettings, &s, sizeof(s));
  ZvWindowPrm prm = {window};
  pluginMsg(id, msgVisWindow, &prm, sizeof(prm));
  Sleep(300);  // skin loaded, timer running
  const double cpu0 = threadSeconds(thread), t0 = zvbench::now();
  int phase = 0;
  while (zvbench::now() - t0 < 3.0) {
    fillBuffer(*getVisData(), ++phase);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(15);
  }
  const double cpu = threadSeconds(thread) - cpu0, wall = zvbench::now() - t0;
  stopPlugin(id);
  WaitForSingleObject(thread, 2000);
  *framesDrawn = wall * 1000.0 / 33.0;
  return cpu / wall;
}

}  // namespace

int main() {
  initPlugins();
  struct Size {
    int32_t w, h;
    const char* name;
  } sizes[] = {{275, 116, "275x116"}, {550, 232, "550x232 (4x area)"}};
  const char* modes[] = {"oscilloscope", "spectrum"};
  for (const Size& size : sizes) {
    for (int32_t mode = 0; mode < 2; ++mode) {
      const double perFrame = drawingOnly(size.w, size.h, mode);
      const std::string what = std::string(modes[mode]) + " " + size.name;
      zvbench::report("drawing only, per frame, " + what, perFrame * 1e6, "us");
      zvbench::report("drawing only, share of one core at 30 frames/s, " + what, perFrame * 30 * 100, "%");
    }
  }
  for (const Size& size : sizes) {
    for (int32_t mode = 0; mode < 2; ++mode) {
      double frames = 0;  // timer ticks in the measured time
      const double share = wholeThreadShare(size.w, size.h, mode, &frames);
      const std::string what = std::string(modes[mode]) + " " + size.name;
      if (share < 0) {
        zvbench::report("vis thread (no window could be made), " + what, 0, "%");
        continue;
      }
      zvbench::report("vis thread with window copy, share of one core, " + what, share * 100, "%");
      zvbench::report("vis thread with window copy, per frame, " + what, share / 30.0 * 1e6, "us");
      zvbench::report("timer ticks measured, " + what, frames, "");
    }
  }
  freePlugins();
  return 0;
}
