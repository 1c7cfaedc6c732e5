#include "ui/app_resources.h"

namespace pomelak {

QIcon applicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/images/icon16.xpm"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/images/icon32.xpm"), QSize(32, 32));
    return icon;
}

QPixmap toolBarImage(int button) {
    constexpr int kImageWidth = 16;
    constexpr int kImageHeight = 15;
    const QPixmap strip(QStringLiteral(":/images/toolbar.xpm"));
    return strip.copy(button * kImageWidth, 0, kImageWidth, kImageHeight);
}

} // namespace pomelak
