// The one vertex layout of the map view: a pre-transformed point in view
// pixels with a colour and two sets of texture coordinates, 36 bytes, sent
// from memory four at a time as a two-triangle strip. No Windows API.
#ifndef MAPEDITOR_TEXTUREDVERTEX_H
#define MAPEDITOR_TEXTUREDVERTEX_H

#include <stdint.h>

#include "render/ViewGeometry.h"

// D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX2 (checked against the Direct3D
// names where the device is used).
const uint32_t kTexturedVertexFormat = 0x244;

struct TexturedVertex
{
    float x, y;       // view pixels, whole pixels with no half-pixel offset
    float z;          // depth, always 0.0
    float rhw;        // always 1.0
    uint32_t diffuse; // ARGB, always opaque white
    float u0, v0;     // set 0: the stage 0 texture
    float u1, v1;     // set 1: the stage 1 texture
};

static_assert(sizeof(TexturedVertex) == 36, "the view's vertex format is 36 bytes");

const uint32_t kTexturedVertexColour = 0xFFFFFFFF;

// The strip of a marker outline: the marker image stretched over it once,
// nothing from set 1.
inline void QuadVertices(const CornerPoint corners[4], TexturedVertex vertices[4])
{
    static const float kU[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    static const float kV[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    for (int i = 0; i < 4; ++i)
        vertices[i] = {corners[i].x, corners[i].y, 0.0f, 1.0f, kTexturedVertexColour,
                       kU[i],        kV[i],        0.0f, 0.0f};
}

#endif
