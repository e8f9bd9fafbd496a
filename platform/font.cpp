#include "platform/font.h"

#include "platform/codepage.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdifont {

namespace {

// Largest character height in pixels: beyond it the font engine's
// fixed-point metrics overflow (a cell height turns negative).
constexpr int64_t kMaxCharPixels = 16384;

QFont baseFont(const LOGFONTA& lf)
{
    const size_t len = strnlen(lf.lfFaceName, LF_FACESIZE);
    QString face = codepage::ToUnicode(std::string_view(lf.lfFaceName, len), 1252);
    if (face.isEmpty())
        face = QStringLiteral("Arial");
    QFont f(face);
    const int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp<int>(lf.lfWeight, 1, 1000);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    QFont::StyleStrategy strategy = QFont::PreferOutline;
    if (lf.lfQuality == NONANTIALIASED_QUALITY)
        strategy = QFont::StyleStrategy(strategy | QFont::NoAntialias);
    f.setStyleStrategy(strategy);
    return f;
}

QFontMetricsF metricsOf(const QFont& f, const QPaintDevice* device)
{
    return device ? QFontMetricsF(f, const_cast<QPaintDevice*>(device)) : QFontMetricsF(f);
}

} // namespace

int DefaultCharHeight()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        const int pixels = QFontInfo(QGuiApplication::font()).pixelSize();
        if (pixels > 0)
            return pixels;
    }
    return kDefaultCharHeight;
}

QFont ToQFont(const LOGFONTA& lf, const QPaintDevice* device)
{
    QFont f = baseFont(lf);
    int64_t h = lf.lfHeight;
    int pixels;
    if (h < 0) {
        pixels = int(std::min<int64_t>(-h, kMaxCharPixels));
    } else if (h > 0) {
        // Cell height: find the em size whose ascent + descent is h.
        QFont probe = f;
        probe.setPixelSize(1000);
        const QFontMetricsF fm = metricsOf(probe, device);
        const double cell = fm.ascent() + fm.descent();
        pixels = cell > 0 ? int(std::lround(double(std::min<int64_t>(h, kMaxCharPixels)) * 1000.0 / cell))
                          : int(std::min<int64_t>(h, kMaxCharPixels));
        pixels = std::min(pixels, int(kMaxCharPixels));
    } else {
        // Height 0: the platform's default size, as the font mapper does.
        pixels = DefaultCharHeight();
    }
    f.setPixelSize(std::max(1, pixels));
    if (lf.lfWidth != 0) {
        // Average character width: stretch the font to it.
        const QFontMetricsF fm = metricsOf(f, device);
        const double natural = fm.averageCharWidth();
        if (natural > 0) {
            const int stretch = int(std::lround(std::abs(double(lf.lfWidth)) * 100.0 / natural));
            f.setStretch(std::clamp(stretch, 1, 4000));
        }
    }
    return f;
}

LOGFONTA FromQFont(const QFont& font, int logPixelsY)
{
    LOGFONTA lf;
    if (font.pixelSize() > 0)
        lf.lfHeight = -font.pixelSize();
    else
        lf.lfHeight = -int32_t(std::lround(font.pointSizeF() * logPixelsY / 72.0));
    lf.lfWeight = std::clamp(int(font.weight()), 1, 1000);
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::string face = codepage::FromUnicode(font.family(), 1252);
    SetFaceName(lf, face.c_str());
    return lf;
}

TEXTMETRICA Metrics(const LOGFONTA& lf, const QPaintDevice* device)
{
    const QFont f = ToQFont(lf, device);
    const QFontMetricsF fm = metricsOf(f, device);
    TEXTMETRICA tm;
    tm.tmAscent = int32_t(std::ceil(fm.ascent() - 1e-6));
    tm.tmDescent = int32_t(std::ceil(fm.descent() - 1e-6));
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - f.pixelSize());
    tm.tmExternalLeading = int32_t(std::lround(std::max<qreal>(0, fm.leading())));
    tm.tmAveCharWidth = int32_t(std::lround(fm.averageCharWidth()));
    tm.tmMaxCharWidth = int32_t(std::lround(fm.maxWidth()));
    tm.tmWeight = f.weight();
    tm.tmItalic = lf.lfItalic;
    tm.tmUnderlined = lf.lfUnderline;
    tm.tmStruckOut = lf.lfStrikeOut;
    tm.tmCharSet = lf.lfCharSet;
    return tm;
}

} // namespace gdifont
