// The recent files list: the order of additions, one entry per file as
// Windows compares names, the limit of eight, removal, and the INI text it
// is kept in read back and read from files edited by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/RecentFiles.h"

using Paths = std::vector<std::string>;

TEST(RecentFiles, AdditionsComeFirstOnceEachAndTheOldestBeyondEightGo)
{
    const struct
    {
        Paths added;
        Paths expected;
    } cases[] = {
        {{}, {}},
        {{"C:\\a.ini", "C:\\b.ini"}, {"C:\\b.ini", "C:\\a.ini"}},
        // The same file again moves to the front, under its newest spelling.
        {{"C:\\a.ini", "C:\\b.ini", "c:\\A.INI"}, {"c:\\A.INI", "C:\\b.ini"}},
        {{"C:\\maps\\a.ini", "C:/maps/a.ini"}, {"C:/maps/a.ini"}},
        // Only ASCII letters fold; other bytes must match.
        {{"C:\\\xc3\xa4.ini", "C:\\\xc3\x84.ini"}, {"C:\\\xc3\x84.ini", "C:\\\xc3\xa4.ini"}},
        {{"C:\\a.ini", "", "C:\\a.ini"}, {"C:\\a.ini"}},
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
         {"10", "9", "8", "7", "6", "5", "4", "3"}},
        // A repeat at the limit takes no one else's place.
        {{"1", "2", "3", "4", "5", "6", "7", "8", "1"}, {"1", "8", "7", "6", "5", "4", "3", "2"}},
    };
    for (const auto& c : cases)
    {
        RecentFiles recent;
        for (const std::string& path : c.added)
            recent.Add(path);
        EXPECT_EQ(recent.Paths(), c.expected) << c.added.size() << " added";
    }
}

TEST(RecentFiles, RemovalTakesOffTheFileWhateverItsSpelling)
{
    RecentFiles recent;
    recent.Add("C:\\a.ini");
    recent.Add("C:\\b.ini");
    recent.Add("C:\\c.ini");
    EXPECT_TRUE(recent.Remove("c:/B.ini"));
    EXPECT_FALSE(recent.Remove("C:\\a.in"));
    EXPECT_EQ(recent.Paths(), (Paths{"C:\\c.ini", "C:\\a.ini"}));
}

TEST(RecentFiles, TheIniTextReadsBackAndTextEditedByHandKeepsWhatMakesAList)
{
    RecentFiles written;
    for (const char* path : {" D:\\lead and trail blanks.ini ", "E:\\Gel\xc3\xa4nde\\x=y;z.ini",
                             "\\\\server\\share\\m.ini"})
        written.Add(path);
    const std::string text = written.Write();
    EXPECT_EQ(text, "[recent]\r\nfile1=\"\\\\server\\share\\m.ini\"\r\n"
                    "file2=\"E:\\Gel\xc3\xa4nde\\x=y;z.ini\"\r\n"
                    "file3=\" D:\\lead and trail blanks.ini \"\r\n");
    const struct
    {
        const char* text;
        Paths expected;
    } cases[] = {
        {text.c_str(), written.Paths()},
        {"", {}},
        {"not an ini file at all", {}},
        {"[other]\nfile1=C:\\x.ini\n", {}},
        // The key's number gives the order; gaps, empty values, repeats and
        // keys past the eighth are left out.
        {"[Recent]\nFILE3=C:\\c.ini\nfile1 = C:\\a.ini \nfile2=\nfile4=c:\\A.ini\n"
         "file9=C:\\i.ini\nfile8=C:\\h.ini\nfile0=C:\\z.ini\nname=C:\\n.ini\n",
         {"C:\\a.ini", "C:\\c.ini", "C:\\h.ini"}},
        {"[recent]\r\nfile1='C:\\q.ini'\r\n;file2=C:\\comment.ini\r\n", {"C:\\q.ini"}},
    };
    RecentFiles recent; // each text replaces the list before
    for (const auto& c : cases)
    {
        recent.Read(c.text);
        EXPECT_EQ(recent.Paths(), c.expected) << c.text;
    }
}

TEST(RecentFiles, MenuTextsAreNumberedWithTheirAmpersandsShown)
{
    EXPECT_EQ(RecentFiles::MenuText(0, "C:\\maps\\area1.ini"), "&1 C:\\maps\\area1.ini");
    EXPECT_EQ(RecentFiles::MenuText(7, "C:\\R&D\\a&&b.ini"), "&8 C:\\R&&D\\a&&&&b.ini");
}
