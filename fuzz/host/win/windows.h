// The few Win32 names the parser cores use, for the native Linux build that
// fuzzes them. A HANDLE here is a MemoryFile (host_file.h): the cores read
// their serialised forms from a byte buffer instead of a disk file.
#pragma once
#include <stdint.h>
#include <string.h>

typedef void* HANDLE;
typedef uint32_t DWORD;
typedef int BOOL;
typedef unsigned UINT;
typedef unsigned char BYTE;
typedef char* LPSTR;
typedef const char* LPCSTR;
#define TRUE 1
#define FALSE 0
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define MAX_PATH 260
#define WINAPI

// The fuzzing host runs a single-byte code page: no lead bytes. The
// double-byte paths are covered by the engine's own tests under Wine.
inline BOOL IsDBCSLeadByteEx(UINT, BYTE) { return FALSE; }

// OEM to ANSI conversion is a byte table on Windows; identity here keeps
// lengths and buffer use the same.
inline BOOL OemToCharBuffA(LPCSTR src, LPSTR dst, DWORD n) {
  if (src != dst) memmove(dst, src, n);
  return TRUE;
}

// Single-byte code page: one wide character per byte, upper-cased as ASCII.
inline int MultiByteToWideChar(UINT, DWORD, const char* src, int n, wchar_t* out, int room) {
  if (!out) return n;
  int k = n < room ? n : room;
  for (int i = 0; i < k; ++i) out[i] = static_cast<unsigned char>(src[i]);
  return k;
}
inline DWORD CharUpperBuffW(wchar_t* text, DWORD n) {
  for (DWORD i = 0; i < n; ++i)
    if (text[i] >= L'a' && text[i] <= L'z') text[i] = wchar_t(text[i] - 32);
  return n;
}
inline UINT GetWindowsDirectoryA(char* out, UINT size) {
  const char dir[] = "C:\\windows";
  if (size < sizeof(dir)) return sizeof(dir);
  memcpy(out, dir, sizeof(dir));
  return sizeof(dir) - 1;
}
