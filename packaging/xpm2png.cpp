// Build-time helper: writes one XPM icon as a PNG of the same pixels, so that the icon theme gets the
// window icon's small sizes without generated files in the repository.
//
// Usage: xpm2png INPUT.xpm OUTPUT.png SIZE
// Fails unless the image is SIZE x SIZE, as an icon theme directory promises that size.

#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: xpm2png INPUT.xpm OUTPUT.png SIZE\n", stderr);
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const int size = std::atoi(argv[3]);

    // QImage alone needs no QGuiApplication or platform plugin, so this runs without a display.
    QImage image;
    if (!image.load(input, "XPM")) {
        std::fprintf(stderr, "xpm2png: cannot read %s as XPM\n", argv[1]);
        return 1;
    }
    if (image.width() != size || image.height() != size) {
        std::fprintf(stderr, "xpm2png: %s is %dx%d, expected %dx%d\n", argv[1], image.width(), image.height(),
                     size, size);
        return 1;
    }
    // The XPM's "None" colour becomes the alpha channel, giving an RGBA PNG like the 128x128 icon.
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (!image.save(output, "PNG")) {
        std::fprintf(stderr, "xpm2png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
