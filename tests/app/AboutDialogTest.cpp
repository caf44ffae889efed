// Help > About on the real windows, answered from a timer inside its modal
// loop; and the version resource that the editor and the test programs link.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "app/EditorApp.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/support/EditorHarness.h"

namespace
{
const char kAboutCaption[] = "About Map Editor";

// The version resource of this program (empty when it has none).
std::string VersionBlock()
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof(program));
    DWORD handle = 0;
    std::string block(GetFileVersionInfoSizeA(program, &handle), '\0');
    if (block.empty() || !GetFileVersionInfoA(program, 0, (DWORD)block.size(), &block[0]))
        return "";
    return block;
}

// The numbers of the fixed part as "a.b.c.d".
std::string FixedFileVersion(const std::string& block)
{
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueA(block.data(), "\\", (void**)&fixed, &length) || !fixed)
        return "";
    char text[32];
    snprintf(text, sizeof(text), "%u.%u.%u.%u", (unsigned)HIWORD(fixed->dwFileVersionMS),
             (unsigned)LOWORD(fixed->dwFileVersionMS), (unsigned)HIWORD(fixed->dwFileVersionLS),
             (unsigned)LOWORD(fixed->dwFileVersionLS));
    return text;
}

// A string of the first translation's table, or "" when it is missing.
std::string VersionString(const std::string& block, const char* name)
{
    WORD* translation = nullptr;
    UINT length = 0;
    if (block.empty() ||
        !VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&translation,
                        &length) ||
        length < 2 * sizeof(WORD))
        return "";
    char path[96];
    snprintf(path, sizeof(path), "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1],
             name);
    char* value = nullptr;
    if (!VerQueryValueA(block.data(), path, (void**)&value, &length) || !value)
        return "";
    return value;
}

bool IsFileVersion14(const std::string& version)
{
    unsigned build = 0;
    char rest = 0;
    return sscanf(version.c_str(), "1.4.0.%u%c", &build, &rest) == 1;
}
} // namespace

TEST(VersionResourceTest, NamesMapEditor140x)
{
    const std::string block = VersionBlock();
    ASSERT_FALSE(block.empty()) << "no version resource";
    EXPECT_EQ(VersionString(block, "ProductName"), "Map Editor");
    EXPECT_NE(VersionString(block, "FileDescription"), "");
    const std::string fixed = FixedFileVersion(block);
    EXPECT_TRUE(IsFileVersion14(fixed)) << fixed;
    // The numbers and the texts name one version.
    EXPECT_EQ(VersionString(block, "FileVersion"), fixed);
    EXPECT_EQ(VersionString(block, "ProductVersion"), fixed);
}

TEST(AboutDialogTest, ShowsNameVersionAndDateOwnedByTheMainWindowAndOkClosesIt)
{
    ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
    std::string name, version, built;
    HWND owner = nullptr;
    bool ownerDisabled = false, hiddenByOk = false, ownerEnabledAgain = false;
    const bool seen = AnswerDialog(
        kAboutCaption,
        [&](HWND dialog)
        {
            name = DialogItemText(dialog, IDC_ABOUTNAME);
            version = DialogItemText(dialog, IDC_ABOUTVERSION);
            built = DialogItemText(dialog, IDC_ABOUTBUILD);
            owner = GetWindow(dialog, GW_OWNER);
            ownerDisabled = !IsWindowEnabled(app.mainWindow);
            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
            hiddenByOk = !IsWindowVisible(dialog);
            ownerEnabledAgain = IsWindowEnabled(app.mainWindow);
        },
        [] { SendToMain(WM_COMMAND, ID_HELP_ABOUT); });
    ASSERT_TRUE(seen) << "Help > About opened no dialog";
    EXPECT_EQ(name, "Map Editor 1.4a");
    EXPECT_EQ(version, "Version " + FixedFileVersion(VersionBlock()));
    int day = 0, year = 0;
    char month[4] = "";
    EXPECT_EQ(sscanf(built.c_str(), "Built on %d %3s %d", &day, month, &year), 3) << built;
    EXPECT_TRUE(1 <= day && day <= 31 && year >= 2024) << built;
    EXPECT_NE(strstr("JanFebMarAprMayJunJulAugSepOctNovDec", month), nullptr) << built;
    EXPECT_EQ(owner, app.mainWindow);
    EXPECT_TRUE(ownerDisabled) << "not modal";
    EXPECT_TRUE(hiddenByOk) << "OK did not close it";
    EXPECT_TRUE(ownerEnabledAgain);
    EXPECT_EQ(FindWindowA("#32770", kAboutCaption), nullptr);
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}
