// The INI reader: sections, keys, blanks, quotes, comments, duplicates and
// numbers, as the private-profile functions read them (the Windows suite
// compares the two on the same files).
#include <gtest/gtest.h>

#include "document/IniFile.h"

TEST(IniFile, FindsValuesAsTheProfileFunctionsDo)
{
    const IniFile ini("\xEF\xBB\xBF"
                      "early=outside any section\r\n"
                      "; comment=no\r\n"
                      "[ Map ]trailing text\r\n"
                      "  Key  =  a b  \r\n"
                      "key=second\r\n"
                      "quoted=\" sp \"\n"
                      "single='x'\r"
                      "half=\"open\r\n"
                      "empty=\r\n"
                      "noequals\r\n"
                      "#hash=kept\r\n"
                      "a=b=c\r\n"
                      "[other]\r\n"
                      "x=1\r\n"
                      "[map]\r\n"
                      "late=in a second map section\r\n"
                      "[broken\r\n"
                      "lost=1\r\n");
    const struct
    {
        const char* section;
        const char* key;
        const char* value; // null: not found
    } cases[] = {
        {"map", "key", "a b"},        {"MAP", "KEY", "a b"},       {"map", "quoted", " sp "},
        {"map", "single", "x"},       {"map", "half", "\"open"},   {"map", "empty", ""},
        {"map", "noequals", nullptr}, {"map", "#hash", "kept"},    {"map", "a", "b=c"},
        {"map", "comment", nullptr},  {"map", "early", nullptr},   {"map", "late", nullptr},
        {"other", "x", "1"},          {"broken", "lost", nullptr}, {"none", "x", nullptr},
    };
    for (const auto& c : cases)
    {
        std::string value = "unchanged";
        EXPECT_EQ(ini.Find(c.section, c.key, &value), c.value != nullptr) << c.key;
        EXPECT_EQ(value, c.value ? c.value : "unchanged") << c.key;
    }
    EXPECT_TRUE(ini.HasSection("MAP"));
    EXPECT_FALSE(ini.HasSection("broken"));
    EXPECT_EQ(ini.FindNumber("map", "empty", 77), 77);
    EXPECT_EQ(ini.FindNumber("map", "missing", 77), 77);
    EXPECT_EQ(ini.FindNumber("other", "x", 77), 1);
}

TEST(IniFile, ReadsNumbersWithPrefixesAndWrapsAt32Bits)
{
    const struct
    {
        const char* text;
        int value;
    } cases[] = {
        {"12", 12},
        {"  12", 12},
        {"-5", -5},
        {"+7", 7},
        {"0x10", 16},
        {"0X1f", 31},
        {"0o17", 15},
        {"0b101", 5},
        {"010", 10},
        {"5x", 5},
        {"x5", 0},
        {"-", 0},
        {"2147483648", -2147483647 - 1},
        {"4294967296", 0},
        {"-2147483649", 2147483647},
        {"99999999999", 1215752191},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniFile::ReadNumber(c.text), c.value) << c.text;
}
