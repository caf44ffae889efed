// The recent files list: ordering, the limit, and its INI text.
#include "document/RecentFiles.h"

#include "document/IniFile.h"

namespace
{
const char kSection[] = "recent";

char Folded(char c)
{
    if (c >= 'A' && c <= 'Z')
        return (char)(c - 'A' + 'a');
    return c == '/' ? '\\' : c;
}

std::string KeyOf(size_t index)
{
    return "file" + std::to_string(index + 1);
}
} // namespace

bool RecentFiles::SamePath(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Folded(a[i]) != Folded(b[i]))
            return false;
    return true;
}

void RecentFiles::Add(const std::string& path)
{
    if (path.empty())
        return;
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kLimit)
        paths_.resize(kLimit);
}

bool RecentFiles::Remove(const std::string& path)
{
    for (auto it = paths_.begin(); it != paths_.end(); ++it)
    {
        if (sameFile_(*it, path))
        {
            paths_.erase(it);
            return true;
        }
    }
    return false;
}

void RecentFiles::Read(const std::string& text)
{
    paths_.clear();
    const IniFile ini(text);
    for (size_t i = 0; i < kLimit; ++i)
    {
        std::string path;
        if (!ini.Find(kSection, KeyOf(i), &path) || path.empty())
            continue;
        bool repeated = false;
        for (const std::string& kept : paths_)
            repeated = repeated || sameFile_(kept, path);
        if (!repeated)
            paths_.push_back(path);
    }
}

std::string RecentFiles::Write() const
{
    std::string text = "[" + std::string(kSection) + "]\r\n";
    for (size_t i = 0; i < paths_.size(); ++i)
        text += KeyOf(i) + "=\"" + paths_[i] + "\"\r\n";
    return text;
}

std::string RecentFiles::MenuText(size_t index, const std::string& path)
{
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : path)
    {
        text += c;
        if (c == '&')
            text += '&';
    }
    return text;
}
