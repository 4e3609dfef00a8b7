// A copy of the engine under another name, loaded and freed at once, many
// times over, as a host does when it only looks a library over (the
// visualisation list loads every candidate and frees it again). Each load
// runs the whole load sequence, threads included; each free runs the unload
// under the loader lock while those threads may be anywhere in their start.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "testkit.h"
#include "win32/owners.h"

namespace {

struct Rounds {
  std::string copy;
  int total = 0;
  volatile LONG done = 0;
  volatile LONG failed = 0;
};

DWORD WINAPI loadAndFree(void* argument) {
  auto* r = static_cast<Rounds*>(argument);
  for (int i = 0; i < r->total; ++i) {
    zv::UniqueModule engine(LoadLibraryA(r->copy.c_str()));
    if (!engine || !GetProcAddress(engine.get(), "queryInfo")) InterlockedIncrement(&r->failed);
    // Some rounds give the copy's new threads a moment to start first.
    for (int y = 0; y < (i % 3) * 20; ++y) SwitchToThread();
    engine.reset();
    InterlockedIncrement(&r->done);
  }
  return 0;
}

TEST(EngineCopy, loadsAndFreesAtOnceWithoutEverHanging) {
  char self[MAX_PATH];
  GetModuleFileNameA(GetModuleHandleA("zvengine.dll"), self, MAX_PATH);
  Rounds r;
  r.copy = zvtest::testDir() + "\\zvengine_quick.dll";
  r.total = 40;
  ASSERT_TRUE(CopyFileA(self, r.copy.c_str(), FALSE));
  zv::UniqueKernelHandle worker(CreateThread(nullptr, 0, loadAndFree, &r, 0, nullptr));
  ASSERT_TRUE(worker);
  // Each round is well under a second; a stuck unload holds the loader lock,
  // which would hang even this process's exit, so it ends the process.
  LONG seen = -1;
  for (;;) {
    if (WaitForSingleObject(worker.get(), 20000) == WAIT_OBJECT_0) break;
    if (r.done == seen) {
      std::fprintf(stderr, "EngineCopy: round %ld of %d never ended: the copy's load or unload hangs\n",
                   r.done + 1, r.total);
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
    seen = r.done;
  }
  EXPECT_EQ(r.done, r.total);
  EXPECT_EQ(r.failed, 0);
  EXPECT_EQ(GetModuleHandleA("zvengine_quick.dll"), nullptr);
}

}  // namespace
