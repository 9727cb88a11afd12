// Prints the bounding box of the pixels of one exact colour in a picture as
// "WIDTHxHEIGHT+LEFT+TOP", or nothing when the colour does not occur.
//   colourbox PICTURE RED GREEN BLUE
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 5) {
        std::fputs("usage: colourbox PICTURE RED GREEN BLUE\n", stderr);
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "colourbox: cannot read %s\n", argv[1]);
        return 2;
    }
    const QRgb wanted = qRgb(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (wanted & 0xffffff))
                box |= QRect(x, y, 1, 1);
    if (!box.isEmpty())
        std::printf("%dx%d+%d+%d\n", box.width(), box.height(), box.left(), box.top());
    return 0;
}
