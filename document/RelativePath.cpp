// Paths of object description files relative to the program directory.
//
// The catalogs that maps already carry were made by one rule: walk the
// program directory and the chosen path together while they agree (ASCII case
// ignored), remember the last separator of the common part, and put ".." in
// front of the chosen path from that separator on. That single ".." names the
// chosen file whenever it lies below the program directory's parent, which is
// where the program's data folders are, and those results are kept exactly.
// For a file elsewhere on the same drive the rule alone would name a file
// below the parent instead, so as many ".." steps are used as the program
// directory has folders below the common part; for a file on another drive
// or network share no relative path exists and the chosen path is returned
// as it is.
#include "document/RelativePath.h"

#include <ctype.h>
#include <string.h>

namespace
{
bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool SameLetter(char a, char b)
{
    return tolower((unsigned char)a) == tolower((unsigned char)b);
}

// Length of the root of an absolute path: 3 for "C:\", the whole
// "\\server\share\" for a network path, 0 for anything else.
size_t RootLength(const char* path)
{
    if (isalpha((unsigned char)path[0]) && path[1] == ':' && IsSeparator(path[2]))
        return 3;
    if (IsSeparator(path[0]) && IsSeparator(path[1]))
    {
        size_t i = 2;
        while (path[i] && !IsSeparator(path[i]))
            ++i;
        if (i == 2 || !path[i])
            return 0; // no server name, or no share
        const size_t share = ++i;
        while (path[i] && !IsSeparator(path[i]))
            ++i;
        if (i == share)
            return 0;
        return path[i] ? i + 1 : i;
    }
    return 0;
}

bool SameRoot(const char* a, size_t aLength, const char* b, size_t bLength)
{
    if (aLength != bLength)
        return false;
    for (size_t i = 0; i < aLength; ++i)
    {
        if (!(SameLetter(a[i], b[i]) || (IsSeparator(a[i]) && IsSeparator(b[i]))))
            return false;
    }
    return true;
}

// Number of folder names in base[from, end).
int FolderCount(const char* base, size_t from, size_t end)
{
    int count = 0;
    bool inName = false;
    for (size_t i = from; i < end; ++i)
    {
        if (IsSeparator(base[i]))
            inName = false;
        else if (!inName)
        {
            inName = true;
            ++count;
        }
    }
    return count;
}
} // namespace

std::string MakeRelativePath(const char* base, const char* path)
{
    if (!base || !path)
        return std::string();

    // A trailing separator (other than a drive root's) does not add a folder.
    const size_t baseRoot = RootLength(base);
    size_t baseEnd = strlen(base);
    while (baseEnd > baseRoot && baseEnd > 0 && IsSeparator(base[baseEnd - 1]))
        --baseEnd;

    size_t lastSeparator = 0;
    for (size_t i = 0; i < baseEnd && path[i] && SameLetter(base[i], path[i]); ++i)
    {
        if (IsSeparator(path[i]))
            lastSeparator = i;
    }
    const std::string onlyParent = std::string("..") + (path + lastSeparator);

    const size_t pathRoot = RootLength(path);
    if (baseRoot == 0 || pathRoot == 0)
        return onlyParent; // not both absolute: nothing better is known
    if (!SameRoot(base, baseRoot, path, pathRoot) || lastSeparator + 1 < baseRoot)
        return path; // another drive or share

    const int steps = FolderCount(base, lastSeparator + 1, baseEnd);
    if (steps <= 1)
        return onlyParent;
    std::string result = "..";
    for (int i = 1; i < steps; ++i)
        result += "\\..";
    result += path + lastSeparator;
    return result;
}
