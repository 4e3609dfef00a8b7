#include "foundation/debug_registry.h"

#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "win32/owners.h"
#include "zv_memory.h"

namespace zv {
namespace {

// One sample of a thread's (or, for the "Total" entry, the process's) times,
// all in 100 ns units.
struct Sample {
  uint64_t kernel, user, wall;
};

struct ThreadEntry {
  std::string name;
  uint32_t id;
  UniqueKernelHandle handle;  // our own duplicate; empty for "Total"
  bool total;
  std::deque<Sample> samples;  // the last five
};

constexpr size_t kSampleWindow = 5;
// The player's table buffer; longer tables lose their last lines.
constexpr size_t kThreadListSize = 4096;

std::mutex g_lock;
std::vector<ThreadEntry> g_threads;
bool g_totalInserted = false;

uint64_t ticks(const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

bool isNtFamily() {
  OSVERSIONINFOA os = {};
  os.dwOSVersionInfoSize = sizeof(os);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&os);
#pragma GCC diagnostic pop
  return os.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool takeSample(ThreadEntry& e) {
  FILETIME created, exited, kernel, user, now;
  // An entry without a thread handle stands for the whole process.
  BOOL ok = (e.total || !e.handle) ? GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)
                    : GetThreadTimes(e.handle.get(), &created, &exited, &kernel, &user);
  if (!ok) return false;
  GetSystemTimeAsFileTime(&now);
  if (e.samples.size() == kSampleWindow) e.samples.pop_front();
  e.samples.push_back({ticks(kernel), ticks(user), ticks(now)});
  return true;
}

const char* priorityLetter(const ThreadEntry& e) {
  if (e.total || !e.handle) return "";
  switch (GetThreadPriority(e.handle.get())) {
    case THREAD_PRIORITY_IDLE: return "I";
    case THREAD_PRIORITY_LOWEST: return "L";
    case THREAD_PRIORITY_BELOW_NORMAL: return "B";
    case THREAD_PRIORITY_NORMAL: return "N";
    case THREAD_PRIORITY_ABOVE_NORMAL: return "A";
    case THREAD_PRIORITY_HIGHEST: return "H";
    case THREAD_PRIORITY_TIME_CRITICAL: return "T";
    default: return "";
  }
}

// The table line of one entry after a new sample; "" when the samples span
// no time yet.
std::string usageLine(ThreadEntry& e) {
  takeSample(e);
  if (e.samples.size() < 2) return std::string();
  const Sample& first = e.samples.front();
  const Sample& last = e.samples.back();
  if (last.wall <= first.wall) return std::string();
  double span = static_cast<double>(last.wall - first.wall);
  uint64_t kernel = last.kernel - first.kernel;
  uint64_t user = last.user - first.user;
  std::string id = e.total ? std::string("\x01") : std::to_string(e.id);
  char percents[64];
  std::snprintf(percents, sizeof(percents), "%0.2f%%\t%0.2f%%\n", kernel * 100.0 / span, user * 100.0 / span);
  // A thread that used a fifth of the time or more is marked for the table.
  std::string mark = (kernel + user) * 5 >= last.wall - first.wall ? "\x02" : "";
  return mark + id + "\t" + e.name + "\t" + priorityLetter(e) + "\t" + percents;
}

std::string legacyLine(const ThreadEntry& e) {
  char id[16];
  std::snprintf(id, sizeof(id), "%8.8x", static_cast<unsigned>(e.id));
  return std::string(id) + "\t" + e.name + "\t" + priorityLetter(e) + "\tn/a\tn/a\n";
}

std::string threadTable() {
  std::lock_guard<std::mutex> hold(g_lock);
  bool nt = isNtFamily();
  if (nt && !g_totalInserted) {
    g_threads.insert(g_threads.begin(), ThreadEntry{"Total", 0, UniqueKernelHandle(), true, {}});
    g_totalInserted = true;
  }
  std::string lines;
  for (ThreadEntry& e : g_threads) lines.insert(0, nt ? usageLine(e) : legacyLine(e));
  return "\x01" "ID\tName\tPr\tKrn\tUsr\n" + lines;
}

}  // namespace

std::string threadName(uint32_t threadId) {
  std::lock_guard<std::mutex> hold(g_lock);
  for (const ThreadEntry& e : g_threads)
    if (!e.total && e.id == threadId) return e.name;
  return std::to_string(threadId);
}

bool startDebugRegistry() {
  // Empty drives and the like must not stop the player with system boxes.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  return true;
}

void stopDebugRegistry(bool processExit) {
  std::lock_guard<std::mutex> hold(g_lock);
  // At process exit the handles go with the process.
  if (processExit)
    for (ThreadEntry& e : g_threads) e.handle.release();
  g_threads.clear();
  g_totalInserted = false;
}

}  // namespace zv

ZVEXPORT void ZVAPI debugAddThread(const char* name, uint32_t threadId, void* threadHandle) {
  zv::guardedVoid("debugAddThread", [&] {
    // A duplicate of our own keeps the entry valid whatever the caller does
    // with its handle, and turns GetCurrentThread()'s pseudo handle into a
    // real one.
    HANDLE own = nullptr;
    if (threadHandle)
      DuplicateHandle(GetCurrentProcess(), threadHandle, GetCurrentProcess(), &own, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    std::lock_guard<std::mutex> hold(zv::g_lock);
    zv::g_threads.push_back(zv::ThreadEntry{name ? name : "", threadId, zv::UniqueKernelHandle(own), false, {}});
  });
}

ZVEXPORT void ZVAPI debugDelThread(uint32_t threadId) {
  zv::guardedVoid("debugDelThread", [&] {
    std::lock_guard<std::mutex> hold(zv::g_lock);
    for (auto it = zv::g_threads.begin(); it != zv::g_threads.end(); ++it) {
      if (!it->total && it->id == threadId) {
        zv::g_threads.erase(it);
        return;
      }
    }
  });
}

ZVEXPORT void ZVAPI debugGetThreadName(uint32_t threadId, char* out) {
  if (!out) return;
  *out = '\0';
  zv::guardedVoid("debugGetThreadName", [&] { zv::copyBounded(out, MAX_PATH, zv::threadName(threadId)); });
}

ZVEXPORT void ZVAPI debugGetThreadList(char* out) {
  if (!out) return;
  *out = '\0';
  zv::guardedVoid("debugGetThreadList", [&] {
    std::string table = zv::threadTable();
    if (table.size() >= zv::kThreadListSize) {
      // Whole lines only: cut after the last line feed that fits.
      size_t cut = table.rfind('\n', zv::kThreadListSize - 2);
      table.resize(cut == std::string::npos ? 0 : cut + 1);
    }
    zv::copyBounded(out, zv::kThreadListSize, table);
  });
}
