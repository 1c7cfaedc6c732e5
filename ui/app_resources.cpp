#include "ui/app_resources.h"

#include "res/strings.h"

#include <QBitmap>

namespace pomelak {

QString gridCellName(std::string_view grid, int match, const QString& column) {
    return QStringLiteral("%1 %2%3 %4").arg(qtString(grid), qtString(kMatchWord)).arg(match + 1).arg(column);
}

QIcon applicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/images/icon16.xpm"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/images/icon32.xpm"), QSize(32, 32));
    return icon;
}

QList<QPixmap> toolBarImages() {
    constexpr int kImageWidth = 16;
    constexpr int kImageHeight = 15;
    // The 16-colour button face grey, which toolbars replace by the face colour of the day.
    constexpr QColor kButtonFace(0xC0, 0xC0, 0xC0);
    QPixmap strip(QStringLiteral(":/images/toolbar.xpm"));
    strip.setMask(strip.createMaskFromColor(kButtonFace, Qt::MaskInColor));
    QList<QPixmap> images;
    for (int x = 0; x + kImageWidth <= strip.width(); x += kImageWidth) {
        images.append(strip.copy(x, 0, kImageWidth, kImageHeight));
    }
    return images;
}

} // namespace pomelak
