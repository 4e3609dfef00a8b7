#include <windows.h>

#include "exports/load_sequence.h"

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return zv::engineLoad(self) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      // reserved != null: the process is ending and other threads are gone.
      zv::engineUnload(reserved != nullptr);
      return TRUE;
    default:
      return TRUE;
  }
}
