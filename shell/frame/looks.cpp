#include "shell/frame/looks.h"

#include "platform/commandids.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <cmath>

namespace looks {

namespace {

// A light palette from a window colour, a button colour and a highlight.
QPalette lightPalette(QColor window, QColor button, QColor highlight)
{
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, window.lighter(104));
    p.setColor(QPalette::Text, Qt::black);
    SetButtonColours(p, button);
    p.setColor(QPalette::ButtonText, QColor(0x15, 0x42, 0x8b).darker(150));
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0xff, 0xff, 0xe1));
    p.setColor(QPalette::ToolTipText, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8d, 0x8d, 0x8d));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8d, 0x8d, 0x8d));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8d, 0x8d, 0x8d));
    p.setColor(QPalette::Disabled, QPalette::Base, window.lighter(106));
    return p;
}

Look office2007(int style)
{
    Look look;
    look.styleName = QStringLiteral("Fusion");
    look.office2007Style = style;
    switch (style) {
    case cmd::kLookOffice2007Black:
        look.ribbonTabRow = QColor(0x53, 0x53, 0x53);
        look.ribbonBackground = QColor(0xd9, 0xd9, 0xd9);
        look.palette = lightPalette(QColor(0xc8, 0xc8, 0xc8), QColor(0xe3, 0xe3, 0xe3), QColor(0x5c, 0x5c, 0x5c));
        break;
    case cmd::kLookOffice2007Silver:
        look.ribbonTabRow = QColor(0xd0, 0xd4, 0xdd);
        look.ribbonBackground = QColor(0xe9, 0xeb, 0xef);
        look.palette = lightPalette(QColor(0xe1, 0xe4, 0xea), QColor(0xf0, 0xf1, 0xf4), QColor(0x6f, 0x7d, 0x95));
        break;
    case cmd::kLookOffice2007Aqua:
        look.ribbonTabRow = QColor(0xb6, 0xd7, 0xde);
        look.ribbonBackground = QColor(0xdd, 0xee, 0xf1);
        look.palette = lightPalette(QColor(0xd0, 0xe7, 0xec), QColor(0xe8, 0xf4, 0xf6), QColor(0x2b, 0x8a, 0x9c));
        break;
    default: // blue
        look.office2007Style = cmd::kLookOffice2007Blue;
        look.ribbonTabRow = QColor(0xbf, 0xdb, 0xff);
        look.ribbonBackground = QColor(0xdf, 0xec, 0xf7);
        look.palette = lightPalette(QColor(0xc4, 0xd9, 0xf1), QColor(0xe4, 0xef, 0xfb), QColor(0x33, 0x66, 0xcc));
        break;
    }
    return look;
}

} // namespace

Look LookFor(int look, int currentOffice2007)
{
    Look out;
    out.styleName = QStringLiteral("Fusion");
    switch (look) {
    case cmd::kLookPlain:
        out.palette = lightPalette(QColor(0xef, 0xef, 0xef), QColor(0xef, 0xef, 0xef), QColor(0x30, 0x8c, 0xc6));
        out.ribbonTabRow = QColor(0xe0, 0xe0, 0xe0);
        out.ribbonBackground = QColor(0xf0, 0xf0, 0xf0);
        return out;
    case cmd::kLookOfficeXp:
        out.palette = lightPalette(QColor(0xf6, 0xf5, 0xf3), QColor(0xec, 0xe9, 0xd8), QColor(0x31, 0x6a, 0xc5));
        out.ribbonTabRow = QColor(0xec, 0xe9, 0xd8);
        out.ribbonBackground = QColor(0xf6, 0xf5, 0xf3);
        return out;
    case cmd::kLookWindows:
        if (QStyleFactory::keys().contains(QStringLiteral("Windows"), Qt::CaseInsensitive))
            out.styleName = QStringLiteral("Windows");
        out.palette = lightPalette(QColor(0xd4, 0xd0, 0xc8), QColor(0xd4, 0xd0, 0xc8), QColor(0x0a, 0x24, 0x6a));
        out.ribbonTabRow = QColor(0xd4, 0xd0, 0xc8);
        out.ribbonBackground = QColor(0xe4, 0xe1, 0xdb);
        return out;
    case cmd::kLookOffice2003:
        out.palette = lightPalette(QColor(0xc3, 0xda, 0xf9), QColor(0xdd, 0xec, 0xfe), QColor(0x31, 0x6a, 0xc5));
        out.ribbonTabRow = QColor(0x9e, 0xbe, 0xf5);
        out.ribbonBackground = QColor(0xdd, 0xec, 0xfe);
        return out;
    case cmd::kLookVisualStudio2005:
        out.palette = lightPalette(QColor(0xee, 0xed, 0xe5), QColor(0xf5, 0xf4, 0xee), QColor(0x31, 0x6a, 0xc5));
        out.ribbonTabRow = QColor(0xe5, 0xe2, 0xd5);
        out.ribbonBackground = QColor(0xf7, 0xf6, 0xf0);
        return out;
    case cmd::kLookOffice2007Blue:
    case cmd::kLookOffice2007Black:
    case cmd::kLookOffice2007Silver:
    case cmd::kLookOffice2007Aqua:
        return office2007(look);
    default:
        return office2007(currentOffice2007);
    }
}

void SetButtonColours(QPalette& p, const QColor& button)
{
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::Light, button.lighter(130));
    p.setColor(QPalette::Midlight, button.lighter(110));
    p.setColor(QPalette::Mid, button.darker(130));
    p.setColor(QPalette::Dark, button.darker(160));
    p.setColor(QPalette::Shadow, button.darker(300));
}

namespace {

double luminance(const QColor& c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TextColourOn(const QColor& ground)
{
    const QColor dark(0x1e, 0x1e, 0x1e);
    const QColor light(Qt::white);
    return ContrastRatio(dark, ground) >= ContrastRatio(light, ground) ? dark : light;
}

int ApplyLook(int look, int currentOffice2007)
{
    const Look chosen = LookFor(look, currentOffice2007);
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return currentOffice2007;
    if (QApplication::style()->name().compare(chosen.styleName, Qt::CaseInsensitive) != 0)
        if (QStyle* style = QStyleFactory::create(chosen.styleName))
            QApplication::setStyle(style);
    QApplication::setPalette(chosen.palette);
    return chosen.office2007Style ? chosen.office2007Style : currentOffice2007;
}

} // namespace looks
