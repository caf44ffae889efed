// The font registry on the real device (lookups without case, the slot
// limit, fonts that fail to initialise and what they log, centring, long
// names and texts) and the diagnostic log's bytes and error names.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "app/EditorApp.h"
#include "tests/support/DeviceRecorder.h"
#include "tests/support/EditorHarness.h"
#include "tests/support/MethodPatch.h"
#include "text/DiagnosticLog.h"
#include "text/Font2D.h"
#include "text/FontRegistry.h"

namespace
{
// A temporary folder made current for the test's lifetime (the log is
// written to the current directory).
class CurrentTempFolder
{
  public:
    CurrentTempFolder()
    {
        GetCurrentDirectoryA(sizeof(previous_), previous_);
        SetCurrentDirectoryA(folder_.Path().c_str());
    }
    ~CurrentTempFolder() { SetCurrentDirectoryA(previous_); }
    std::string Log() const
    {
        std::string bytes;
        if (FILE* file = fopen(folder_.File("debug.txt").c_str(), "rb"))
        {
            char chunk[512];
            size_t n;
            while ((n = fread(chunk, 1, sizeof(chunk), file)) > 0)
                bytes.append(chunk, n);
            fclose(file);
        }
        return bytes;
    }

  private:
    TempFolder folder_;
    char previous_[MAX_PATH] = {};
};

class FontRegistryTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
        registry.SetOwner(app.Graphics().Device());
    }
    CurrentTempFolder folder;
    FontRegistry registry;
};

const char kInitError[] = "Font2D Init Error: ";

HRESULT WINAPI FailingLockRect(IDirect3DTexture8*, UINT, D3DLOCKED_RECT* locked, const RECT*, DWORD)
{
    locked->pBits = NoAccessPage(); // must not be written through
    locked->Pitch = 512;
    return D3DERR_INVALIDCALL;
}
} // namespace

TEST_F(FontRegistryTest, NamesAreFoundWithoutRegardToAsciiCase)
{
    EXPECT_EQ(registry.Find("Tahoma"), -1);
    EXPECT_EQ(registry.FindOrRegister("Tahoma"), 0);
    EXPECT_EQ(registry.FindOrRegister("tahoma"), 0);
    EXPECT_EQ(registry.Find("tAhOmA"), 0);
    EXPECT_EQ(registry.Entry(1), nullptr) << "no second font";
    FontEntry* entry = registry.Entry(0);
    ASSERT_TRUE(entry && entry->ready && entry->font);
    EXPECT_STREQ(entry->name, "Tahoma");
    EXPECT_EQ(entry->font->pointSize, 8u);
    EXPECT_EQ(entry->font->styleFlags, 0u);
    EXPECT_EQ(entry->font->device, app.Graphics().Device());
    // Only A-Z fold: other bytes must match exactly.
    EXPECT_EQ(registry.FindOrRegister("Tahom\xc1"), 1);
    EXPECT_EQ(registry.Find("Tahom\xe1"), -1);
    EXPECT_EQ(registry.Find("Tahom"), -1);
    EXPECT_EQ(registry.Find("Tahomas"), -1);
    EXPECT_EQ(registry.Find(nullptr), -1);
    EXPECT_EQ(registry.Entry(16), nullptr);
    EXPECT_EQ(folder.Log(), "") << "nothing failed";
}

TEST_F(FontRegistryTest, SeventeenthNameGetsSlotZero)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(registry.FindOrRegister(("Face " + std::to_string(i)).c_str()), i);
    EXPECT_EQ(registry.Register("Face 16"), -1);
    EXPECT_EQ(registry.FindOrRegister("Face 16"), 0);
    EXPECT_EQ(registry.Find("Face 16"), -1);
    EXPECT_EQ(registry.Find("face 15"), 15);
}

TEST_F(FontRegistryTest, ReleaseAndNewOwnerTearEveryFontDown)
{
    ASSERT_EQ(registry.FindOrRegister("Tahoma"), 0);
    ASSERT_EQ(registry.FindOrRegister("Arial"), 1);
    // Hold the glyph texture: after the registry lets go, ours is the last
    // reference.
    IDirect3DTexture8* texture = registry.Entry(1)->font->glyphTexture;
    texture->AddRef();
    registry.SetOwner(app.Graphics().Device());
    for (FontEntry* slot : registry.slots)
        EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(registry.FindOrRegister("Arial"), 0) << "slots are free again";
    registry.ReleaseAll();
    EXPECT_EQ(registry.Entry(0), nullptr);
}

