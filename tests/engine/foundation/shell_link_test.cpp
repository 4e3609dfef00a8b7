// resolveLink with real shortcut files made through the shell-link object,
// and the shell's file icons.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <cstring>
#include <string>
#include <thread>

#include "testkit.h"
#include "win32/owners.h"
#include "zv_paths.h"

namespace {

// Writes a shortcut at `lnk` to `target` the way the shell does.
bool makeShortcut(const std::string& lnk, const std::string& target) {
  zv::ComApartment apartment;
  zv::ComRef<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid())))
    return false;
  if (FAILED(link->SetPath(target.c_str()))) return false;
  zv::ComRef<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return false;
  WCHAR wide[MAX_PATH];
  if (!MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide, MAX_PATH)) return false;
  return SUCCEEDED(file->Save(wide, TRUE));
}

std::string resolvedOn(const std::string& lnk, const char* before = "untouched") {
  char target[260];
  std::strcpy(target, before);
  resolveLink(lnk.c_str(), target);
  return target;
}

}  // namespace

TEST(ResolveLink, writesTheTargetOfARealShortcut) {
  std::string dir = zvtest::freshDir("resolveLink");
  std::string target = dir + "\\song.mp3";
  ASSERT_TRUE(zvtest::writeFile(target, "ID3", 3));
  std::string lnk = dir + "\\song.lnk";
  ASSERT_TRUE(makeShortcut(lnk, target));
  EXPECT_EQ(_stricmp(resolvedOn(lnk).c_str(), target.c_str()), 0) << resolvedOn(lnk);
}

TEST(ResolveLink, keepsEightBitNames) {
  std::string dir = zvtest::freshDir("resolveLink8");
  std::string folder = dir + "\\M\xFCsik \xC9t\xE9";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  std::string target = folder + "\\\xC0 la fa\xE7on.mp3";
  ASSERT_TRUE(zvtest::writeFile(target, "ID3", 3));
  std::string lnk = dir + "\\\xE9t\xE9.lnk";
  ASSERT_TRUE(makeShortcut(lnk, target));
  EXPECT_EQ(resolvedOn(lnk), target);
}

// An engine thread need not have entered COM: resolveLink does it for the call.
TEST(ResolveLink, worksOnAThreadWithoutCom) {
  std::string dir = zvtest::freshDir("resolveLinkThread");
  std::string target = dir + "\\t.mp3";
  ASSERT_TRUE(zvtest::writeFile(target, "ID3", 3));
  std::string lnk = dir + "\\t.lnk";
  ASSERT_TRUE(makeShortcut(lnk, target));
  std::string got;
  HRESULT comBefore = E_FAIL;
  std::thread worker([&] {
    got = resolvedOn(lnk);
    // COM is left as it was found: not initialised on this thread.
    comBefore = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(comBefore)) CoUninitialize();
  });
  worker.join();
  EXPECT_EQ(_stricmp(got.c_str(), target.c_str()), 0) << got;
  EXPECT_EQ(comBefore, S_OK) << "resolveLink left an apartment behind";
}

TEST(ResolveLink, failuresLeaveTheBufferAlone) {
  std::string dir = zvtest::freshDir("resolveLinkFail");
  std::string notALink = dir + "\\plain.lnk";
  ASSERT_TRUE(zvtest::writeFile(notALink, "not a shortcut", 14));
  EXPECT_EQ(resolvedOn(notALink), "untouched");
  EXPECT_EQ(resolvedOn(dir + "\\missing.lnk"), "untouched");
  EXPECT_EQ(resolvedOn(""), "untouched");
  // A name longer than the 500 characters the link object takes is not cut and loaded.
  EXPECT_EQ(resolvedOn(dir + "\\" + std::string(600, 'n') + ".lnk"), "untouched");
  resolveLink(nullptr, nullptr);
  resolveLink(notALink.c_str(), nullptr);
}

TEST(ResolveLink, cutsALongTargetTo259Bytes) {
  std::string dir = zvtest::freshDir("resolveLinkLong");
  std::string target = dir + "\\" + std::string(400, 't') + ".mp3";  // need not exist for the link
  std::string lnk = dir + "\\long.lnk";
  if (!makeShortcut(lnk, target)) GTEST_SKIP() << "the shell refuses targets this long";
  char buffer[300];
  std::memset(buffer, '#', sizeof(buffer));
  buffer[0] = '\0';
  resolveLink(lnk.c_str(), buffer);
  EXPECT_LE(std::strlen(buffer), 259u);
  EXPECT_EQ(buffer[260], '#');
}

TEST(ExtractAssociatedIcon, givesALargeAndASmallIcon) {
  std::string dir = zvtest::freshDir("icons");
  std::string file = dir + "\\a.txt";
  ASSERT_TRUE(zvtest::writeFile(file, "x", 1));
  void* large = nullptr;
  void* small_ = nullptr;
  EXPECT_EQ(extractAssociatedIcon(file.c_str(), &large, &small_), ZV_TRUE);
  ASSERT_NE(large, nullptr);
  ASSERT_NE(small_, nullptr);

  auto width = [](void* icon) {
    ICONINFO info = {};
    if (!GetIconInfo(static_cast<HICON>(icon), &info)) return 0L;
    BITMAP bm = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return static_cast<long>(bm.bmWidth);
  };
  EXPECT_EQ(width(large), GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(width(small_), GetSystemMetrics(SM_CXSMICON));
  EXPECT_TRUE(DestroyIcon(static_cast<HICON>(large)));
  EXPECT_TRUE(DestroyIcon(static_cast<HICON>(small_)));

  // Handles the caller does not take are not leaked into its hands.
  EXPECT_EQ(extractAssociatedIcon(file.c_str(), nullptr, nullptr), ZV_TRUE);
  EXPECT_EQ(extractAssociatedIcon(nullptr, &large, &small_), ZV_FALSE);
}
