// A simulated CD drive behind the real MCI interface. The disc is described
// by a text file named in the environment variable ZV_CDSIM_TOC, read at
// every open:
//   identity=<decimal media identity>
//   starts=<frame offset of track 1>,<track 2>,...
//   leadout=<frame offset of the lead-out>
//   speed=<how many times faster than real time the disc plays>
// A missing file, or a line "nodisc", is an empty drive. Play, pause and the
// position follow the clock. Every command is appended to the file named in
// ZV_CDSIM_LOG, one line each, so tests see what the engine asked.
//
// The drive's state lives in module globals: every alias opened is a driver
// instance of its own, but they all look at the same disc. The engine asks
// drives from several threads at once (the disc-change monitor on the
// loading thread, descriptions on the scanner's), so every call into the
// driver holds one lock, as a real drive answers one command at a time.
#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "win32/owners.h"

// winmm exports it; the headers leave it out.
extern "C" BOOL WINAPI mciDriverNotify(HANDLE callback, MCIDEVICEID device, UINT status);

namespace {

struct Disc {
  bool present = false;
  std::vector<long> starts;
  long leadOut = 0;
  std::string identity;
  double speed = 1.0;
};

struct Instance {
  UINT deviceId = 0;
  DWORD timeFormat = MCI_FORMAT_MSF;
};

std::recursive_mutex g_lock;
Disc g_disc;
std::map<DWORD_PTR, Instance> g_instances;
DWORD_PTR g_nextId = 1;

// The play head, in frames.
bool g_playing = false;
bool g_paused = false;
double g_from = 0, g_to = 0;
ULONGLONG g_startTick = 0;
double g_position = 0;
HWND g_notifyWindow = nullptr;
UINT g_notifyDevice = 0;

std::string env(const char* name) {
  char value[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
  return n > 0 && n < sizeof(value) ? value : "";
}

void log(const char* format, ...) {
  std::string path = env("ZV_CDSIM_LOG");
  if (path.empty()) return;
  char line[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof(line), format, args);
  va_end(args);
  if (FILE* f = std::fopen(path.c_str(), "ab")) {
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
  }
}

// The whole file, opened so that the test may replace it meanwhile.
std::string readTocFile() {
  std::string path = env("ZV_CDSIM_TOC");
  if (path.empty()) return "";
  zv::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (file && ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) text.append(chunk, got);
  return text;
}

void loadDisc() {
  g_disc = Disc{};
  const std::string text = readTocFile();
  bool nodisc = false;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos) {
      if (line == "nodisc") nodisc = true;
      continue;
    }
    const std::string name = line.substr(0, eq);
    const char* value = line.c_str() + eq + 1;
    if (name == "identity") g_disc.identity = value;
    else if (name == "leadout") g_disc.leadOut = std::atol(value);
    else if (name == "speed") g_disc.speed = std::atof(value);
    else if (name == "starts")
      for (const char* p = value; *p; p = std::strchr(p, ',') ? std::strchr(p, ',') + 1 : "")
        g_disc.starts.push_back(std::atol(p));
  }
  g_disc.present = !nodisc && !g_disc.starts.empty();
}

void notify(UINT status) {
  if (!g_notifyWindow) return;
  mciDriverNotify(g_notifyWindow, g_notifyDevice, status);
  g_notifyWindow = nullptr;
}

// Moves the head to now; a play that reached its end stops and notifies.
void advance() {
  if (!g_playing) return;
  double elapsed = double(GetTickCount64() - g_startTick) / 1000.0 * g_disc.speed;
  g_position = g_from + elapsed * 75.0;
  if (g_position >= g_to) {
    g_position = g_to;
    g_playing = false;
    notify(MCI_NOTIFY_SUCCESSFUL);
  }
}

DWORD toFormat(const Instance& in, long frames) {
  if (in.timeFormat == MCI_FORMAT_MILLISECONDS) return DWORD(frames * 1000L / 75);
  return MCI_MAKE_MSF(frames / 4500, frames / 75 % 60, frames % 75);
}

