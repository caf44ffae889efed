// One placed object: the packed 17-byte record that the object placement file
// stores verbatim. No Windows API.
#ifndef MAPEDITOR_PLACEDOBJECT_H
#define MAPEDITOR_PLACEDOBJECT_H

#include <stdint.h>

#pragma pack(push, 1)
struct PlacedObject
{
    uint8_t type;         // index into the object type catalog
    float x;              // fraction of the map side, 0 = left edge
    float y;              // fraction of the map side, 0 = top edge
    uint8_t reserved1[2]; // never read; carried unchanged
    int16_t rotation;     // degrees
    uint8_t reserved2[4]; // never read; carried unchanged
};
#pragma pack(pop)

static_assert(sizeof(PlacedObject) == 17, "PlacedObject is stored verbatim as 17 bytes");

#endif
