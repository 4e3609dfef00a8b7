// Reading a disc's table of contents through MCI.
#include "discs/disc_toc.h"

#include "zv_cddb.h"

namespace zv {

bool readDiscToc(MciCd& cd, DiscToc& toc) {
  toc = {};
  DWORD count = 0;
  if (!cd.setTimeFormat(MCI_FORMAT_MSF) || !cd.status(MCI_STATUS_NUMBER_OF_TRACKS, count)) return false;
  if (count == 0 || count > ZV_CDDB_MAX_TRACKS) return false;
  for (DWORD track = 1; track <= count; ++track) {
    DWORD msf = 0;
    if (!cd.status(MCI_STATUS_POSITION, msf, track)) return false;
    toc.starts.push_back(msfToFrames(msf));
  }
  DWORD length = 0;
  if (!cd.status(MCI_STATUS_LENGTH, length, count)) return false;
  // Drives report the last track one frame short of the lead-out.
  toc.leadOut = toc.starts.back() + msfToFrames(length) + 1;
  return true;
}

uint32_t discIdOfDrive(char letter) {
  MciCd cd;
  DiscToc toc;
  if (!cd.open(letter, "mycdxx1") || !readDiscToc(cd, toc)) return 0;
  return cddbDiscId(toc.starts.data(), int32_t(toc.starts.size()), toc.leadOut);
}

uint32_t cddbDiscId(const int32_t* starts, int32_t count, int32_t leadOut) {
  if (count <= 0) return 0;
  uint32_t n = 0;
  for (int32_t i = 0; i < count; ++i)
    for (int32_t s = starts[i] / kCdFramesPerSecond; s > 0; s /= 10) n += uint32_t(s % 10);
  uint32_t t = uint32_t(leadOut / kCdFramesPerSecond - starts[0] / kCdFramesPerSecond);
  return ((n % 255) << 24) | ((t & 0xFFFF) << 8) | uint32_t(count & 0xFF);
}

}  // namespace zv
