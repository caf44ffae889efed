// One entry of the object type catalog: the path of an object description
// file, relative to the program directory. No Windows API.
#ifndef MAPEDITOR_OBJECTTYPE_H
#define MAPEDITOR_OBJECTTYPE_H

#include <stddef.h>

#include <string>

// Longest path a catalog entry may have: the object placement file stores each
// name in 128 bytes with its terminating zero.
const size_t kMaxObjectTypePath = 127;

struct ObjectType
{
    std::string path;
};

#endif
