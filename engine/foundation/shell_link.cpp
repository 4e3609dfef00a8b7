// Shortcut targets and file icons through the shell.
#include <windows.h>
// after windows.h
#include <shellapi.h>
#include <shlobj.h>

#include <string_view>

#include "foundation/diagnostics.h"
#include "foundation/path_forms.h"
#include "foundation/text_util.h"
#include "win32/owners.h"
#include "zv_paths.h"

namespace {

// The shell-link object takes the file name in wide characters.
constexpr int kLinkNameMax = 500;

void resolveInto(const char* path, char* target) {
  if (!path || !*path || !target) return;
  WCHAR wide[kLinkNameMax + 1];
  // A name that does not fit is not loaded at all: cut, it would name another file.
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kLinkNameMax + 1) == 0) return;

  zv::ComApartment apartment;
  zv::ComRef<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid())))
    return;
  zv::ComRef<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return;
  if (FAILED(file->Load(wide, STGM_READ))) return;
  // Any match, and update the shortcut if its target moved; no window, but
  // the user interface is allowed (the shell may ask where the target went).
  if (FAILED(link->Resolve(nullptr, SLR_ANY_MATCH | SLR_UPDATE))) return;
  char found[MAX_PATH + 1] = {};
  if (link->GetPath(found, MAX_PATH, nullptr, 0) != S_OK || found[0] == '\0') return;
  zv::copyBounded(target, zv::kPathMax, found);
}

HICON shellIcon(const char* path, UINT size) {
  SHFILEINFOA info = {};
  if (!SHGetFileInfoA(path, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SHELLICONSIZE | size)) return nullptr;
  return info.hIcon;
}

}  // namespace

ZVEXPORT void ZVAPI resolveLink(const char* path, char* target) {
  zv::guardedVoid("resolveLink", [&] { resolveInto(path, target); });
}

ZVEXPORT ZvBool ZVAPI extractAssociatedIcon(const char* path, void** largeIcon, void** smallIcon) {
  return zv::guarded("extractAssociatedIcon", ZV_FALSE, [&] {
    if (!path) return ZV_FALSE;
    // Each icon goes straight to the caller, who owns it from here; one the
    // caller did not ask for is destroyed.
    zv::UniqueIcon large(shellIcon(path, SHGFI_LARGEICON));
    zv::UniqueIcon small_(shellIcon(path, SHGFI_SMALLICON));
    const ZvBool both = (large && small_) ? ZV_TRUE : ZV_FALSE;
    if (largeIcon) *largeIcon = large.release();
    if (smallIcon) *smallIcon = small_.release();
    return both;
  });
}
