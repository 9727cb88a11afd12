// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the bounding box of the pixels of one exact colour in a picture as
// WIDTHxHEIGHT+LEFT+TOP; nothing when the colour does not occur.
//   colourbox PICTURE RED GREEN BLUE
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const QImage image = argc == 5 ? QImage(QString::fromLocal8Bit(argv[1])) : QImage();
    if (image.isNull())
        return 2;
    const QRgb wanted = qRgb(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == wanted)
                box |= QRect(x, y, 1, 1);
    if (!box.isEmpty())
        std::printf("%dx%d+%d+%d\n", box.width(), box.height(), box.left(), box.top());
    return 0;
}
