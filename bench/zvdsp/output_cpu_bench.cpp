// CPU time of zvdsp's output thread per second of playback (44.1 kHz,
// 16-bit stereo), equalizer off and on, measured alternately in one run.
// Under Wine's null sink a second of sound plays in a quarter second.
#include <windows.h>
// after windows.h
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "benchkit.h"
#include "win32/owners.h"
#include "zvdsp.h"

namespace {

using QueryThread = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

// The thread whose start address lies in zvdsp.dll.
zv::UniqueKernelHandle outputThread() {
  HMODULE dsp = GetModuleHandleA("zvdsp.dll");
  MODULEINFO mi{};
  GetModuleInformation(GetCurrentProcess(), dsp, &mi, sizeof(mi));
  auto query = reinterpret_cast<QueryThread>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
  zv::UniqueFile snap(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 te{sizeof(te)};
  for (BOOL ok = Thread32First(snap.get(), &te); ok; ok = Thread32Next(snap.get(), &te)) {
    if (te.th32OwnerProcessID != GetCurrentProcessId()) continue;
    zv::UniqueKernelHandle t(OpenThread(THREAD_QUERY_INFORMATION, FALSE, te.th32ThreadID));
    void* start = nullptr;
    if (t && query && query(t.get(), 9 /* ThreadQuerySetWin32StartAddress */, &start, sizeof(start), nullptr) == 0) {
      auto a = reinterpret_cast<uintptr_t>(start), base = reinterpret_cast<uintptr_t>(mi.lpBaseOfDll);
      if (a >= base && a < base + mi.SizeOfImage) return t;
    }
  }
  return {};
}

double cpuSeconds(HANDLE t) {
  FILETIME c, e, k, u;
  GetThreadTimes(t, &c, &e, &k, &u);
  auto v = [](FILETIME f) { return double((uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime) * 1e-7; };
  return v(k) + v(u);
}

// Plays `seconds` of a tone pair; returns output-thread CPU seconds used.
double play(HANDLE thread, double seconds) {
  ZvStreamRec* rec = nullptr;
  int32_t s = outNewStream(&rec);
  if (s < 0) return -1;
  outClear(s);
  outFadeIn(s, 0, 0);
  const int64_t total = int64_t(seconds * 44100);
  std::atomic<bool> stop{false};
  std::thread feeder([&] {
    int64_t pos = 0;
    while (!stop) {
      if (WaitForSingleObject(rec->needData, 50) != WAIT_OBJECT_0) continue;
      int64_t n = std::min<int64_t>(rec->byteCount / 4, total - pos);
      auto* p = static_cast<int16_t*>(rec->buffer);
      for (int64_t i = 0; i < n; ++i) {
        p[i * 2] = int16_t(8000 * std::sin(0.0712 * double(pos + i)));
        p[i * 2 + 1] = int16_t(8000 * std::sin(0.0213 * double(pos + i)));
      }
      pos += std::max<int64_t>(n, 0);
      rec->byteCount = int32_t(std::max<int64_t>(n, 0) * 4);
      SetEvent(rec->dataReady);
    }
  });
  double before = cpuSeconds(thread);
  while (!rec->playedOut) Sleep(5);
  double used = cpuSeconds(thread) - before;
  stop = true;
  feeder.join();
  outCloseStream(s);
  return used;
}

}  // namespace

int main() {
  if (!outInit()) return 1;
  const zv::UniqueKernelHandle owned = outputThread();
  HANDLE thread = owned.get();
  if (!thread) {
    zvbench::report("output thread not found", 0, "");
    return 1;
  }
  ZvEqualizer off{}, on{};
  off.preamp = on.preamp = 1.0f;
  on.enabled = -1;
  for (int b = 0; b < ZV_EQ_BANDS; ++b) {
    off.gains[b] = 1.0f;
    on.gains[b] = b % 2 ? 0.7f : 1.4f;  // every band active
  }
  const double seconds = 8;
  double cpuOff = 0, cpuOn = 0;
  for (int round = 0; round < 2; ++round) {
    outSetEqualizer(&off);
    cpuOff += play(thread, seconds);
    outSetEqualizer(&on);
    cpuOn += play(thread, seconds);
  }
  zvbench::report("output thread, equalizer off", 100 * cpuOff / (2 * seconds), "% of one core");
  zvbench::report("output thread, equalizer on (12 bands)", 100 * cpuOn / (2 * seconds), "% of one core");
  zvbench::report("equalizer on / off", cpuOff > 0 ? cpuOn / cpuOff : 0, "x");
  outFree();
  return 0;
}
