// label_drawing.h: what the status controls share when they draw: their fonts, their text
// passes and picture sets loaded by resource id.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "ui/display/text_style.h"
#include "platform/win32/framework/gdi.h"

namespace quirn::win32 {

// The label font: the stock system font's description with the face, height and weight given,
// the height at `scale`.
Font CreateLabelFont(const LabelFont& font, const DisplayScale& scale = {});

// Draws `text` once with a transparent background in the pass's colour at the pass's position.
// The caller has selected the font.
void DrawTextPass(HDC dc, const std::wstring& text, const TextPass& pass);

// Bitmaps by resource id; an id whose bitmap did not load has no entry.
using PictureSet = std::map<int, Bitmap>;

// Loads the bitmap `id` as drawn for `scale` into `pictures`, under its 100 % id; false when it
// could not be loaded.
bool AddPicture(PictureSet& pictures, int id, const DisplayScale& scale = {});

// The picture `id` of `pictures`, or null.
HBITMAP FindPicture(const PictureSet& pictures, int id);

// Resizes `control` to the bitmap's size and copies the bitmap to its top-left corner through
// `memory`, a memory context compatible with `target`. Returns the bitmap's size.
SIZE DrawPicture(HWND control, HDC target, HDC memory, HBITMAP picture);

}  // namespace quirn::win32
