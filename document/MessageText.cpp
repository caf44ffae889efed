// Long words of messages shortened for display (see MessageText.h).
#include "document/MessageText.h"

#include <ctype.h>

#include <vector>

namespace
{
const char kEllipsis[] = "...";

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Cuts the middle out of a word, keeping its beginning and end.
std::string CutMiddle(const std::string& word)
{
    const size_t keep = kLongestShownWord - (sizeof(kEllipsis) - 1);
    const size_t head = (keep + 1) / 2;
    return word.substr(0, head) + kEllipsis + word.substr(word.size() - (keep - head));
}

// Where the part of a path that is kept at its front ends: after the drive
// ("C:\", or "\\server\share\") and the first folder.
size_t FrontEnd(const std::string& path)
{
    size_t at = 0;
    int separatorsToPass = 1; // the one after the first folder
    if (path.size() > 2 && isalpha((unsigned char)path[0]) && path[1] == ':' &&
        IsSeparator(path[2]))
        at = 3;
    else if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
    {
        at = 2;
        separatorsToPass = 3; // after the server, the share and the first folder
    }
    for (; at < path.size(); ++at)
    {
        if (IsSeparator(path[at]) && --separatorsToPass == 0)
            return at + 1;
    }
    return std::string::npos;
}

std::string ShortenWord(const std::string& word)
{
    if (word.size() <= kLongestShownWord)
        return word;
    // What sticks to a path in a message: "(" before it, "):" after it.
    const size_t first = word.find_first_not_of("(\"'");
    const size_t last = word.find_last_not_of(")\"':,.;");
    if (first == std::string::npos || last == std::string::npos || last < first)
        return CutMiddle(word);
    const std::string before = word.substr(0, first);
    const std::string path = word.substr(first, last + 1 - first);
    const std::string after = word.substr(last + 1);
    const size_t front = FrontEnd(path);
    const size_t nameStart = path.find_last_of("\\/");
    std::string shown = path;
    if (front != std::string::npos && nameStart != std::string::npos && nameStart + 1 > front)
        shown = path.substr(0, front) + kEllipsis + path.substr(nameStart);
    shown = before + shown + after;
    return shown.size() <= kLongestShownWord ? shown : CutMiddle(shown);
}
} // namespace

std::string ShortenLongWords(const std::string& text)
{
    std::string shown;
    size_t at = 0;
    while (at < text.size())
    {
        const size_t end = text.find_first_of(" \t\r\n", at);
        const size_t wordEnd = end == std::string::npos ? text.size() : end;
        shown += ShortenWord(text.substr(at, wordEnd - at));
        if (end == std::string::npos)
            break;
        shown += text[end];
        at = end + 1;
    }
    return shown;
}
