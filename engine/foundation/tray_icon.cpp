// The notification-area icon: add, change, remove, and a balloon on it.
// The short record (64-byte tip) serves the first three; the balloon needs
// the shell-5 record with its info fields.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <climits>
#include <string_view>

#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "zv_paths.h"

namespace {

constexpr size_t kTipBytes = 64;          // 63 characters + NUL
constexpr size_t kBalloonTitleBytes = 64;
constexpr size_t kBalloonTextBytes = 256;

NOTIFYICONDATAA shortRecord(void* window, uint32_t id) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = static_cast<HWND>(window);
  data.uID = id;
  return data;
}

std::string_view text(const char* s) { return s ? std::string_view(s) : std::string_view(); }

}  // namespace

ZVEXPORT int32_t ZVAPI addTrayIcon(void* window, uint32_t id, uint32_t message, void* icon, const char* tip) {
  return zv::guarded("addTrayIcon", 0, [&] {
    NOTIFYICONDATAA data = shortRecord(window, id);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = message;
    data.hIcon = static_cast<HICON>(icon);
    zv::copyBounded(data.szTip, kTipBytes, text(tip));
    return static_cast<int32_t>(Shell_NotifyIconA(NIM_ADD, &data));
  });
}

ZVEXPORT int32_t ZVAPI editTrayIcon(void* window, uint32_t id, void* icon, const char* tip) {
  return zv::guarded("editTrayIcon", 0, [&] {
    NOTIFYICONDATAA data = shortRecord(window, id);
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = static_cast<HICON>(icon);
    zv::copyBounded(data.szTip, kTipBytes, text(tip));
    return static_cast<int32_t>(Shell_NotifyIconA(NIM_MODIFY, &data));
  });
}

ZVEXPORT int32_t ZVAPI delTrayIcon(void* window, uint32_t id) {
  return zv::guarded("delTrayIcon", 0, [&] {
    NOTIFYICONDATAA data = shortRecord(window, id);
    return static_cast<int32_t>(Shell_NotifyIconA(NIM_DELETE, &data));
  });
}

ZVEXPORT int32_t ZVAPI trayHintV5(void* window, uint32_t id, const char* title, const char* text_,
                                  uint32_t infoFlags, uint32_t seconds) {
  return zv::guarded("trayHintV5", 0, [&] {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = static_cast<HWND>(window);
    data.uID = id;
    // Balloons behave as on shell 5 only once the icon has asked for version 3.
    data.uVersion = NOTIFYICON_VERSION;
    Shell_NotifyIconA(NIM_SETVERSION, &data);

    // Clamped so that a huge time-out cannot wrap round to a short one.
    data.uTimeout = (seconds > UINT_MAX / 1000 ? UINT_MAX / 1000 : seconds) * 1000;
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = infoFlags;
    zv::copyBounded(data.szInfo, kBalloonTextBytes, text(text_));
    zv::copyBounded(data.szInfoTitle, kBalloonTitleBytes, text(title));
    return static_cast<int32_t>(Shell_NotifyIconA(NIM_MODIFY, &data));
  });
}
