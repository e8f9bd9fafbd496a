#pragma once
// The application looks (commands 210-218) as Qt styles and palettes:
// 210 the plain look, 211 Office XP, 212 Windows, 213 Office 2003, 214
// Visual Studio 2005, 215-218 Office 2007 in blue, black, silver and aqua.
// Any other number is the Office 2007 look in its current style.
#include <QColor>
#include <QPalette>
#include <QString>

namespace looks {

// The palette and style name a look number stands for. `currentOffice2007`
// is the Office 2007 style in use (215-218), taken for numbers outside
// 210-218.
struct Look {
    QString styleName; // "Fusion" or "Windows"
    QPalette palette;
    QColor ribbonBackground; // the ribbon's panels
    QColor ribbonTabRow;     // the row of category tabs and the caption
    int office2007Style = 0; // 215-218 when an Office 2007 look, else 0
};
Look LookFor(int look, int currentOffice2007);

// The contrast ratio of two colours as accessibility guidelines measure it
// (relative luminance, 1 to 21); text wants at least 4.5.
double ContrastRatio(const QColor& a, const QColor& b);
// Near-black or white, whichever reads better on `ground`.
QColor TextColourOn(const QColor& ground);

// Sets the button colour of `palette` with the shades styles draw the
// bevels of buttons from.
void SetButtonColours(QPalette& palette, const QColor& button);

// Applies a look to the running application (style, palette); answers
// the Office 2007 style now current.
int ApplyLook(int look, int currentOffice2007);

} // namespace looks
