// Paths of object description files relative to the program directory.
// No Windows API.
#ifndef MAPEDITOR_RELATIVEPATH_H
#define MAPEDITOR_RELATIVEPATH_H

#include <string>

std::string MakeRelativePath(const char* base, const char* path);

#endif
