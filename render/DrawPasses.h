// The order in which the map view's markers and labels are batched. Drawn
// one object at a time, the view sends marker 0, label 0, marker 1, label 1,
// ... each with its own states; batched, it sends a few passes, each all the
// markers of one set of objects in one draw followed by all their labels in
// another, so the states change twice per pass instead of twice per object.
//
// The planner gives every marker and label the pass it goes in, such that
// the batched frame is the one-at-a-time frame pixel for pixel: any two
// quads that may touch a common pixel are drawn in their one-at-a-time order
// (the later one lands over the earlier one: every quad has depth 0, so the
// z test always passes and the order alone decides). Quads with no pixel in
// common may be drawn in any order. No Windows API.
#ifndef MAPEDITOR_DRAWPASSES_H
#define MAPEDITOR_DRAWPASSES_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "render/ViewGeometry.h"

class DrawPassPlanner
{
  public:
    enum Kind
    {
        Marker = 0,
        Label = 1
    };

    // Starts a frame over the visible area: what lies outside it cannot
    // change a pixel, and every quad is clipped to it.
    void Begin(const ViewArea& area);

    // The pass of the next quad in the one-at-a-time order, from 0; its box
    // holds every pixel it can change. Within a pass all markers are drawn
    // before all labels, each kind in the order they were placed.
    int Place(Kind kind, const PixelBox& box);

    // Passes given out since Begin.
    int PassCount() const { return (highest_ + 2) / 2; }
    size_t Bytes() const { return cells_.capacity() * sizeof(int32_t); }

    // Side of the grid's square cells in pixels. Two boxes in a common cell
    // count as overlapping: smaller cells find fewer false overlaps (and so
    // fewer passes) but cost more cells per quad.
    static const int CellSize = 8;

  private:
    // The sequence of draws is marker pass 0, label pass 0, marker pass 1,
    // ...: position 2p + kind. Each cell holds the latest position of any
    // quad drawn over it, -1 for none.
    std::vector<int32_t> cells_;
    int columns_ = 0;
    int rows_ = 0;
    ViewArea area_ = {0, 0, 0, 0};
    int highest_ = -1;
};

#endif
