// Copied objects as clipboard data: the editor's own binary form, which
// carries each object's 17 bytes and the paths of their types (so that a
// paste into another map, or after reopening, finds the types by path), and
// a plain text form for text editors. No Windows API.
//
// Binary form, integers little-endian:
//   0   4        "M4DC"
//   4   4        type count T (unsigned)
//   8   4        object count N (unsigned)
//   12  ...      T paths: a 2-byte length, then that many bytes (at most 127)
//   ..  17 x N   the records; a record's type byte is an index into the T paths
// Bytes after the last record are ignored (the clipboard may round sizes up).
#ifndef MAPEDITOR_CLIPBOARDDATA_H
#define MAPEDITOR_CLIPBOARDDATA_H

#include <stddef.h>

#include <string>
#include <vector>

#include "document/MapDocument.h"

std::vector<unsigned char> EncodeObjectGroup(const ObjectGroup& group);

// False (and *group untouched) for data that is not a whole, consistent
// group: wrong signature, counts beyond the data, a path longer than a
// catalog entry holds, a record naming a type the group does not list.
bool DecodeObjectGroup(const unsigned char* data, size_t size, ObjectGroup* group);

// One object per line: type path, x, y, rotation, separated by tabs (paths
// may hold commas), lines ending in CR LF. Positions are written so that
// they read back as the same 32-bit floats.
std::string ObjectGroupText(const ObjectGroup& group);

// Where text that was to be read as objects is not in that form: the line
// (1 for the first) and what is wrong with it.
struct TextFormProblem
{
    size_t line = 0;
    std::string reason;
};

// Reads the text form back, as a designer may have edited it in a text
// editor, a spreadsheet or a script: lines end in CR LF or LF, empty lines
// are passed over, a field wholly in double quotes loses them (spreadsheets
// quote some cells). Each other line is a type path (1 to 127 characters,
// no control characters or quotes), x and y (decimal numbers from 0 to 1,
// the map square) and a rotation (a whole number of degrees that 16 bits
// hold). The group lists each path once, in the order the lines first name
// it; the reserved bytes are zero. False (and *group untouched) at the
// first line that is not of this form, or when no line names an object.
bool ReadObjectGroupText(const char* text, size_t size, ObjectGroup* group,
                         TextFormProblem* problem);

#endif
