// The document's INI reader against the Windows private-profile functions
// (Wine's, here) on the same files: every value and every number the two
// read must be the same, for the map settings files the editor meets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/IniFile.h"
#include "tests/app/AppTestFiles.h"
#include "tests/support/EditorHarness.h"

TEST(ProfileReading, TheReaderReadsWhatThePrivateProfileFunctionsRead)
{
    const std::vector<std::string> files = {
        "[map]\r\ncolormap=a.bmp\r\nquad_depth=4\r\n",
        "[ Map ]x\r\n  COLORMAP  =  a b.bmp  \r\ncolormap=second\r\nspacing=  -12 m\r\n",
        "; c\r\nkey=outside\r\n[map]\r\nquoted=\" sp \"\r\nsingle='s'\r\nhalf=\"h\r\n",
        "[map]\r\nempty=\r\nnoequals\r\n#hash=h\r\na=b=c\r\n[map]\r\nlate=1\r\n",
        "\xEF\xBB\xBF[map]\nhex=0x1F\noctal=0o17\nbinary=0b101\nlead=010\nwrap=4294967297\n",
        "[other]\r\nkey=1\r\n[map\r\nkey=2\r\n",
    };
    const char* keys[] = {"colormap", "quad_depth", "spacing",  "key",   "quoted", "single",
                          "half",     "empty",      "noequals", "#hash", "a",      "late",
                          "hex",      "octal",      "binary",   "lead",  "wrap"};
    TempFolder folder;
    int number = 0;
    for (const std::string& text : files)
    {
        // A new name each time: Wine keeps the last file read cached by its
        // time stamp.
        const std::string path = folder.File(("map" + std::to_string(++number) + ".ini").c_str());
        WriteText(path, text);
        const IniFile ini(text);
        for (const char* key : keys)
        {
            char value[256] = "";
            GetPrivateProfileStringA("map", key, "<missing>", value, sizeof(value), path.c_str());
            std::string ours = "<missing>";
            ini.Find("map", key, &ours);
            EXPECT_EQ(ours, value) << "file " << number << ", key " << key;
            const int theirs = (int)GetPrivateProfileIntA("map", key, 77, path.c_str());
            EXPECT_EQ(ini.FindNumber("map", key, 77), theirs)
                << "file " << number << ", key " << key;
        }
    }
}
