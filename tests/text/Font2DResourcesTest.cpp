// Making and releasing the texture font's device resources on Wine's real
// Direct3D 8 device: a font without a device refuses every device operation,
// a torn-down font can be made again, and a state block the device cannot
// make fails CreateDrawResources with the device's code, leaving nothing
// made and the caller's states untouched.
#include <gtest/gtest.h>

#include <string.h>

#include "app/EditorApp.h"
#include "tests/support/EditorHarness.h"
#include "tests/support/MethodPatch.h"
#include "text/Font2D.h"

namespace
{
typedef IDirect3DDevice8 Dev;

// Fails the n-th BeginStateBlock or EndStateBlock (1-based, 0 none) and
// counts the blocks the device made and deleted meanwhile. A failing End
// still ends the recording and deletes what it made, so the shared device
// is left as it was.
struct StateBlockFaults
{
    static StateBlockFaults* current;
    int failBegin = 0, failEnd = 0, begins = 0, ends = 0, made = 0, deleted = 0;
    MethodPatch begin{app.Graphics().Device(), &Dev::BeginStateBlock, (void*)OnBegin};
    MethodPatch end{app.Graphics().Device(), &Dev::EndStateBlock, (void*)OnEnd};
    MethodPatch remove{app.Graphics().Device(), &Dev::DeleteStateBlock, (void*)OnDelete};

    StateBlockFaults(int beginToFail, int endToFail) : failBegin(beginToFail), failEnd(endToFail)
    {
        current = this;
    }
    ~StateBlockFaults() { current = nullptr; }

    static HRESULT WINAPI OnBegin(Dev* self)
    {
        return ++current->begins == current->failBegin
                   ? D3DERR_INVALIDCALL
                   : current->begin.Original<decltype(&OnBegin)>()(self);
    }
    static HRESULT WINAPI OnEnd(Dev* self, DWORD* block)
    {
        const HRESULT result = current->end.Original<decltype(&OnEnd)>()(self, block);
        if (++current->ends != current->failEnd)
        {
            current->made += SUCCEEDED(result);
            return result;
        }
        current->remove.Original<decltype(&OnDelete)>()(self, *block); // *block stays stale
        return E_OUTOFMEMORY;
    }
    static HRESULT WINAPI OnDelete(Dev* self, DWORD block)
    {
        ++current->deleted;
        return current->remove.Original<decltype(&OnDelete)>()(self, block);
    }
};
StateBlockFaults* StateBlockFaults::current = nullptr;
} // namespace

TEST(Font2DResources, StateBlockFailureIsReportedAndLeavesNothingMade)
{
    ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
    const struct
    {
        const char* what;
        int failBegin, failEnd;
        HRESULT expected;
    } cases[] = {{"first begin", 1, 0, D3DERR_INVALIDCALL},
                 {"second begin", 2, 0, D3DERR_INVALIDCALL},
                 {"first end", 0, 1, E_OUTOFMEMORY},
                 {"second end", 0, 2, E_OUTOFMEMORY}};
    for (const auto& c : cases)
    {
        Font2D font("Tahoma", 8, 0);
        ASSERT_EQ(font.CreateGlyphTexture(app.Graphics().Device()), S_OK);
        app.Graphics().Device()->SetRenderState(D3DRS_ALPHABLENDENABLE,
                                                FALSE); // the text states' is TRUE
        {
            StateBlockFaults faults(c.failBegin, c.failEnd);
            EXPECT_EQ(font.CreateDrawResources(), c.expected) << c.what;
            EXPECT_EQ(faults.deleted, faults.made)
                << c.what << ": every block made is deleted, no other";
        }
        EXPECT_TRUE(!font.vertexBuffer && !font.savedStateBlock && !font.drawStateBlock)
            << c.what << ": a resource left to draw with";
        DWORD blend = 0;
        app.Graphics().Device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
        EXPECT_EQ(blend, (DWORD)FALSE) << c.what << ": text states set outside a recording";
    }
}

TEST(Font2DResources, WithoutDeviceEveryDeviceOperationIsRefused)
{
    Font2D font("A face name longer than seventy-nine characters is cut at the end of its "
                "eighty-byte field",
                8, 0);
    EXPECT_EQ(strlen(font.faceName), 79u);
    EXPECT_EQ(font.CreateGlyphTexture(nullptr), E_FAIL);
    EXPECT_EQ(font.CreateDrawResources(), E_FAIL);
    EXPECT_EQ(font.DrawString(0, 0, 0xFFFFFFFF, "text", 0), E_FAIL);
    EXPECT_EQ(font.Teardown(), S_OK);

    // A font with its texture but without its buffer cannot draw either,
    // and can be initialised again after Teardown.
    ASSERT_TRUE(StartEditorOnce());
    Font2D half("Tahoma", 8, 0);
    ASSERT_EQ(half.CreateGlyphTexture(app.Graphics().Device()), S_OK);
    EXPECT_EQ(half.DrawString(0, 0, 0xFFFFFFFF, "text", 0), E_FAIL);
    half.Teardown();
    EXPECT_EQ(half.glyphTexture, nullptr);
    EXPECT_EQ(half.device, nullptr);
    EXPECT_EQ(half.CreateGlyphTexture(app.Graphics().Device()), S_OK);
    EXPECT_EQ(half.CreateDrawResources(), S_OK);
    EXPECT_NE(half.savedStateBlock, half.drawStateBlock);
}
