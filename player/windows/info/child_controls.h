// The real child windows (EDIT, COMBOBOX, LISTBOX, list view) that the tag
// windows put inside their frames, in the font of the program's own
// controls, and the colours they are drawn in.
#pragma once
#include <windows.h>

#include <string>

#include "win32/owners.h"

namespace zv::info {

// A child of `parent` at `r` with the control id `id` in the controls' font.
HWND makeChild(HWND parent, const char* className, DWORD style, const RECT& r, int id, const char* text = "");
std::string windowText(HWND window);

// Answers WM_CTLCOLOR* for the children: the controls' face and text
// colours, so the fields sit in the frame's look. Owns its brush.
class ChildColors {
 public:
  LRESULT answer(HDC dc, bool readOnly);

 private:
  UniqueBrush field_, readOnly_;
};

}  // namespace zv::info
