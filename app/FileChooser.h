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

const int kChooserPathSize = 260;

// True with the chosen path copied into destination; false when cancelled.
bool ChooseOpenFile(char (&destination)[kChooserPathSize], HWND owner, const char* title,
                    const char* filter);
bool ChooseSaveFile(char (&destination)[kChooserPathSize], HWND owner, const char* title,
                    const char* filter);

// Makes the program directory current again: choosers may change it, and
// every relative path of the editor is taken from it.
void RestoreProgramDirectory();

#endif