TEST_F(FontRegistryTest, FontsThatFailAreLoggedTakeANewSlotEachTimeAndDrawNothing)
{
    registry.SetOwner(nullptr); // an owner whose device was never created
    EXPECT_EQ(registry.FindOrRegister("Tahoma"), 0);
    FontEntry* failed = registry.Entry(0);
    ASSERT_NE(failed, nullptr);
    EXPECT_FALSE(failed->ready);
    EXPECT_STREQ(failed->name, "");
    EXPECT_EQ(folder.Log(), "Font2D Init Error: E_FAIL\r\n");

    // Asked again, the name is not found: every request takes a new slot.
    for (int i = 1; i < 16; ++i)
        EXPECT_EQ(registry.FindOrRegister("Tahoma"), i);
    EXPECT_EQ(registry.Find(""), -1) << "failed entries carry no name";
    EXPECT_EQ(registry.FindOrRegister("Tahoma"), 0) << "all slots used";
    std::string expected;
    for (int i = 0; i < 16; ++i)
        expected += "Font2D Init Error: E_FAIL\r\n";
    EXPECT_EQ(folder.Log(), expected);

    // Printing on a font that is not ready draws and formats nothing.
    strcpy(failed->textBuffer, "before");
    DeviceRecorder recorder(app.Graphics().Device());
    failed->Print(10, 10, true, 0xFFFFFFFF, "Objects: %d", 5);
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_STREQ(failed->textBuffer, "before");

    // No owner at all fails the same way.
    FontRegistry orphan;
    EXPECT_EQ(orphan.FindOrRegister("Tahoma"), 0);
    EXPECT_FALSE(orphan.Entry(0)->ready);
}

TEST_F(FontRegistryTest, AFailingGlyphLockIsLoggedByName)
{
    IDirect3DTexture8* probe = nullptr;
    ASSERT_EQ(app.Graphics().Device()->CreateTexture(4, 4, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED,
                                                     &probe),
              D3D_OK);
    {
        // The table of methods is shared with every glyph texture.
        MethodPatch patch(probe, &IDirect3DTexture8::LockRect, (void*)FailingLockRect);
        EXPECT_EQ(registry.FindOrRegister("Tahoma"), 0);
    }
    probe->Release();
    EXPECT_FALSE(registry.Entry(0)->ready);
    EXPECT_NE(registry.Entry(0)->font->glyphTexture, nullptr) << "kept until Unload";
    EXPECT_EQ(folder.Log(), "Font2D Init Error: D3DERR_INVALIDCALL\r\n");
    EXPECT_EQ(registry.FindOrRegister("Tahoma"), 1) << "works again once locking does";
    EXPECT_TRUE(registry.Entry(1)->ready);
}

