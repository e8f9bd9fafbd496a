#include "support/test_support.h"

#include <algorithm>

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

LOGFONTA arialFont(int32_t height)
{
    LOGFONTA lf;
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    SetFaceName(lf, "Arial");
    return lf;
}

RECT inkBox(const QImage& img, RECT area)
{
    RECT r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    const int y0 = std::max(0, area.top), y1 = int(std::min<int64_t>(img.height(), area.bottom));
    const int x0 = std::max(0, area.left), x1 = int(std::min<int64_t>(img.width(), area.right));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
    return r;
}

QString dataPath(const QString& relative)
{
    return QStringLiteral(VSL_TEST_DATA_DIR "/") + relative;
}

EnvScope::EnvScope(const char* name, const QByteArray& value)
    : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
{
    qputenv(name, value);
}

EnvScope::~EnvScope()
{
    if (m_had)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

} // namespace testsupport
