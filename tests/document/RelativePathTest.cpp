// The relative-path rule for object types: the results that existing catalogs
// hold for files below the program directory's parent, and the paths that
// name the chosen file when it lies elsewhere.
#include <gtest/gtest.h>

#include "document/RelativePath.h"

TEST(RelativePath, NamesTheChosenFileFromTheProgramDirectory)
{
    const struct
    {
        const char* base;
        const char* chosen;
        const char* expected;
    } cases[] = {
        // Files below the parent of the program directory: one "..", the
        // chosen path's own spelling from the last common separator on.
        {"C:\\game\\editor", "C:\\game\\objects\\tree.ini", "..\\objects\\tree.ini"},
        {"C:\\game\\editor", "C:\\game\\editor\\objs\\a.ini", "..\\editor\\objs\\a.ini"},
        {"C:\\game\\editor", "c:\\GAME\\maps\\x.ini", "..\\maps\\x.ini"},
        {"C:\\game\\editor", "C:\\game\\editor2\\x.ini", "..\\editor2\\x.ini"},
        {"C:\\game\\editor", "C:\\game\\edit\\x.ini", "..\\edit\\x.ini"},
        {"C:\\game\\editor", "C:\\game\\x.ini", "..\\x.ini"},
        {"C:\\game\\editor", "C:\\game\\editor.ini", "..\\editor.ini"},
        {"C:\\game\\editor", "C:\\game\\objects/tree.ini", "..\\objects/tree.ini"},
        {"C:\\a\\b\\c\\editor", "C:\\A\\B\\C\\Objects\\Tree.ini", "..\\Objects\\Tree.ini"},
        {"C:\\game", "C:\\objects\\tree.ini", "..\\objects\\tree.ini"},
        {"C:\\", "C:\\objects\\tree.ini", "..\\objects\\tree.ini"},
        {"\\\\server\\share\\game\\editor", "\\\\server\\share\\game\\objects\\t.ini",
         "..\\objects\\t.ini"},
        // A trailing separator on the base (never saved so) adds no folder.
        {"C:\\game\\editor\\", "C:\\game\\editor\\objs\\a.ini", "..\\editor\\objs\\a.ini"},

        // Files outside that parent: as many ".." as needed, or the chosen
        // path itself on another drive or share.
        {"C:\\game\\editor", "C:\\other\\x.ini", "..\\..\\other\\x.ini"},
        {"C:\\game\\editor", "C:\\x.ini", "..\\..\\x.ini"},
        {"C:\\a\\b\\c\\editor", "C:\\a\\objects\\x.ini", "..\\..\\..\\objects\\x.ini"},
        {"C:\\a\\b\\c\\editor", "c:\\A\\B\\objects\\x.ini", "..\\..\\objects\\x.ini"},
        // Separators are compared as characters: the walk stops at the slash.
        {"C:\\game\\editor", "C:\\game/objects/tree.ini", "..\\..\\game/objects/tree.ini"},
        // All forward slashes: no common separator past the drive, whose
        // roots still match, so the chosen path itself names the file.
        {"C:\\game\\editor", "C:/game/objects/x.ini", "C:/game/objects/x.ini"},
        {"C:\\game\\editor", "D:\\x.ini", "D:\\x.ini"},
        {"C:\\game\\editor", "D:\\game\\objects\\tree.ini", "D:\\game\\objects\\tree.ini"},
        {"C:\\game\\editor", "\\\\server\\share\\x.ini", "\\\\server\\share\\x.ini"},
        {"\\\\server\\share\\editor", "\\\\server\\other\\x.ini", "\\\\server\\other\\x.ini"},
        {"\\\\server\\share\\editor", "\\\\server2\\share\\x.ini", "\\\\server2\\share\\x.ini"},

        // Paths that are not both absolute follow the rule as it is.
        {"editor", "objects\\x.ini", "..objects\\x.ini"},
        {"C:\\game\\editor", "x.ini", "..x.ini"},
        {"", "", ".."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeRelativePath(c.base, c.chosen), c.expected) << c.base << " | " << c.chosen;
    EXPECT_EQ(MakeRelativePath(nullptr, "x"), "");
}
