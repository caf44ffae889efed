// Pixels as a window or the screen shows them: one BitBlt from a device
// context into a 32-bit DIB. Used by the tests of what reaches the view and
// by the idle benchmark; needs only GDI.
#ifndef MAPEDITOR_TESTS_WINDOWCAPTURE_H
#define MAPEDITOR_TESTS_WINDOWCAPTURE_H

#include <windows.h>

#include <vector>

// The width x height pixels of the window's client area from (x, y), or of
// the screen when `window` is null, as 0xFFRRGGBB values row by row; empty
// when the copy could not be made.
std::vector<unsigned> CapturePixels(HWND window, int x, int y, int width, int height);

#endif
