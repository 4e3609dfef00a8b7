// The interface next to <windows.h> in C++: the same checks as with_windows.c,
// plus the entry-point types a decoder library defines against.
#include <windows.h>
#include "zvengine.h"

static_assert(sizeof(ZvTarget) >= sizeof(HWND), "a target holds a window handle");
static_assert(sizeof(ZvTarget) == sizeof(WPARAM), "the sender travels in wParam");

namespace {
int32_t ZVAPI sampleOpen(ZvDecOpenRec* rec) { return rec->fileName ? ZV_PLUGIN_DONE : ZV_PLUGIN_NOT_MINE; }
int32_t ZVAPI sampleCheck(ZvFileCheckRec* rec) { return rec->request & ZV_CHECK_PLAYABLE ? 0 : 9; }
}  // namespace

ZvDecOpenFn zvInterfaceOpen = sampleOpen;
ZvInCheckFileFn zvInterfaceCheck = sampleCheck;

void zvInterfaceReceiveCpp(const MSG& message, ZvOpenedPrm* opened) {
  if (message.message == msgOpened) getMsgPrm(&message, opened);
  finishMsg(&message);
}
