// The open and save file choosers that every file command uses, the kinds
// of file they choose (title, filter list, default extension), and restoring
// the program directory after a chooser.
#ifndef MAPEDITOR_FILECHOOSER_H
#define MAPEDITOR_FILECHOOSER_H

#include <windows.h>

#include <string>

// Filter lists: pairs of description and pattern, each zero-terminated, the
// list ending with an extra zero byte (the literal's own terminator).
extern const char kObjectFileFilter[];        // .mob object placement files
extern const char kMapFileFilter[];           // .ini map settings files
extern const char kObjectDescriptionFilter[]; // .ini object descriptions
extern const char kImageFilter[];             // heightmaps: every image the editor reads

struct FileKind
{
    const char* title;
    const char* filter;
    const char* defaultExtension; // added to a name typed without one
};
extern const FileKind kOpenMapKind, kSaveMapKind, kOpenObjectsKind, kSaveObjectsKind,
    kImportObjectKind, kOpenHeightmapKind;

// True with the chosen path; false when cancelled. The chooser starts in the
// folder of `current` (the document's file of this kind, or empty), and a
// save chooser offers its name. An open chooser takes only existing files;
// a save chooser asks before replacing one.
bool ChooseOpenFile(std::string* chosen, HWND owner, const FileKind& kind,
                    const std::string& current = std::string());
bool ChooseSaveFile(std::string* chosen, HWND owner, const FileKind& kind,
                    const std::string& current = std::string());

// Makes the program directory current again: choosers may change it, and
// every relative path of the editor is taken from it.
void RestoreProgramDirectory(const char* programDirectory);

#endif