TEST_F(FontRegistryTest, CentringSubtractsIntegerHalvesOfTheMeasuredSize)
{
    ASSERT_EQ(registry.FindOrRegister("Tahoma"), 0);
    FontEntry* entry = registry.Entry(0);
    Font2D* font = entry->font;
    ASSERT_EQ(font->textureWidth, 256u);
    // 'W' made 101 texels wide and every row 13 high, over a fully opaque
    // texture, so the drawn box is exactly the quad.
    font->glyphCoords[0][1] = 0.0f;
    font->glyphCoords[0][3] = 13.0f / 256;
    float* w = font->glyphCoords['W' - 32];
    w[0] = w[1] = 0.0f;
    w[2] = 101.0f / 256;
    w[3] = 13.0f / 256;
    D3DLOCKED_RECT locked;
    ASSERT_EQ(font->glyphTexture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ((WORD*)((BYTE*)locked.pBits + y * locked.Pitch))[x] = 0xFFFF;
    font->glyphTexture->UnlockRect(0);

    const struct
    {
        float x, y;
        bool centred;
        int left, top; // first covered pixel
    } cases[] = {{300, 200, true, 250, 194},
                 {300.75f, 200.25f, true, 251, 194},
                 {300, 200, false, 300, 200}};
    for (const auto& c : cases)
    {
        BackBufferPixels pixels;
        app.Graphics().BeginFrame();
        entry->Print(c.x, c.y, c.centred, 0xFF00FF00, "%c", 'W');
        app.Graphics().Device()->EndScene();
        ASSERT_TRUE(ReadBackBuffer(app.Graphics().Device(), &pixels));
        app.Graphics().Device()->BeginScene();
        app.View().Presenter().EndFrame();
        // Green exactly over 101 x 13 pixels from (left, top).
        int wrong = 0;
        for (int y = c.top - 3; y < c.top + 16; ++y)
            for (int x = c.left - 3; x < c.left + 104; ++x)
            {
                const bool inside = x >= c.left && x < c.left + 101 && y >= c.top && y < c.top + 13;
                wrong += pixels.At(x, y) != (inside ? 0xFF00FF00u : 0xFF0000FFu);
            }
        EXPECT_EQ(wrong, 0) << c.x << ", " << c.y << (c.centred ? " centred" : "");
    }
}

TEST_F(FontRegistryTest, LongNamesAndTextsAreCut)
{
    EXPECT_EQ(registry.FindOrRegister(std::string(40, 'q').c_str()), 0);
    EXPECT_EQ(strlen(registry.Entry(0)->name), 31u);
    EXPECT_EQ(strlen(registry.Entry(0)->font->faceName), 40u);
    // The same long name, in any case, finds the font it made.
    EXPECT_EQ(registry.FindOrRegister(std::string(40, 'Q').c_str()), 0);
    EXPECT_EQ(registry.Entry(1), nullptr);

    const std::string text(3000, 'x');
    app.Graphics().BeginFrame();
    registry.Entry(0)->Print(0, 0, true, 0xFFFFFFFF, "%s!", text.c_str());
    app.View().Presenter().EndFrame();
    EXPECT_EQ(strlen(registry.Entry(0)->textBuffer), 2047u);
    EXPECT_EQ(registry.Entry(0)->textBuffer[2046], 'x');
}

TEST(DiagnosticLog, AppendsOneCrLfLinePerEntryAndKeepsWhatTheFileHeld)
{
    CurrentTempFolder folder;
    LogError((HRESULT)0x80004005, kInitError);
    EXPECT_EQ(folder.Log(), "Font2D Init Error: E_FAIL\r\n");
    LogError((HRESULT)0x12345678, kInitError);
    EXPECT_EQ(folder.Log(), "Font2D Init Error: E_FAIL\r\n"
                            "Font2D Init Error: Unrecognized error: 0x12345678\r\n");

    // Existing content, even a trailing Ctrl+Z, stays as it was.
    CurrentTempFolder other;
    FILE* file = fopen("debug.txt", "wb");
    ASSERT_NE(file, nullptr);
    fwrite("old\x1a", 1, 4, file);
    fclose(file);
    LogError((HRESULT)0x8876086C, "x ");
    EXPECT_EQ(other.Log(), "old\032x D3DERR_INVALIDCALL\r\n");
}

TEST(DiagnosticLog, DropsAnEntryItCannotWrite)
{
    // "debug.txt" that is a folder cannot be opened.
    CurrentTempFolder folder;
    ASSERT_TRUE(CreateDirectoryA("debug.txt", nullptr));
    LogError((HRESULT)0x80004005, kInitError);
    EXPECT_TRUE(RemoveDirectoryA("debug.txt")) << "still an empty folder";
}

TEST(ErrorNames, OnlyExactCodesHaveNamesAndTheRestAreSpelledInHex)
{
    // The first and last of each family; a code next to a named one is not
    // named.
    const struct
    {
        unsigned code;
        const char* name;
    } cases[] = {{0x00000000, "S_OK"},
                 {0x80004005, "E_FAIL"},
                 {0x8007000E, "E_OUTOFMEMORY"},
                 {0x8876017C, "D3DERR_OUTOFVIDEOMEMORY"},
                 {0x88760818, "D3DERR_WRONGTEXTUREFORMAT"},
                 {0x8876086C, "D3DERR_INVALIDCALL"},
                 {0x88760B54, "D3DXERR_CANNOTMODIFYINDEXBUFFER"},
                 {0x88760B59, "D3DXERR_INVALIDDATA"},
                 {0x80004004, "Unrecognized error: 0x80004004"},
                 {0x88760820, "Unrecognized error: 0x88760820"},
                 {0x88760B5A, "Unrecognized error: 0x88760b5a"},
                 {0x00000001, "Unrecognized error: 0x00000001"},
                 {0xFFFFFFFF, "Unrecognized error: 0xffffffff"}};
    char name[64];
    for (const auto& c : cases)
    {
        memset(name, 'Z', sizeof(name));
        EXPECT_EQ(GetErrorName((HRESULT)c.code, name, sizeof(name)), S_OK);
        EXPECT_STREQ(name, c.name);
    }
}

TEST(ErrorNames, OutputIsCutToTheBuffer)
{
    char name[8];
    memset(name, 'Z', sizeof(name));
    EXPECT_EQ(GetErrorName((HRESULT)0x80004005, name, 6), S_OK);
    EXPECT_EQ(std::string(name, 8), std::string("E_FAI\0ZZ", 8));
    memset(name, 'Z', sizeof(name));
    EXPECT_EQ(GetErrorName((HRESULT)0x80004005, name, 0), S_OK);
    EXPECT_EQ(std::string(name, 8), "ZZZZZZZZ");
    EXPECT_EQ(GetErrorName((HRESULT)0x80004005, nullptr, 64), S_OK);
    GetErrorName((HRESULT)0x1, name, sizeof(name));
    EXPECT_STREQ(name, "Unrecog");
}
