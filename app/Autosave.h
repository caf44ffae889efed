// A copy of unsaved work against a crash: while the document differs from
// its files, its settings and objects are written (through the same safe
// save as every file) to this run's folder in the user's recovery folder,
// every two minutes and after every 100 changes. The writing runs on a
// thread of its own from a snapshot taken between two messages, so editing
// does not wait for the disk. A clean exit removes the copy; the next start
// after a crash or a kill finds it and offers to restore it.
//
// Layout: <root>\session-<process>-<time>\ holding "lock" (open, shared with
// nobody, while the run lives), "map.ini" (the settings, naming the copied
// objects), "objects.mob" and "names.txt" (the map's and the objects' own
// file names, written last).
#ifndef MAPEDITOR_AUTOSAVE_H
#define MAPEDITOR_AUTOSAVE_H

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class FileSystem;
class ImageSource;
class MapDocument;

class Autosave
{
  public:
    static const DWORD kIntervalMilliseconds = 2 * 60 * 1000;
    static const unsigned kChangesBetweenCopies = 100;

    ~Autosave();

    // The per-user recovery folder ("<local application data>\Map
    // Editor\Recovery"); tests set their own.
    static std::string DefaultRoot();
    std::string root = DefaultRoot();

    // Makes this run's folder and takes its lock. False when it cannot (the
    // editor then runs without copies).
    bool Start();
    // Writes a copy when one is due: the document has unsaved changes and
    // two minutes or 100 changes have passed since the last copy (or `now`,
    // or the last copy could not be written). A document without unsaved
    // changes needs none: an older copy goes.
    void Tick(const MapDocument& document, bool now = false);
    // The message for a copy that could not be written, once until a copy
    // is written again ("" when there is nothing to tell).
    std::string TakeReport();
    // Waits for a copy being written.
    void Finish();
    // A clean exit: the copy and this run's folder go.
    void Discard();
    const std::string& Folder() const { return folder_; }

    // Folders of earlier runs that ended without a clean exit and left a
    // copy, newest first.
    std::vector<std::string> Leftovers() const;
    // Opens a left copy into the document as unsaved changes, under the
    // names of the files it came from; false (and *problems) when it cannot
    // be read.
    static bool Restore(const std::string& folder, MapDocument* document, FileSystem& files,
                        ImageSource& images, std::vector<std::string>* problems);
    static void Remove(const std::string& folder);

  private:
    void RemoveCopy();
    // Takes the result of the last copy's writing once it has ended.
    void CollectWrite();

    std::string folder_;
    HANDLE lock_ = INVALID_HANDLE_VALUE;
    bool haveCopy_ = false;
    unsigned long long changesAtCopy_ = 0;
    DWORD copiedAt_ = 0;
    std::thread writer_;
    std::atomic<bool> writing_{false};
    bool resultPending_ = false; // a copy was written whose result is not taken yet
    std::string writeProblem_;   // the writer's result: "" when the copy is whole
    bool failing_ = false;       // the last copy could not be written
    std::string report_;
};

#endif
