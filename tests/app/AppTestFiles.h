// Helpers of the Windows suites that work with files and the document:
// files as bytes and text, bitmaps to load as heightmaps, long file names,
// the palette's real list box, and the document's state as one comparable
// text.
#ifndef MAPEDITOR_TESTS_APPTESTFILES_H
#define MAPEDITOR_TESTS_APPTESTFILES_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "document/MapDocument.h"
#include "tests/support/EditorHarness.h"
#include "tests/support/TestFiles.h" // files, MakeObject, StateOf(document)

// A 24-bit bitmap of the given size (a grey ramp).
Bytes Bitmap24(int width, int height);

// A file in the folder whose full path has exactly `length` characters:
// `fill` repeated, then `ending`.
std::string PathOfLength(const TempFolder& folder, size_t length, char fill,
                         const std::string& ending = "");

// Control 1001 of the palette, and its rows.
HWND PaletteList();
Rows ListRows(HWND list);
void SetListRows(HWND list, const Rows& rows);

// StateOf the document with the rows of that list.
std::string StateOf(const MapDocument& document, HWND list);

#endif
