// The folder picker: the system's folder browser with a folder preselected.
#include <windows.h>
// after windows.h
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "foundation/config_store.h"
#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "win32/owners.h"
#include "zv_config.h"

namespace zv {
namespace {

// What the browser is asked to show first, and what it shows.
struct BrowseStart {
  std::string path;
  std::string shown;  // the folder of the last selection change
};

// A browser's first walk down its tree can end on an ancestor of an existing
// folder (Wine's does, in the first browser of a process, and when a folder
// on the way changes meanwhile); a second walk over the levels it has
// listed by then gets there. The selection change tells where it ended.
void selectStart(HWND browser, BrowseStart& start) {
  const DWORD attributes = GetFileAttributesA(start.path.c_str());
  const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  for (int attempt = 0; attempt < 4; ++attempt) {
    start.shown.clear();
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start.path.c_str()));
    if (!isFolder || _stricmp(start.shown.c_str(), start.path.c_str()) == 0) return;
  }
}

// The browser selects a folder only once its window exists.
int CALLBACK browseCallback(HWND window, UINT message, LPARAM param, LPARAM data) {
  auto* start = reinterpret_cast<BrowseStart*>(data);
  if (!start) return 0;
  if (message == BFFM_SELCHANGED) {
    char folder[MAX_PATH] = {};
    const auto* item = reinterpret_cast<PCIDLIST_ABSOLUTE>(param);
    start->shown = item && SHGetPathFromIDListA(item, folder) ? folder : "";
    if (start->shown.size() > 3 && lastSeparator(start->shown) == start->shown.size() - 1) start->shown.pop_back();
  } else if (message == BFFM_INITIALIZED) {
    selectStart(window, *start);
  }
  return 0;
}

UINT browseFlags() {
  UINT flags = BIF_RETURNONLYFSDIRS;
  if (parseConfigInt(configText("newStyleBrowse", "1"), 1) != 0) {
    if (shellVer() > 470) flags |= BIF_EDITBOX;
    if (shellVer() >= 500) flags |= BIF_NEWDIALOGSTYLE;
  }
  return flags;
}

bool browse(HWND owner, const char* title, char* path) {
  ComApartment com;  // the new dialog style needs COM on this thread
  // The caller's text, kept for the callback. Some browsers find no folder
  // for "C:\x\", so a trailing separator goes (a drive root keeps it).
  BrowseStart start{path, ""};
  if (start.path.size() > 3 && lastSeparator(start.path) == start.path.size() - 1) start.path.pop_back();
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.lpszTitle = title;
  info.ulFlags = browseFlags();
  info.lpfn = browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&start);
  UniqueCoTaskMem<PIDLIST_ABSOLUTE> chosen(SHBrowseForFolderA(&info));
  if (!chosen) return false;  // cancelled: the caller's path stays
  char folder[MAX_PATH] = {};
  BOOL ok = SHGetPathFromIDListA(chosen.get(), folder);
  std::string result = ok ? folder : "";
  if (!result.empty() && lastSeparator(result) == result.size() - 1) result.pop_back();
  copyBounded(path, MAX_PATH, result);
  return !result.empty();
}

}  // namespace
}  // namespace zv

ZVEXPORT ZvBool ZVAPI selectFolder(void* owner, const char* title, char* path) {
  if (!path) return ZV_FALSE;
  return zv::guarded("selectFolder", ZV_FALSE, [&] {
    return zv::browse(static_cast<HWND>(owner), title ? title : "", path) ? ZV_TRUE : ZV_FALSE;
  });
}
