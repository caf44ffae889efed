// Files handed over by the shell on the real windows: the command line
// split as Windows splits it and resolved against the current directory of
// the moment, its map and object files opened (and the message naming a
// file that is missing or of another kind), and a real WM_DROPFILES with
// its DROPFILES block in global memory.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string.h>

#include <functional>
#include <string>

#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "app/ShellFiles.h"
#include "tests/app/AppTestFiles.h"
#include "tests/app/EditingHarness.h"

namespace
{
class ShellFilesTest : public EditingTest
{
  protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        CreateDirectoryA(folder.File("sub dir").c_str(), nullptr);
        WriteText(map, "[map]\r\nheightmap=..\\maps\\area1.bmp\r\nquad_depth=3\r\n");
        WriteText(folder.File("\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0.ini"), // Карта.ini
                  "[map]\r\nheightmap=..\\maps\\area1.bmp\r\nquad_depth=5\r\n");
        WriteBytes(objects, ReadBytes("..\\maps\\area1.mob")); // 35 objects
        WriteText(folder.File("notes.txt"), "not a map");
    }

    // Opens the files with every message box answered (the question with
    // `answer`); the boxes' texts, one a line.
    static std::string Open(const std::function<void()>& open, int answer = IDNO)
    {
        std::string texts;
        const auto note = [&texts, answer](HWND box)
        {
            texts += DialogItemText(box, 0xFFFF) + "|";
            const bool question = GetDlgItem(box, IDNO) != nullptr;
            PressButton(box, question ? answer : IDOK);
        };
        AnswerDialogs({{"Map Editor 1.4a", note}, {"Map Editor 1.4a", note}}, open);
        return texts;
    }

    TempFolder folder;
    const std::string map = folder.File("sub dir\\map.ini");
    const std::string objects = folder.File("objs.mob");
};

// A WM_DROPFILES block as the shell makes it: the DROPFILES header, then
// each name (UTF-16) with its terminator, and one more terminator.
HGLOBAL MakeDrop(const std::vector<std::string>& paths)
{
    std::wstring names;
    for (const std::string& path : paths)
    {
        std::wstring wide(path.size(), L'\0');
        wide.resize((size_t)MultiByteToWideChar(CP_UTF8, 0, path.data(), (int)path.size(), &wide[0],
                                                (int)wide.size()));
        names += wide + L'\0';
    }
    names += L'\0';
    const size_t bytes = names.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    DROPFILES* drop = (DROPFILES*)GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy((char*)drop + sizeof(DROPFILES), names.data(), bytes);
    GlobalUnlock(memory);
    return memory;
}
} // namespace

TEST_F(ShellFilesTest, TheCommandLineOpensAMapOrObjectFileNamedFromTheCallersFolder)
{
    const std::string cyrillic = folder.File("\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0.ini");
    const struct
    {
        const wchar_t* commandLine;
        std::string messages; // '|' after each
        std::string settingsFile;
        int quadDepth;
        int objects;
    } cases[] = {
        {L"MapEditor.exe \"sub dir\\map.ini\"", "", map, 3, 0},
        {L"\"C:\\Program Files\\MapEditor.exe\" objs.mob", "", "", 4, 35},
        {L"MapEditor.exe \"sub dir\\..\\\u041a\u0430\u0440\u0442\u0430.ini\"", "", cyrillic, 5, 0},
        {L"MapEditor.exe", "", "", 4, 0},
        {L"MapEditor.exe notes.txt",
         folder.File("notes.txt") + " was not opened: the editor opens map settings files (.ini) "
                                    "and object files (.mob).|",
         "", 4, 0},
        {L"MapEditor.exe gone.mob", folder.File("gone.mob") + " was not found.|", "", 4, 0},
        {L"MapEditor.exe objs.mob sub\" dir\\map.ini\"",
         map + " was not opened: one file opens at a time.|", "", 4, 35},
    };
    for (const auto& c : cases)
    {
        ResetEditor();
        SetCurrentDirectoryA(folder.Path().c_str());
        const std::vector<std::string> files = CommandLineFiles(c.commandLine);
        RestoreProgramDirectory(app.ProgramDirectory());
        EXPECT_EQ(Open([&] { OpenGivenFiles(app, app.Main().Handle(), files); }), c.messages);
        EXPECT_EQ(app.Document().settingsFile, c.settingsFile);
        EXPECT_EQ(app.Document().quadDepth, c.quadDepth);
        EXPECT_EQ(app.Document().ObjectCount(), c.objects);
        if (c.objects)
        {
            EXPECT_EQ(app.Document().objectMap, objects);
        }
        if (!c.settingsFile.empty())
        {
            const std::vector<std::string>& recent = app.Recent().list.Paths();
            EXPECT_EQ(recent.empty() ? "" : recent.front(), c.settingsFile);
        }
    }
}

TEST_F(ShellFilesTest, ADroppedFileOpensAfterTheQuestion)
{
    EXPECT_TRUE(GetWindowLongA(app.Main().Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const struct
    {
        std::vector<std::string> dropped;
        int answer; // to "Save changes to Untitled?"
        std::string messages;
        std::string settingsFile;
        int objects;
    } cases[] = {
        {{objects}, IDNO, "Save changes to Untitled?|", "", 35},
        {{folder.File("notes.txt"), map},
         IDNO,
         folder.File("notes.txt") + " was not opened: the editor opens map settings files (.ini) "
                                    "and object files (.mob).|Save changes to Untitled?|",
         map,
         0},
        {{map}, IDCANCEL, "Save changes to Untitled?|", "", 1},
    };
    for (const auto& c : cases)
    {
        ResetEditor();
        AddCatalogEntry("..\\objects\\tree.ini");
        CtrlClick(300, 300);
        const std::string shown = Open(
            [&]
            {
                PostMessageA(app.Main().Handle(), WM_DROPFILES, (WPARAM)MakeDrop(c.dropped), 0);
                PumpMessages();
            },
            c.answer);
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(app.Document().settingsFile, c.settingsFile);
        EXPECT_EQ(app.Document().ObjectCount(), c.objects);
    }
}
