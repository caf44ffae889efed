// The list of recently opened map settings files behind File > Recent Maps:
// most recent first, each file once, at most eight. Names are compared by
// the function the list is given (the editor's asks the system, which
// ignores case as its file names do); without one, ASCII case and the two
// separators do not matter.
// Kept as a small INI text, one "fileN=" key per entry in a [recent]
// section. No Windows API: the editor reads and writes the file and fills
// the menu.
#ifndef MAPEDITOR_RECENTFILES_H
#define MAPEDITOR_RECENTFILES_H

#include <stddef.h>

#include <string>
#include <vector>

class RecentFiles
{
  public:
    static const size_t kLimit = 8;

    // Whether two names are the same file.
    typedef bool (*SameFileFunction)(const std::string& a, const std::string& b);
    explicit RecentFiles(SameFileFunction sameFile = SamePath) : sameFile_(sameFile) {}

    // Most recent first.
    const std::vector<std::string>& Paths() const { return paths_; }

    // Puts the file first; an earlier entry for the same file goes, and
    // beyond the limit the oldest one does. An empty name is not kept.
    void Add(const std::string& path);

    // Takes the file off the list; false when it was not on it.
    bool Remove(const std::string& path);

    void Clear() { paths_.clear(); }

    // Whether two names are the same when ASCII case and the separators
    // do not matter.
    static bool SamePath(const std::string& a, const std::string& b);

    // Replaces the list with the one the INI text holds: "file1" to "file8"
    // of [recent] in their order; empty values, repeats and other keys are
    // left out. Text that holds no list gives an empty one.
    void Read(const std::string& text);
    // The INI text of the list (CR LF lines, values in quotes so that blanks
    // at either end survive).
    std::string Write() const;

    // The menu item of entry `index` (0 first): "&1 C:\maps\area1.ini", with
    // every '&' of the name doubled so that it shows as itself.
    static std::string MenuText(size_t index, const std::string& path);

  private:
    SameFileFunction sameFile_;
    std::vector<std::string> paths_;
};

#endif
