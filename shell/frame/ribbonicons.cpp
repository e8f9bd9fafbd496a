#include "shell/frame/ribbonicons.h"

#include "platform/commandids.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace {

// Standard pictures for the commands every desktop has one for.
bool standardPixmap(int id, QStyle::StandardPixmap& out)
{
    switch (id) {
    case cmd::kFileNew: out = QStyle::SP_FileIcon; return true;
    case cmd::kFileOpen: out = QStyle::SP_DialogOpenButton; return true;
    case cmd::kFileSave: out = QStyle::SP_DialogSaveButton; return true;
    case cmd::kFileClose: out = QStyle::SP_DialogCloseButton; return true;
    case cmd::kEditUndo: out = QStyle::SP_ArrowBack; return true;
    case cmd::kEditRedo: out = QStyle::SP_ArrowForward; return true;
    case cmd::kAppExit: out = QStyle::SP_DialogCancelButton; return true;
    default: return false;
    }
}

QColor tileColour(int id)
{
    // Hue by command, soft colours as the ribbon's artwork has.
    const int hue = (id * 47) % 360;
    return QColor::fromHsv(hue, 110, 200);
}

} // namespace

QIcon RibbonIcon(int id, const QString& text, int size)
{
    static QHash<qint64, QIcon> cache;
    const qint64 key = (qint64(id) << 8) | size;
    const auto it = cache.constFind(key);
    if (it != cache.constEnd() && id != 0)
        return *it;

    QStyle::StandardPixmap sp;
    QIcon icon;
    if (standardPixmap(id, sp)) {
        icon = QApplication::style()->standardIcon(sp);
    } else {
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
