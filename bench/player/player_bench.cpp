// The player program as users start it: from its start to the first sound of
// a file on its command line (against the engine's own inOpen-to-sound in
// this process), its start time, memory and answers with a 100 000-line
// stored playlist, and its share of the processor while it plays with the
// display running (read from /proc: under Wine GetProcessTimes gives another
// process zero). The player runs from a root of its own in the work folder
// (a copy of the program, its libraries, the WAV decoder and the skins), so
// the user's settings are never touched.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "benchkit.h"
#include "linux_process_times.h"
#include "win32/owners.h"
#include "zv_playback.h"
#include "zv_playlist.h"
#include "zv_plugins.h"

namespace {

std::string g_capture;

std::string folderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string thisRoot() {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof(exe));
  return folderOf(folderOf(exe));
}

// A copy of a folder tree (files only, no links).
void copyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA fd;
  zv::UniqueFind find(FindFirstFileA((from + "\\*").c_str(), &fd));
  if (!find) return;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      copyTree(from + "\\" + name, to + "\\" + name);
    else
      CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
  } while (FindNextFileA(find.get(), &fd));
}

// A constant, never silent signal: the first frame heard is easy to find.
std::string writeWav(const std::string& path, size_t frames) {
  std::vector<uint8_t> file(44 + frames * 4);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&file[at], &v, 2); };
  std::memcpy(&file[0], "RIFF", 4);
  put32(4, uint32_t(36 + frames * 4));
  std::memcpy(&file[8], "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);
  put16(22, 2);
  put32(24, 44100);
  put32(28, 44100 * 4);
  put16(32, 4);
  put16(34, 16);
  std::memcpy(&file[36], "data", 4);
  put32(40, uint32_t(frames * 4));
  const int16_t frame[2] = {9000, -7000};
  for (size_t k = 0; k < frames; ++k) std::memcpy(&file[44 + k * 4], frame, 4);
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(f.get(), file.data(), DWORD(file.size()), &written, nullptr);
  return path;
}

