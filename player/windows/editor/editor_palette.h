// The colours of the playlist editor's list, taken from the main window's
// skin (its second text line: text, accent, dimmed text and the shadow or
// display background) so that the editor belongs to the same family.
#pragma once
#include <windows.h>

namespace zv::ui {
class TSkin;
}

namespace zv::editor {

struct EditorPalette {
  COLORREF background, text, dim, accent, selection, selectionText, hover, current, header;
};

// The plain dark palette when the skin is null or names no colours.
EditorPalette paletteFrom(const ui::TSkin* skin);
// a and b mixed: `part` of 256 of b.
COLORREF mix(COLORREF a, COLORREF b, int part);

}  // namespace zv::editor
