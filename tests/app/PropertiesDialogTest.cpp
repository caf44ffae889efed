// The real properties dialog, opened by Map > Properties and answered from a
// timer inside its modal loop: the fields as the document fills them (in
// the order Tab takes them), OK applying them with the reloads and the view
// kept (or the map fitted when its size changed), values refused with the
// dialog kept open, files that cannot be loaded, Cancel and the close box,
// and names longer than 127 characters.
#include <gtest/gtest.h>

#include <string.h>

#include <map>

#include "app/EditorApp.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/app/AppTestFiles.h"
#include "tests/support/EditorHarness.h"

namespace
{
using FieldTexts = std::map<int, std::string>;

class PropertiesDialogTest : public EditingTest
{
  protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        AddCatalogEntry("..\\objects\\tree.ini");
    }

    // Opens the dialog through the menu command; `edits` replace field texts,
    // then `button` (IDOK, IDCANCEL, or 0 for the close box) ends it; `then`
    // answers the message boxes that follow. Returns the texts that the
    // dialog showed when it opened.
    static FieldTexts RunProperties(const FieldTexts& edits, int button,
                                    const std::vector<DialogAnswer>& then = {})
    {
        FieldTexts shown;
        std::vector<DialogAnswer> answers = {
            {"Properties", [&](HWND dialog)
             {
                 for (int id :
                      {IDC_QUADDEPTH, IDC_SPACING, IDC_HEIGHTMAP, IDC_COLORMAP, IDC_DETAILMAP,
                       IDC_OBJECTMAP, IDC_POLYGONALDIMENSIONS, IDC_TILEGRIDDIMENSIONS})
                     shown[id] = DialogItemText(dialog, id);
                 for (const auto& edit : edits)
                     SetDlgItemTextA(dialog, edit.first, edit.second.c_str());
                 if (button)
                     SendDlgItemMessageA(dialog, button, BM_CLICK, 0, 0);
                 else
                     SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
             }}};
        answers.insert(answers.end(), then.begin(), then.end());
        const size_t seen =
            AnswerDialogs(answers, [] { SendToMain(WM_COMMAND, ID_MAP_PROPERTIES); });
        EXPECT_EQ(seen, answers.size()) << "not every dialog appeared";
        return shown;
    }

    // A message box's answer, with its text noted.
    static DialogAnswer Press(int button, std::string* text = nullptr)
    {
        return {"Map Editor 1.4a", [button, text](HWND box)
                {
                    if (text)
                        *text = DialogItemText(box, 0xFFFF);
                    PressButton(box, button);
                }};
    }

    // Zoom 2x, scrolled, with objects placed since the last load.
    static void EditTheMap()
    {
        SendToMain(WM_COMMAND, ID_ZOOM_2X);
        app.Document().scrollX = 50.0f;
        app.Document().scrollY = 60.0f;
        for (int x : {100, 200, 300})
            CtrlClick(x, 100);
    }

    static Bytes Objects()
    {
        const unsigned char* raw = (const unsigned char*)app.Document().objects.data();
        return Bytes(raw, raw + app.Document().objects.size() * sizeof(PlacedObject));
    }

    TempFolder folder;
};
} // namespace

TEST_F(PropertiesDialogTest, FieldsShowTheDocument)
{
    MapDocument& document = app.Document();
    document.detailMap = "..\\maps\\detail-map.bmp";
    document.objectMap = "..\\maps\\area1.mob";
    document.quadDepth = 255;
    document.spacing = -3;
    document.height = 128;
    FieldTexts shown = RunProperties({}, IDCANCEL);
    EXPECT_EQ(shown, (FieldTexts{{IDC_QUADDEPTH, "255"},
                                 {IDC_SPACING, "-3"},
                                 {IDC_HEIGHTMAP, kSampleHeightmap},
                                 {IDC_COLORMAP, kSampleColormap},
                                 {IDC_DETAILMAP, "..\\maps\\detail-map.bmp"},
                                 {IDC_OBJECTMAP, "..\\maps\\area1.mob"},
                                 {IDC_POLYGONALDIMENSIONS, "Heightmap: 256x128"},
                                 {IDC_TILEGRIDDIMENSIONS, "Tile Grid Dimensions:"}}));

    // A map whose images could not be loaded shows the names it gives them.
    document.heightmapTexture = document.colormapTexture = -1;
    document.heightmapFile = "..\\maps\\gone.bmp";
    document.colormapFile.clear();
    shown = RunProperties({}, IDCANCEL);
    EXPECT_EQ(shown[IDC_HEIGHTMAP], "..\\maps\\gone.bmp");
    EXPECT_EQ(shown[IDC_COLORMAP], "");
    // The statistics line describes the heightmap loaded: none.
    EXPECT_EQ(shown[IDC_POLYGONALDIMENSIONS], "Heightmap: none loaded");
}

