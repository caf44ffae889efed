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

using Bytes = std::vector<unsigned char>;
using Rows = std::vector<std::string>;

bool FileExists(const std::string& path);
Bytes ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteText(const std::string& path, const std::string& text);

// Names of the files (not folders) in a folder, sorted.
Rows FilesIn(const std::string& folder);

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

// A placed object with zeroed reserved bytes.
PlacedObject MakeObject(uint8_t type, float x, float y, int16_t rotation);

// Everything of a document that a refused file or a cancelled dialog must
// leave as it was (settings, texture slots, view, catalog, the objects'
// bytes, the selection) and the list's rows, as text: a difference shows
// where it lies.
std::string StateOf(const MapDocument& document, HWND list);

#endif
