// The file scanner's thread: registered under its localised name at idle
// priority, and a second copy of the engine loaded and unloaded while its
// scanner is at work.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "meta_fixture.h"
#include "testkit.h"
#include "zv_desc.h"
#include "zv_memory.h"

TEST(ScannerThread, registeredUnderItsNameAtIdlePriority) {
  // Make sure the thread has run: one answered query.
  std::string dir = zvtest::freshDir("registered");
  zvtest::writeFile(dir + "\\a.wav", "RIFF", 4);
  queryInfo((dir + "\\a.wav").c_str(), ZvTarget(GetCurrentThreadId()), 0, 0);
  std::vector<ZvQueryResult> got;
  ASSERT_TRUE(metatest::collectAnswers(1, &got));
  char table[4096];
  debugGetThreadList(table);
  debugGetThreadList(table);  // entries show from the second call on
  std::string text(table);
  // Its name is localised like the built-in kinds' names (no language file
  // here: the default text), never the raw "key###default" text.
  const std::string name = "\tFile scanner\t";
  size_t at = text.find(name);
  ASSERT_NE(at, std::string::npos) << text;
  EXPECT_EQ(text.substr(at + name.size(), 2), "I\t");
  EXPECT_EQ(text.find("###"), std::string::npos) << text;
}

// A copy of the engine under another name is a module of its own: loading it
// runs every unit again, unloading stops its scanner, here while it works.
TEST(ScannerThread, engineUnloadsWhileItsScannerWorks) {
  char self[MAX_PATH];
  GetModuleFileNameA(GetModuleHandleA("zvengine.dll"), self, MAX_PATH);
  std::string copy = zvtest::testDir() + "\\zvengine_copy.dll";
  ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
  std::string dir = zvtest::freshDir("unload");
  std::string file = dir + "\\a.wav";
  zvtest::writeFile(file, "RIFF", 4);
  using QueryFn = void(ZVAPI*)(const char*, ZvTarget, int32_t, int32_t);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    HMODULE engine = LoadLibraryA(copy.c_str());
    ASSERT_NE(engine, nullptr);
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(engine, "queryInfo")));
    ASSERT_NE(query, nullptr);
    query(file.c_str(), ZvTarget(GetCurrentThreadId()), 5, round);
    // The first answer proves the copy's scanner runs; more are queued behind it.
    MSG msg;
    ASSERT_TRUE(zvtest::waitFor([&] { return PeekMessageA(&msg, nullptr, msgInfoReady, msgInfoReady, PM_REMOVE) != 0; },
                                20000));
    // The copy's block comes from the copy's memory manager: free it there.
    auto finish = reinterpret_cast<void(ZVAPI*)(const MSG*)>(reinterpret_cast<void*>(GetProcAddress(engine, "finishMsg")));
    finish(&msg);
    for (int i = 0; i < 200; ++i) query(file.c_str(), ZvTarget(GetCurrentThreadId()), 5, i);
    DWORD t0 = GetTickCount();
    EXPECT_TRUE(FreeLibrary(engine));
    EXPECT_LT(GetTickCount() - t0, 9000u) << "the scanner held the unload up";
    EXPECT_EQ(GetModuleHandleA("zvengine_copy.dll"), nullptr);
    // Answers already posted carry blocks of the unloaded copy; drop them unread.
    while (PeekMessageA(&msg, nullptr, msgInfoReady, msgInfoReady, PM_REMOVE)) {
    }
  }
}
