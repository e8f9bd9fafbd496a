#include "shell/frame/ribbonicons.h"

#include "shell/frame/commandicons.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace {

QColor tileColour(int id)
{
    // Hue by command, soft colours as the ribbon's artwork has.
    const int hue = (id * 47) % 360;
    return QColor::fromHsv(hue, 110, 200);
}

} // namespace

QIcon RibbonIcon(int id, const QString& text, int size, const QColor& colour)
{
    const QIcon picture = CommandIconPicture(id, colour);
    if (!picture.isNull())
        return picture;

    static QHash<qint64, QIcon> cache;
    const qint64 key = (qint64(id) << 8) | size;
    const auto it = cache.constFind(key);
    if (it != cache.constEnd() && id != 0)
        return *it;

    QIcon icon;
    {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor colour = tileColour(id);
        painter.setPen(colour.darker(150));
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
        QString initial = QString(text).remove(QLatin1Char('&')).trimmed().left(1).toUpper();
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(size * 5 / 8);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, initial);
        painter.end();
        icon = QIcon(pixmap);
    }
    if (id != 0)
        cache.insert(key, icon);
    return icon;
}
