// What the CD tests share: the CD database folder of this test's root, and
// the simulated drive behind MCI.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "zv_cddb.h"

namespace cdtest {

// <root>\cddb, created.
std::string cddbFolder();
// The database file of a disc.
std::string discFile(uint32_t discId);
// Writes a database file as given (bytes exactly).
void writeDiscFile(uint32_t discId, const std::string& text);
std::string readDiscFile(uint32_t discId);

// A disc for the simulated drive: track starts and lead-out in frames.
struct SimDisc {
  std::vector<long> starts;
  long leadOut = 0;
  std::string identity = "123456789";
  double speed = 1.0;
};

// Registers the simulated driver as MCI "cdaudio" (once per process) and
// puts `disc` into the drive; no argument empties the drive.
void insertDisc(const SimDisc& disc);
void ejectDisc();
// The simulated driver's command log since the last insert or eject.
std::string simLog();

// initPlugins, once per process (this root has no plug-ins of its own).
void ensurePlugins();

// The first CD-ROM drive holding an audio disc ("Audio CD"), else 0.
char audioCdDrive();

// The title library's archive folder (created, emptied once per run).
std::string titleArchive();

// Collects the broadcasts of some codes sent while it lives (to this thread).
class MessageCatcher {
 public:
  explicit MessageCatcher(std::vector<uint32_t> codes);
  ~MessageCatcher();
  // Takes queued messages for up to `ms`; returns the parameter blocks of
  // those of `code`, in order, byte for byte. Blocks of the other codes are
  // kept for later calls.
  std::vector<std::string> take(uint32_t code, int ms);

 private:
  std::vector<uint32_t> codes_;
  std::vector<std::pair<uint32_t, std::string>> kept_;
};

// A record's texts freed at scope end.
struct InfoGuard {
  ZvCddbInfo info = {};
  ~InfoGuard() { cddbFreeInfo(&info); }
};

}  // namespace cdtest
