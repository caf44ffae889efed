// The modal "Brush..." dialog of the Tools menu: every setting of the brush
// (radius, spacing, the terrain mask's height range and slope limit) and the
// share of the map the mask leaves open, which follows the fields as they
// are typed. The pool and the rotation are the palette's.
#ifndef MAPEDITOR_BRUSHDIALOG_H
#define MAPEDITOR_BRUSHDIALOG_H

#include <windows.h>

#include <string>

#include "document/BrushStroke.h"

class MapDocument;

// What the dialog edits and the map whose heights its mask is measured on.
struct BrushDialogState
{
    const MapDocument* document;
    BrushSettings settings;
};

// Shows the dialog owned by `owner`; true (with *settings changed) on OK.
bool EditBrushSettings(HWND owner, const MapDocument& document, BrushSettings* settings);

// The dialog's procedure; WM_INITDIALOG's lParam is a BrushDialogState,
// whose settings OK replaces with the fields'.
INT_PTR CALLBACK BrushDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The settings the fields hold (over `settings`); false with *problem saying
// which field is wrong.
bool ReadBrushFields(HWND dialog, BrushSettings* settings, std::string* problem);

#endif
