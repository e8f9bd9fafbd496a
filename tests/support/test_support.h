#pragma once
// Small helpers shared by the test suites.
#include "platform/windef.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace testsupport {

// A white 32-bit image of the given size, ready to be drawn on.
QImage whiteImage(int width, int height);

// The pixel at (x, y) with its alpha made opaque, to compare with qRgb().
inline QRgb px(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

// Number of pixels that differ between two images of equal size.
int countDifferentPixels(const QImage& a, const QImage& b);

// Number of pixels of the given RGB value (alpha ignored).
int countPixels(const QImage& image, unsigned rgb);

// Arial (Liberation Sans) of a LOGFONT height, normal weight.
LOGFONTA arialFont(int32_t height);

// Bounding box of the non-white pixels inside `area` (the whole image by
// default); left > right when there are none.
RECT inkBox(const QImage& image, RECT area = {0, 0, INT32_MAX, INT32_MAX});

// Absolute path of a file below tests/data.
QString dataPath(const QString& relative);

// Sets an environment variable for its lifetime.
class EnvScope {
public:
    EnvScope(const char* name, const QByteArray& value);
    ~EnvScope();
    EnvScope(const EnvScope&) = delete;
    EnvScope& operator=(const EnvScope&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace testsupport
