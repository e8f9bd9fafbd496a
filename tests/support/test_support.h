#pragma once
// Small helpers shared by the test suites.
#include <QImage>
#include <QString>

namespace testsupport {

// A white 32-bit image of the given size, ready to be drawn on.
QImage whiteImage(int width, int height);

// Number of pixels that differ between two images of equal size.
int countDifferentPixels(const QImage& a, const QImage& b);

// Number of pixels of the given RGB value (alpha ignored).
int countPixels(const QImage& image, unsigned rgb);

// Absolute path of a file below tests/data.
QString dataPath(const QString& relative);

} // namespace testsupport
