// What the user types or reads, checked where it needs no Windows: whole
// numbers in a dialog's fields, long words of messages shortened for a
// message box, and object types imported by their files (a readable file
// added once, the same file under another spelling found, with the
// platform's comparison passed in).
#include <gtest/gtest.h>

#include <ctype.h>

#include "document/MessageText.h"
#include "document/NumberField.h"
#include "document/TypeImport.h"
#include "tests/document/DocumentTestSupport.h"

TEST(NumberField, OnlyAWholeNumberInTheFieldsRangeIsTaken)
{
    const struct
    {
        const NumberField& field;
        const char* text;
        long long value; // -1: refused
    } cases[] = {
        {kSpacingField, "25", 25},         {kSpacingField, " 7 ", 7},
        {kSpacingField, "+12", 12},        {kSpacingField, "2147483647", 2147483647},
        {kSpacingField, "-3x", -1},        {kSpacingField, "-3", -1},
        {kSpacingField, "12.5", -1},       {kSpacingField, "", -1},
        {kSpacingField, "2147483648", -1}, {kSpacingField, "99999999999999999999", -1},
        {kSpacingField, "+-1", -1},        {kSpacingField, "0x10", -1},
        {kQuadDepthField, "255", 255},     {kQuadDepthField, "0", 0},
        {kQuadDepthField, "256", -1},      {kQuadDepthField, "deep", -1},
    };
    for (const auto& c : cases)
    {
        long long value = -1;
        std::string message;
        EXPECT_EQ(ReadNumberField(c.field, c.text, &value, &message), c.value >= 0) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(message.empty(), c.value >= 0) << c.text;
    }
    std::string message;
    long long value = 0;
    ReadNumberField(kSpacingField, "-3x", &value, &message);
    EXPECT_EQ(message,
              "The spacing must be a whole number from 0 to 2147483647 (\"-3x\" was typed).");
    ReadNumberField(kQuadDepthField, "", &value, &message);
    EXPECT_EQ(message, "The quad depth must be a whole number from 0 to 255 (nothing was typed).");
}

TEST(MessageText, LongWordsAreShortenedInTheirMiddleAndTheRestKept)
{
    const std::string folders = "\\deeper" + std::string(60, 'f') + "\\more\\again";
    const struct
    {
        std::string text, shown;
    } cases[] = {
        {"C:\\Users" + folders + "\\area1.ini: the file was not found",
         "C:\\Users\\...\\area1.ini: the file was not found"},
        {"(\\\\server\\share\\maps" + folders + "\\x.mob) could not",
         "(\\\\server\\share\\maps\\...\\x.mob) could not"},
        {"Z:\\tmp\\short.ini\nnext line", "Z:\\tmp\\short.ini\nnext line"},
        {std::string(100, 'w'), std::string(39, 'w') + "..." + std::string(38, 'w')},
        {"C:\\maps\\" + std::string(120, 'n') + ".bmp",
         "C:\\maps\\" + std::string(31, 'n') + "..." + std::string(34, 'n') + ".bmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortenLongWords(c.text), c.shown);
    // Whatever the text, no word of what is shown passes the limit.
    std::string any;
    for (int i = 1; i < 5000; ++i)
        any += i % 211 ? "ab\\/(:)."[(i * 7919) % 8] : ' ';
    size_t word = 0;
    for (char c : ShortenLongWords(any))
    {
        word = c == ' ' ? 0 : word + 1;
        ASSERT_LE(word, kLongestShownWord);
    }
}

TEST(TypeImport, AFileIsAddedOnceAndMustBeReadable)
{
    TempFolder folder;
    StdioFileSystem files;
    WriteText(folder.File("tree.ini"), ""); // what it holds is not judged
    WriteBytes(folder.File("junk.ini"), Bytes(2000, 0xA5));
    const SameFileName foldCase = [](const std::string& a, const std::string& b)
    {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y) { return tolower(x) == tolower(y); });
    };
    MapDocument document;
    const auto import = [&](const char* file, const char* path)
    { return ImportTypeFile(document, files, folder.File(file), path, foldCase); };
    EXPECT_EQ(import("tree.ini", "..\\objects\\tree.ini").outcome, TypeImportResult::kAdded);
    EXPECT_EQ(import("junk.ini", "..\\objects\\junk.ini").type, 1);
    const TypeImportResult again = import("tree.ini", "..\\Objects\\TREE.ini");
    EXPECT_EQ(again.outcome, TypeImportResult::kAlreadyThere);
    EXPECT_EQ(again.type, 0);
    const TypeImportResult missing = import("gone.ini", "..\\objects\\gone.ini");
    EXPECT_EQ(missing.outcome, TypeImportResult::kRefused);
    EXPECT_EQ(missing.problem, folder.File("gone.ini") + ": the file was not found");
    EXPECT_EQ(import("tree.ini", std::string(128, 'p').c_str()).outcome,
              TypeImportResult::kRefused);
    EXPECT_EQ(document.objectTypes.size(), 2u);
    EXPECT_EQ(document.UndoName(), "Import Object Type");

    // Typed objects: the catalog's spelling of the same file, or one of the
    // group's own, or a new readable one; an unreadable new one refuses all.
    ObjectGroup group;
    group.types = {ObjectType{"..\\OBJECTS\\tree.INI"}, ObjectType{folder.File("tree.ini")},
                   ObjectType{folder.File("TREE.ini")}};
    std::string problem;
    ASSERT_TRUE(MatchTypedTypes(document.objectTypes, files, foldCase, &group, &problem));
    EXPECT_EQ(group.types[0].path, "..\\objects\\tree.ini");
    EXPECT_EQ(group.types[2].path, folder.File("tree.ini"));
    group.types.push_back(ObjectType{folder.File("gone.ini")});
    EXPECT_FALSE(MatchTypedTypes(document.objectTypes, files, foldCase, &group, &problem));
    EXPECT_EQ(problem, folder.File("gone.ini") + ": the file was not found");
}
