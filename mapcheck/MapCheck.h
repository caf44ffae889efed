// The map checker's command line, for build pipelines:
//
//   mapcheck [--program-dir DIR] MAP.ini   the map and every file it names
//   mapcheck [--program-dir DIR] FILE.mob  an object placement file alone
//   mapcheck --json FILE.mob               the file as JSON on standard output
//   mapcheck --from-json FILE.json OUT.mob JSON back to an object file
//
// A file is taken as an object placement file when it starts with "M4DO" or
// its name ends in ".mob", otherwise as a map settings file. Relative names
// in maps and catalogs lead from the program directory, DIR or by default
// the folder "editor" beside the map's folder; an object file alone has its
// description files looked for only when DIR is given.
//
// Checking writes one line "file: problem" per problem on `out`. The exit
// status is 0 when there is none, 1 when there are problems (including a
// named file that is not a map or object file at all), and 2 when the check
// could not run: bad arguments, a DIR that is not a folder, or the named
// file itself (or the JSON input, or the output file) not readable or
// writable. With --json, `out` gets only the JSON; problems and messages go
// to `err`. No Windows API.
#ifndef MAPEDITOR_MAPCHECK_MAPCHECK_H
#define MAPEDITOR_MAPCHECK_MAPCHECK_H

#include <ostream>
#include <string>
#include <vector>

#include "document/FileSystem.h"

namespace mapcheck
{
enum ExitStatus
{
    kClean = 0,
    kProblems = 1,
    kCouldNotRun = 2,
};

// Runs one command line (without the program's name) on these files and
// streams; returns the exit status.
int RunMapCheck(const std::vector<std::string>& arguments, FileSystem& files, std::ostream& out,
                std::ostream& err);
} // namespace mapcheck

#endif
