// The text of an INI file read the way the Windows private-profile functions
// read it: sections in brackets, "key=value" lines, names compared without
// regard to ASCII case, blanks around names and values dropped, a value in
// matching quotes unquoted, lines starting with ';' ignored. Only the first
// section of a name and the first key of a name in it count. No Windows API.
#ifndef MAPEDITOR_INIFILE_H
#define MAPEDITOR_INIFILE_H

#include <stddef.h>

#include <string>
#include <vector>

class IniFile
{
  public:
    IniFile(const unsigned char* text, size_t size);
    explicit IniFile(const std::string& text)
        : IniFile((const unsigned char*)text.data(), text.size())
    {
    }

    bool HasSection(const std::string& section) const;

    // The value of the key, whole (never cut); false when the section or the
    // key is missing. A line without '=' holds no key.
    bool Find(const std::string& section, const std::string& key, std::string* value) const;

    // The key's value as a whole number, or `missing` when the key is
    // missing or its value is empty.
    int FindNumber(const std::string& section, const std::string& key, int missing) const;

    // A number as the profile functions read it: blanks, a sign, an optional
    // base prefix (0x hexadecimal, 0o octal, 0b binary), then digits up to
    // the first that does not belong; the value wraps around 32 bits. Text
    // that starts with no digit reads as 0.
    static int ReadNumber(const std::string& text);

  private:
    struct Entry
    {
        std::string key;
        std::string value;
    };
    struct Section
    {
        std::string name;
        bool named = true; // false for a header without its closing bracket
        std::vector<Entry> entries;
    };
    const Section* FindSection(const std::string& name) const;

    std::vector<Section> sections_;
};

#endif
