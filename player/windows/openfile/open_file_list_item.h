// One line of the "Open file" dialog's list, which the dialog draws itself
// (an owner-drawn list box): the picture of the entry's kind, then its name.
#pragma once
#include <windows.h>

#include "openfile/open_file_rules.h"
#include "skin_bitmap.h"

namespace zv::openfile {

// The pictures' side in "filekinds.bmp" (one cell per EntryKind).
inline constexpr int kKindPictureSide = 16;

// The height of a line in `list`: the pictures with a little air, or the
// font's line when that is taller.
int listRowHeight(HWND list);

// Draws line `item` for `entry`. `text` is the line's own text, shown as it
// is when there are no pictures (the "[name]" form of folders then tells
// them apart); with pictures the plain name is shown beside its picture.
void drawListItem(const DRAWITEMSTRUCT& item, const FolderEntry& entry, const std::string& text,
                  const ui::SkinBitmap& pictures);

}  // namespace zv::openfile
