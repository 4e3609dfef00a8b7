// The MCI "cdaudio" device of one drive, as the CD player and the CD
// database use it. Header-only so that tests can drive the same commands.
// MCI refuses calls from any thread but the one that opened the device, so
// an object stays on its thread; aliases carry the thread id, because two
// threads asking the same drive at once would otherwise collide on a name.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "win32/owners.h"

namespace zv {

constexpr int32_t kCdFramesPerSecond = 75;

inline int32_t msfToFrames(DWORD msf) {
  return int32_t(MCI_MSF_MINUTE(msf)) * 60 * kCdFramesPerSecond + int32_t(MCI_MSF_SECOND(msf)) * kCdFramesPerSecond +
         int32_t(MCI_MSF_FRAME(msf));
}

// The media identity the driver gives (a decimal number) in hexadecimal,
// the form the drive list and the CD database records hold; "" when it is
// not a number.
inline std::string mediaIdentityHex(const std::string& decimal) {
  if (decimal.empty()) return "";
  char* end = nullptr;
  unsigned long long number = std::strtoull(decimal.c_str(), &end, 10);
  if (!end || *end) return "";
  char hex[24];
  std::snprintf(hex, sizeof(hex), "%llX", number);
  return hex;
}

class MciCd {
 public:
  // Opens drive `letter` shareable and waits; `aliasBase` names the use.
  bool open(char letter, const char* aliasBase) {
    close();
    char element[3] = {letter, ':', 0};
    char alias[64];
    std::snprintf(alias, sizeof(alias), "%s_%lu", aliasBase, GetCurrentThreadId());
    MCI_OPEN_PARMSA p = {};
    p.lpstrDeviceType = "cdaudio";
    p.lpstrElementName = element;
    p.lpstrAlias = alias;
    DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS | MCI_OPEN_SHAREABLE | MCI_WAIT;
    if (mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&p)) != 0) return false;
    id_.reset(p.wDeviceID);
    return true;
  }

  void close() { id_.reset(); }

  bool isOpen() const { return id_.valid(); }

  // MCI_FORMAT_MILLISECONDS or MCI_FORMAT_MSF.
  bool setTimeFormat(DWORD format) {
    MCI_SET_PARMS p = {};
    p.dwTimeFormat = format;
    return send(MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &p);
  }

  // One status item; `track` (from 1) asks about that track.
  bool status(DWORD item, DWORD& out, DWORD track = 0) {
    MCI_STATUS_PARMS p = {};
    p.dwItem = item;
    p.dwTrack = track;
    if (!send(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT | (track ? MCI_TRACK : 0), &p)) return false;
    out = static_cast<DWORD>(p.dwReturn);
    return true;
  }

  // The mode (MCI_MODE_PLAY, ...); a driver may return it as a resource
  // pair, whose low word is the value.
  bool mode(DWORD& out) {
    if (!status(MCI_STATUS_MODE, out)) return false;
    out = LOWORD(out);
    return true;
  }

  // The media identity as the driver gives it (a decimal number on Windows).
  bool mediaIdentity(std::string& out) {
    char buffer[32] = {};
    MCI_INFO_PARMSA p = {};
    p.lpstrReturn = buffer;
    p.dwRetSize = sizeof(buffer);
    if (!send(MCI_INFO, MCI_INFO_MEDIA_IDENTITY | MCI_WAIT, &p)) return false;
    buffer[sizeof(buffer) - 1] = 0;
    out = buffer;
    return true;
  }

  // Plays from `from` to `to` (current time format) without waiting; the
  // end is announced to `notify` when the driver does so.
  bool play(DWORD from, DWORD to, HWND notify) {
    MCI_PLAY_PARMS p = {};
    p.dwCallback = reinterpret_cast<DWORD_PTR>(notify);
    p.dwFrom = from;
    p.dwTo = to;
    return send(MCI_PLAY, MCI_FROM | MCI_TO | (notify ? MCI_NOTIFY : 0), &p);
  }

  bool pause() {
    MCI_GENERIC_PARMS p = {};
    return send(MCI_PAUSE, MCI_WAIT, &p);
  }

 private:
  template <class P>
  bool send(UINT command, DWORD flags, P* parms) {
    return id_ && mciSendCommandA(id_.get(), command, flags, reinterpret_cast<DWORD_PTR>(parms)) == 0;
  }

  UniqueMciDevice id_;  // closed on the thread that opened it, like every call
};

}  // namespace zv
