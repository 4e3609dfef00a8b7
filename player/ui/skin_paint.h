// Drawing skin pictures: a control's state picture (a part of the skin
// bitmap, a colour or a gradient) and pieces of a bitmap, always clipped to
// the bitmap so a source rectangle outside it draws only what exists.
#pragma once
#include <windows.h>

#include "skin_model.h"

namespace zv::ui {

// Copies `source` (left, top, right, bottom in the bitmap) to `dest` at the
// same size; the parts of `source` outside the bitmap are left undrawn.
void blitClipped(HDC dc, const SkinBitmap& bitmap, RECT source, POINT dest);

// Stretches `source` onto `dest` (clipped to the bitmap first).
void stretchClipped(HDC dc, const SkinBitmap& bitmap, RECT source, RECT dest);

// Draws `source` onto `dest` in nine parts: corners of `inset` size kept,
// edges and centre stretched (frames and buttons of any size).
void drawNineSlice(HDC dc, const SkinBitmap& bitmap, RECT source, RECT dest, RECT inset);

// The window background: the bitmap from its top-left corner (only `area`
// of it when given).
void drawSkinBackground(HDC dc, const TSkin& skin, int width, int height, const RECT* area = nullptr);

// One control in its current state; polygon controls are clipped to their
// polygon. Fill none draws nothing, nor does a control outside `area`.
void drawSkinControl(HDC dc, const TSkin& skin, const TSkinCtl& ctl, int width, int height, const RECT* area = nullptr);

// Four colours over a rectangle: top-left, top-right, bottom-right, bottom-left.
void fillGradient(HDC dc, RECT r, const std::array<COLORREF, 4>& colors);

void fillSolid(HDC dc, RECT r, COLORREF color);

}  // namespace zv::ui