// Whether the capture holds a non-zero frame (the device writes zeros while idle).
bool soundHeard() {
  zv::UniqueFile f(CreateFileA(g_capture.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return false;
  std::vector<uint32_t> chunk(16384);
  DWORD got = 0;
  bool heard = false;
  while (!heard && ReadFile(f.get(), chunk.data(), DWORD(chunk.size() * 4), &got, nullptr) && got >= 4)
    for (DWORD i = 0; i < got / 4 && !heard; ++i) heard = chunk[i] != 0;
  return heard;
}

void clearCapture() {
  zv::UniqueFile f(CreateFileA(g_capture.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr));
  if (f) SetEndOfFile(f.get());
}

// Milliseconds until `done`, polled; -1 after `seconds`.
template <class F>
double msUntil(double t0, F done, double seconds = 20) {
  while (zvbench::now() - t0 < seconds) {
    if (done()) return (zvbench::now() - t0) * 1000;
    Sleep(1);
  }
  return -1;
}

struct Player {
  zv::UniqueKernelHandle process;
  bool start(const std::string& root, const std::string& args) {
    std::string line = "\"" + root + "\\bin\\zorvak.exe\" " + args;
    STARTUPINFOA si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    process.reset(pi.hProcess);
    zv::UniqueKernelHandle thread(pi.hThread);
    return true;
  }
  HWND window() const { return FindWindowA("ZVWindow", nullptr); }
  // Answers once its start steps are done and its message loop runs.
  bool answers() const {
    HWND w = window();
    DWORD_PTR r = 0;
    return w && SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_BLOCK, 120000, &r) != 0;
  }
  void close() {
    if (HWND w = window()) PostMessageA(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
  }
  // The longest wait for an answer to WM_NULL over `seconds` of asking.
  double longestAnswerMs(double seconds) const {
    double longest = 0;
    for (const double t0 = zvbench::now(); zvbench::now() - t0 < seconds;) {
      const double asked = zvbench::now();
      if (!answers()) return -1;
      longest = std::max(longest, (zvbench::now() - asked) * 1000);
      Sleep(5);
    }
    return longest;
  }
  double peakMegabytes() const {
    PROCESS_MEMORY_COUNTERS m{sizeof(m)};
    GetProcessMemoryInfo(process.get(), &m, sizeof(m));
    return double(m.PeakWorkingSetSize) / (1024 * 1024);
  }
};

std::string userData(const std::string& root) {
  char user[257] = {}, computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD us = sizeof(user), cs = sizeof(computer);
  GetUserNameA(user, &us);
  GetComputerNameA(computer, &cs);
  return root + "\\data\\" + user + "@" + computer;
}

// Every start is measured as a later start: the About window of the very
// first one stays shut.
void removeStoredState(const std::string& root) {
  const std::string dir = userData(root);
  for (const char* f : {"playlist.dat", "config.dat", "recent.dat", "favorite.m3u"})
    DeleteFileA((dir + "\\" + f).c_str());
  CreateDirectoryA((root + "\\data").c_str(), nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  WritePrivateProfileStringA("Zorvak", "seenAbout", "1", (dir + "\\config.dat").c_str());
}

// A stored playlist of `lines` file lines (distinct names of files in the
// work folder, which need not exist) under one root line.
void writeStoredPlaylist(const std::string& root, const std::string& dir, int lines) {
  Playlist pl = createPlaylist(-1);
  PlaylistLine rec{};
  rec.flags = lfGrouped | lfGroup | lfPlaylist;
  plAddLine(pl, &rec, "", "Bench", nullptr);
  PlaylistLine file{};
  file.level = 1;
  file.files = 1;
  char name[MAX_PATH];
  for (int i = 0; i < lines; ++i) {
    std::snprintf(name, sizeof(name), "%s\\album%03d\\track%06d.wav", dir.c_str(), i / 1000, i);
    plAddLine(pl, &file, name, nullptr, nullptr);
  }
  CreateDirectoryA((root + "\\data").c_str(), nullptr);
  CreateDirectoryA(userData(root).c_str(), nullptr);
  plSave(pl, (userData(root) + "\\playlist.dat").c_str(), plSaveBinary);
  freePlaylist(pl);
}

// Processor time of the Linux process `pid` over `seconds` of wall time, as
// a percentage of one core; -1 when /proc cannot be read.
double cpuPercent(int pid, double seconds) {
  const std::optional<double> before = zvbench::linuxProcessSeconds(pid);
  const double t0 = zvbench::now();
  Sleep(DWORD(seconds * 1000));
  const std::optional<double> after = zvbench::linuxProcessSeconds(pid);
  if (!before || !after) return -1;
  return (*after - *before) * 100 / (zvbench::now() - t0);
}

}  // namespace

int main() {
  const std::string dir = zvbench::workDir();
  g_capture = dir + "\\capture.raw";
  const std::string root = dir + "\\player_root", from = thisRoot();
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\bin").c_str(), nullptr);
  for (const char* f : {"zorvak.exe", "zvengine.dll", "zvdsp.dll", "zvid3.dll"})
    CopyFileA((from + "\\bin\\" + f).c_str(), (root + "\\bin\\" + f).c_str(), FALSE);
  CreateDirectoryA((root + "\\plugins").c_str(), nullptr);
  CopyFileA((from + "\\plugins\\wav.dec").c_str(), (root + "\\plugins\\wav.dec").c_str(), FALSE);
  copyTree(from + "\\skins", root + "\\skins");
  const std::string wav = writeWav(dir + "\\player_bench.wav", 44100 * 60);

  // This process, for the processor share of the engine playing alone.
  // Other worktrees may run the same programs: the full path (without its
  // drive, matching both a Windows and a Linux command line) tells ours.
  auto withoutDrive = [](const std::string& path) { return path.size() > 2 && path[1] == ':' ? path.substr(2) : path; };
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof(self));
  const std::optional<int> benchPid = zvbench::findLinuxProcess(withoutDrive(self));
  constexpr double kCpuSeconds = 8;
  double engineCpu = -1;

  // The engine alone, in this process: inOpen to the first frame heard.
  initPlugins();
  double engineMs = 0, playerMs = 0;
  const int rounds = 3;
  for (int round = 0; round < rounds; ++round) {
    clearCapture();
    ZvStatusRec status{};
    ZvOpenContext* ctx = nullptr;
    const double t0 = zvbench::now();
    ZvTarget id = inOpen(wav.c_str(), GetCurrentThreadId(), &status, &ctx);
    while (ctx && inOpenNext(&ctx)) {
    }
    // The stream starts once it reports itself opened.
    MSG msg;
    for (bool opened = false; !opened && zvbench::now() - t0 < 10;) {
      while (PeekMessageA(&msg, nullptr, ZV_BUS_FIRST, ZV_BUS_LAST, PM_REMOVE)) {
        opened = opened || (msg.message == msgOpened && msg.wParam == id);
        finishMsg(&msg);
      }
      if (!opened) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    inPlay(id, 0, ZV_FADE_LINEAR);
    engineMs += msUntil(t0, soundHeard) / rounds;
    if (round == 0 && benchPid) engineCpu = cpuPercent(*benchPid, kCpuSeconds);
    inClose(id, 0, 0);
    Sleep(300);
    stopPlugin(id);
    Sleep(300);
  }
  freePlugins();

  // The player: process start to the first frame heard.
  for (int round = 0; round < rounds; ++round) {
    removeStoredState(root);
    clearCapture();
    Player p;
    const double t0 = zvbench::now();
    if (!p.start(root, "\"" + wav + "\"")) return 1;
    playerMs += msUntil(t0, soundHeard) / rounds;
    p.close();
  }
  // The player playing with its display running: its share of the processor.
  double playerCpu = -1;
  {
    removeStoredState(root);
    clearCapture();
    Player p;
    if (!p.start(root, "\"" + wav + "\"")) return 1;
    msUntil(zvbench::now(), soundHeard);
    // Wine names the Linux process by the program's Windows command line.
    if (std::optional<int> pid = zvbench::findLinuxProcess(withoutDrive(root) + "\\bin\\zorvak.exe", "player_bench.wav"))
      playerCpu = cpuPercent(*pid, kCpuSeconds);
    p.close();
  }
  zvbench::report("engine: inOpen to the first frame heard", engineMs, "ms");
  zvbench::report("player: process start to the first frame heard (file on the command line)", playerMs, "ms");
  zvbench::report("player / engine", playerMs / engineMs, "x");
  zvbench::report("engine alone playing (this process, no window): processor share of one core", engineCpu, "%");
  zvbench::report("player playing with its display running: processor share of one core", playerCpu, "%");
  zvbench::report("player / engine alone", playerCpu / engineCpu, "x");

  // Start time and memory with an empty and a 100 000-line stored playlist.
  for (int lines : {0, 100000}) {
    removeStoredState(root);
    if (lines) writeStoredPlaylist(root, dir, lines);
    Player p;
    const double t0 = zvbench::now();
    if (!p.start(root, "/stop")) return 1;
    const double ms = msUntil(t0, [&] { return p.answers(); }, 120);
    const std::string what = lines ? "100 000-line playlist.dat" : "empty playlist";
    zvbench::report("player start to its message loop, " + what, ms, "ms");
    zvbench::report("player peak working set, " + what, p.peakMegabytes(), "MB");
    zvbench::report("player's longest answer in the 3 s after that, " + what, p.longestAnswerMs(3), "ms");
    p.close();
  }
  removeStoredState(root);
  return 0;
}
