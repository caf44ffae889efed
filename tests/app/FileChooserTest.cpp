// The real file choosers, answered the way a user would (a timer fires inside
// the chooser's own message loop, fills in the file name and presses the
// button), the program directory restored after each one, and the device
// failure report.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "app/ObjectImport.h"
#include "tests/support/EditorHarness.h"

namespace
{
// What the timer does once the chooser titled `title` is up.
struct ChooserAnswer
{
    const char* title = nullptr;
    std::string typeName; // typed into the file name box; empty: Cancel
    int filterRow = 0;    // file type chosen before typing
    bool seen = false;
    std::string firstFilter; // the filter box's first entry, as shown
    int ticksSinceAnswer = -1;
};
ChooserAnswer* pending = nullptr;

// Wine's Explorer-style chooser: file name box cmb13, file type box cmb1.
const int kFileNameBox = 0x47c;
const int kFileTypeBox = 0x470;

void CALLBACK AnswerChooser(HWND, UINT, UINT_PTR, DWORD)
{
    if (!pending)
        return;
    HWND chooser = FindWindowA("#32770", pending->title);
    if (!chooser || !IsWindowVisible(chooser))
        return;
    if (pending->seen)
    {
        // Still open long after the answer (the name was not accepted):
        // cancel, so that a failing test ends instead of hanging.
        if (++pending->ticksSinceAnswer > 20)
            PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         (LPARAM)GetDlgItem(chooser, IDCANCEL));
        return;
    }
    pending->seen = true;
    char first[128] = "";
    SendDlgItemMessageA(chooser, kFileTypeBox, CB_GETLBTEXT, 0, (LPARAM)first);
    pending->firstFilter = first;
    if (pending->filterRow != 0)
    {
        SendDlgItemMessageA(chooser, kFileTypeBox, CB_SETCURSEL, pending->filterRow, 0);
        SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(kFileTypeBox, CBN_SELCHANGE),
                     (LPARAM)GetDlgItem(chooser, kFileTypeBox));
    }
    const int button = pending->typeName.empty() ? IDCANCEL : IDOK;
    if (button == IDOK)
        SetDlgItemTextA(chooser, kFileNameBox, pending->typeName.c_str());
    PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 (LPARAM)GetDlgItem(chooser, button));
}

// Runs `open` (a call that shows a chooser) with the timer armed.
template <typename F> void WithAnswer(ChooserAnswer* answer, F open)
{
    pending = answer;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, AnswerChooser);
    open();
    KillTimer(nullptr, timer);
    pending = nullptr;
}

std::string CurrentDirectory()
{
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(directory), directory);
    return directory;
}

void WriteFile(const std::string& path, const char* text)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs(text, file);
    fclose(file);
}

class FileChooserTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(StartEditorOnce()); }
    void TearDown() override { RestoreProgramDirectory(); }
};
} // namespace

TEST_F(FileChooserTest, FilterListsArePairsEndingWithAnEmptyString)
{
    const struct
    {
        const char* list;
        std::vector<std::string> strings;
    } cases[] = {
        {kObjectFileFilter, {"Map File (*.mob) ", "*.mob", "All Files (*.*) ", "*.*"}},
        {kMapFileFilter, {"Map File (*.ini) ", "*.ini", "All Files (*.*) ", "*.*"}},
        {kObjectDescriptionFilter,
         {"Object Description (*.ini) ", "*.ini", "All Files (*.*) ", "*.*"}},
        {kBitmapFilter,
         {"Bitmap File (*.bmp) ", "*.bmp", "Map File (*.map) ", "*.map", "All Files (*.*) ",
          "*.*"}},
    };
    for (const auto& c : cases)
    {
        std::vector<std::string> found;
        for (const char* p = c.list; *p; p += strlen(p) + 1)
            found.push_back(p);
        EXPECT_EQ(found, c.strings);
    }
}

TEST_F(FileChooserTest, OpenChooserReturnsTheChosenPath)
{
    TempFolder folder;
    const std::string map = folder.File("area7.ini");
    WriteFile(map, "[map]\n");
    ChooserAnswer answer;
    answer.title = "Open Map File";
    answer.typeName = map;
    char chosen[kChooserPathSize] = "untouched";
    bool picked = false;
    WithAnswer(&answer, [&] {
        picked = ChooseOpenFile(chosen, app.mainWindow, "Open Map File", kMapFileFilter);
    });
    ASSERT_TRUE(answer.seen) << "the chooser never appeared (refused record size?)";
    EXPECT_EQ(answer.firstFilter.rfind("Map File (*.ini)", 0), 0u) << answer.firstFilter;
    EXPECT_TRUE(picked);
    EXPECT_STRCASEEQ(chosen, map.c_str());
}

