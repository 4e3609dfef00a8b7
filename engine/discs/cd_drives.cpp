// The CD drive list, the disc-change monitor window, getCDId and decodeCDA.
#include "discs/cd_drives.h"

#include <windows.h>
#include <dbt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "foundation/diagnostics.h"
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
// Posted to the monitor at load: the first look at the discs waits until the
// loading thread takes messages, since asking a drive may take a while and
// must not happen inside the library's load.
constexpr UINT kFirstLook = WM_APP + 1;

CdDriveRec* g_drives[26] = {};
void (*g_describe)(const char* path) = nullptr;

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

std::unique_ptr<CdMonitorWindow> g_monitor;

}  // namespace

void setDiscDescriber(void (*describe)(const char* path)) { g_describe = describe; }

CdDriveRec* cdDrive(char letter) {
  int i = (letter | 0x20) - 'a';
  return i >= 0 && i < 26 ? g_drives[i] : nullptr;
}

char driveHoldingDisc(uint32_t discId) {
  for (int i = 0; i < 26; ++i)
    if (g_drives[i] && g_drives[i]->identity[0] && g_drives[i]->discId == discId) return char('A' + i);
  return 0;
}

void refreshCdDrives(bool announce) {
  for (int i = 0; i < 26; ++i) {
    CdDriveRec* rec = g_drives[i];
    if (!rec) continue;
    const char letter = char('A' + i);
    char identity[16];
    readIdentity(letter, identity);
    if (std::strcmp(identity, rec->identity) == 0) continue;
    std::memcpy(rec->identity, identity, sizeof(identity));
    rec->discId = identity[0] ? guardedDiscId(letter) : 0;
    if (announce) announceDisc(letter, *rec);
  }
}

bool startCdDrives() {
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    const char root[4] = {char('A' + i), ':', '\\', 0};
    if (GetDriveTypeA(root) != DRIVE_CDROM) continue;
    g_drives[i] = static_cast<CdDriveRec*>(mallocex(sizeof(CdDriveRec), "cdRec"));
  }
  g_monitor = std::make_unique<CdMonitorWindow>();
  if (g_monitor->create())
    PostMessageA(g_monitor->hwnd(), kFirstLook, 0, 0);
  else
    g_monitor.reset();
  return true;  // the engine works without disc-change news
}

void stopCdDrives(bool processExit) {
  if (processExit) {
    // The process is ending: no window is destroyed under the loader lock;
    // the system takes the window and its object goes with the process.
    (void)g_monitor.release();
  } else {
    g_monitor.reset();
    unregisterWindowClass(kMonitorClass);
  }
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
