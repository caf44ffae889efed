// The way a frame reaches the view: presented into the view itself when the
// copy for GDI fails (and the failure noted once), and a repaint that shows
// the kept picture over whatever the system asked for, also when the frame
// drew only what changed.
#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/FramePresenter.h"
#include "tests/render/ViewTestSupport.h"
#include "tests/support/MethodPatch.h"
#include "tests/support/WindowCapture.h"

namespace
{
HRESULT WINAPI FailedCopyRects(IDirect3DDevice8*, IDirect3DSurface8*, const RECT*, UINT,
                               IDirect3DSurface8*, const POINT*)
{
    return D3DERR_INVALIDCALL;
}

// The windows Present was asked to show frames in.
std::vector<HWND> presentedInto;
HRESULT WINAPI RecordedPresent(IDirect3DDevice8*, const RECT*, const RECT*, HWND window,
                               const RGNDATA*)
{
    presentedInto.push_back(window);
    return D3D_OK;
}

std::string DebugLog()
{
    std::string text;
    if (FILE* file = fopen("debug.txt", "rb"))
    {
        char buffer[4096];
        for (size_t read; (read = fread(buffer, 1, sizeof(buffer), file)) > 0;)
            text.append(buffer, read);
        fclose(file);
    }
    return text;
}

class FramePresenterTest : public viewtest::EditorDeviceTest
{
};

size_t Count(const std::string& text, const std::string& what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}
} // namespace

TEST_F(FramePresenterTest, AFailedCopyPresentsIntoTheViewAndIsNotedOnce)
{
    FramePresenter presenter(app.Graphics());
    presenter.SetWindow(app.View().Handle());
    const std::string note = "could not be copied to the view";
    const size_t notedBefore = Count(DebugLog(), note);
    presentedInto.clear();
    {
        MethodPatch copy(app.Graphics().Device(), &IDirect3DDevice8::CopyRects,
                         (void*)FailedCopyRects);
        MethodPatch present(app.Graphics().Device(), &IDirect3DDevice8::Present,
                            (void*)RecordedPresent);
        for (int frame = 0; frame < 3; ++frame)
        {
            app.Graphics().BeginFrame();
            presenter.EndFrame();
        }
    }
    ASSERT_EQ(presentedInto.size(), 3u);
    for (HWND window : presentedInto)
        EXPECT_EQ(window, app.View().Handle()) << "never the device's hidden window";
    EXPECT_EQ(presenter.Statistics().framesShown, 3u);
    EXPECT_EQ(presenter.Statistics().framesPresented, 3u);
    EXPECT_EQ(presenter.KeptPicture(), nullptr);
    EXPECT_EQ(Count(DebugLog(), note), notedBefore + 1);

    // The copy works again: frames go through GDI and keep their picture.
    app.Graphics().BeginFrame();
    presenter.EndFrame();
    EXPECT_NE(presenter.KeptPicture(), nullptr);
    EXPECT_EQ(presenter.Statistics().framesPresented, 3u);
}

TEST_F(FramePresenterTest, ARepaintShowsTheKeptPictureOverTheWholeUpdateRegion)
{
    HWND view = app.View().Handle();
    app.View().ResetGesture();
    app.View().ForgetKeptFrame();
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(view);

    // Pixels the window lost (no compositor keeps them): painted over.
    const RECT lost = {200, 150, 260, 190};
    HDC dc = GetDC(view);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &lost, magenta);
    DeleteObject(magenta);
    ReleaseDC(view, dc);
    GdiFlush();

    // An edit elsewhere (a rubber band far from them) draws only its part;
    // the system asks for the lost pixels in the same paint.
    app.View().StartBand(20, 300, false);
    app.View().StretchBand(40, 320);
    ASSERT_EQ(app.View().PlanFrame().redraw, KeptFrame::Part);
    app.View().RequestFrame();
    InvalidateRect(view, &lost, FALSE);
    UpdateWindow(view);

    // The window shows the kept picture everywhere: the lost pixels and the
    // part the edit drew alike.
    BackBufferPixels kept;
    ASSERT_TRUE(ReadShownFrame(&kept));
    RECT client;
    GetClientRect(view, &client);
    const int width = std::min((int)client.right, kept.width);
    const int height = std::min((int)client.bottom, kept.height);
    const std::vector<unsigned> shown = CapturePixels(view, 0, 0, width, height);
    ASSERT_EQ(shown.size(), (size_t)width * height);
    size_t lostDiffer = 0, otherDiffer = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const POINT at = {x, y};
            const bool differs = shown[(size_t)y * width + x] != kept.At(x, y);
            (PtInRect(&lost, at) ? lostDiffer : otherDiffer) += differs;
        }
    EXPECT_EQ(lostDiffer, 0u) << "pixels of the update region left as they were";
    EXPECT_EQ(otherDiffer, 0u) << "pixels of the frame that never reached the window";
    app.View().ResetGesture();
}
