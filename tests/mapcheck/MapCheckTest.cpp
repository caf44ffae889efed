// The map checker in-process on real files: the sample map laid out as the
// editor's program directory expects it, then broken one way per row, each
// row's output compared line for line; where relative names lead; the exit
// status of every kind of command line.
#include <gtest/gtest.h>

#include <string.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "document/ObjectFile.h"
#include "mapcheck/MapCheck.h"
#include "mapcheck/MapChecks.h"
#include "tests/d3dx/TestImages.h"
#include "tests/document/DocumentTestSupport.h"

namespace fs = std::filesystem;
using testimages::Bitmap24;
using testimages::Pattern;

namespace
{
struct Result
{
    int status;
    std::string out, err;
};

Result Check(const std::vector<std::string>& arguments)
{
    StdioFileSystem files;
    std::ostringstream out, err;
    const int status = mapcheck::RunMapCheck(arguments, files, out, err);
    return {status, out.str(), err.str()};
}

// <root>/editor (empty), maps/, objects/, art/ from the sample content.
class Layout
{
  public:
    Layout()
    {
        fs::copy(SampleFolder(), folder_.Path(), fs::copy_options::recursive);
        fs::create_directory(Path("editor"));
    }
    std::string Path(const std::string& name) const { return folder_.File(name); }
    const std::string& Root() const { return folder_.Path(); }
    std::string Map() const { return Path("maps/area1.ini"); }
    std::string Mob() const { return Path("maps/area1.mob"); }
    // Rewrites one line of the map ("" drops it).
    void SetMapLine(const std::string& key, const std::string& line)
    {
        std::string text = ReadText(Map());
        const size_t at = text.find(key + "=");
        text.replace(at, text.find('\n', at) + 1 - at, line.empty() ? "" : line + "\n");
        WriteText(Map(), text);
    }
    // Changes the object file's contents, or its bytes after encoding.
    void EditObjects(const std::function<void(ObjectFileContents*)>& contents,
                     const std::function<void(Bytes*)>& bytes = nullptr)
    {
        const Bytes old = ReadBytes(Mob());
        ObjectFileContents read;
        ASSERT_TRUE(ParseObjectFile(old.data(), old.size(), &read));
        contents(&read);
        Bytes encoded;
        ASSERT_TRUE(EncodeObjectFile(read.types, read.objects, &encoded));
        if (bytes)
            bytes(&encoded);
        WriteBytes(Mob(), encoded);
    }

  private:
    TempFolder folder_;
};

void Nothing(ObjectFileContents*) {}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}
} // namespace

TEST(MapCheck, TheSampleMapAndItsObjectFileAreClean)
{
    Layout layout;
    for (const Rows& arguments : {Rows{layout.Map()}, Rows{layout.Mob()},
                                  Rows{"--program-dir", layout.Path("editor"), layout.Mob()}})
    {
        const Result result = Check(arguments);
        EXPECT_EQ(result.status, mapcheck::kClean) << arguments.back();
        EXPECT_EQ(result.out + result.err, "");
    }
}

