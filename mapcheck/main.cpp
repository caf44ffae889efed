// mapcheck: checks maps and object placement files, and turns object files
// into JSON and back (see MapCheck.h). The whole program is the library's
// RunMapCheck on the C++ library's files and the standard streams.
#include <iostream>
#include <string>
#include <vector>

#include "document/StdioFileSystem.h"
#include "mapcheck/MapCheck.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    StdioFileSystem files;
    return mapcheck::RunMapCheck(arguments, files, std::cout, std::cerr);
}
