// F1 in a window of the real zorvak.exe opens that window's help page from
// the documentation folder of the user's language, through the program the
// system associates with HTML files. The test associates them, for its own
// run, with a recorder that writes the path it was asked to open.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "program_fixture.h"
#include "testkit.h"
#include "win32/owners.h"

namespace {

using namespace ptest;

constexpr UINT kKeyF1 = 0x004D;  // what the system posts for the F1 key (WM_KEYF1)

// HKCR\.html opens with `command` while this lives; what was there before
// comes back (the test prefix has no association for .html of its own).
class HtmlAssociation {
 public:
  explicit HtmlAssociation(const std::string& command) {
    char previous[256] = {};
    LONG size = sizeof(previous);
    hadPrevious_ = RegQueryValueA(HKEY_CLASSES_ROOT, ".html", previous, &size) == ERROR_SUCCESS;
    previous_ = previous;
    ok_ = RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, kClass, 0) == ERROR_SUCCESS &&
          RegSetValueA(HKEY_CLASSES_ROOT, (std::string(kClass) + "\\shell\\open\\command").c_str(), REG_SZ,
                       command.c_str(), 0) == ERROR_SUCCESS;
  }
  ~HtmlAssociation() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClass);
    if (hadPrevious_)
      RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, previous_.c_str(), 0);
    else
      RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
  }
  bool ok() const { return ok_; }

 private:
  static constexpr const char* kClass = "ZorvakHelpTestPage";
  bool ok_ = false, hadPrevious_ = false;
  std::string previous_;
};

struct Search {
  DWORD pid;
  const char* caption;
  HWND found;
};

BOOL CALLBACK findCaption(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  char text[128] = {};
  GetWindowTextA(w, text, sizeof(text));
  if (owner == s->pid && std::strcmp(text, s->caption) == 0 && IsWindowVisible(w)) s->found = w;
  return s->found == nullptr;
}

HWND waitWindowOf(DWORD pid, const char* caption, int ms) {
  Search search{pid, caption, nullptr};
  zvtest::waitFor([&] {
    EnumWindows(findCaption, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, ms);
  return search.found;
}

std::string fullPath(const std::string& path) {
  char full[MAX_PATH] = {};
  GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return CharLowerA(full);
}

// The one path the recorder was started with, once it wrote it.
std::string openedPage(const std::string& recorded, int ms) {
  std::string text;
  zvtest::waitFor([&] {
    text = fileText(recorded);
    return !text.empty();
  }, ms);
  DeleteFileA(recorded.c_str());
  return fullPath(text.substr(0, text.find('\n')));
}

}  // namespace

TEST(HelpProgram, f1InAWindowOpensItsPageInTheLanguageFolderOrThroughItsLink) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
  const std::string root = zvtest::rootDir();
  const std::string recorder = root + "\\probe\\zv_args_recorder.exe";
  const std::string recorded = root + "\\probe\\args.txt";
  ASSERT_NE(GetFileAttributesA(recorder.c_str()), INVALID_FILE_ATTRIBUTES);
  // The installed Russian pages, and a link of this test's own that sends
  // the CD database's page to the English one (a link wins over the page).
  ASSERT_NE(GetFileAttributesA((root + "\\doc\\ru\\eq.html").c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_NE(GetFileAttributesA((root + "\\doc\\ru\\cddb.html").c_str()), INVALID_FILE_ATTRIBUTES);
  const std::string link = root + "\\doc\\ru\\cddb.html.link";
  const std::string target = "..\\en\\cddb.html\r\n";
  ASSERT_TRUE(zvtest::writeFile(link, target.data(), target.size()));
  DeleteFileA(recorded.c_str());
  HtmlAssociation association("\"" + recorder + "\" \"%1\"");
  ASSERT_TRUE(association.ok());

  removeTree(root + "\\data");
  const std::string userData = userDataDir(root);
  SHCreateDirectoryExA(nullptr, userData.c_str(), nullptr);
  const std::string config = userData + "\\config.dat";
  WritePrivateProfileStringA("Zorvak", "seenAbout", "1", config.c_str());
  WritePrivateProfileStringA("Zorvak", "Lang", "ru", config.c_str());
  ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
  Player player(root, {});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(20000);
  ASSERT_NE(window, nullptr);

  const struct {
    const char* command;
    const char* caption;
    std::string page;
  } cases[] = {
      {"eq", "Equalizer", root + "\\doc\\ru\\eq.html"},
      {"cddb", "CD database", root + "\\doc\\en\\cddb.html"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(sendCommand(window, c.command));
    HWND tool = waitWindowOf(player.id(), c.caption, 10000);
    ASSERT_NE(tool, nullptr) << c.command;
    PostMessageA(tool, kKeyF1, 0, 0);
    EXPECT_EQ(openedPage(recorded, 10000), fullPath(c.page)) << c.command;
  }

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(20000), 0);
  DeleteFileA(link.c_str());
}
