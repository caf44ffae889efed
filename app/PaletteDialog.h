// The object palette: a modeless tool window listing the object types (each
// row with its object count and hidden and locked toggles; several rows
// may be selected, the brush's pool), with the rotation and the "Randomize"
// choice for the next placed object. It keeps its own state: the rotation
// chosen and the catalog its list shows.
#ifndef MAPEDITOR_PALETTEDIALOG_H
#define MAPEDITOR_PALETTEDIALOG_H

#include <windows.h>
#include <stdint.h>

#include <vector>

class EditorEvents;
class MapDocument;

class PaletteDialog
{
  public:
    PaletteDialog(MapDocument& document, EditorEvents& events)
        : document_(document), events_(events)
    {
    }
    ~PaletteDialog();
    PaletteDialog(const PaletteDialog&) = delete;
    PaletteDialog& operator=(const PaletteDialog&) = delete;

    HWND Create(HINSTANCE instance, HWND owner);
    HWND Handle() const { return window_; }

    // The rotation the next placed object gets (the rotation box's row).
    short Rotation() const { return rotation_; }
    void SetRotation(short rotation) { rotation_ = rotation; }
    // An object was placed with Rotation(): with "Randomize" checked a
    // random row of the rotation box becomes the next one, so the box always
    // shows what the next object gets.
    void ObjectPlaced();

    // Rebuilds the list from the catalog when the catalog changed since the
    // list was last filled, selecting the current type's row again.
    void SyncList();
    // Rebuilds it whatever changed, with no row selected (after a load).
    void RebuildList();
    // The type becomes the one the next object gets, its row the list's
    // selection (scrolled into view).
    void SelectType(int type);

    // ---- Rows as layers (PaletteRows.cpp) ----
    // The rows selected in the list, ascending: the brush's pool.
    std::vector<int> SelectedTypes() const;
    // "Randomize" is checked: each brushed object gets a rotation of its own.
    bool Randomizes() const;
    // Redraws the rows whose object count or toggles changed.
    void RefreshRows();
    // Flips hidden (or locked) for these rows, all to the first one's new state.
    void ToggleLayer(const std::vector<int>& rows, bool locked);

    // The dialog procedure. The object comes with WM_INITDIALOG's lParam; a
    // palette created without one (lParam 0) lays itself out and shows its
    // rows, but its commands do nothing.
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnCommand(WPARAM wParam);
    void OnRotationSelectionChange(HWND rotationBox);
    void RemoveSelectedType();
    // The row whose type the next Ctrl+click places, or -1.
    int CurrentRow() const;
    void SelectRowOnly(int row);
    // The list's own procedure, around the list box's: clicks on the
    // toggles and their keys.
    static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR palette);

    MapDocument& document_;
    EditorEvents& events_;
    HWND window_ = nullptr;
    short rotation_ = 0;
    unsigned shownCatalogRevision_ = 0;
    std::vector<uint64_t> shownRows_; // each row's count and toggles as last drawn
};

// The palette's owner-drawn rows (PaletteRows.cpp): their height at the
// palette's DPI, and a row drawn with its toggles and, when the document is
// known, its object count.
void MeasurePaletteRow(HWND palette, MEASUREITEMSTRUCT* item);
void DrawPaletteRow(const DRAWITEMSTRUCT& item, const MapDocument* document);

// Reads the text of a row of the palette's rotation box as a rotation in
// degrees: its decimal value (0 for text that is not a number), as a 16-bit
// value. False when the row does not exist.
bool ReadRotationRow(HWND rotationBox, int row, short* rotation);

// The height in pixels of the controls row above the list: 25 pixels at
// 96 DPI scaled to `dpi`, or, where the window's DPI is not known (dpi 0),
// the row's height in the palette's dialog units.
int PaletteControlsRowHeight(HWND palette, UINT dpi);

#endif
