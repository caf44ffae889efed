// Help > About on the real windows, answered from a timer inside its modal
// loop; and the version resource, which the test programs link as the editor
// does.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "app/EditorApp.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/support/EditorHarness.h"

namespace
{
// A value of this program's version resource: "\\" gives the fixed part's
// file version as "a.b.c.d", another name that U.S. English string.
std::string VersionValue(const std::string& name)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof(program));
    DWORD handle = 0;
    std::string block(GetFileVersionInfoSizeA(program, &handle), '\0');
    const std::string path = name == "\\" ? name : "\\StringFileInfo\\040904B0\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (block.empty() || !GetFileVersionInfoA(program, 0, (DWORD)block.size(), &block[0]) ||
        !VerQueryValueA(block.data(), path.c_str(), &value, &length) || !value)
        return "";
    if (name != "\\")
        return (const char*)value;
    const VS_FIXEDFILEINFO* fixed = (const VS_FIXEDFILEINFO*)value;
    char text[32];
    snprintf(text, sizeof(text), "%u.%u.%u.%u", (unsigned)HIWORD(fixed->dwFileVersionMS),
             (unsigned)LOWORD(fixed->dwFileVersionMS), (unsigned)HIWORD(fixed->dwFileVersionLS),
             (unsigned)LOWORD(fixed->dwFileVersionLS));
    return text;
}
} // namespace

TEST(VersionResourceTest, NamesMapEditor140x)
{
    const std::string version = VersionValue("\\");
    unsigned build = 0;
    char rest = 0;
    EXPECT_EQ(sscanf(version.c_str(), "1.4.0.%u%c", &build, &rest), 1) << version;
    // The numbers and the texts name one version.
    for (const char* name : {"FileVersion", "ProductVersion"})
        EXPECT_EQ(VersionValue(name), version) << name;
    EXPECT_EQ(VersionValue("ProductName"), "Map Editor");
}

TEST(AboutDialogTest, ShowsNameVersionAndDateOwnedByTheMainWindowAndOkClosesIt)
{
    ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
    std::string name, version, built;
    HWND owner = nullptr;
    bool ownerDisabled = false, closedByOk = false;
    const bool seen = AnswerDialog(
        "About Map Editor",
        [&](HWND dialog)
        {
            name = DialogItemText(dialog, IDC_ABOUTNAME);
            version = DialogItemText(dialog, IDC_ABOUTVERSION);
            built = DialogItemText(dialog, IDC_ABOUTBUILD);
            owner = GetWindow(dialog, GW_OWNER);
            ownerDisabled = !IsWindowEnabled(app.Main().Handle());
            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
            closedByOk = !IsWindowVisible(dialog) && IsWindowEnabled(app.Main().Handle());
        },
        [] { SendToMain(WM_COMMAND, ID_HELP_ABOUT); });
    ASSERT_TRUE(seen) << "Help > About opened no dialog";
    EXPECT_EQ(name, "Map Editor 1.4a");
    EXPECT_EQ(version, "Version " + VersionValue("\\"));
    int day = 0, year = 0;
    char month[4] = "";
    EXPECT_EQ(sscanf(built.c_str(), "Built on %d %3s %d", &day, month, &year), 3) << built;
    EXPECT_EQ(owner, app.Main().Handle());
    EXPECT_TRUE(ownerDisabled) << "not modal";
    EXPECT_TRUE(closedByOk);
}
