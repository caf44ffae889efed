// Files whose names are not in any legacy code page, as a designer meets
// them: a map with its images, object description and object file in a
// folder named "Карты" beside the program folder (names with "ä" too, and
// a path longer in UTF-8 than MAX_PATH bytes), opened, imported from, shown
// and saved through the real choosers and dialogs. The editor keeps names
// as UTF-8 (the manifest's code page); the fixtures are made and checked
// through the wide file functions, so a name turned into other characters
// anywhere on the way fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/EditorApp.h"
#include "app/FileChooser.h"
#include "resource.h"
#include "tests/app/AppTestFiles.h"
#include "tests/app/EditingHarness.h"
#include "tests/support/EditorHarness.h"

namespace fs = std::filesystem;

namespace
{
std::string Utf8(const std::wstring& wide)
{
    std::string utf8(wide.size() * 4, '\0');
    utf8.resize((size_t)WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &utf8[0],
                                            (int)utf8.size(), nullptr, nullptr));
    return utf8;
}

std::string ReadWide(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteWide(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), (std::streamsize)bytes.size());
}

std::string Bitmap(int width, int height)
{
    const Bytes bytes = Bitmap24(width, height);
    return std::string(bytes.begin(), bytes.end());
}

std::wstring ListRowW(int row)
{
    wchar_t text[512] = L"";
    SendMessageW(PaletteList(), LB_GETTEXT, (WPARAM)row, (LPARAM)text);
    return text;
}

// "Карты" beside the program folder, made fresh for each test.
class UnicodePathTest : public EditingTest
{
  protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        folder_ = fs::u8path(app.ProgramDirectory()).parent_path() / L"Карты";
        fs::remove_all(folder_);
        ASSERT_TRUE(fs::create_directory(folder_));
    }
    void TearDown() override
    {
        RestoreProgramDirectory(app.ProgramDirectory());
        EditingTest::TearDown();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // The full path of a file in the folder, as UTF-8 the way a user types it.
    std::string Typed(const std::wstring& name) const { return Utf8((folder_ / name).wstring()); }

    // A file command answered through its real chooser.
    static void RunChooser(int command, const char* title, const std::string& typed)
    {
        EXPECT_TRUE(AnswerDialog(
            title, [&](HWND chooser) { TypeIntoChooser(chooser, typed); },
            [&] { SendToMain(WM_COMMAND, command); }))
            << title;
    }

    fs::path folder_;
};
} // namespace

TEST_F(UnicodePathTest, AMapInKartyOpensImportsShowsAndSavesThroughTheChoosers)
{
    WriteWide(folder_ / L"gelände.bmp", Bitmap(64, 32));
    WriteWide(folder_ / L"farben.bmp", Bitmap(8, 8));
    WriteWide(folder_ / L"türme.ini", "[object]\r\nname=Turm\r\n");
    WriteWide(folder_ / L"karte-ä.ini", "\xEF\xBB\xBF[map]\r\n" // as Notepad saves UTF-8
                                        "colormap=..\\Карты\\farben.bmp\r\n"
                                        "heightmap=..\\Карты\\gelände.bmp\r\n"
                                        "detailmap=..\\Карты\\detail.bmp\r\n"
                                        "quad_depth=5\r\nspacing=10\r\n");

    // Open Map: the settings file's names load the images from the folder.
    RunChooser(ID_FILE_OPENMAP, "Open Map File", Typed(L"karte-ä.ini"));
    MapDocument& document = app.Document();
    EXPECT_EQ(document.width, 64); // the heightmap
    EXPECT_EQ(document.height, 32);
    EXPECT_GE(document.colormapTexture, 0);
    EXPECT_EQ(document.colormapFile, "..\\Карты\\farben.bmp");

    // Import > Objects from there: kept relative to the program folder and
    // shown as such in the palette.
    RunChooser(ID_IMPORT_OBJECTS, "Import Object", Typed(L"türme.ini"));
    ASSERT_EQ(document.objectTypes.size(), 1u);
    EXPECT_EQ(document.objectTypes[0].path, "..\\Карты\\türme.ini");
    EXPECT_EQ(ListRowW(0), L"..\\Карты\\türme.ini");
    document.AddObject(MakeObject(0, 0.25f, 0.75f, 90));

    // Save Objects into a folder below, by a path of 230 characters that
    // takes some 430 bytes in UTF-8 (each name within the 255 bytes of the
    // Linux file systems under Wine); then Save Map.
    const std::wstring deep = std::wstring(100, L'ж') + L"\\" + std::wstring(60, L'ё') + L".mob";
    ASSERT_TRUE(fs::create_directory(folder_ / std::wstring(100, L'ж')));
    ASSERT_GT(Typed(deep).size(), (size_t)MAX_PATH);
    RunChooser(ID_FILE_SAVEOBJECTS, "Save Object File", Typed(deep));
    // The map file is there already: replacing it is asked first.
    EXPECT_EQ(AnswerDialogs({{"Save Map File", [&](HWND chooser)
                              { TypeIntoChooser(chooser, Typed(L"karte-ä.ini")); }},
                             {"Save Map File", [](HWND box) { PressButton(box, IDYES); }}},
                            [] { SendToMain(WM_COMMAND, ID_FILE_SAVEMAP); }),
              2u);
    const std::string saved = ReadWide(folder_ / L"karte-ä.ini");
    EXPECT_NE(saved.find("heightmap=..\\Карты\\gelände.bmp\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("objectmap=" + Typed(deep) + "\r\n"), std::string::npos) << saved;
    EXPECT_NE(ReadWide(folder_ / deep).find("..\\Карты\\türme.ini"), std::string::npos);

    // Opened again from a fresh start: the objects come back with their type.
    ResetEditor();
    RunChooser(ID_FILE_OPENMAP, "Open Map File", Typed(L"karte-ä.ini"));
    EXPECT_EQ(document.ObjectCount(), 1);
    EXPECT_EQ(ListRowW(0), L"..\\Карты\\türme.ini");

    // Map > Properties shows the names and OK reads them back whole.
    std::wstring shown;
    EXPECT_TRUE(AnswerDialog(
        "Properties",
        [&](HWND dialog)
        {
            wchar_t text[256] = L"";
            GetDlgItemTextW(dialog, IDC_HEIGHTMAP, text, 256);
            shown = text;
            PressButton(dialog, IDOK);
        },
        [] { SendToMain(WM_COMMAND, ID_MAP_PROPERTIES); }));
    EXPECT_EQ(shown, L"..\\Карты\\gelände.bmp");
    EXPECT_GE(document.heightmapTexture, 0);
    EXPECT_EQ(document.heightmapFile, "..\\Карты\\gelände.bmp");
    EXPECT_EQ(document.objectMap, Typed(deep));
    EXPECT_EQ(document.ObjectCount(), 1);
}
