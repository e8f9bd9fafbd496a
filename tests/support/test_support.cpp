#include "support/test_support.h"

namespace testsupport {

QImage whiteImage(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(0xFFFFFFFFu);
    return img;
}

int countDifferentPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                ++n;
    return n;
}

int countPixels(const QImage& image, unsigned rgb)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF))
                ++n;
    return n;
}

QString dataPath(const QString& relative)
{
    return QStringLiteral(VSL_TEST_DATA_DIR "/") + relative;
}

} // namespace testsupport