TEST(MapCheck, EachProblemIsOneLineNamingTheFileToMend)
{
    // {R} is the layout's root; M the map, O its object file.
    const std::string n127(127, 'n');
    const struct
    {
        const char* what;
        std::function<void(Layout&)> breakIt;
        std::string lines;
    } rows[] = {
        {"no [map] section", [](Layout& l) { WriteText(l.Map(), "[mop]\nspacing=1\n"); },
         "M: it is not a map settings file (it has no [map] section)\n"},
        {"a key missing", [](Layout& l) { l.SetMapLine("detailmap", ""); },
         "M: it names no detailmap\n"},
        {"the editor's mark of a missing name",
         [](Layout& l) { l.SetMapLine("colormap", "colormap=nostring"); },
         "M: it names no colormap (\"nostring\" is what the editor writes for a missing name)\n"},
        {"a named file missing",
         [](Layout& l) { l.SetMapLine("colormap", "colormap=..\\maps\\gone.bmp"); },
         "M: colormap ..\\maps\\gone.bmp ({R}/maps/gone.bmp): the file was not found\n"},
        {"not an image", [](Layout& l) { WriteText(l.Path("maps/area1.bmp"), "height"); },
         "{R}/maps/area1.bmp: the heightmap is not an image the editor reads (bitmap, PPM or "
         "PGM, DDS, JPEG, PNG, TGA)\n"},
        {"a damaged image",
         [](Layout& l)
         {
             Bytes bytes = ReadBytes(l.Path("maps/detail-map.bmp"));
             bytes.resize(bytes.size() / 2);
             WriteBytes(l.Path("maps/detail-map.bmp"), bytes);
         },
         "{R}/maps/detail-map.bmp: the detailmap is truncated, inconsistent or of a kind the "
         "editor does not decode\n"},
        {"sides out of proportion",
         [](Layout& l)
         { WriteBytes(l.Path("maps/area1-colormap.bmp"), Bitmap24(Pattern(256, 250, false))); },
         "M: its colormap (256 x 250) and heightmap (256 x 256) are not in proportion; the "
         "colormap is stretched\n"},
        {"numbers",
         [](Layout& l)
         {
             l.SetMapLine("quad_depth", "quad_depth=256");
             l.SetMapLine("spacing", "spacing=12px");
         },
         "M: quad_depth=256 is outside 0 to 255 (the editor reads 0)\n"
         "M: spacing=12px is not a whole number (the editor reads 12)\n"},
        {"a number missing", [](Layout& l) { l.SetMapLine("spacing", ""); },
         "M: it has no spacing (the editor reads 0)\n"},
        {"the object file missing", [](Layout& l) { fs::remove(l.Mob()); },
         "M: objectmap ..\\maps\\area1.mob ({R}/maps/area1.mob): the file was not found\n"},
        {"not an object file", [](Layout& l) { WriteText(l.Mob(), "M4D"); },
         "O: it is not an object placement file (it does not start with M4DO)\n"},
        {"bytes the editor would not write back",
         [](Layout& l)
         {
             l.EditObjects(Nothing,
                           [](Bytes* b)
                           {
                               memset(b->data() + 8, 0xFF, 4); // object count -1
                               memset(b->data() + 12, 'n', 128);
                               (*b)[12 + 128 + 100] = 'z';
                               b->resize(12 + 5 * 128 + 3);
                           });
         },
         "O: its object count is negative (-1); the editor reads no objects\n"
         "O: type 0: its name field has no zero byte; the editor reads its first 127 bytes\n"
         "O: type 1: its name field holds bytes after the name's end, which the editor drops\n"
         "O: it holds 3 bytes after its last record, which the editor ignores\n"
         "O: type 0 " +
             n127 + " ({R}/editor/" + n127 + "): the file was not found\n"},
        {"the catalog",
         [](Layout& l)
         {
             l.EditObjects(
                 [](ObjectFileContents* c)
                 {
                     c->types[1].path = "..\\objects\\gone.ini";
                     c->types[3].path = "";
                     c->types[4].path = "../OBJECTS/Tree.ini";
                     c->objects.resize(1);
                 });
         },
         "O: type 1 ..\\objects\\gone.ini ({R}/objects/gone.ini): the file was not found\n"
         "O: type 3 has no name\n"
         "O: type 4 ../OBJECTS/Tree.ini is type 0 again\n"
         "O: type 4 ../OBJECTS/Tree.ini ({R}/OBJECTS/Tree.ini): the file was not found\n"},
        {"the objects",
         [](Layout& l)
         {
             l.EditObjects(
                 [](ObjectFileContents* c)
                 {
                     c->objects.resize(3);
                     c->objects[0].type = 5;
                     c->objects[1].x = 1.5f;
                     c->objects[1].y = 0.0625f;
                     c->objects[2].y = -0.0f; // on the map: -0 is 0
                     c->objects[2].x = strtof("nan", nullptr);
                 });
         },
         "O: object 0: its type 5 is not in the catalog (types 0 to 4)\n"
         "O: object 1: its position (1.5, 0.0625) lies outside the map (0 to 1)\n"
         "O: object 2: its position (nan, -0) is not a finite number\n"},
    };
    for (const auto& row : rows)
    {
        Layout layout;
        row.breakIt(layout);
        const Result result = Check({layout.Map()});
        const std::string expected = Replaced(
            Replaced(Replaced(row.lines, "{R}", layout.Root()), "M: ", layout.Map() + ": "),
            "O: ", layout.Mob() + ": ");
        EXPECT_EQ(result.out, expected) << row.what;
        EXPECT_EQ(result.status, mapcheck::kProblems) << row.what;
    }
}

