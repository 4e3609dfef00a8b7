// The CD drive list, the disc-change monitor window, getCDId and decodeCDA.
#include "discs/cd_drives.h"

#include <windows.h>
#include <dbt.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "foundation/diagnostics.h"
#include "foundation/srw_lock.h"
#include "discs/mci_cd.h"
#include "foundation/text_util.h"
#include "discs/cd_path.h"
#include "discs/disc_toc.h"
#include "playback/host/file_changed.h"
#include "win32/window_base.h"
#include "zv_cdaudio.h"
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
void (*g_describe)(const char* path) = nullptr;
// Guards the records' contents (the slots themselves change only at load and
// unload). Never held while a drive is asked: that may take a while.
SRWLOCK g_drivesLock = SRWLOCK_INIT;

int driveIndex(char letter) {
  int i = (letter | 0x20) - 'a';
  return i >= 0 && i < 26 ? i : -1;
}

void readIdentity(char letter, char* out) {
  out[0] = 0;
  MciCd cd;
  std::string identity;
  if (!cd.open(letter, "mycdxx") || !cd.mediaIdentity(identity)) return;
  copyBounded(out, 16, mediaIdentityHex(identity));
}

// The disc id as the cddbId export gives it: 0, with a diagnostic line, when
// reading the disc throws.
uint32_t guardedDiscId(char letter) {
  return guarded<uint32_t>("cddbId", 0u, [&] { return discIdOfDrive(letter); });
}

void announceDisc(char letter, const CdDriveRec& rec) {
  const char root[3] = {letter, ':', 0};
  broadcastFileChanged(root);
  if (g_describe) g_describe(root);
  ZvDiscChange change = {};
  change.drive = letter;
  change.present = rec.identity[0] ? -1 : 0;
  std::memcpy(change.identity, rec.identity, sizeof(change.identity));
  pluginMsg(0, msgDiscChange, &change, sizeof(change));
}

// The hidden window that hears of volumes arriving and leaving. An
// exception in a refresh becomes a diagnostic line headed by the class name.
class CdMonitorWindow : public WindowBase {
 public:
  bool create() { return WindowBase::create({kMonitorClass}, WS_EX_TOOLWINDOW, "", WS_POPUP, -100, -100, 0, 0); }

 private:
  LRESULT handle(UINT message, WPARAM wp, LPARAM lp) override {
    if (message == WM_DEVICECHANGE) {
      auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lp);
      if ((wp == DBT_DEVICEARRIVAL || wp == DBT_DEVICEREMOVECOMPLETE) && header &&
          header->dbch_devicetype == DBT_DEVTYP_VOLUME)
        refreshCdDrives(true);
      return TRUE;
    }
    if (message == kFirstLook) {
      refreshCdDrives(false);
      return 0;
    }
    return passOn(message, wp, lp);
  }
};

// Made by initPlugins on its caller's thread (which takes messages), not at
// load: creating a window under the loader lock can deadlock. The lock
// orders initPlugins and freePlugins called from different threads.
std::mutex g_monitorLock;
std::unique_ptr<CdMonitorWindow> g_monitor;
// A monitor asked to close from another thread than its own, until it has.
std::unique_ptr<CdMonitorWindow> g_closingMonitor;

}  // namespace

void setDiscDescriber(void (*describe)(const char* path)) { g_describe = describe; }

bool cdDriveRecord(char letter, CdDriveRec* copy) {
  int i = driveIndex(letter);
  SharedLock hold(g_drivesLock);
  if (i < 0 || !g_drives[i]) return false;
  if (copy) *copy = *g_drives[i];
  return true;
}

bool setCdDriveUser(char letter, uint32_t threadId) {
  int i = driveIndex(letter);
  ExclusiveLock hold(g_drivesLock);
  if (i < 0 || !g_drives[i]) return false;
  g_drives[i]->threadId = threadId;
  return true;
}

char driveHoldingDisc(uint32_t discId) {
  SharedLock hold(g_drivesLock);
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
    now.discId = now.identity[0] ? guardedDiscId(letter) : 0;
    {
      ExclusiveLock hold(g_drivesLock);
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
    ExclusiveLock hold(g_drivesLock);
    g_drives[i] = rec;
  }
  return true;
}

void startCdMonitor() {
  std::lock_guard<std::mutex> hold(g_monitorLock);
  if (g_monitor) return;
  auto monitor = std::make_unique<CdMonitorWindow>();
  if (!monitor->create()) return;  // the engine works without disc-change news
  PostMessageA(monitor->hwnd(), kFirstLook, 0, 0);
  g_monitor = std::move(monitor);
}

void stopCdMonitor() {
  std::lock_guard<std::mutex> hold(g_monitorLock);
  if (!g_monitor) return;
  HWND window = g_monitor->hwnd();
  if (!window || GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
    g_monitor.reset();
    return;
  }
  // Only its own thread may destroy a window: from any other it is asked to
  // close, which its thread's message loop carries out. The object stays
  // until then (kept until the next stop or the unload), since that thread
  // may be inside one of its handlers right now.
  PostMessageA(window, WM_CLOSE, 0, 0);
  g_closingMonitor = std::move(g_monitor);
}

void stopCdDrives(bool processExit) {
  {
    std::lock_guard<std::mutex> hold(g_monitorLock);
    if (processExit) {
      // The process is ending: no window is destroyed under the loader lock;
      // the system takes the windows and their objects go with the process.
      (void)g_monitor.release();
      (void)g_closingMonitor.release();
    } else {
      g_monitor.reset();
      g_closingMonitor.reset();
      unregisterWindowClass(kMonitorClass);
    }
  }
  ExclusiveLock hold(g_drivesLock);
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
    if (cd.kind == cdaDriveDisc || cd.kind == cdaDriveTrack) cd.discId = guardedDiscId(cd.drive);
    if (kind) *kind = cd.kind;
    if (drive) *drive = cd.drive;
    if (discId) *discId = cd.discId;
    if (track) *track = cd.track;
    return cd.kind != cdaNone ? ZV_TRUE : ZV_FALSE;
  });
}