long fromFormat(const Instance& in, DWORD value) {
  if (in.timeFormat == MCI_FORMAT_MILLISECONDS) return long((long long)value * 75 / 1000);
  return long(MCI_MSF_MINUTE(value)) * 4500 + long(MCI_MSF_SECOND(value)) * 75 + long(MCI_MSF_FRAME(value));
}

// Answers with a time value: colonised for MSF so string commands print it.
LRESULT timeAnswer(const Instance& in, MCI_STATUS_PARMS* p, long frames) {
  p->dwReturn = toFormat(in, frames);
  return in.timeFormat == MCI_FORMAT_MSF ? MCI_COLONIZED3_RETURN : 0;
}

LRESULT status(Instance& in, DWORD flags, MCI_STATUS_PARMS* p) {
  if (!(flags & MCI_STATUS_ITEM)) return MCIERR_MISSING_PARAMETER;
  advance();
  const long count = long(g_disc.starts.size());
  long track = (flags & MCI_TRACK) ? long(p->dwTrack) : 0;
  switch (p->dwItem) {
    case MCI_STATUS_MEDIA_PRESENT:
      p->dwReturn = MAKEMCIRESOURCE(g_disc.present ? TRUE : FALSE, g_disc.present ? MCI_TRUE : MCI_FALSE);
      return MCI_RESOURCE_RETURNED;
    case MCI_STATUS_MODE: {
      WORD mode = !g_disc.present ? MCI_MODE_OPEN : g_playing ? MCI_MODE_PLAY : g_paused ? MCI_MODE_PAUSE : MCI_MODE_STOP;
      p->dwReturn = MAKEMCIRESOURCE(mode, mode);
      return MCI_RESOURCE_RETURNED;
    }
    default: break;
  }
  if (!g_disc.present) return MCIERR_HARDWARE;
  if ((flags & MCI_TRACK) && (track < 1 || track > count)) return MCIERR_OUTOFRANGE;
  switch (p->dwItem) {
    case MCI_STATUS_NUMBER_OF_TRACKS: p->dwReturn = DWORD(count); return 0;
    case MCI_STATUS_POSITION:
      if (track) return timeAnswer(in, p, g_disc.starts[track - 1]);
      return timeAnswer(in, p, long(g_position));
    case MCI_STATUS_LENGTH:
      if (!track) return timeAnswer(in, p, g_disc.leadOut - g_disc.starts[0]);
      // Drives give the last track one frame short of the lead-out.
      return timeAnswer(in, p, (track < count ? g_disc.starts[track] : g_disc.leadOut - 1) - g_disc.starts[track - 1]);
    case MCI_STATUS_CURRENT_TRACK: {
      DWORD current = 1;
      for (long i = 0; i < count; ++i)
        if (g_position >= g_disc.starts[i]) current = DWORD(i + 1);
      p->dwReturn = current;
      return 0;
    }
    default: return MCIERR_UNSUPPORTED_FUNCTION;
  }
}

