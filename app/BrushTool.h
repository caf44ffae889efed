// The tool the map view's left button works with (Tools > Select, Brush,
// Eraser) and the brush's settings that the "Brush..." dialog edits, which
// the map view keeps with its gesture. A stroke takes its pool (the
// palette's selected rows) and rotation (the palette's box and Randomize)
// when it begins, so they are not kept here.
#ifndef MAPEDITOR_BRUSHTOOL_H
#define MAPEDITOR_BRUSHTOOL_H

#include "document/BrushStroke.h"

enum class Tool
{
    Select, // today's pointer editing
    Brush,
    Eraser,
};

// "Select", "Brush", "Eraser": what the status bar shows.
const char* ToolName(Tool tool);
// The command of a key of the view: S, B and E choose a tool, [ and ] size
// the brush. 0 for any other key.
int ToolKeyCommand(unsigned virtualKey);

struct BrushTool
{
    Tool tool = Tool::Select;
    BrushSettings settings; // radius, spacing and the terrain mask
    // The left button began a stroke, which its release ends; where the
    // stroke last set the circle down (view pixels).
    bool stroking = false;
    bool hasLast = false;
    int lastX = 0, lastY = 0;
    // Where the pointer is over the view (the outline's centre), and whether
    // the view asked to be told when it leaves.
    bool pointerInside = false;
    bool leaveTracked = false;
    int pointerX = 0, pointerY = 0;
};

#endif
