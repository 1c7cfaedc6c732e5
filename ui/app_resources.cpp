#include "ui/app_resources.h"

namespace pomelak {

QIcon applicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/images/icon16.xpm"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/images/icon32.xpm"), QSize(32, 32));
    return icon;
}

QList<QPixmap> toolBarImages() {
    constexpr int kImageWidth = 16;
    constexpr int kImageHeight = 15;
    const QPixmap strip(QStringLiteral(":/images/toolbar.xpm"));
    QList<QPixmap> images;
    for (int x = 0; x + kImageWidth <= strip.width(); x += kImageWidth) {
        images.append(strip.copy(x, 0, kImageWidth, kImageHeight));
    }
    return images;
}

} // namespace pomelak
