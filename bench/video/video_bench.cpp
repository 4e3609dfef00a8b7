// The video input's cost while it plays: the share of the processor that
// this process uses while video.z plays a 1080p H.264 and a 720p VP9 file
// into a 960x540 window at real speed, the frames it dropped, against the
// CPU Debian's ffmpeg needs natively to decode the same file (-f null, two
// threads; measured by make-videos.sh into native.txt).
// Media: <ZV_BENCH_DIR>\video (./zv bench makes them).
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "benchkit.h"
#include "win32/owners.h"
#include "zv_memory.h"
#include "zv_playback.h"

namespace {

constexpr int kWidth = 960, kHeight = 540;
constexpr double kMediaSeconds = 10.0;

bool g_ended = false;
ZvTarget g_id = 0;
bool g_opened = false;
ZvOpenedPrm g_report{};

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= ZV_BUS_FIRST && msg <= ZV_BUS_LAST) {
    MSG m = {hwnd, msg, wp, lp, 0, {0, 0}};
    if (static_cast<ZvTarget>(wp) == g_id) {
      if (msg == msgOpened) {
        g_opened = true;
        getMsgPrm(&m, &g_report);
      }
      if (msg == msgEndReached || msg == msgClosed || msg == msgOpenFailed) g_ended = true;
    }
    finishMsg(&m);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

double cpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto secs = [](FILETIME f) { return (double(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7; };
  return secs(kernel) + secs(user);
}

bool pumpUntil(bool& flag, double seconds) {
  const double end = zvbench::now() + seconds;
  while (!flag && zvbench::now() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return flag;
}

std::map<std::string, double> nativeSeconds(const std::string& folder) {
  std::map<std::string, double> out;
  std::ifstream in(folder + "\\native.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string file;
    double secs = 0;
    if (words >> file >> secs) out[file] = secs;
  }
  return out;
}

void playOne(HWND owner, HWND picture, const std::string& folder, const std::string& file, double native) {
  ZvVideoStatusRec status{};
  ZvOpenContext* context = nullptr;
  g_ended = g_opened = false;
  const std::string path = folder + "\\" + file;
  g_id = inOpen(path.c_str(), reinterpret_cast<ZvTarget>(owner), &status.audio, &context);
  if (!g_id || !pumpUntil(g_opened, 20)) {
    std::printf("%s: not opened\n", file.c_str());
    return;
  }
  while (context && inOpenNext(&context)) {
  }
  inSetVideo(g_id, picture);
  inSetVideoRect(g_id, 0, 0, kWidth, kHeight, 0, 0, g_report.width, g_report.height);
  const double cpu0 = cpuSeconds(), wall0 = zvbench::now();
  inPlay(g_id, 0, 0);
  pumpUntil(g_ended, 120);
  const double cpu = cpuSeconds() - cpu0, wall = zvbench::now() - wall0;
  const std::string name = file.substr(0, file.find('.'));
  zvbench::report(name + " CPU share while playing", 100.0 * cpu / wall, "% of one core");
  zvbench::report(name + " play time", wall, "s for 10 s of video");
  zvbench::report(name + " frames dropped", status.droppedPercent, "%");
  if (native > 0) {
    zvbench::report(name + " native ffmpeg -f null", 100.0 * native / kMediaSeconds, "% of one core");
    zvbench::report(name + " ratio to native", cpu / native, "x");
  }
  inClose(g_id, 0, 0);
  g_ended = false;
  pumpUntil(g_ended, 5);
  stopPlugin(g_id);
}

}  // namespace

int main() {
  initPlugins();
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ownerProc;
  wc.lpszClassName = "ZvVideoBenchOwner";
  RegisterClassA(&wc);
  zv::UniqueWindow owner(CreateWindowA("ZvVideoBenchOwner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  zv::UniqueWindow picture(CreateWindowA("STATIC", "video", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                         nullptr, nullptr, nullptr));
  if (!picture) {
    std::printf("video: no display, skipped\n");
    freePlugins();
    return 0;
  }
  const std::string folder = zvbench::workDir() + "\\video";
  auto native = nativeSeconds(folder);
  for (const char* file : {"h264-1080p.mp4", "vp9-720p.webm"}) playOne(owner.get(), picture.get(), folder, file, native[file]);
  freePlugins();
  return 0;
}
