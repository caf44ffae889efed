// Helpers shared by the native document suites and the Windows suites:
// files as bytes and text, placed objects, and the map document's state as
// one comparable text (a difference shows where it lies). Builds natively
// and for Windows.
#ifndef MAPEDITOR_TESTS_TESTFILES_H
#define MAPEDITOR_TESTS_TESTFILES_H

#include <stdint.h>

#include <string>
#include <vector>

#include "document/MapDocument.h"

using Bytes = std::vector<unsigned char>;
using Rows = std::vector<std::string>;

Bytes ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// Names of the files (not folders) in a folder, sorted.
Rows FilesIn(const std::string& folder);

// A placed object with zeroed reserved bytes.
PlacedObject MakeObject(uint8_t type, float x, float y, int16_t rotation);

// Everything of a document that a refused file, an undone edit or a
// cancelled dialog must leave as it was: settings, texture slots, view,
// catalog, the objects' bytes, the selection; with the rows of the palette's
// list after the catalog, when given.
std::string StateOf(const MapDocument& document);
std::string StateOf(const MapDocument& document, const Rows& listRows);

#endif