TEST_F(FileChooserTest, SaveChooserCompletesABareName)
{
    TempFolder folder;
    // Under a specific file type the chooser appends that type's extension
    // (Wine prefers it to the default extension "bmp" that every chooser sets).
    const struct
    {
        int filterRow;
        const char* name;
        const char* expected;
    } cases[] = {{0, "placed", "placed.mob"}};
    for (const auto& c : cases)
    {
        ChooserAnswer answer;
        answer.title = "Save Object File";
        answer.typeName = folder.File(c.name);
        answer.filterRow = c.filterRow;
        char chosen[kChooserPathSize] = "";
        bool picked = false;
        WithAnswer(&answer, [&] {
            picked =
                ChooseSaveFile(chosen, app.mainWindow, "Save Object File", kObjectFileFilter);
        });
        ASSERT_TRUE(answer.seen);
        EXPECT_TRUE(picked);
        EXPECT_STRCASEEQ(chosen, folder.File(c.expected).c_str());
    }
}

TEST_F(FileChooserTest, CancelledChooserLeavesTheBufferAndReportsFalse)
{
    ChooserAnswer answer;
    answer.title = "Open BMP File";
    char chosen[kChooserPathSize] = "untouched";
    bool picked = true;
    WithAnswer(&answer, [&] {
        picked = ChooseOpenFile(chosen, app.mainWindow, "Open BMP File", kBitmapFilter);
    });
    ASSERT_TRUE(answer.seen);
    EXPECT_FALSE(picked);
    EXPECT_STREQ(chosen, "untouched");
}

TEST_F(FileChooserTest, CancelledImportStillRestoresTheProgramDirectory)
{
    TempFolder elsewhere;
    const size_t typesBefore = app.document.objectTypes.size();
    SetCurrentDirectoryA(elsewhere.Path().c_str());
    ChooserAnswer answer;
    answer.title = "Import Object";
    WithAnswer(&answer, [&] { ImportObjectType(app.mainWindow); });
    ASSERT_TRUE(answer.seen);
    EXPECT_STRCASEEQ(CurrentDirectory().c_str(), app.programDirectory);
    EXPECT_EQ(app.document.objectTypes.size(), typesBefore);
}

TEST_F(FileChooserTest, MenuCommandsRestoreTheProgramDirectoryAfterTheChooser)
{
    TempFolder elsewhere;
    const struct
    {
        int command;
        const char* title;
    } commands[] = {{40018, "Open Map File"},   {40014, "Save Map File"},
                    {125, "Open Object File"}, {124, "Save Object File"},
                    {40019, "Open BMP File"}};
    for (const auto& c : commands)
    {
        SetCurrentDirectoryA(elsewhere.Path().c_str());
        ChooserAnswer answer;
        answer.title = c.title;
        WithAnswer(&answer, [&] { SendMessageA(app.mainWindow, WM_COMMAND, c.command, 0); });
        EXPECT_TRUE(answer.seen) << c.title;
        EXPECT_STRCASEEQ(CurrentDirectory().c_str(), app.programDirectory) << c.title;
    }
}

namespace
{
std::string messageText;
void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowA("#32770", "Map Editor 1.4a");
    if (!box || !IsWindowVisible(box))
        return;
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text)); // the message's static text
    messageText = text;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(box, IDOK));
}
} // namespace

TEST(DeviceFailure, InitialiseStopsBeforeTouchingAMissingDevice)
{
    ASSERT_TRUE(StartEditorOnce());
    EditorApp other;
    other.mainWindow = (HWND)(intptr_t)0x7ffffff0; // names no window
    EXPECT_FALSE(other.Initialise());
    EXPECT_FALSE(other.initialised);
    EXPECT_EQ(other.Device(), nullptr);
    EXPECT_EQ(other.fonts.owner, nullptr);
    EXPECT_EQ(other.backgroundBlue, 0);
    ASSERT_NE(other.failedStep, nullptr);
}

TEST(DeviceFailure, TheUserIsToldWhichStepFailed)
{
    ASSERT_TRUE(StartEditorOnce());
    messageText.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, AnswerMessageBox);
    const int status = ReportDeviceFailure(nullptr, "GetAdapterDisplayMode");
    KillTimer(nullptr, timer);
    EXPECT_EQ(status, 2);
    EXPECT_NE(messageText.find("GetAdapterDisplayMode failed"), std::string::npos)
        << messageText;
}
