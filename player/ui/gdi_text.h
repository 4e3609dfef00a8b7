// Drawing and measuring 8-bit texts of the active code page with the GDI.
// The GDI's 8-bit text functions read their bytes in the code page of the
// selected font's character set, not in the active one: under the UTF-8
// active code page of the player's manifest they draw and measure every
// character beyond ASCII as something else (measured under Wine 8 with
// Tahoma in the ANSI, default, Russian and Greek character sets). So these
// helpers convert from the active code page and call the wide functions, a
// deliberate exception to the toolkit's 8-bit rule. Under a legacy active
// code page they call the 8-bit functions as before.
//
// `codePage` 0 is the active code page; tests pass 65001 to reach the wide
// path from a program without the manifest.
#pragma once
#include <windows.h>

namespace zv::ui {

// DrawTextA's contract; `length` -1 for a zero-terminated text.
int drawActiveText(HDC dc, const char* text, int length, RECT* rect, UINT format, unsigned codePage = 0);
// TextOutA's contract.
BOOL textOutActive(HDC dc, int x, int y, const char* text, int length, unsigned codePage = 0);
// GetTextExtentPoint32A's contract.
BOOL textExtentActive(HDC dc, const char* text, int length, SIZE* size, unsigned codePage = 0);

}  // namespace zv::ui
