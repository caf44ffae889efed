// The catalog and the placed objects of an object placement file as JSON
// text, for build pipelines that generate or inspect maps, and the way back.
// What is written reads back to the same catalog and the same records bit
// for bit, so that `.mob -> JSON -> .mob` gives the bytes the editor saves
// for that file. No Windows API.
//
//   {
//   "types": [
//   "..\\objects\\tree.ini",
//   ...
//   ],
//   "objects": [
//   {"type":0,"x":0.25,"y":0.5,"rotation":90,"reserved1":"0000","reserved2":"00000000"},
//   ...
//   ]
//   }
//
// Type names are bytes of the system's 8-bit code page, not necessarily
// UTF-8: each byte is written as the character of the same number (U+0000 to
// U+00FF, as ISO-8859-1 reads it), with everything outside printable ASCII
// escaped as \u00XX, so the text is plain ASCII and every byte comes back.
// Positions are JSON numbers when finite, written with the fewest digits
// that read back to the same float (-0.0 keeps its sign); infinities and
// NaNs, which JSON numbers cannot hold, are their 32-bit pattern as a string
// "0x7fc00000" (which is also read for any value). The reserved bytes are
// hex strings in file order (record bytes 9-10 and 13-16).
//
// Reading is strict about what it cannot carry and lenient about what has a
// plain default: a name longer than 127 bytes, a zero character in a name
// (it would end the name in the file), a character above U+00FF, a type
// outside 0..255, a rotation outside a 16-bit integer, a finite number that
// no float holds, an unknown key and a value of the wrong kind are refused;
// a missing rotation or reserved field reads as zero.
#ifndef MAPEDITOR_MAPCHECK_OBJECTJSON_H
#define MAPEDITOR_MAPCHECK_OBJECTJSON_H

#include <stddef.h>

#include <ostream>
#include <string>

#include "document/ObjectFile.h"

namespace mapcheck
{
// Writes the whole document, one catalog entry and one object per line.
// The caller checks the stream afterwards.
void WriteObjectJson(const ObjectFileContents& contents, std::ostream& out);
// The same for records that lie elsewhere (in a file's bytes).
void WriteObjectJson(const std::vector<ObjectType>& types, const PlacedObject* records,
                     size_t objectCount, std::ostream& out);

// Reads JSON text as written above. False with *problem saying where and
// why (e.g. "objects[3].x: ..."); *contents is untouched then.
bool ReadObjectJson(const char* text, size_t size, ObjectFileContents* contents,
                    std::string* problem);

// A name's bytes as the JSON string's characters (UTF-8 of U+0000..U+00FF)
// and back; false when a character lies above U+00FF.
std::string NameToUtf8(const std::string& bytes);
bool NameFromUtf8(const std::string& utf8, std::string* bytes);
} // namespace mapcheck

#endif
