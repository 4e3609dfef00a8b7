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

// The browser selects a folder only once its window exists.
int CALLBACK browseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data) SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
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
  std::string start = path;
  if (start.size() > 3 && lastSeparator(start) == start.size() - 1) start.pop_back();
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.lpszTitle = title;
  info.ulFlags = browseFlags();
  info.lpfn = browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
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
