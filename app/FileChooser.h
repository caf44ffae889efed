// The open and save file choosers that every file command uses, their filter
// lists, and restoring the program directory after a chooser.
#ifndef MAPEDITOR_FILECHOOSER_H
#define MAPEDITOR_FILECHOOSER_H

#include <windows.h>

// Filter lists: pairs of description and pattern, each zero-terminated, the
// list ending with an extra zero byte (the literal's own terminator).
extern const char kObjectFileFilter[];        // .mob object placement files
extern const char kMapFileFilter[];           // .ini map settings files
extern const char kObjectDescriptionFilter[]; // .ini object descriptions
extern const char kBitmapFilter[];            // heightmap bitmaps

// Bytes for a chosen path: a MAX_PATH path of UTF-16 units takes up to three
// bytes each in UTF-8, the code page the manifest gives the 8-bit functions.
const int kChooserPathSize = 3 * MAX_PATH;

// True with the chosen path copied into destination; false when cancelled.
bool ChooseOpenFile(char (&destination)[kChooserPathSize], HWND owner, const char* title,
                    const char* filter);
bool ChooseSaveFile(char (&destination)[kChooserPathSize], HWND owner, const char* title,
                    const char* filter);

// Makes the program directory current again: choosers may change it, and
// every relative path of the editor is taken from it.
void RestoreProgramDirectory();

#endif
