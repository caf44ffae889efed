// Resource and command ids of the editor: dialogs, menus, the icon, the
// controls of the dialogs and the menu commands. Shared by the resource
// script and the code; plain #defines so that windres reads it too.
#ifndef MAPEDITOR_RESOURCE_H
#define MAPEDITOR_RESOURCE_H

// Dialogs, menus, icon
#define IDD_MAIN 101
#define IDI_MAPEDITOR 102
#define IDD_TILEDIALOG 103
#define IDD_OBJECTDIALOG 104
#define IDD_PROPERTIESDIALOG 105
#define IDR_MAINMENU 106
#define IDR_POPUP 107
#define IDD_ABOUTDIALOG 108
#define IDR_ACCELERATORS 130

// Menu bar commands
#define ID_HELP_ABOUT 110
#define ID_MAP_PROPERTIES 113
#define ID_ZOOM_1X 119
#define ID_ZOOM_2X 120
#define ID_ZOOM_4X 121
#define ID_ZOOM_6X 122
#define ID_ZOOM_8X 123
#define ID_FILE_SAVEOBJECTS 124
#define ID_FILE_LOADOBJECTS 125
#define ID_IMPORT_TILES 40011
#define ID_FILE_EXIT 40012
#define ID_FILE_SAVEMAP 40014
#define ID_IMPORT_OBJECTS 40017
#define ID_FILE_OPENMAP 40018
#define ID_IMPORT_HEIGHTMAP 40019
#define ID_FILE_SAVE 40130
// File > Recent Maps: one id per entry, the first also for "(none)".
#define ID_FILE_RECENT_FIRST 40140
#define ID_FILE_RECENT_LAST 40147

// Edit menu and View > Snap to Cells
#define ID_EDIT_UNDO 40100
#define ID_EDIT_REDO 40101
#define ID_EDIT_CUT 40102
#define ID_EDIT_COPY 40103
#define ID_EDIT_PASTE 40104
#define ID_EDIT_DUPLICATE 40105
#define ID_EDIT_DELETE 40106
#define ID_EDIT_SELECTALL 40107
#define ID_EDIT_SELECTNONE 40108
#define ID_EDIT_SETTYPE 40109
#define ID_EDIT_ROTATERIGHT 40110
#define ID_EDIT_ROTATELEFT 40111
#define ID_VIEW_SNAPTOCELLS 40120
#define ID_VIEW_LABELS 40121
#define ID_VIEW_FITMAP 40122
#define ID_VIEW_ZOOMIN 40123
#define ID_VIEW_ZOOMOUT 40124
#define ID_VIEW_PALETTE 40125
#define ID_VIEW_FLOATINGPALETTE 40126

// F6 (no menu item): the keyboard to the other pane, the view or the palette.
#define ID_VIEW_NEXTPANE 40190

// Popup menu commands
#define ID_POPUP_INSERTOBJECT 40015
#define ID_POPUP_DELETEOBJECT 40016

// Controls
#define IDC_TILELIST 1000
#define IDC_OBJECTLIST 1001
#define IDC_QUADDEPTH 1003
#define IDC_TILEGRIDDIMENSIONS 1006
#define IDC_RANDOMIZE 1009
#define IDC_ROTATION 1010
#define IDC_ADD 1011
#define IDC_REMOVE 1012
#define IDC_SPACING 1013
#define IDC_POLYGONALDIMENSIONS 1014
#define IDC_HEIGHTMAP 1015
#define IDC_COLORMAP 1016
#define IDC_DETAILMAP 1017
#define IDC_OBJECTMAP 1018
#define IDC_ABOUTNAME 1019
#define IDC_ABOUTVERSION 1020
#define IDC_ABOUTBUILD 1021

// Tools menu, Edit > Select All of Type and the "Brush..." dialog
#define IDD_BRUSHDIALOG 140
#define ID_TOOLS_SELECT 40200
#define ID_TOOLS_BRUSH 40201
#define ID_TOOLS_ERASER 40202
#define ID_TOOLS_SMALLERBRUSH 40203
#define ID_TOOLS_LARGERBRUSH 40204
#define ID_TOOLS_BRUSHSETTINGS 40205
#define ID_EDIT_SELECTALLOFTYPE 40206
#define IDC_BRUSHRADIUS 1100
#define IDC_BRUSHSPACING 1101
#define IDC_BRUSHLOW 1102
#define IDC_BRUSHHIGH 1103
#define IDC_BRUSHLIMITSLOPE 1104
#define IDC_BRUSHSLOPE 1105
#define IDC_BRUSHOPEN 1106

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
