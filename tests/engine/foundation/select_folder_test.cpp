// The folder picker with the real system dialog, answered by a helper thread
// as a user would (OK or Cancel) once the dialog has selected the folder.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <string>

#include "testkit.h"
#include "zv_config.h"
#include "win32/owners.h"

namespace {

struct Answer {
  DWORD uiThread;
  int button;          // IDOK or IDCANCEL
  const char* folder;  // the name the selection must show first
  std::atomic<bool> pressed{false};
  std::string seen;  // the last selection shown, for the failure message
};

BOOL CALLBACK findDialog(HWND w, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof(cls));
  if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK findTree(HWND w, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof(cls));
  if (std::strcmp(cls, WC_TREEVIEWA) == 0) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI answerDialog(void* p) {
  auto* a = static_cast<Answer*>(p);
  HWND dialog = nullptr;
  // The dialog is up and its tree shows a selection (the preselected folder).
  bool ready = zvtest::waitFor(
      [&] {
        dialog = nullptr;
        EnumThreadWindows(a->uiThread, findDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) return false;
        HWND tree = nullptr;
        EnumChildWindows(dialog, findTree, reinterpret_cast<LPARAM>(&tree));
        if (!tree) return false;
        TVITEMA item = {};
        char name[MAX_PATH] = {};
        item.mask = TVIF_TEXT;
        item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        item.pszText = name;
        item.cchTextMax = sizeof(name);
        if (!item.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return false;
        a->seen = name;
        return _stricmp(name, a->folder) == 0;
      },
      20000);  // generous: the shell fills the tree slowly on a loaded machine
  // Never leave the dialog hanging: without the folder shown, cancel it.
  if (dialog) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(ready ? a->button : IDCANCEL, BN_CLICKED), 0);
  a->pressed = ready;
  return 0;
}

// Runs selectFolder with a helper pressing `button`.
ZvBool pick(char* path, const char* folder, int button, bool& pressed, std::string& seen) {
  Answer a{GetCurrentThreadId(), button, folder};
  zv::UniqueKernelHandle helper(CreateThread(nullptr, 0, answerDialog, &a, 0, nullptr));
  ZvBool result = selectFolder(nullptr, "Choose the zvtest folder", path);
  WaitForSingleObject(helper.get(), 30000);
  pressed = a.pressed;
  seen = a.seen;
  return result;
}

// Both folders exist before the first dialog opens: the shell remembers a
// folder's children from the first browse, and a folder made after it is not
// found by the next dialog of the same process.
std::string testFolder(const char* name) {
  static const bool made = [] {
    zvtest::freshDir("pickme");
    zvtest::freshDir("cancelme");
    return true;
  }();
  (void)made;
  return zvtest::testDir() + "\\" + name;
}

}  // namespace

TEST(SelectFolder, okReturnsThePreselectedFolderWithoutBackslash) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  std::string dir = testFolder("pickme");
  char path[MAX_PATH];
  std::strcpy(path, (dir + "\\").c_str());
  bool pressed = false;
  std::string seen;
  ZvBool result = pick(path, "pickme", IDOK, pressed, seen);
  ASSERT_TRUE(pressed) << "dialog never showed the folder; last selection: " << seen;
  EXPECT_NE(result, 0);
  EXPECT_EQ(_stricmp(path, dir.c_str()), 0) << path << " vs " << dir;
}

TEST(SelectFolder, cancelLeavesThePathAlone) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  std::string dir = testFolder("cancelme");
  char path[MAX_PATH];
  std::strcpy(path, dir.c_str());
  bool pressed = false;
  std::string seen;
  EXPECT_EQ(pick(path, "cancelme", IDCANCEL, pressed, seen), 0);
  ASSERT_TRUE(pressed) << "last selection: " << seen;
  EXPECT_STREQ(path, dir.c_str());
}