LRESULT command(DWORD_PTR id, UINT message, DWORD flags, DWORD_PTR parms) {
  auto it = g_instances.find(id);
  if (it == g_instances.end()) return MCIERR_INVALID_DEVICE_ID;
  Instance& in = it->second;
  switch (message) {
    case MCI_OPEN_DRIVER: {
      loadDisc();
      auto* p = reinterpret_cast<MCI_OPEN_PARMSW*>(parms);
      char element[64] = {};
      if ((flags & MCI_OPEN_ELEMENT) && p && p->lpstrElementName)
        WideCharToMultiByte(CP_ACP, 0, p->lpstrElementName, -1, element, sizeof(element) - 1, nullptr, nullptr);
      log("open %s", element);
      return 0;
    }
    case MCI_CLOSE_DRIVER:
      log("close");
      g_instances.erase(it);
      return 0;
    case MCI_SET: {
      auto* p = reinterpret_cast<MCI_SET_PARMS*>(parms);
      if (flags & MCI_SET_TIME_FORMAT) {
        if (p->dwTimeFormat != MCI_FORMAT_MILLISECONDS && p->dwTimeFormat != MCI_FORMAT_MSF) return MCIERR_BAD_TIME_FORMAT;
        in.timeFormat = p->dwTimeFormat;
      }
      return 0;
    }
    case MCI_STATUS: return status(in, flags, reinterpret_cast<MCI_STATUS_PARMS*>(parms));
    case MCI_INFO: {
      auto* p = reinterpret_cast<MCI_INFO_PARMSW*>(parms);
      if (!p || !p->lpstrReturn || p->dwRetSize == 0) return MCIERR_PARAM_OVERFLOW;
      std::string text;
      if (flags & MCI_INFO_MEDIA_IDENTITY) {
        if (!g_disc.present) return MCIERR_HARDWARE;
        text = g_disc.identity;
      } else {
        text = "Zorvak CD simulator";
      }
      if (text.size() + 1 > p->dwRetSize) return MCIERR_PARAM_OVERFLOW;
      MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, p->lpstrReturn, int(p->dwRetSize));
      return 0;
    }
    case MCI_PLAY: {
      if (!g_disc.present) return MCIERR_HARDWARE;
      auto* p = reinterpret_cast<MCI_PLAY_PARMS*>(parms);
      advance();
      long from = (flags & MCI_FROM) ? fromFormat(in, p->dwFrom) : long(g_position);
      long to = (flags & MCI_TO) ? fromFormat(in, p->dwTo) : g_disc.leadOut;
      log("play %ld %ld", from, to);
      notify(MCI_NOTIFY_SUPERSEDED);
      if (flags & MCI_NOTIFY) {
        g_notifyWindow = reinterpret_cast<HWND>(p->dwCallback);
        g_notifyDevice = in.deviceId;
      }
      g_from = g_position = double(from);
      g_to = double(to);
      g_startTick = GetTickCount64();
      g_playing = true;
      g_paused = false;
      return 0;
    }
    case MCI_PAUSE:
    case MCI_STOP:
      advance();
      log(message == MCI_PAUSE ? "pause %ld" : "stop %ld", long(g_position));
      g_paused = message == MCI_PAUSE && g_playing;
      g_playing = false;
      notify(MCI_NOTIFY_ABORTED);
      return 0;
    case MCI_SEEK: {
      auto* p = reinterpret_cast<MCI_SEEK_PARMS*>(parms);
      g_playing = g_paused = false;
      notify(MCI_NOTIFY_ABORTED);
      if (flags & MCI_TO) g_position = double(fromFormat(in, p->dwTo));
      log("seek %ld", long(g_position));
      return 0;
    }
    default: return MCIERR_UNSUPPORTED_FUNCTION;
  }
}

}  // namespace

extern "C" LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR, UINT message, LPARAM p1, LPARAM p2) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  switch (message) {
    case DRV_LOAD:
    case DRV_ENABLE:
    case DRV_DISABLE:
    case DRV_FREE:
    case DRV_CLOSE:
      return 1;
    case DRV_OPEN: {
      auto* open = reinterpret_cast<MCI_OPEN_DRIVER_PARMS*>(p2);
      if (!open) return 1;  // winmm's first probe of the library
      open->wType = MCI_DEVTYPE_CD_AUDIO;
      open->wCustomCommandTable = MCI_NO_COMMAND_TABLE;
      DWORD_PTR newId = g_nextId++;
      g_instances[newId].deviceId = open->wDeviceID;
      return LRESULT(newId);
    }
    case DRV_QUERYCONFIGURE:
    case DRV_CONFIGURE:
    case DRV_INSTALL:
    case DRV_REMOVE:
      return 0;
    default:
      if (message >= DRV_MCI_FIRST && message <= DRV_MCI_LAST)
        return command(id, message, DWORD(p1), DWORD_PTR(p2));
      return DefDriverProc(id, nullptr, message, p1, p2);
  }
}
