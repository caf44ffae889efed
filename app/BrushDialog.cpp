// The "Brush..." dialog (see BrushDialog.h): the fields filled from the
// settings, the open share shown again after every change of a field, and
// OK refusing a field out of range with a message that names it.
#include "app/BrushDialog.h"

#include <stdio.h>
#include <stdlib.h>

#include "app/WindowDpi.h"
#include "document/MapDocument.h"
#include "document/TerrainMask.h"
#include "resource.h"

namespace
{
// The number fields, their ranges and what a message calls them.
const struct NumberField
{
    int id;
    const char* name;
    double least, most;
} kFields[] = {
    {IDC_BRUSHRADIUS, "radius", kSmallestBrushRadius, kLargestBrushRadius},
    {IDC_BRUSHSPACING, "spacing", kSmallestBrushSpacing, kLargestBrushRadius},
    {IDC_BRUSHLOW, "lowest height", 0, 255},
    {IDC_BRUSHHIGH, "highest height", 0, 255},
    {IDC_BRUSHSLOPE, "largest slope", 0, 255},
};

BrushDialogState& StateOf(HWND dialog)
{
    return *(BrushDialogState*)GetWindowLongPtrA(dialog, DWLP_USER);
}

void SetNumber(HWND dialog, int id, double value)
{
    char text[32];
    snprintf(text, sizeof(text), "%g", value);
    SetDlgItemTextA(dialog, id, text);
}

// A field's number, or false when it holds anything else or lies outside
// its range.
bool ReadNumber(HWND dialog, const NumberField& field, double* value)
{
    char text[32] = "";
    GetDlgItemTextA(dialog, field.id, text, sizeof(text));
    char* end = nullptr;
    *value = strtod(text, &end);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    return end != text && end && *end == '\0' && *value >= field.least && *value <= field.most;
}

void FillFields(HWND dialog, const BrushSettings& s)
{
    const double values[] = {s.radius, s.spacing, (double)s.lowHeight, (double)s.highHeight,
                             (double)s.maxSlope};
    for (size_t i = 0; i < sizeof(kFields) / sizeof(kFields[0]); ++i)
        SetNumber(dialog, kFields[i].id, values[i]);
    CheckDlgButton(dialog, IDC_BRUSHLIMITSLOPE, s.limitSlope ? BST_CHECKED : BST_UNCHECKED);
}

// "Open: 42.5% of the map", from the fields as they stand.
void ShowOpenShare(HWND dialog)
{
    EnableWindow(GetDlgItem(dialog, IDC_BRUSHSLOPE),
                 IsDlgButtonChecked(dialog, IDC_BRUSHLIMITSLOPE) == BST_CHECKED);
    const BrushDialogState& state = StateOf(dialog);
    BrushSettings settings = state.settings;
    std::string problem;
    char text[64] = "Open: - (a field is not a number in its range)";
    if (state.document && ReadBrushFields(dialog, &settings, &problem))
    {
        const MapDocument& d = *state.document;
        snprintf(text, sizeof(text), "Open: %.1f%% of the map",
                 100.0 * OpenShare(settings, d.heightSamples, d.width, d.height));
    }
    SetDlgItemTextA(dialog, IDC_BRUSHOPEN, text);
}
} // namespace

bool ReadBrushFields(HWND dialog, BrushSettings* settings, std::string* problem)
{
    double values[sizeof(kFields) / sizeof(kFields[0])];
    for (size_t i = 0; i < sizeof(kFields) / sizeof(kFields[0]); ++i)
    {
        const NumberField& field = kFields[i];
        if (!ReadNumber(dialog, field, &values[i]))
        {
            char text[128];
            snprintf(text, sizeof(text), "The %s must be a number from %g to %g.", field.name,
                     field.least, field.most);
            *problem = text;
            return false;
        }
    }
    if (values[2] > values[3])
    {
        *problem = "The lowest height must not lie above the highest height.";
        return false;
    }
    settings->radius = (float)values[0];
    settings->spacing = (float)values[1];
    settings->lowHeight = (int)values[2];
    settings->highHeight = (int)values[3];
    settings->maxSlope = (int)values[4];
    settings->limitSlope = IsDlgButtonChecked(dialog, IDC_BRUSHLIMITSLOPE) == BST_CHECKED;
    return true;
}

INT_PTR CALLBACK BrushDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        FillFields(dialog, ((BrushDialogState*)lParam)->settings);
        ShowOpenShare(dialog);
        return TRUE;
    case WM_DPICHANGED: // the dialog manager scales the controls (FALSE)
        MoveToSuggestedRect(dialog, lParam);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case IDOK:
        {
            std::string problem;
            if (ReadBrushFields(dialog, &StateOf(dialog).settings, &problem))
                EndDialog(dialog, IDOK);
            else
                MessageBoxA(dialog, problem.c_str(), "Brush", MB_OK | MB_ICONEXCLAMATION);
            break;
        }
        case IDCANCEL: // also the close box: nothing changes
            EndDialog(dialog, IDCANCEL);
            break;
        case IDC_BRUSHLIMITSLOPE:
            ShowOpenShare(dialog);
            break;
        default:
            if (HIWORD(wParam) == EN_CHANGE && GetWindowLongPtrA(dialog, DWLP_USER))
                ShowOpenShare(dialog);
            break;
        }
        return TRUE;
    }
    return FALSE;
}

bool EditBrushSettings(HWND owner, const MapDocument& document, BrushSettings* settings)
{
    BrushDialogState state = {&document, *settings};
    if (DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BRUSHDIALOG), owner,
                        BrushDialogProc, (LPARAM)&state) != IDOK)
        return false;
    *settings = state.settings;
    return true;
}
