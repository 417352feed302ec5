// Build-time helper: writes the hand-drawn XPM icon as a PNG of the same pixels, so the
// 32-pixel theme icon keeps its 16 colours instead of being a resampled vector rendering.
//
// Usage: quorvale_xpm_to_png <in.xpm> <out.png> <size>

#include <QImage>

#include <cstdio>
#include <string>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <in.xpm> <out.png> <size>\n", argv[0]);
        return 2;
    }
    const int size = std::stoi(argv[3]);
    const QImage image(QString::fromLocal8Bit(argv[1]), "XPM");
    if (image.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s as XPM\n", argv[0], argv[1]);
        return 1;
    }
    // A wrong size means the wrong drawing: scaling it would hide that and blur the pixels.
    if (image.width() != size || image.height() != size) {
        std::fprintf(stderr, "%s: %s is %dx%d, expected %dx%d\n", argv[0], argv[1], image.width(),
                     image.height(), size, size);
        return 1;
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
