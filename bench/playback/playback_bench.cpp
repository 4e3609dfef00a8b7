// The engine playing a WAV file end to end (decoder plug-in, decode
// instance, output library, device): CPU per second of sound with the
// equalizer off and on, latency from inPlay and inSeek to new sound at the
// device, and whether the sound stays whole while the other core is busy.
//
// Each share is also split by thread: zvdsp's output thread, the engine's
// threads (the decode instance), this program's own thread, and the rest
// (Wine's audio threads), read from every thread's CPU time.
//
// The sound device here is the ALSA file device, whose clock runs at four
// times real time; CPU shares are per second of sound, so they do not depend
// on that clock, and latencies are given both measured and in sound time.
#include <windows.h>

#include <atomic>
#include <functional>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <mmsystem.h>
#include <psapi.h>
#include <tlhelp32.h>

#include "benchkit.h"
#include "zv_config.h"
#include "zv_playback.h"
#include "win32/owners.h"
#include "zvdsp.h"

namespace {

std::string g_capture;

int16_t sampleL(size_t k) { return static_cast<int16_t>(10000 + (k * 37) % 20000); }
int16_t sampleR(size_t k) { return static_cast<int16_t>(-10000 - static_cast<int>((k * 53) % 20000)); }

std::string writeWav(const std::string& path, size_t frames) {
  std::vector<int16_t> pcm(frames * 2);
  for (size_t k = 0; k < frames; ++k) {
    pcm[k * 2] = sampleL(k);
    pcm[k * 2 + 1] = sampleR(k);
  }
  uint32_t data = static_cast<uint32_t>(pcm.size() * 2);
  uint8_t h[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2, 0,
                   0x44, 0xAC, 0, 0, 0x10, 0xB1, 0x02, 0, 4, 0, 16, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0};
  uint32_t riff = 36 + data;
  std::memcpy(h + 4, &riff, 4);
  std::memcpy(h + 40, &data, 4);
  std::vector<uint8_t> file(sizeof(h) + data);
  std::memcpy(file.data(), h, sizeof(h));
  std::memcpy(file.data() + sizeof(h), pcm.data(), data);
  zvbench::writeFile(path, file.data(), file.size());
  return path;
}

double processCpuSeconds() {
  FILETIME c, e, k, u;
  GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
  auto s = [](FILETIME t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
  return s(k) + s(u);
}

// CPU seconds of every thread of this process, by where the thread started.
struct ThreadShares {
  double output = 0;  // zvdsp.dll's thread
  double engine = 0;  // threads started in zvengine.dll (decode instances)
  double own = 0;     // this program's main thread
  double rest = 0;    // Wine's own threads (audio, timers)
  double total() const { return output + engine + own + rest; }
};

class ThreadClock {
 public:
  ThreadClock() {
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    zv::UniqueFile snap(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 te{};
    te.dwSize = sizeof(te);
    for (BOOL ok = Thread32First(snap.get(), &te); ok; ok = Thread32Next(snap.get(), &te)) {
      if (te.th32OwnerProcessID != GetCurrentProcessId()) continue;
      zv::UniqueKernelHandle t(OpenThread(THREAD_QUERY_INFORMATION, FALSE, te.th32ThreadID));
      if (!t) continue;
      void* start = nullptr;
      if (query) query(t.get(), 9 /* ThreadQuerySetWin32StartAddress */, &start, sizeof(start), nullptr);
      int kind = 3;
      if (te.th32ThreadID == GetCurrentThreadId()) kind = 2;
      else if (inside("zvdsp.dll", start)) kind = 0;
      else if (inside("zvengine.dll", start)) kind = 1;
      const double start0 = seconds(t.get());
      threads_.push_back({std::move(t), kind, start0});
    }
  }
  ThreadClock(const ThreadClock&) = delete;
  ThreadClock& operator=(const ThreadClock&) = delete;

  // CPU seconds since construction, by kind.
  ThreadShares elapsed() const {
    ThreadShares s;
    double* by[4] = {&s.output, &s.engine, &s.own, &s.rest};
    for (auto& t : threads_) *by[t.kind] += seconds(t.handle.get()) - t.start;
    return s;
  }

 private:
  struct Entry {
    zv::UniqueKernelHandle handle;
    int kind;
    double start;
  };
  static bool inside(const char* module, void* address) {
    MODULEINFO mi{};
    HMODULE m = GetModuleHandleA(module);
    if (!m || !GetModuleInformation(GetCurrentProcess(), m, &mi, sizeof(mi))) return false;
    auto a = reinterpret_cast<uintptr_t>(address), base = reinterpret_cast<uintptr_t>(mi.lpBaseOfDll);
    return a >= base && a < base + mi.SizeOfImage;
  }
  static double seconds(HANDLE t) {
    FILETIME c, e, k, u;
    if (!GetThreadTimes(t, &c, &e, &k, &u)) return 0;
    auto v = [](FILETIME f) { return double((uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime) * 1e-7; };
    return v(k) + v(u);
  }
  std::vector<Entry> threads_;
};

ThreadShares& operator+=(ThreadShares& a, const ThreadShares& b) {
  a.output += b.output;
  a.engine += b.engine;
  a.own += b.own;
  a.rest += b.rest;
  return a;
}

ThreadShares scaled(ThreadShares s, double k) {
  s.output *= k;
  s.engine *= k;
  s.own *= k;
  s.rest *= k;
  return s;
}

int64_t captureSize() {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExA(g_capture.c_str(), GetFileExInfoStandard, &a)) return 0;
  return (int64_t(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

// Bus messages for this thread until `code` comes from `id`.
bool waitFor(ZvTarget id, UINT code, double seconds) {
  double end = zvbench::now() + seconds;
  MSG msg;
  while (zvbench::now() < end) {
    while (PeekMessageA(&msg, nullptr, ZV_BUS_FIRST, ZV_BUS_LAST, PM_REMOVE)) {
      bool hit = msg.wParam == id && msg.message == code;
      finishMsg(&msg);
      if (hit) return true;
    }
    // Sleep until a message comes: polling would bill its own CPU to the engine.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  return false;
}

ZvTarget openFile(const std::string& path, ZvStatusRec* status) {
  ZvOpenContext* ctx = nullptr;
  ZvTarget id = inOpen(path.c_str(), GetCurrentThreadId(), status, &ctx);
  while (ctx && inOpenNext(&ctx)) {
  }
  if (!id || !waitFor(id, msgOpened, 5)) return 0;
  return id;
}

// CPU seconds the whole process spends per second of sound, and its threads'.
double cpuPerSoundSecond(const std::string& path, double soundSeconds, ThreadShares* shares) {
  ZvStatusRec status = {};
  ZvTarget id = openFile(path, &status);
  if (!id) return -1;
  ThreadClock clock;
  double cpu0 = processCpuSeconds();
  inPlay(id, 0, ZV_FADE_LINEAR);
  bool ended = waitFor(id, msgClosed, soundSeconds * 2 + 10);
  double cpu = processCpuSeconds() - cpu0;
  *shares += scaled(clock.elapsed(), 1 / soundSeconds);
  stopPlugin(id);
  return ended ? cpu / soundSeconds : -1;
}

// The same sound through a bare waveOut loop (four 2048-frame buffers), for
// the share that Wine's own audio threads take in any player.
double bareWaveOutCpuPerSoundSecond(double soundSeconds, ThreadShares* shares) {
  WAVEFORMATEX fmt = {WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
  const zv::UniqueKernelHandle doneEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  HANDLE done = doneEvent.get();
  HWAVEOUT wo = nullptr;
  if (waveOutOpen(&wo, WAVE_MAPPER, &fmt, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR)
    return -1;
  const size_t frames = 2048, total = size_t(44100 * soundSeconds);
  std::vector<std::vector<int16_t>> bufs(4, std::vector<int16_t>(frames * 2));
  std::vector<WAVEHDR> hdr(4);
  size_t next = 0;
  ThreadClock clock;
  double cpu0 = processCpuSeconds();
  auto fill = [&](int i) {
    for (size_t f = 0; f < frames; ++f, ++next) {
      bufs[i][f * 2] = sampleL(next);
      bufs[i][f * 2 + 1] = sampleR(next);
    }
    hdr[i] = {};
    hdr[i].lpData = reinterpret_cast<LPSTR>(bufs[i].data());
    hdr[i].dwBufferLength = DWORD(frames * 4);
    waveOutPrepareHeader(wo, &hdr[i], sizeof(WAVEHDR));
    waveOutWrite(wo, &hdr[i], sizeof(WAVEHDR));
  };
  for (int i = 0; i < 4; ++i) fill(i);
  while (next < total) {
    WaitForSingleObject(done, 1000);
    for (int i = 0; i < 4 && next < total; ++i)
      if (hdr[i].dwFlags & WHDR_DONE) {
        waveOutUnprepareHeader(wo, &hdr[i], sizeof(WAVEHDR));
        fill(i);
      }
  }
  for (int i = 0; i < 4; ++i)
    while (!(hdr[i].dwFlags & WHDR_DONE)) WaitForSingleObject(done, 100);
  double cpu = processCpuSeconds() - cpu0;
  *shares += scaled(clock.elapsed(), 1 / soundSeconds);
  waveOutReset(wo);
  for (auto& h : hdr) waveOutUnprepareHeader(wo, &h, sizeof(WAVEHDR));
  waveOutClose(wo);
  return cpu / soundSeconds;
}

void setEqualizer(bool on) {
  ZvEqualizer eq = {};
  eq.enabled = on ? -1 : 0;
  eq.preamp = 1.0f;
  for (int b = 0; b < ZV_EQ_BANDS; ++b) eq.gains[b] = (b % 2) ? 1.5f : 0.7f;
  outSetEqualizer(&eq);
}

// Milliseconds from `act` until frame `k` of the bench file is heard (in the
// capture). The device writes silence while idle, so growth alone says nothing.
double msUntilFrame(size_t k, const std::function<void()>& act) {
  const uint32_t want = uint16_t(sampleL(k)) | (uint32_t(uint16_t(sampleR(k))) << 16);
  int64_t at = captureSize() & ~int64_t(3);
  double t0 = zvbench::now();
  act();
  std::vector<uint32_t> chunk(16384);
  while (zvbench::now() - t0 < 5) {
    zv::UniqueFile f(CreateFileA(g_capture.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER pos;
    pos.QuadPart = at;
    SetFilePointerEx(f.get(), pos, nullptr, FILE_BEGIN);
    DWORD got = 0;
    while (ReadFile(f.get(), chunk.data(), DWORD(chunk.size() * 4), &got, nullptr) && got >= 4) {
      for (DWORD i = 0; i < got / 4; ++i)
        if (chunk[i] == want) return (zvbench::now() - t0) * 1000;
      at += got & ~DWORD(3);
    }
    f.reset();
    Sleep(0);
  }
  return -1;
}

// Zero frames between the first and last sound of the capture from `from`
// on: the device inserts them only when the output ran short.
int64_t gapsInCapture(int64_t from) {
  zv::UniqueFile f(CreateFileA(g_capture.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
  if (!f) return -1;
  LARGE_INTEGER at;
  at.QuadPart = from & ~int64_t(3);
  SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN);
  std::vector<uint32_t> frames;
  std::vector<uint32_t> chunk(65536);
  DWORD got = 0;
  while (ReadFile(f.get(), chunk.data(), DWORD(chunk.size() * 4), &got, nullptr) && got > 0)
    frames.insert(frames.end(), chunk.begin(), chunk.begin() + got / 4);
  f.reset();
  size_t first = 0, last = frames.size();
  while (first < last && frames[first] == 0) ++first;
  while (last > first && frames[last - 1] == 0) --last;
  int64_t zeros = 0;
  for (size_t i = first; i < last; ++i) zeros += frames[i] == 0;
  return zeros;
}

}  // namespace

int main() {
  std::string dir = zvbench::workDir();
  g_capture = dir + "\\capture.raw";
  const double seconds = 20;
  std::string path = writeWav(dir + "\\bench.wav", size_t(44100 * seconds));
  initPlugins();
  outInit();

  // Alternate the settings so machine noise hits all alike.
  const int rounds = 3;
  double off = 0, on = 0, bare = 0;
  ThreadShares offBy, onBy, bareBy;
  for (int round = 0; round < rounds; ++round) {
    setEqualizer(false);
    off += cpuPerSoundSecond(path, seconds, &offBy) / rounds;
    setEqualizer(true);
    on += cpuPerSoundSecond(path, seconds, &onBy) / rounds;
    bare += bareWaveOutCpuPerSoundSecond(seconds, &bareBy) / rounds;
  }
  setEqualizer(false);
  offBy = scaled(offBy, 1.0 / rounds);
  onBy = scaled(onBy, 1.0 / rounds);
  bareBy = scaled(bareBy, 1.0 / rounds);
  zvbench::report("bare waveOut loop, same sound (Wine's audio share)", bare * 100, "% of one core");
  zvbench::report("engine CPU per second of sound, EQ off", off * 100, "% of one core");
  zvbench::report("engine CPU per second of sound, EQ on", on * 100, "% of one core");
  zvbench::report("EQ on / EQ off", on / off, "x");
  zvbench::report("engine beyond the bare loop, EQ off", (off - bare) * 100, "% of one core");
  zvbench::report("engine beyond the bare loop, EQ on", (on - bare) * 100, "% of one core");
  auto byThread = [](const std::string& what, const ThreadShares& t) {
    zvbench::report(what + ": zvdsp output thread", t.output * 100, "% of one core");
    zvbench::report(what + ": engine threads (decode)", t.engine * 100, "% of one core");
    zvbench::report(what + ": this program's thread", t.own * 100, "% of one core");
    zvbench::report(what + ": Wine's threads", t.rest * 100, "% of one core");
  };
  byThread("bare loop", bareBy);
  byThread("EQ off", offBy);
  byThread("EQ on", onBy);

  ZvStatusRec status = {};
  ZvTarget id = openFile(path, &status);
  double playMs = msUntilFrame(0, [&] { inPlay(id, 0, ZV_FADE_LINEAR); });
  Sleep(100);
  double seekMs = msUntilFrame(441000, [&] { inSeek(id, 10000); });
  inClose(id, 0, 0);
  waitFor(id, msgClosed, 5);
  stopPlugin(id);
  Sleep(500);  // let the last ramp reach the device before the next capture starts
  zvbench::report("inPlay to the first frame at the device (wall clock)", playMs, "ms");
  zvbench::report("inSeek to the sought frame at the device (wall clock)", seekMs, "ms");

  // Whole sound: without and with a thread of this process spinning at
  // normal priority on the other core; with the default device buffer and
  // with four times that, which is the default's real-time length on this
  // device (its clock runs four times fast).
  ZvOutParams defaults = {};
  outGetParams(&defaults);
  for (int32_t bufferMs : {defaults.bufferMs, defaults.bufferMs * 4}) {
    ZvOutParams p = defaults;
    p.bufferMs = bufferMs;
    outSetParams(&p);
    for (bool load : {false, true}) {
      std::atomic<bool> stop{false};
      std::thread spinner;
      if (load)
        spinner = std::thread([&] {
          volatile uint64_t x = 0;
          while (!stop) x = x + 1;
        });
      Sleep(300);
      int64_t from = captureSize();
      id = openFile(path, &status);
      inPlay(id, 0, ZV_FADE_LINEAR);
      waitFor(id, msgClosed, seconds * 2 + 10);
      stopPlugin(id);
      stop = true;
      if (spinner.joinable()) spinner.join();
      std::string what = "silent frames inside 20 s, buffer " + std::to_string(bufferMs) + " ms, " +
                         (load ? "other core spinning" : "no extra load");
      zvbench::report(what, double(gapsInCapture(from)), "frames");
    }
  }
  outSetParams(&defaults);
  freePlugins();
  return 0;
}