TEST_F(PropertiesDialogTest, TabTakesTheFieldsTopToBottomAndTheButtonsLast)
{
    std::vector<int> order;
    AnswerDialog(
        "Properties",
        [&](HWND dialog)
        {
            HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
            for (HWND at = first; at && (order.empty() || at != first);
                 at = GetNextDlgTabItem(dialog, at, FALSE))
                order.push_back(GetDlgCtrlID(at));
            PressButton(dialog, IDCANCEL);
        },
        [] { SendToMain(WM_COMMAND, ID_MAP_PROPERTIES); });
    EXPECT_EQ(order, (std::vector<int>{IDC_QUADDEPTH, IDC_SPACING, IDC_HEIGHTMAP, IDC_COLORMAP,
                                       IDC_DETAILMAP, IDC_OBJECTMAP, IDOK, IDCANCEL}));
}

TEST_F(PropertiesDialogTest, OkAppliesTheSettingsAndReloadsWhatTheyName)
{
    const std::string heightmap = folder.File("height.bmp");
    const std::string colormap = folder.File("colour.bmp");
    const std::string objectFile = folder.File("saved.mob");
    WriteBytes(heightmap, Bitmap24(64, 32));
    WriteBytes(colormap, Bitmap24(16, 16));
    MapDocument saved;
    saved.objectTypes = {ObjectType{"..\\objects\\house.ini"}, ObjectType{"..\\objects\\well.ini"}};
    saved.objects = {MakeObject(1, 0.25f, 0.5f, 90), MakeObject(0, 0.75f, 0.125f, 315)};
    ASSERT_TRUE(saved.SaveObjects(objectFile, app.Files()));

    EditTheMap();
    ASSERT_EQ(app.Document().ObjectCount(), 3);
    // A new object file would replace the objects placed since: asked first.
    std::string question;
    RunProperties({{IDC_QUADDEPTH, "200"},
                   {IDC_SPACING, "25"},
                   {IDC_HEIGHTMAP, heightmap},
                   {IDC_COLORMAP, colormap},
                   {IDC_DETAILMAP, "..\\maps\\detail-2.bmp"},
                   {IDC_OBJECTMAP, objectFile}},
                  IDOK, {Press(IDNO, &question)});
    EXPECT_EQ(question, "Save changes to Untitled?");

    const MapDocument& document = app.Document();
    EXPECT_EQ(document.quadDepth, 200);
    EXPECT_EQ(document.spacing, 25) << "applied after the heightmap's 10";
    EXPECT_EQ(document.heightmapTexture, app.Graphics().Textures().FindTexture(heightmap.c_str()));
    EXPECT_EQ(document.width, 64);
    EXPECT_EQ(document.height, 32);
    ASSERT_NE(app.Graphics().Textures().Record(document.colormapTexture), nullptr);
    EXPECT_EQ(document.colormapTexture, app.Graphics().Textures().FindTexture(colormap.c_str()));
    EXPECT_EQ(document.detailMap, "..\\maps\\detail-2.bmp");
    EXPECT_EQ(document.objectMap, objectFile);
    // The objects placed since are replaced by the file's.
    ASSERT_EQ(document.ObjectCount(), 2);
    EXPECT_EQ(memcmp(document.objects.data(), saved.objects.data(), 2 * sizeof(PlacedObject)), 0);
    EXPECT_EQ(ListRows(PaletteList()), (Rows{"..\\objects\\house.ini", "..\\objects\\well.ini"}));
    // A heightmap of another size: the whole map is fitted, as Open Map does.
    EXPECT_EQ(document.viewScale, app.View().FitScale());
}

