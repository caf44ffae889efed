// One frame drawn on the editor's real device and read back before it is
// presented: BeginFrame, the drawing, the back buffer, EndFrame.
#ifndef MAPEDITOR_TESTS_FRAMECAPTURE_H
#define MAPEDITOR_TESTS_FRAMECAPTURE_H

#include <gtest/gtest.h>

#include "app/EditorApp.h"
#include "tests/support/EditorHarness.h"

// BeginFrame, the drawing, then the back buffer as it stands before Present.
// The viewport is set to the whole back buffer first (a test may have set a
// smaller one); tests that lay scenes out for the start-up size call
// RestoreStartupBackBuffer before. A test may ask for a smaller viewport at
// the top-left corner.
template <typename Draw>
BackBufferPixels DrawnFrame(Draw draw, unsigned width = 0, unsigned height = 0)
{
    BackBufferPixels pixels;
    app.Graphics().ResizeViewport(0, 0, width ? width : (unsigned)app.Graphics().Width(),
                                  height ? height : (unsigned)app.Graphics().Height());
    app.Graphics().BeginFrame();
    draw();
    app.Graphics().Device()->EndScene();
    EXPECT_TRUE(ReadBackBuffer(app.Graphics().Device(), &pixels));
    app.Graphics().Device()->BeginScene();
    app.View().Presenter().EndFrame();
    return pixels;
}

#endif
