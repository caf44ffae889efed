// Copies of unsaved work and their recovery (see Autosave.h).
#include "app/Autosave.h"

#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "app/WindowsFileSystem.h"
#include "document/MapDocument.h"

namespace
{
const char kSessionPrefix[] = "session-";

std::string Join(const std::string& folder, const char* name)
{
    return folder + "\\" + name;
}

// What one copy writes, made on the window's thread.
struct Snapshot
{
    std::string folder;
    std::string settings;
    std::vector<unsigned char> objects;
    std::string names;
};

// Writes the copy's files; the first that cannot be written stops it, and
// the problem names it ("" when the copy is whole).
std::string WriteSnapshot(const Snapshot& copy)
{
    WindowsFileSystem files;
    // The names last: a copy is whole once they are there.
    const struct
    {
        const char* name;
        const void* data;
        size_t size;
    } parts[] = {{"objects.mob", copy.objects.data(), copy.objects.size()},
                 {"map.ini", copy.settings.data(), copy.settings.size()},
                 {"names.txt", copy.names.data(), copy.names.size()}};
    for (const auto& part : parts)
    {
        const std::string path = Join(copy.folder, part.name);
        const FileError error = files.ReplaceWholeFile(path, part.data, part.size);
        if (error != FileError::None)
            return path + ": " + DescribeFileError(error);
    }
    return std::string();
}

bool Exists(const std::string& path)
{
    return WindowsFileSystem::Exists(path);
}

// The recovery folders take names of any length, as the files in them do.
HANDLE OpenFile(const std::string& path, DWORD access, DWORD disposition)
{
    return CreateFileW(WindowsFileSystem::WideName(path).c_str(), access, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Whether the run that made the folder still lives: its lock is open,
// shared with nobody.
bool LockedByALiveRun(const std::string& folder)
{
    const std::string lock = Join(folder, "lock");
    if (!Exists(lock))
        return false;
    HANDLE probe = OpenFile(lock, GENERIC_READ, OPEN_EXISTING);
    if (probe == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(probe);
    return false;
}

std::string ReadText(const std::string& path)
{
    WindowsFileSystem files;
    std::vector<unsigned char> bytes;
    if (files.ReadWholeFile(path, &bytes) != FileError::None)
        return std::string();
    return std::string(bytes.begin(), bytes.end());
}

// The value of "key=" in the names file.
std::string NameIn(const std::string& text, const std::string& key)
{
    const std::string start = key + "=";
    size_t at = 0;
    while (at < text.size())
    {
        const size_t end = text.find("\r\n", at);
        const std::string line =
            text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (line.compare(0, start.size(), start) == 0)
            return line.substr(start.size());
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    return std::string();
}
} // namespace

Autosave::~Autosave()
{
    Finish();
    if (lock_ != INVALID_HANDLE_VALUE)
        CloseHandle(lock_);
}

std::string Autosave::DefaultRoot()
{
    // The wide name (the function's room is MAX_PATH by its definition): a
    // user name outside the code page still names the folder.
    wchar_t base[MAX_PATH] = L"";
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base)))
        return std::string();
    return WindowsFileSystem::NarrowName(base) + "\\Map Editor\\Recovery";
}

bool Autosave::Start()
{
    if (root.empty() || !WindowsFileSystem::MakeFolders(root))
        return false;
    folder_ = Join(root, (kSessionPrefix + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(GetTickCount()))
                             .c_str());
    if (!CreateDirectoryW(WindowsFileSystem::WideName(folder_).c_str(), nullptr))
    {
        folder_.clear();
        return false;
    }
    lock_ = OpenFile(Join(folder_, "lock"), GENERIC_WRITE, CREATE_ALWAYS);
    copiedAt_ = GetTickCount();
    return lock_ != INVALID_HANDLE_VALUE;
}

void Autosave::CollectWrite()
{
    if (!resultPending_)
        return;
    Finish();
    resultPending_ = false;
    if (writeProblem_.empty())
    {
        failing_ = false;
        return;
    }
    // Told once until a copy is made again; the copy stays due meanwhile,
    // so the next check writes it again.
    if (!failing_)
        report_ = "The copy of unsaved work could not be written (" + writeProblem_ +
                  "). It will be tried again.";
    failing_ = true;
}

std::string Autosave::TakeReport()
{
    std::string report;
    report.swap(report_);
    return report;
}

void Autosave::Tick(const MapDocument& document, bool now)
{
    if (folder_.empty() || writing_)
        return;
    CollectWrite();
    if (!document.IsModified())
    {
        if (haveCopy_)
            RemoveCopy();
        changesAtCopy_ = document.ChangeCount();
        copiedAt_ = GetTickCount();
        return;
    }
    const bool due = now || failing_ || GetTickCount() - copiedAt_ >= kIntervalMilliseconds ||
                     document.ChangeCount() - changesAtCopy_ >= kChangesBetweenCopies;
    if (!due)
        return;
    auto copy = std::make_shared<Snapshot>();
    copy->folder = folder_;
    const std::string copiedObjects = Join(folder_, "objects.mob");
    copy->settings = document.EncodeSettings(&copiedObjects);
    if (!EncodeObjectFile(document.objectTypes, document.objects, &copy->objects))
        return;
    copy->names = "map=" + document.settingsFile + "\r\nobjects=" + document.objectMap + "\r\n";
    Finish();
    writing_ = true;
    resultPending_ = true;
    writer_ = std::thread(
        [this, copy]
        {
            writeProblem_ = WriteSnapshot(*copy);
            writing_ = false;
        });
    haveCopy_ = true;
    changesAtCopy_ = document.ChangeCount();
    copiedAt_ = GetTickCount();
}

void Autosave::Finish()
{
    if (writer_.joinable())
        writer_.join();
}

void Autosave::RemoveCopy()
{
    Finish();
    for (const char* name : {"names.txt", "map.ini", "objects.mob"})
        DeleteFileW(WindowsFileSystem::WideName(Join(folder_, name)).c_str());
    haveCopy_ = false;
}

void Autosave::Discard()
{
    if (folder_.empty())
        return;
    RemoveCopy();
    if (lock_ != INVALID_HANDLE_VALUE)
        CloseHandle(lock_);
    lock_ = INVALID_HANDLE_VALUE;
    Remove(folder_);
    folder_.clear();
}

std::vector<std::string> Autosave::Leftovers() const
{
    std::vector<std::pair<unsigned long long, std::string>> found;
    WIN32_FIND_DATAW entry;
    HANDLE search =
        FindFirstFileW(WindowsFileSystem::WideName(Join(root, "session-*")).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return std::vector<std::string>();
    do
    {
        const std::string folder =
            Join(root, WindowsFileSystem::NarrowName(entry.cFileName).c_str());
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || folder == folder_ ||
            LockedByALiveRun(folder) || !Exists(Join(folder, "names.txt")))
            continue;
        const unsigned long long written = (unsigned long long)entry.ftLastWriteTime.dwHighDateTime
                                               << 32 |
                                           entry.ftLastWriteTime.dwLowDateTime;
        found.push_back({written, folder});
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> folders;
    for (const auto& f : found)
        folders.push_back(f.second);
    return folders;
}

bool Autosave::Restore(const std::string& folder, MapDocument* document, FileSystem& files,
                       ImageSource& images, std::vector<std::string>* problems)
{
    const std::string names = ReadText(Join(folder, "names.txt"));
    if (!document->LoadSettings(Join(folder, "map.ini"), files, images, problems))
        return false;
    // The restored work belongs to its own files, and is not saved there yet.
    document->settingsFile = NameIn(names, "map");
    document->objectMap = NameIn(names, "objects");
    document->MarkUnsaved();
    return true;
}

void Autosave::Remove(const std::string& folder)
{
    // Everything in it, a temporary file that a crash left behind included.
    const std::wstring wide = WindowsFileSystem::WideName(folder);
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((wide + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((wide + L"\\" + entry.cFileName).c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(wide.c_str());
}