TEST_F(PropertiesDialogTest, OkKeepsUnsavedObjectsUnlessTheObjectFileIsChanged)
{
    // The same object file name: nothing is reloaded, nothing asked.
    MapDocument saved;
    saved.AddObjectType("..\\objects\\well.ini");
    const std::string objectFile = folder.File("kept.mob");
    ASSERT_TRUE(saved.SaveObjects(objectFile, app.Files()));
    app.Document().objectMap = objectFile;
    EditTheMap();
    const Bytes before = Objects();
    RunProperties({{IDC_SPACING, "12"}}, IDOK);
    EXPECT_EQ(Objects(), before);
    EXPECT_EQ(app.Document().spacing, 12);
    EXPECT_EQ(app.Document().UndoName(), "Properties");
    // The heightmap kept its size: the view stays where it was.
    EXPECT_EQ(app.Document().viewScale, 256 * 4);
    EXPECT_EQ(app.Document().scrollX, 50.0f);
    EXPECT_EQ(app.Document().scrollY, 60.0f);
    // Changed, and Cancel at the question: the dialog stays, then Cancel
    // closes it with nothing changed.
    const std::string state = StateOf(app.Document(), PaletteList());
    std::vector<DialogAnswer> answers = {{"Properties",
                                          [](HWND dialog)
                                          {
                                              SetDlgItemTextA(dialog, IDC_OBJECTMAP,
                                                              "..\\maps\\area1.mob");
                                              SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
                                              EXPECT_TRUE(IsWindow(dialog));
                                              SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
                                          }},
                                         Press(IDCANCEL)};
    EXPECT_EQ(AnswerDialogs(answers, [] { SendToMain(WM_COMMAND, ID_MAP_PROPERTIES); }), 2u);
    EXPECT_EQ(StateOf(app.Document(), PaletteList()), state);
}

