// The CD drive list, the disc-change monitor window, getCDId and decodeCDA.
#include "playback/cd_drives.h"

#include <windows.h>
#include <dbt.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/diagnostics.h"
#include "foundation/engine_frame.h"
#include "foundation/mci_cd.h"
#include "foundation/text_util.h"
#include "metadata/desc_link.h"
#include "playback/cd_path.h"
#include "zv_cdaudio.h"
#include "zv_cddb.h"
#include "zv_memory.h"
#include "zv_plugins.h"

namespace zv {
namespace {

constexpr char kMonitorClass[] = "CDMonitorWnd";
// Posted to the monitor when it is made: the first look at the discs waits
// until its thread takes messages, since asking a drive may take a while and
// must not hold up initPlugins.
constexpr UINT kFirstLook = WM_APP + 1;

CdDriveRec* g_drives[26] = {};
// Guards the records' contents (the slots themselves change only at load and
// unload). Never held while a drive is asked: that may take a while.
SRWLOCK g_drivesLock = SRWLOCK_INIT;
// Created by initPlugins on its caller's thread (which takes messages), not
// at load: creating a window under the loader lock can deadlock.
std::atomic<HWND> g_monitor{nullptr};
bool g_classRegistered = false;

struct ReadLock {
  ReadLock() { AcquireSRWLockShared(&g_drivesLock); }
  ~ReadLock() { ReleaseSRWLockShared(&g_drivesLock); }
};
struct WriteLock {
  WriteLock() { AcquireSRWLockExclusive(&g_drivesLock); }
  ~WriteLock() { ReleaseSRWLockExclusive(&g_drivesLock); }
};

int driveIndex(char letter) {
  int i = (letter | 0x20) - 'a';
  return i >= 0 && i < 26 ? i : -1;
}

void readIdentity(char letter, char* out) {
  out[0] = 0;
  MciCd cd;
  std::string identity;
  if (!cd.open(letter, "mycdxx") || !cd.mediaIdentity(identity)) return;
  char* end = nullptr;
  unsigned long long number = std::strtoull(identity.c_str(), &end, 10);
  if (identity.empty() || !end || *end) return;
  char hex[24];
  std::snprintf(hex, sizeof(hex), "%llX", number);
  copyBounded(out, 16, hex);
}

void announceDisc(char letter, const CdDriveRec& rec) {
  const char root[3] = {letter, ':', 0};
  broadcastFileChanged(root);
  requestDescription(root);
  ZvDiscChange change = {};
  change.drive = letter;
  change.present = rec.identity[0] ? -1 : 0;
  std::memcpy(change.identity, rec.identity, sizeof(change.identity));
  pluginMsg(0, msgDiscChange, &change, sizeof(change));
}

LRESULT CALLBACK monitorProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_DEVICECHANGE) {
    auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lp);
    if ((wp == DBT_DEVICEARRIVAL || wp == DBT_DEVICEREMOVECOMPLETE) && header &&
        header->dbch_devicetype == DBT_DEVTYP_VOLUME)
      guardedVoid("CDMonitorWnd", [] { refreshCdDrives(true); });
    return TRUE;
  }
  if (message == kFirstLook) {
    guardedVoid("CDMonitorWnd", [] { refreshCdDrives(false); });
    return 0;
  }
  return DefWindowProcA(window, message, wp, lp);
}

}  // namespace

bool cdDriveRecord(char letter, CdDriveRec* copy) {
  int i = driveIndex(letter);
  ReadLock hold;
  if (i < 0 || !g_drives[i]) return false;
  if (copy) *copy = *g_drives[i];
  return true;
}

bool setCdDriveUser(char letter, uint32_t threadId) {
  int i = driveIndex(letter);
  WriteLock hold;
  if (i < 0 || !g_drives[i]) return false;
  g_drives[i]->threadId = threadId;
  return true;
}

char driveHoldingDisc(uint32_t discId) {
  ReadLock hold;
  for (int i = 0; i < 26; ++i)
    if (g_drives[i] && g_drives[i]->identity[0] && g_drives[i]->discId == discId) return char('A' + i);
  return 0;
}

void refreshCdDrives(bool announce) {
  for (int i = 0; i < 26; ++i) {
    const char letter = char('A' + i);
    CdDriveRec before;
    if (!cdDriveRecord(letter, &before)) continue;
    // The drive is asked without the lock; identity and disc id are then
    // published together, so no reader sees a new identity with an old id.
    CdDriveRec now = before;
    readIdentity(letter, now.identity);
    if (std::strcmp(now.identity, before.identity) == 0) continue;
    now.discId = now.identity[0] ? cddbId(letter) : 0;
    {
      WriteLock hold;
      if (!g_drives[i]) continue;
      std::memcpy(g_drives[i]->identity, now.identity, sizeof(now.identity));
      g_drives[i]->discId = now.discId;
      now.threadId = g_drives[i]->threadId;
    }
    if (announce) announceDisc(letter, now);
  }
}

bool startCdDrives() {
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    const char root[4] = {char('A' + i), ':', '\\', 0};
    if (GetDriveTypeA(root) != DRIVE_CDROM) continue;
    auto* rec = static_cast<CdDriveRec*>(mallocex(sizeof(CdDriveRec), "cdRec"));
    WriteLock hold;
    g_drives[i] = rec;
  }
  return true;
}

void startCdMonitor() {
  if (g_monitor.load()) return;
  if (!g_classRegistered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = monitorProc;
    wc.hInstance = engineModule();
    wc.lpszClassName = kMonitorClass;
    g_classRegistered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  HWND monitor = CreateWindowExA(WS_EX_TOOLWINDOW, kMonitorClass, "", WS_POPUP, -100, -100, 0, 0, nullptr, nullptr,
                                 engineModule(), nullptr);
  if (!monitor) return;  // the engine works without disc-change news
  g_monitor = monitor;
  PostMessageA(monitor, kFirstLook, 0, 0);
}

void stopCdMonitor() {
  HWND monitor = g_monitor.exchange(nullptr);
  if (!monitor) return;
  // Only its own thread may destroy a window; from any other thread it is
  // asked to close, which its thread's message loop carries out.
  if (GetWindowThreadProcessId(monitor, nullptr) == GetCurrentThreadId())
    DestroyWindow(monitor);
  else
    PostMessageA(monitor, WM_CLOSE, 0, 0);
}

void stopCdDrives(bool processExit) {
  if (!processExit) {
    stopCdMonitor();
    if (g_classRegistered) UnregisterClassA(kMonitorClass, engineModule());
    g_classRegistered = false;
  }
  WriteLock hold;
  for (CdDriveRec*& rec : g_drives) {
    _mfree(rec);
    rec = nullptr;
  }
}

}  // namespace zv

using namespace zv;

ZVEXPORT void ZVAPI getCDId(char letter, char* out) {
  guardedVoid("getCDId", [&] {
    if (out) readIdentity(letter, out);
  });
}

ZVEXPORT ZvBool ZVAPI decodeCDA(const char* path, uint32_t* kind, char* drive, uint32_t* discId, int32_t* track) {
  return guarded<ZvBool>("decodeCDA", ZV_FALSE, [&]() -> ZvBool {
    CdPath cd = parseCdPath(path, isAudioCdDrive);
    if (cd.kind == cdaDriveDisc || cd.kind == cdaDriveTrack) cd.discId = cddbId(cd.drive);
    if (kind) *kind = cd.kind;
    if (drive) *drive = cd.drive;
    if (discId) *discId = cd.discId;
    if (track) *track = cd.track;
    return cd.kind != cdaNone ? ZV_TRUE : ZV_FALSE;
  });
}
