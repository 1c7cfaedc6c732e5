// Access to the program's texts and images from Qt: the string table as QString, the application icon
// (16 and 32 pixel images) and the toolbar's button images.
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

QIcon applicationIcon();
// Images of the toolbar buttons 0, 1 and 2: 16 x 15 pixels each, cut from the 48 x 15 toolbar bitmap.
QList<QPixmap> toolBarImages();

} // namespace pomelak
