// The cdaudio instance playing the simulated disc in the prefix's audio CD
// drive, the drive forms of CD paths, and the disc-change monitor.
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cd_fixture.h"
#include "testkit.h"
#include "zv_cdaudio.h"
#include "zv_cddb.h"
#include "zv_memory.h"
#include "zv_playback.h"
#include "zv_playlist.h"
#include "zv_plugins.h"

using cdtest::SimDisc;

namespace {

#define REQUIRE_AUDIO_CD_DRIVE(letter)                                                   \
  const char letter = cdtest::audioCdDrive();                                            \
  if (!letter) GTEST_SKIP() << "the prefix has no CD-ROM drive labelled \"Audio CD\"";

// Tracks of 2 s each: 0:02:00, 0:04:00, 0:06:00, lead-out at 0:08:00.
SimDisc shortDisc(const std::string& identity = "777") {
  SimDisc disc;
  disc.starts = {150, 300, 450};
  disc.leadOut = 600;
  disc.identity = identity;
  return disc;
}

// Messages the instance sends to this thread, its owner.
class Owner {
 public:
  Owner() {
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    cdtest::ensurePlugins();
    id = startPlugin("cdaudio", GetCurrentThreadId());
  }
  ~Owner() {
    if (id) stopPlugin(id);
  }

  void send(uint32_t code, const void* data = nullptr, int32_t length = 0) {
    if (data) pluginMsg(id, code, data, length);
    else pluginMsgX(id, code);
  }

  // Waits for `code`; true when it came. Everything taken is remembered.
  bool waitFor(uint32_t code, int ms) {
    ULONGLONG end = GetTickCount64() + ULONGLONG(ms);
    while (GetTickCount64() < end) {
      MSG msg;
      if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        Sleep(5);
        continue;
      }
      if (msg.hwnd) {
        DispatchMessageA(&msg);
        continue;
      }
      seen.push_back(msg.message);
      if (msg.message == msgOpened) getMsgPrm(&msg, &opened);
      finishMsg(&msg);
      if (msg.message == code) return true;
    }
    return false;
  }

  int count(uint32_t code) const {
    int n = 0;
    for (uint32_t c : seen) n += c == code;
    return n;
  }

  void open(const std::string& path) {
    ZvInOpenPrm prm = {};
    std::strcpy(prm.fileName, path.c_str());
    prm.status = &status;
    send(msgInOpen, &prm, sizeof(prm));
  }

  ZvTarget id = 0;
  ZvStatusRec status = {};
  ZvOpenedPrm opened = {};
  std::vector<uint32_t> seen;
};

TEST(CdPaths, theDriveFormsNeedAnAudioDiscDrive) {
  REQUIRE_AUDIO_CD_DRIVE(d);
  cdtest::insertDisc(shortDisc());
  uint32_t kind = 0, id = 0;
  char drive = 0;
  int32_t track = 0;
  std::string root = std::string(1, char(d | 0x20)) + ":";
  EXPECT_EQ(checkCDA(root.c_str(), &kind, &drive, &id, &track), -1);
  EXPECT_EQ(kind, uint32_t(cdaDriveDisc));
  EXPECT_EQ(drive, d);
  EXPECT_EQ(id, 0u);  // checkCDA does not ask the disc
  std::string file = std::string(1, d) + ":\\Track07.CDA";
  EXPECT_EQ(decodeCDA(file.c_str(), &kind, &drive, &id, &track), -1);
  EXPECT_EQ(kind, uint32_t(cdaDriveTrack));
  EXPECT_EQ(track, 6);
  EXPECT_EQ(id, cddbId(d));
  EXPECT_NE(id, 0u);
  EXPECT_EQ(checkCDA("Z:\\Track07.CDA", &kind, &drive, &id, &track), 0);  // not a CD-ROM drive
}

