// The Windows mixer of the output device: lines, controls, volume and mute,
// and a hidden window that turns control changes into msgMixerChange.
#include <windows.h>
// after windows.h
#include <mmsystem.h>

#include <algorithm>

#include "foundation/diagnostics.h"
#include "win32/owners.h"
#include "win32/window_base.h"
#include "zv_mixer.h"
#include "zvdsp.h"

namespace zv {
namespace {

const char kWindowClass[] = "MixerControlWnd";

// The open mixer; its control changes go to g_window (below).
UniqueMixer g_mixer;

HMIXEROBJ mixerObject() { return reinterpret_cast<HMIXEROBJ>(g_mixer.get()); }

bool readUnsigned(int32_t controlId, DWORD* value) {
  if (!g_mixer || controlId == -1) return false;
  MIXERCONTROLDETAILS_UNSIGNED detail = {};
  MIXERCONTROLDETAILS d = {};
  d.cbStruct = sizeof(d);
  d.dwControlID = static_cast<DWORD>(controlId);
  d.cChannels = 1;  // one uniform value for all channels
  d.cbDetails = sizeof(detail);
  d.paDetails = &detail;
  if (mixerGetControlDetailsA(mixerObject(), &d, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
      MMSYSERR_NOERROR)
    return false;
  *value = detail.dwValue;
  return true;
}

MMRESULT writeUnsigned(int32_t controlId, DWORD value) {
  if (!g_mixer) return MMSYSERR_INVALHANDLE;
  MIXERCONTROLDETAILS_UNSIGNED detail = {value};
  MIXERCONTROLDETAILS d = {};
  d.cbStruct = sizeof(d);
  d.dwControlID = static_cast<DWORD>(controlId);
  d.cChannels = 1;
  d.cbDetails = sizeof(detail);
  d.paDetails = &detail;
  return mixerSetControlDetails(mixerObject(), &d, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

// The hidden window that turns the mixer's control changes into
// msgMixerChange broadcasts.
class MixerNotificationWindow : public WindowBase {
 public:
  bool create() {
    // Without a desktop (a service, a headless session) only message-only
    // windows exist; notifications still arrive there.
    return WindowBase::create({kWindowClass}, WS_EX_TOOLWINDOW, "", WS_POPUP, -100, -100, 0, 0) ||
           WindowBase::create({kWindowClass}, 0, "", 0, 0, 0, 0, 0, HWND_MESSAGE);
  }

 private:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != MM_MIXM_CONTROL_CHANGE) return passOn(msg, wp, lp);
    guardedVoid("mixer notification", [&] {
      ZvMixerChangePrm change = {};
      change.controlId = static_cast<int32_t>(lp);
      getVolume(change.controlId, &change.volume, &change.balance);
      change.mute = getMute(change.controlId);
      pluginMsg(0, msgMixerChange, &change, sizeof(change));
    });
    return 0;
  }
};

MixerNotificationWindow g_window;

// One attempt; only a mixer that opened is kept (a failed open may leave
// anything in its out-parameter).
MMRESULT openInto(UINT id, DWORD_PTR callback, DWORD flags) {
  HMIXER mixer = nullptr;
  const MMRESULT r = mixerOpen(&mixer, id, callback, 0, flags);
  if (r == MMSYSERR_NOERROR) g_mixer.reset(mixer);
  return r;
}

// Opens the mixer of the output device: by its wave-out handle; where the
// system refuses that (a handle opened through the wave mapper has no mixer
// of its own), by the mixer id that belongs to the handle; failing that, by
// the configured wave-out device number (the first device for the default).
MMRESULT openDeviceMixer(HWND callback) {
  ZvOutParams p = {};
  outInit();
  outGetParams(&p);
  DWORD_PTR cb = reinterpret_cast<DWORD_PTR>(callback);
  const DWORD flags = CALLBACK_WINDOW;
  MMRESULT r = MMSYSERR_BADDEVICEID;
  if (p.waveOut) {
    r = openInto(p.waveOut, cb, flags | MIXER_OBJECTF_HWAVEOUT);
    if (r == MMSYSERR_NOERROR) return r;
    UINT id = 0;
    HMIXEROBJ handle = reinterpret_cast<HMIXEROBJ>(static_cast<uintptr_t>(p.waveOut));
    if (mixerGetID(handle, &id, MIXER_OBJECTF_HWAVEOUT) == MMSYSERR_NOERROR) {
      r = openInto(id, cb, flags | MIXER_OBJECTF_MIXER);
      if (r == MMSYSERR_NOERROR) return r;
    }
  }
  UINT device = p.device < 0 ? 0 : static_cast<UINT>(p.device);
  return openInto(device, cb, flags | MIXER_OBJECTF_WAVEOUT);
}

}  // namespace
}  // namespace zv

using namespace zv;

ZVEXPORT int32_t ZVAPI openMixer(void) {
  return guarded("openMixer", int32_t{MMSYSERR_ERROR}, [] {
    closeMixer();
    g_window.create();
    MMRESULT r = openDeviceMixer(g_window.hwnd());
    if (r != MMSYSERR_NOERROR) g_window.destroy();
    return static_cast<int32_t>(r);
  });
}

ZVEXPORT void ZVAPI closeMixer(void) {
  if (!g_mixer) return;
  g_mixer.reset();
  g_window.destroy();
}

ZVEXPORT int32_t ZVAPI findLine(uint32_t componentType) {
  if (!g_mixer) return -1;
  MIXERLINEA line = {};
  line.cbStruct = sizeof(line);
  line.dwComponentType = componentType;
  if (mixerGetLineInfoA(mixerObject(), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
      MMSYSERR_NOERROR)
    return -1;
  return static_cast<int32_t>(line.dwLineID);
}

ZVEXPORT int32_t ZVAPI findCtl(int32_t lineId, uint32_t controlType) {
  if (!g_mixer || lineId == -1) return -1;
  MIXERCONTROLA control = {};
  control.cbStruct = sizeof(control);
  MIXERLINECONTROLSA q = {};
  q.cbStruct = sizeof(q);
  q.dwLineID = static_cast<DWORD>(lineId);
  q.dwControlType = controlType;
  q.cControls = 1;
  q.cbmxctrl = sizeof(control);
  q.pamxctrl = &control;
  if (mixerGetLineControlsA(mixerObject(), &q, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
      MMSYSERR_NOERROR)
    return -1;
  return static_cast<int32_t>(control.dwControlID);
}

ZVEXPORT void ZVAPI getVolume(int32_t controlId, int32_t* volume, int32_t* balance) {
  DWORD value = 0;
  int32_t v = readUnsigned(controlId, &value) ? static_cast<int32_t>(std::min<DWORD>(value, 65535)) : 65535;
  if (volume) *volume = v;
  if (balance) *balance = 0;
}

ZVEXPORT int32_t ZVAPI setVolume(int32_t controlId, int32_t volume, int32_t balance) {
  (void)balance;  // clamped by the caller's rules but it has no effect on one uniform channel
  return static_cast<int32_t>(writeUnsigned(controlId, static_cast<DWORD>(std::clamp(volume, 0, 65535))));
}

ZVEXPORT ZvBool ZVAPI getMute(int32_t controlId) {
  DWORD value = 0;
  if (!readUnsigned(controlId, &value)) return ZV_TRUE;
  return value ? ZV_TRUE : ZV_FALSE;
}

ZVEXPORT int32_t ZVAPI setMute(int32_t controlId, ZvBool mute) {
  return static_cast<int32_t>(writeUnsigned(controlId, mute ? 1 : 0));
}
