// Object types added to the catalog by the paths of their description
// files, the rule that Import > Objects (and the palette's Add) and a paste
// of typed objects share: a path that names a file already in the catalog
// is that entry, never a second one; a new entry must name a file that can
// be read (what the file holds is not the editor's to judge) by a path that
// a type name holds. Whether two paths name the same file is the
// platform's to say: the caller passes its comparison (on Windows the
// system's ordinal comparison, case ignored). No Windows API.
#ifndef MAPEDITOR_TYPEIMPORT_H
#define MAPEDITOR_TYPEIMPORT_H

#include <functional>
#include <string>
#include <vector>

#include "document/MapDocument.h"

using SameFileName = std::function<bool(const std::string&, const std::string&)>;

// The first catalog entry whose path is the same file name, or -1.
int FindTypeByPath(const std::vector<ObjectType>& catalog, const std::string& path,
                   const SameFileName& same);

struct TypeImportResult
{
    enum Outcome
    {
        kAdded,        // a new last entry, as one undoable step
        kAlreadyThere, // the catalog names this file already: nothing added
        kRefused,      // nothing added; `problem` says why
    };
    Outcome outcome = kRefused;
    int type = -1;       // the entry added or found
    std::string problem; // "<file>: the file was not found", ...
};

// Import > Objects: `file` is the description file as chosen (read to see
// that it can be), `path` the catalog's name for it (relative to the
// program folder).
TypeImportResult ImportTypeFile(MapDocument& document, FileSystem& files, const std::string& file,
                                const std::string& path, const SameFileName& same);

// Before typed objects are pasted: each of the group's types that names the
// file of a catalog entry (or of an earlier type of the group) takes that
// entry's spelling, so that the paste finds it; each other one is a new
// entry, whose file must be readable (by its path, from the current folder).
// False, with *problem naming the first type that is not, when one is not.
bool MatchTypedTypes(const std::vector<ObjectType>& catalog, FileSystem& files,
                     const SameFileName& same, ObjectGroup* group, std::string* problem);

#endif