TEST(CdPlayer, opensPlaysFromASeekAndEndsOnce) {
  REQUIRE_AUDIO_CD_DRIVE(d);
  cdtest::insertDisc(shortDisc());
  Owner owner;
  ASSERT_NE(owner.id, 0u);
  owner.open(std::string(1, d) + ":\\track02.cda");
  ASSERT_TRUE(owner.waitFor(msgOpened, 5000));
  EXPECT_EQ(owner.opened.caps, uint32_t(capAnalog));
  EXPECT_EQ(owner.status.lengthMs, 2000);
  EXPECT_EQ(owner.status.positionMs, 0);
  EXPECT_EQ(owner.status.sampleRate, 44100);
  EXPECT_EQ(owner.status.bits, 16);
  EXPECT_EQ(owner.status.channels, 2);
  EXPECT_EQ(owner.status.bitrate, 1411200);
  EXPECT_EQ(owner.status.state, stStopped);
  EXPECT_NE(cdtest::simLog().find("open " + std::string(1, d) + ":"), std::string::npos);

  ZvSeekPrm seek = {1000};  // while stopped: only the position moves
  owner.send(msgInSeek, &seek, sizeof(seek));
  ASSERT_TRUE(zvtest::waitFor([&] { return owner.status.positionMs == 1000; }, 2000));
  EXPECT_EQ(cdtest::simLog().find("play"), std::string::npos);

  ZvFadePrm fade = {};
  owner.send(msgInPlay, &fade, sizeof(fade));
  ASSERT_TRUE(owner.waitFor(msgEndReached, 5000));
  // Track 2 starts at 4000 ms; the play starts 1000 ms into it (frame 375).
  EXPECT_NE(cdtest::simLog().find("play 375 450"), std::string::npos) << cdtest::simLog();
  EXPECT_EQ(owner.status.state, stStopped);
  EXPECT_EQ(owner.status.positionMs, 2000);
  owner.waitFor(0xFFFF, 400);
  EXPECT_EQ(owner.count(msgEndReached), 1);

  owner.send(msgInClose, &fade, sizeof(fade));
  ASSERT_TRUE(owner.waitFor(msgClosed, 3000));
  EXPECT_EQ(owner.status.state, stClosed);
  EXPECT_NE(cdtest::simLog().find("close"), std::string::npos);
}

TEST(CdPlayer, stopPausesAndPlayGoesOnFromThere) {
  REQUIRE_AUDIO_CD_DRIVE(d);
  cdtest::insertDisc(shortDisc());
  Owner owner;
  owner.open(std::string(1, d) + ":\\track01.cda");
  ASSERT_TRUE(owner.waitFor(msgOpened, 5000));
  ZvFadePrm fade = {};
  owner.send(msgInPlay, &fade, sizeof(fade));
  ASSERT_TRUE(zvtest::waitFor([&] { return owner.status.positionMs >= 300; }, 3000));  // the timer follows the drive
  owner.send(msgInStop, &fade, sizeof(fade));
  ASSERT_TRUE(zvtest::waitFor([&] { return owner.status.state == stStopped; }, 2000));
  ASSERT_TRUE(zvtest::waitFor([&] { return cdtest::simLog().find("pause") != std::string::npos; }, 2000));
  int32_t stoppedAt = owner.status.positionMs;
  EXPECT_GE(stoppedAt, 300);
  EXPECT_LT(stoppedAt, 2000);
  Sleep(300);
  EXPECT_EQ(owner.status.positionMs, stoppedAt);  // nothing moves while stopped

  owner.send(msgInPlay, &fade, sizeof(fade));
  ASSERT_TRUE(zvtest::waitFor([&] { return owner.status.state == stPlaying; }, 2000));
  ASSERT_TRUE(owner.waitFor(msgEndReached, 5000));
  std::string log = cdtest::simLog();
  size_t second = log.find("play", log.find("pause"));
  ASSERT_NE(second, std::string::npos) << log;
  long from = std::atol(log.c_str() + second + 5);
  EXPECT_GE(from, 150 + stoppedAt * 75 / 1000 - 1) << log;  // resumed, not restarted
  owner.send(msgInClose, &fade, sizeof(fade));
  ASSERT_TRUE(owner.waitFor(msgClosed, 3000));
}

TEST(CdPlayer, pathsThatAreNoTrackOfTheDiscFailToOpen) {
  REQUIRE_AUDIO_CD_DRIVE(d);
  cdtest::insertDisc(shortDisc());
  for (const std::string& path : {std::string(1, d) + ":\\track09.cda", std::string("Z:\\track01.cda"),
                                  std::string("CD:\\12345678\\track01.cda")}) {
    Owner owner;
    owner.open(path);
    ASSERT_TRUE(owner.waitFor(msgOpenFailed, 5000)) << path;
    EXPECT_EQ(owner.count(msgOpened), 0) << path;
    EXPECT_EQ(owner.status.state, stClosed) << path;
  }
  cdtest::ejectDisc();
  Owner owner;
  owner.open(std::string(1, d) + ":\\track01.cda");
  EXPECT_TRUE(owner.waitFor(msgOpenFailed, 5000));
}

BOOL CALLBACK findMonitor(HWND window, LPARAM out) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (std::strcmp(name, "CDMonitorWnd") != 0) return TRUE;
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

// This process's monitor: every program that loads the engine has one, so
// FindWindow could answer with another test program's.
HWND ownMonitor() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findMonitor, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Like a real drive spinning up, the simulated one may take a moment before
// it reports a new disc (or its absence): wait for that before the system
// would announce the change.
void waitUntilDriveReports(char drive, bool disc) {
  zvtest::waitFor([&] {
    char id[32] = {};
    getCDId(drive, id);
    return (id[0] != 0) == disc;
  }, 3000);
}

LRESULT sendDeviceChange(WPARAM event) {
  HWND monitor = ownMonitor();
  EXPECT_NE(monitor, nullptr);
  DEV_BROADCAST_VOLUME volume = {};
  volume.dbcv_size = sizeof(volume);
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  return SendMessageA(monitor, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume));
}