TEST_F(PropertiesDialogTest, AQuadDepthOutside0To255IsRefusedAndTheDialogStays)
{
    // Every number that is not whole and in range, an empty heightmap and
    // one that cannot be loaded: a message, the field selected, nothing changed.
    EditTheMap();
    const std::string before = StateOf(app.Document(), PaletteList());
    const struct
    {
        int field;
        const char* typed;
        const char* message;
    } cases[] = {
        {IDC_QUADDEPTH, "300",
         "The quad depth must be a whole number from 0 to 255 (\"300\" was typed)."},
        {IDC_QUADDEPTH, "-1", "The quad depth must be a whole number from 0 to 255"},
        {IDC_QUADDEPTH, "256", "The quad depth must be a whole number from 0 to 255"},
        {IDC_QUADDEPTH, "deep", "The quad depth must be a whole number from 0 to 255"},
        {IDC_SPACING, "-3x",
         "The spacing must be a whole number from 0 to 2147483647 (\"-3x\" was typed)."},
        {IDC_SPACING, "",
         "The spacing must be a whole number from 0 to 2147483647 (nothing was typed)."},
        {IDC_HEIGHTMAP, "", "The map needs a heightmap: the Heightmap field is empty."},
        {IDC_HEIGHTMAP, "..\\maps\\gone.bmp",
         "The heightmap could not be loaded. ..\\maps\\gone.bmp: the file was not found"},
    };
    for (const auto& c : cases)
    {
        std::string message, selected;
        bool stayed = false;
        std::vector<DialogAnswer> answers = {
            {"Properties",
             [&](HWND dialog)
             {
                 SetDlgItemTextA(dialog, c.field, c.typed);
                 SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
                 stayed = IsWindow(dialog) != FALSE;
                 DWORD start = 1, end = 0;
                 SendMessageA(GetFocus(), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
                 selected = GetFocus() == GetDlgItem(dialog, c.field) && start == 0 &&
                                    end == strlen(c.typed)
                                ? "whole"
                                : "not";
                 SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
             }},
            Press(IDOK, &message)};
        EXPECT_EQ(AnswerDialogs(answers, [] { SendToMain(WM_COMMAND, ID_MAP_PROPERTIES); }), 2u);
        EXPECT_TRUE(stayed) << c.typed;
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
        EXPECT_EQ(selected, "whole") << c.typed;
        EXPECT_EQ(StateOf(app.Document(), PaletteList()), before) << c.typed;
        EXPECT_EQ(app.Document().viewScale, 256 * 4) << "the view is kept";
    }
}

TEST_F(PropertiesDialogTest, CancelAndTheCloseBoxChangeNothing)
{
    EditTheMap();
    const std::string heightmap = folder.File("height.bmp");
    WriteBytes(heightmap, Bitmap24(8, 8));
    const FieldTexts edits = {{IDC_QUADDEPTH, "9"},       {IDC_SPACING, "99"},
                              {IDC_HEIGHTMAP, heightmap}, {IDC_COLORMAP, heightmap},
                              {IDC_DETAILMAP, "x.bmp"},   {IDC_OBJECTMAP, "x.mob"}};
    const std::string before = StateOf(app.Document(), PaletteList());
    for (int button : {IDCANCEL, 0})
    {
        RunProperties(edits, button);
        EXPECT_EQ(StateOf(app.Document(), PaletteList()), before)
            << (button ? "Cancel" : "close box");
    }
    EXPECT_EQ(app.Graphics().Textures().FindTexture(heightmap.c_str()), -1)
        << "nothing was even loaded";
}

TEST_F(PropertiesDialogTest, NamesLongerThanAFieldAreNeverCut)
{
    // A heightmap whose name has more than 127 characters is shown whole, and
    // OK reads it back whole: it stays the loaded heightmap.
    const std::string longName = PathOfLength(folder, 200, 'h', ".bmp");
    WriteBytes(longName, Bitmap24(32, 48));
    app.Document().LoadHeightmap(app.Images(), longName);
    const int slot = app.Document().heightmapTexture;
    ASSERT_GE(slot, 0);
    EXPECT_EQ(RunProperties({}, IDOK).at(IDC_HEIGHTMAP), longName);
    EXPECT_EQ(app.Document().heightmapTexture, slot);
    EXPECT_EQ(app.Document().width, 32);
}

TEST_F(PropertiesDialogTest, OkWithFilesThatCannotBeLoaded)
{
    // Names whose first 127 characters name other, existing files: cut to
    // 127 characters they would load those files.
    const std::string heightmap127 = PathOfLength(folder, 127, 'h');
    const std::string objects127 = PathOfLength(folder, 127, 'o');
    WriteBytes(heightmap127, Bitmap24(8, 8));
    MapDocument other;
    other.objectTypes = {ObjectType{"..\\objects\\well.ini"}};
    ASSERT_TRUE(other.SaveObjects(objects127, app.Files()));
    app.Document().detailMap = "..\\maps\\detail-map.bmp";
    EditTheMap();
    const Bytes objectsBefore = Objects();

    // A heightmap that cannot be loaded is refused, named whole; then the
    // other names are taken, the object file's only if it can be read.
    std::string refused, listed;
    const std::vector<DialogAnswer> answers = {
        {"Properties",
         [&](HWND dialog)
         {
             SetDlgItemTextA(dialog, IDC_HEIGHTMAP, (heightmap127 + ".bmp").c_str());
             SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
             const FieldTexts edits = {{IDC_QUADDEPTH, "0"},
                                       {IDC_SPACING, "7"},
                                       {IDC_HEIGHTMAP, kSampleHeightmap},
                                       {IDC_COLORMAP, ""},
                                       {IDC_DETAILMAP, std::string(128, 'd')},
                                       {IDC_OBJECTMAP, objects127 + ".mob"}};
             for (const auto& edit : edits)
                 SetDlgItemTextA(dialog, edit.first, edit.second.c_str());
             SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
         }},
        Press(IDOK, &refused),
        Press(IDOK, &listed)};
    EXPECT_EQ(AnswerDialogs(answers, [] { SendToMain(WM_COMMAND, ID_MAP_PROPERTIES); }), 3u);
    // The log has the lines whole (the message shortens long paths).
    const std::string log = ReadText("debug.txt");
    EXPECT_NE(log.find("The heightmap could not be loaded. " + heightmap127 +
                       ".bmp: the file was not found"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("The object file " + objects127 +
                       ".mob could not be read (the file was not found), so the map keeps its "
                       "objects and its object file (none)."),
              std::string::npos)
        << log;
    EXPECT_EQ(listed.rfind("The object file ", 0), 0u) << listed;
    const MapDocument& document = app.Document();
    EXPECT_EQ(document.quadDepth, 0);
    EXPECT_EQ(document.spacing, 7);
    EXPECT_EQ(document.heightmapTexture, 0);
    EXPECT_EQ(app.Graphics().Textures().FindTexture(heightmap127.c_str()), -1);
    EXPECT_EQ(document.width, 256);
    EXPECT_EQ(document.colormapTexture, -1);
    EXPECT_EQ(document.detailMap, std::string(128, 'd')) << "whole";
    EXPECT_EQ(Objects(), objectsBefore);
    EXPECT_EQ(document.objectMap, "");
    EXPECT_EQ(ListRows(PaletteList()), Rows{"..\\objects\\tree.ini"});
    EXPECT_EQ(document.viewScale, 256 * 4) << "the view is kept";
    EXPECT_EQ(document.scrollX, 50.0f);
}
