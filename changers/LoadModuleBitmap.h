// A bitmap resource of a program file drawn into a box, for the previews of program items.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

// Loads bitmap `name` of the program file (as a data file) and draws it, half-toned and
// shrunk to fit the box (FitIntoBox), into a new bitmap compatible with the desktop. palette,
// when given, receives the 16 entries of a 4-bit bitmap. nullptr (logged) on failure; the
// caller deletes the bitmap.
HBITMAP LoadModuleBitmap(const std::string& path, LPCSTR name, int boxWidth, int boxHeight,
                         RGBQUAD* palette = nullptr);

}  // namespace qv
