// The checks of the map checker: a map settings file and the files it names,
// and an object placement file, each problem reported as one line
// "file: problem". The file of a line is the one to mend: the map settings
// file when a file it names is missing, the named file when its content is
// wrong. No Windows API: files are read through a FileSystem.
#ifndef MAPEDITOR_MAPCHECK_MAPCHECKS_H
#define MAPEDITOR_MAPCHECK_MAPCHECKS_H

#include <stddef.h>

#include <ostream>
#include <string>

#include "document/FileSystem.h"

namespace mapcheck
{
// Writes each problem as its own line as soon as it is found, and counts them.
class Report
{
  public:
    explicit Report(std::ostream& out) : out_(out) {}
    void Add(const std::string& file, const std::string& problem);
    size_t Count() const { return count_; }

  private:
    std::ostream& out_;
    size_t count_ = 0;
};

struct CheckSetup
{
    FileSystem& files;
    // The editor's program directory: relative names in maps and catalogs
    // lead from there, as they do from the editor's current directory.
    std::string programDir;
    // Whether the catalog's description files are looked for.
    bool checkDescriptions = true;
};

// The program directory a map implies when none is given: the folder
// "editor" beside the map's folder (<root>/maps/x.ini gives <root>/editor),
// as the editor's program folder sits beside the maps.
std::string DefaultProgramDir(const std::string& mapPath);

// Where a name from a map or a catalog leads: a relative name joined to the
// program directory, ".." steps taken away by the text as Windows does (so
// a folder on the way need not exist), backslashes made the system's
// separator; a name with a root or a drive letter stays as it is.
std::string ResolveProgramPath(const std::string& programDir, const std::string& name);

// An object placement file's bytes: its structure (ParseObjectFile) and
// whether the editor would write it back the same, its catalog (names,
// repeats, description files), its objects (types in the catalog, positions
// on the map).
void CheckObjectFile(const std::string& file, const unsigned char* data, size_t size,
                     const CheckSetup& setup, Report* report);

// A map settings file's bytes: its [map] section, the colormap, heightmap
// and detail map (present, readable, images the editor decodes, colormap in
// proportion to the heightmap), quad_depth and spacing, and the object
// placement file it names (checked as above).
void CheckMapSettings(const std::string& file, const unsigned char* data, size_t size,
                      const CheckSetup& setup, Report* report);
} // namespace mapcheck

#endif