TEST(CdMonitor, announcesDiscsThatCameAndWent) {
  REQUIRE_AUDIO_CD_DRIVE(d);
  cdtest::ensurePlugins();
  cdtest::insertDisc(shortDisc("1111"));
  waitUntilDriveReports(d, true);
  sendDeviceChange(DBT_DEVICEARRIVAL);  // whatever the monitor knew before, it knows this disc now
  cdtest::MessageCatcher caught({msgDiscChange, msgFileChanged});

  cdtest::insertDisc(shortDisc("2222"));
  waitUntilDriveReports(d, true);
  EXPECT_EQ(sendDeviceChange(DBT_DEVICEARRIVAL), TRUE);
  auto changes = caught.take(msgDiscChange, 300);
  ASSERT_EQ(changes.size(), 1u);
  ASSERT_EQ(changes[0].size(), 21u);
  EXPECT_EQ(changes[0][0], d);
  int32_t present = 0;
  std::memcpy(&present, changes[0].data() + 1, 4);
  EXPECT_EQ(present, -1);
  EXPECT_STREQ(changes[0].data() + 5, "8AE");
  auto changed = caught.take(msgFileChanged, 0);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_STREQ(changed[0].c_str(), (std::string(1, d) + ":").c_str());

  EXPECT_EQ(sendDeviceChange(DBT_DEVICEARRIVAL), TRUE);  // the same disc: nothing to tell
  EXPECT_TRUE(caught.take(msgDiscChange, 200).empty());

  cdtest::ejectDisc();
  waitUntilDriveReports(d, false);
  EXPECT_EQ(sendDeviceChange(DBT_DEVICEREMOVECOMPLETE), TRUE);
  changes = caught.take(msgDiscChange, 300);
  ASSERT_EQ(changes.size(), 1u);
  std::memcpy(&present, changes[0].data() + 1, 4);
  EXPECT_EQ(present, 0);
  EXPECT_STREQ(changes[0].data() + 5, "");
  EXPECT_EQ(caught.take(msgFileChanged, 0).size(), 1u);  // the removal
}

TEST(CdMonitor, aKnownDiscInTheDriveIsAnnouncedByDriveToo) {
  REQUIRE_AUDIO_CD_DRIVE(d);
  cdtest::ensurePlugins();
  // Start from an empty drive the monitor knows about, then let it see the disc.
  cdtest::ejectDisc();
  waitUntilDriveReports(d, false);
  sendDeviceChange(DBT_DEVICEREMOVECOMPLETE);
  cdtest::MessageCatcher discs({msgDiscChange});
  cdtest::insertDisc(shortDisc("3333"));
  waitUntilDriveReports(d, true);
  sendDeviceChange(DBT_DEVICEARRIVAL);
  auto arrived = discs.take(msgDiscChange, 1000);
  ASSERT_FALSE(arrived.empty()) << "the monitor never saw the disc arrive";
  ASSERT_STREQ(arrived.back().data() + 5, "D05");
  uint32_t id = cddbId(d);
  cdtest::MessageCatcher files({msgFileChanged});
  cddbChangeNotify(id);
  auto seen = files.take(msgFileChanged, 300);
  ASSERT_EQ(seen.size(), 2u);
  char disc[32];
  wsprintfA(disc, "CD:\\%08X.m3u", id);
  EXPECT_STREQ(seen[0].c_str(), disc);
  EXPECT_STREQ(seen[1].c_str(), (std::string(1, d) + ":").c_str());
}

TEST(CdPlaylists, theDiscInADriveIsStoredOnFirstLoad) {
  REQUIRE_AUDIO_CD_DRIVE(d);
  cdtest::ensurePlugins();
  cdtest::insertDisc(shortDisc("4444"));
  uint32_t id = cddbId(d);
  DeleteFileA(cdtest::discFile(id).c_str());
  Playlist pl = createPlaylist(0);
  cdtest::MessageCatcher files({msgFileChanged});
  std::string root = std::string(1, d) + ":\\";
  ASSERT_EQ(plLoad(pl, root.c_str(), 0), plResultOk);
  ASSERT_EQ(plGetCount(pl), 3);
  EXPECT_STREQ(plGetName(pl, 0), (std::string(1, d) + ":\\track01.cda").c_str());
  EXPECT_STREQ(plGetDesc(pl, 2), "Track 3");
  EXPECT_EQ(plGetRec(pl, 2)->time, 2000);
  freePlaylist(pl);
  auto seen = files.take(msgFileChanged, 200);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_STREQ(seen[0].c_str(), "CD:\\*.m3u");
  cdtest::InfoGuard g;
  ASSERT_EQ(cddbGetInfo(id, &g.info), -1);
  EXPECT_EQ(g.info.trackCount, 3);
  EXPECT_EQ(g.info.revision, 1);
}

}  // namespace
