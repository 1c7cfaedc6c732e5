// Access to the program's texts and images from Qt: the string table as QString, the accessible names of
// grid controls, the application icon (16 and 32 pixel images) and the toolbar's button images.
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>

#include <string_view>

namespace pomelak {

inline QString qtString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The name a screen reader gives a grid control: the grid, the match (index 0 to 12) and the column,
// "購入 試合7 0" for the purchase box of match 7's draw.
QString gridCellName(std::string_view grid, int match, const QString& column);

QIcon applicationIcon();
// Images of the toolbar buttons 0, 1 and 2: 16 x 15 pixels each, cut from the 48 x 15 toolbar bitmap,
// transparent where the bitmap has the button face colour so that the button's own face shows there.
QList<QPixmap> toolBarImages();

} // namespace pomelak
