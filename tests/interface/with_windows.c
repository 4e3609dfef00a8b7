/* The interface next to <windows.h>, as hosts and plug-ins include it: the
   forward declarations must agree with the system's types, and the
   pointer-sized fields must hold what Windows hands out. */
#include <windows.h>
#include "zvengine.h"

#ifdef ZV_STATIC_ASSERT
ZV_STATIC_ASSERT(sizeof(ZvTarget) >= sizeof(HWND), "a target holds a window handle");
ZV_STATIC_ASSERT(sizeof(ZvTarget) >= sizeof(DWORD), "a target holds a thread id");
ZV_STATIC_ASSERT(sizeof(ZvTarget) == sizeof(WPARAM), "the sender travels in wParam");
ZV_STATIC_ASSERT(sizeof(ZvBool) == sizeof(BOOL), "booleans are 32-bit");
#endif

void zvInterfaceReceive(MSG* message, void* destination);
void zvInterfaceReceive(MSG* message, void* destination) {
  getMsgPrm(message, destination);
  finishMsg(message);
}

void zvInterfaceOwner(HWND window, ZvStatusRec* status);
void zvInterfaceOwner(HWND window, ZvStatusRec* status) {
  ZvOpenContext* context = NULL;
  ZvTarget id = inOpen("a.wav", (ZvTarget)window, status, &context);
  inPlay(id, 0, ZV_FADE_LINEAR);
  inSetVideo(id, window);
}
