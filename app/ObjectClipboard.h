// Copied objects on the Windows clipboard: the editor's own registered
// format (objects with their type paths) and plain text beside it.
#ifndef MAPEDITOR_OBJECTCLIPBOARD_H
#define MAPEDITOR_OBJECTCLIPBOARD_H

#include <windows.h>

#include "document/MapDocument.h"

class ViewWindow;

// The registered format's name; other editors' windows find it by this name.
extern const char kObjectClipboardFormat[];

// Puts the selected objects on the clipboard in both forms; false when
// nothing is selected (the clipboard is left alone) or it cannot be opened.
bool CopySelectionToClipboard(HWND owner, const MapDocument& document);

// The group on the clipboard in the editor's format, or false.
bool ReadClipboardGroup(HWND owner, ObjectGroup* group);

// Pastes the clipboard's objects: centred under the pointer when it is over
// the view, otherwise where they were copied. They become the selection.
// When the clipboard holds only text, the text is read as the plain-text
// form (edited, perhaps, in a spreadsheet or by a script): the objects land
// where the lines put them, their types found or added as an import finds
// or adds them (new ones read through `files`), as one step; text not in
// that form is refused with a message naming its first line that is not,
// and nothing is pasted.
bool PasteFromClipboard(HWND owner, MapDocument& document, const ViewWindow& view,
                        FileSystem& files);

#endif
