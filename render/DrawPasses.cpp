// The pass planner of the batched map view: a grid of cells over the visible
// area remembers the latest draw over each cell. No Windows API.
#include "render/DrawPasses.h"

#include <math.h>

namespace
{
// The cell holding a coordinate, within [0, count).
int CellOf(double offset, int count)
{
    const double cell = floor(offset / DrawPassPlanner::CellSize);
    if (!(cell > 0.0)) // also NaN
        return 0;
    return cell >= (double)count ? count - 1 : (int)cell;
}
} // namespace

void DrawPassPlanner::Begin(const ViewArea& area)
{
    area_ = area;
    const double width = area.right > area.left ? area.right - area.left : 0.0;
    const double height = area.bottom > area.top ? area.bottom - area.top : 0.0;
    columns_ = (int)ceil(width / CellSize);
    rows_ = (int)ceil(height / CellSize);
    cells_.assign((size_t)columns_ * (size_t)rows_, -1);
    highest_ = -1;
}

int DrawPassPlanner::Place(Kind kind, const PixelBox& box)
{
    // A quad that cannot change a visible pixel may go anywhere: the first pass.
    if (cells_.empty() || !BoxOverlaps(area_, box))
        return 0;
    const int left = CellOf(box.left - area_.left, columns_);
    const int right = CellOf(box.right - area_.left, columns_);
    const int top = CellOf(box.top - area_.top, rows_);
    const int bottom = CellOf(box.bottom - area_.top, rows_);
    int latest = -1;
    for (int y = top; y <= bottom; ++y)
    {
        const int32_t* row = &cells_[(size_t)y * columns_];
        for (int x = left; x <= right; ++x)
            latest = row[x] > latest ? row[x] : latest;
    }
    // The first position of this kind not before the latest draw over any of
    // its cells: the same position only when that draw is of the same kind
    // (drawn earlier in the same batch), the next one of this kind otherwise.
    int position = (int)kind;
    if (latest >= 0)
        position = (latest & 1) == (int)kind ? latest : latest + 1;
    for (int y = top; y <= bottom; ++y)
    {
        int32_t* row = &cells_[(size_t)y * columns_];
        for (int x = left; x <= right; ++x)
            row[x] = position;
    }
    highest_ = position > highest_ ? position : highest_;
    return position / 2;
}