TEST(MapCheck, RelativeNamesLeadFromTheProgramDirectoryAsOnWindows)
{
    const char* rows[][3] = {
        // program directory, name, where it leads
        {"root/editor", "..\\maps\\a.bmp", "root/maps/a.bmp"},
        {"../editor", "..\\..\\x\\.\\b.ini", "../../x/b.ini"},
        {"root/editor/", "a.bmp", "root/editor/a.bmp"},
        {"root/editor", "/abs/a.bmp", "/abs/a.bmp"},
        {"root/editor", "C:\\maps\\a.bmp", "C:/maps/a.bmp"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(mapcheck::ResolveProgramPath(row[0], row[1]), row[2]) << row[1];
    EXPECT_EQ(mapcheck::DefaultProgramDir("root/maps/area1.ini"), "root/editor");
    EXPECT_EQ(mapcheck::DefaultProgramDir("area1.ini"), "../editor");
    EXPECT_EQ(mapcheck::DefaultProgramDir("/r/maps/a.ini"), "/r/editor");
}

TEST(MapCheck, ExitStatusSaysWhetherTheCheckRanAndFoundProblems)
{
    Layout layout;
    WriteText(layout.Path("maps/bad.ini"), "no map here");
    WriteText(layout.Path("maps/bad.json"), "{\"types\": []}");
    WriteText(layout.Path("maps/good.json"), "{\"types\": [], \"objects\": []}");
    const std::string map = layout.Map(), mob = layout.Mob(), out = layout.Path("out.mob");
    const struct
    {
        Rows arguments;
        int status;
    } rows[] = {
        {{"--help"}, 0},
        {{map}, 0},
        {{"--program-dir=" + layout.Path("art/ui"), map}, 1}, // nothing leads from there
        {{layout.Path("maps/bad.ini")}, 1},
        {{"--json", map}, 1},
        {{"--from-json", layout.Path("maps/bad.json"), out}, 1},
        {{}, 2},
        {{map, mob}, 2},
        {{"--frobnicate", map}, 2},
        {{"--program-dir"}, 2},
        {{"--program-dir", layout.Path("nowhere"), map}, 2},
        {{"--program-dir", layout.Path("editor"), "--json", mob}, 2},
        {{"--json", "--from-json", mob}, 2},
        {{layout.Path("maps/gone.ini")}, 2},
        {{layout.Path("maps")}, 2},
        {{"--from-json", layout.Path("gone.json"), out}, 2},
        {{"--json", mob}, 0},
        {{"--from-json", layout.Path("maps/good.json"), layout.Path("nowhere/out.mob")}, 2},
        {{"--from-json", layout.Path("maps/good.json"), out}, 0},
    };
    for (const auto& row : rows)
    {
        const Result result = Check(row.arguments);
        const std::string line = row.arguments.empty() ? "" : row.arguments.back();
        EXPECT_EQ(result.status, row.status) << line << "\n" << result.out << result.err;
        // Could not run: said on standard error only, with the usage for arguments.
        if (row.status == 2)
            EXPECT_EQ(result.out, "") << line;
    }
}
