// Conversion of dialog units to pixels, as the dialog manager does it for a dialog's font.
//
// The horizontal base unit is the average width of the 52 letters A-Z and a-z, rounded; the vertical one
// is the font's height. An x or y coordinate maps to dlu * base / 4 or dlu * base / 8, rounded to the
// nearest pixel, and a rectangle maps its left, top, right and bottom edges so that neighbouring
// controls never overlap by rounding.
//
// Example: with base units 6 x 12, the rectangle 279, 267, 35, 14 maps to 419, 401, 52, 21.
#pragma once

#include "res/dialog_template.h"

#include <QRect>

class QFont;

namespace pomelak {

struct DialogBaseUnits {
    int x;
    int y;
};

DialogBaseUnits dialogBaseUnits(const QFont& font);
QRect mapDialogRect(const DialogRect& rect, DialogBaseUnits base);

} // namespace pomelak
