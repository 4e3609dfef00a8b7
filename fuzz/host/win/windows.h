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
typedef DWORD COLORREF;
typedef uint16_t WORD;
typedef int32_t LONG;
typedef int64_t LONGLONG;
typedef struct tagRECT {
  LONG left, top, right, bottom;
} RECT;
typedef struct tagPOINT {
  LONG x, y;
} POINT;
typedef struct _SYSTEMTIME {
  WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
} SYSTEMTIME;
// The fuzzing host's clock stands still: targets pass "now" in themselves.
inline void GetLocalTime(SYSTEMTIME* t) {
  *t = SYSTEMTIME{2026, 1, 4, 1, 12, 0, 0, 0};
}
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r)) | ((DWORD)((BYTE)(g)) << 8) | ((DWORD)((BYTE)(b)) << 16)))
#define BI_RGB 0
#define BI_BITFIELDS 3
#define TRUE 1
#define FALSE 0
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define MAX_PATH 260
#define WINAPI

// The fuzzing host runs a single-byte code page: no lead bytes. The
// double-byte paths are covered by the engine's own tests under Wine.
inline BOOL IsDBCSLeadByteEx(UINT, BYTE) { return FALSE; }
// ...and it is the active one, never UTF-8: stored texts are not converted.
#define CP_UTF8 65001
inline UINT GetACP() { return 1252; }
// The host's one code page is single-byte.
typedef struct _cpinfo {
  UINT MaxCharSize;
  BYTE DefaultChar[2];
  BYTE LeadByte[12];
} CPINFO;
inline BOOL GetCPInfo(UINT, CPINFO* info) {
  info->MaxCharSize = 1;
  return TRUE;
}

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
// ...and back: characters beyond a byte become the default character.
#define CP_ACP 0
#define WC_NO_BEST_FIT_CHARS 0x400
inline int WideCharToMultiByte(UINT, DWORD, const wchar_t* src, int n, char* out, int room, const char* fallback,
                               BOOL*) {
  if (!out) return n;
  int k = n < room ? n : room;
  for (int i = 0; i < k; ++i) out[i] = (unsigned)src[i] < 256 ? char(src[i]) : (fallback ? *fallback : '?');
  return k;
}
// The host has no debugger to tell: diagnostics go nowhere.
inline void OutputDebugStringA(const char*) {}
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

// Positions and sizes of a MemoryFile, for the cores that walk a file.
#include "host_file.h"

typedef union _LARGE_INTEGER {
  struct {
    uint32_t LowPart;
    int32_t HighPart;
  };
  int64_t QuadPart;
} LARGE_INTEGER;
#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2

inline BOOL GetFileSizeEx(HANDLE file, LARGE_INTEGER* size) {
  auto* f = static_cast<zv::host::MemoryFile*>(file);
  if (!f || file == INVALID_HANDLE_VALUE) return FALSE;
  size->QuadPart = int64_t(f->size);
  return TRUE;
}

// Like the system's: a position before the start fails, one past the end is
// allowed (reads from there deliver nothing).
inline BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, LARGE_INTEGER* newPosition, DWORD method) {
  auto* f = static_cast<zv::host::MemoryFile*>(file);
  if (!f || file == INVALID_HANDLE_VALUE) return FALSE;
  int64_t base = method == FILE_BEGIN ? 0 : method == FILE_CURRENT ? int64_t(f->pos) : int64_t(f->size);
  int64_t at = base + distance.QuadPart;
  if (at < 0) return FALSE;
  f->pos = size_t(at);
  if (newPosition) newPosition->QuadPart = at;
  return TRUE;
}
