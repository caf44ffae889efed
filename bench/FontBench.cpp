// Measures the texture font on the real device and prints a table: building
// a font, measuring, drawing strings of several lengths, and what the status
// text adds to a whole frame. Prints figures; never passes or fails on time.
#include <stdio.h>

#include <string>

#include "app/EditorApp.h"
#include "bench/BenchClock.h"
#include "tests/support/EditorHarness.h"
#include "text/Font2D.h"
#include "text/FontRegistry.h"

namespace
{
void Row(const char* what, int runs, double seconds, const char* unit, double scale)
{
    printf("| %-44s | %6d | %10.2f %s |\n", what, runs, seconds / runs * scale, unit);
}

void BenchBuild(unsigned points)
{
    const int runs = 10;
    const double start = Now();
    for (int i = 0; i < runs; ++i)
    {
        Font2D font("Tahoma", points, 0);
        font.CreateGlyphTexture(app.Graphics().Device());
        font.CreateDrawResources();
        font.Teardown();
    }
    char what[64];
    snprintf(what, sizeof(what), "build a %u-point font (%s texture)", points,
             points > 40   ? "1024"
             : points > 20 ? "512"
                           : "256");
    Row(what, runs, Now() - start, "ms", 1e3);
}

void BenchDraw(Font2D& font, int characters)
{
    const std::string text(characters, 'x');
    const int frames = 20, perFrame = 50;
    const double start = Now();
    for (int f = 0; f < frames; ++f)
    {
        app.Graphics().BeginFrame();
        for (int i = 0; i < perFrame; ++i)
            font.DrawString(0.0f, (float)(i % 40) * 12, 0xFFFFFFFF, text.c_str(), 0);
        app.View().Presenter().EndFrame(); // presents: the queued draws are really done
    }
    char what[64];
    snprintf(what, sizeof(what), "DrawString of %d characters (incl. present)", characters);
    Row(what, frames * perFrame, Now() - start, "us", 1e6);
}

double FrameSeconds(bool withText, int frames)
{
    FontEntry* status = app.Fonts().Entry(app.View().StatusFont());
    const double start = Now();
    for (int f = 0; f < frames; ++f)
    {
        app.Graphics().BeginFrame();
        if (withText && status)
            status->Print(0.0f, 0.0f, false, 0xFFFF0000, "Objects: %d", f);
        app.View().Presenter().EndFrame();
    }
    return Now() - start;
}
} // namespace

int main()
{
    if (!StartEditorOnce())
    {
        printf("no Direct3D 8 device: %s\n",
               app.Graphics().FailedStep() ? app.Graphics().FailedStep() : "?");
        return 1;
    }
    printf("Texture font on Wine's Direct3D 8 (back buffer %d x %d)\n\n", app.Graphics().Width(),
           app.Graphics().Height());
    printf("| %-44s | %6s | %13s |\n", "operation", "runs", "mean");
    printf("|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(8, '-').c_str(),
           std::string(15, '-').c_str());
    for (unsigned points : {8u, 21u, 41u})
        BenchBuild(points);

    Font2D font("Tahoma", 8, 0);
    font.CreateGlyphTexture(app.Graphics().Device());
    font.CreateDrawResources();
    {
        const int runs = 100000;
        SIZE size;
        const double start = Now();
        for (int i = 0; i < runs; ++i)
            font.MeasureText("Objects: 12345", &size);
        Row("MeasureText of \"Objects: 12345\"", runs, Now() - start, "us", 1e6);
    }
    for (int characters : {10, 50, 51, 200})
        BenchDraw(font, characters);
    font.Teardown();

    const int frames = 300;
    FrameSeconds(true, 20); // warm up
    const double plain = FrameSeconds(false, frames);
    const double text = FrameSeconds(true, frames);
    Row("frame: clear + present", frames, plain, "ms", 1e3);
    Row("frame: clear + \"Objects: %d\" + present", frames, text, "ms", 1e3);
    return 0;
}
