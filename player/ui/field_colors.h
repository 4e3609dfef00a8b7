// Colours of the system's EDIT fields inside the program's dark windows:
// the answer to WM_CTLCOLOREDIT (and WM_CTLCOLORSTATIC, which a disabled or
// read-only field sends) so that fields match the own controls.
#pragma once
#include <windows.h>

namespace zv::ui {

// Sets the text and background colours in `dc` and returns the brush to
// paint the field with (kept for the program's life).
HBRUSH fieldColors(HDC dc, bool enabled);

}  // namespace zv::ui
