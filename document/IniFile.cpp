// Reading INI text as the private-profile functions do (see IniFile.h).
#include "document/IniFile.h"

#include <stdint.h>

namespace
{
bool IsBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

std::string Trimmed(const unsigned char* begin, const unsigned char* end)
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    return std::string((const char*)begin, (size_t)(end - begin));
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}
} // namespace

IniFile::IniFile(const unsigned char* text, size_t size)
{
    const unsigned char* at = text;
    const unsigned char* end = text + size;
    // A UTF-8 byte order mark is not part of the first line.
    if (size >= 3 && at[0] == 0xEF && at[1] == 0xBB && at[2] == 0xBF)
        at += 3;
    Section* current = nullptr;
    while (at < end)
    {
        const unsigned char* lineEnd = at;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const std::string line = Trimmed(at, lineEnd);
        at = lineEnd;
        while (at < end && (*at == '\n' || *at == '\r'))
            ++at;

        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[')
        {
            Section section;
            const size_t close = line.find(']');
            section.named = close != std::string::npos;
            if (section.named)
            {
                const unsigned char* name = (const unsigned char*)line.data() + 1;
                section.name = Trimmed(name, (const unsigned char*)line.data() + close);
            }
            sections_.push_back(section);
            current = &sections_.back();
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == std::string::npos)
            continue; // outside every section, or a line that holds no key
        const unsigned char* raw = (const unsigned char*)line.data();
        Entry entry;
        entry.key = Trimmed(raw, raw + equals);
        entry.value = Trimmed(raw + equals + 1, raw + line.size());
        const size_t length = entry.value.size();
        if (length >= 2 && (entry.value[0] == '"' || entry.value[0] == '\'') &&
            entry.value[length - 1] == entry.value[0])
            entry.value = entry.value.substr(1, length - 2);
        current->entries.push_back(entry);
    }
}

const IniFile::Section* IniFile::FindSection(const std::string& name) const
{
    for (const Section& section : sections_)
    {
        if (section.named && SameName(section.name, name))
            return &section;
    }
    return nullptr;
}

bool IniFile::HasSection(const std::string& section) const
{
    return FindSection(section) != nullptr;
}

bool IniFile::Find(const std::string& section, const std::string& key, std::string* value) const
{
    const Section* found = FindSection(section);
    if (!found)
        return false;
    for (const Entry& entry : found->entries)
    {
        if (SameName(entry.key, key))
        {
            *value = entry.value;
            return true;
        }
    }
    return false;
}

int IniFile::FindNumber(const std::string& section, const std::string& key, int missing) const
{
    std::string value;
    if (!Find(section, key, &value) || value.empty())
        return missing;
    return ReadNumber(value);
}

int IniFile::ReadNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank((unsigned char)text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0')
    {
        const char prefix = Lower(text[i + 1]);
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    uint32_t value = 0; // wraps around, as the profile functions' value does
    for (; i < text.size() && DigitValue(text[i]) < base; ++i)
        value = value * (uint32_t)base + (uint32_t)DigitValue(text[i]);
    if (negative)
        value = 0u - value;
    return (int)value;
}
