// Whole numbers typed into the fields of a dialog (Map > Properties' quad
// depth and spacing). A field takes exactly a decimal whole number in its
// range: "-3x", "12.5" or an empty field is refused with a message, never
// read as the number it starts with. No Windows API.
#ifndef MAPEDITOR_NUMBERFIELD_H
#define MAPEDITOR_NUMBERFIELD_H

#include <string>

struct NumberField
{
    const char* name; // as a message names it: "quad depth"
    long long low, high;
};

const NumberField kQuadDepthField = {"quad depth", 0, 255};
const NumberField kSpacingField = {"spacing", 0, 2147483647};

// The text as the field's number: digits with an optional sign, blanks
// around them allowed. False when it is no such number or lies outside the
// range, with *message (when given) saying both, e.g.
//   The spacing must be a whole number from 0 to 2147483647 ("-3x" was typed).
bool ReadNumberField(const NumberField& field, const std::string& text, long long* value,
                     std::string* message = nullptr);

#endif
