#include "shell/linkimage/imagebrowser.h"

#include "content/images/imageholder.h"
#include "platform/codepage.h"
#include "platform/dc.h"
#include "platform/dib.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

bool isPictureName(const QString& name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QStringView ext = QStringView(name).mid(dot + 1);
    for (const char* known : {"wmf", "bmp", "jpg", "jpeg", "png"})
        if (ext.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// A thumbnail of at most side x side pixels; a null image when the file
// does not decode.
QImage decodeThumbnail(const QString& path, int side)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("wmf"), Qt::CaseInsensitive) == 0) {
        CImageMetafile metafile;
        if (!metafile.LoadFile(codepage::FromUnicode(path)))
            return {};
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(Qt::white);
        CDC dc(&image);
        metafile.Draw(dc, {}, RECT{0, 0, side - 1, side - 1}, ImageSourceWindow{}, kImageCentre);
        return image;
    }
    // The program's own picture reader, as labels draw the file: checked
    // before it is decoded, decoded at about the size the thumbnail shows
    // (a long thin picture is shown far narrower than the thumbnail).
    dib::FileInfo info;
    QSize shown(side, side);
    if (dib::ReadFileInfo(path, info) && info.width > 0 && info.height > 0) {
        shown = QSize(info.width, info.height).scaled(side, side, Qt::KeepAspectRatio);
        shown = QSize(std::max(shown.width(), 1), std::max(shown.height(), 1));
    }
    dib::LoadedPicture picture;
    if (!dib::LoadPictureFile(path, shown, picture))
        return {};
    QImage image = dib::PackedToImage(picture.packed);
    if (image.isNull())
        return {};
    if (image.width() > side || image.height() > side)
        image = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

CImageBrowser::CImageBrowser(QWidget* parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(kCell);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

CImageBrowser::~CImageBrowser() = default;

void CImageBrowser::ScanFolder(const QString& folder)
{
    m_folder = folder;
    m_names.clear();
    m_selection.clear();
    m_gesture = Gesture::None;
    // Directory order, as the file system lists the folder.
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext() && m_names.size() < kMaxNames) {
        it.next();
        const QString name = it.fileName();
        if (isPictureName(name))
            m_names.append(name);
    }
    // Drop what is no longer in the folder.
    QHash<QString, QImage> kept;
    for (const QString& name : std::as_const(m_names)) {
        const QString path = m_folder + QLatin1Char('/') + name;
        const auto found = m_cache.constFind(path);
        if (found != m_cache.constEnd())
            kept.insert(path, *found);
    }
    m_cache = std::move(kept);
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

int CImageBrowser::Columns() const
{
    // A window narrower than one cell still shows one column.
    return std::max(1, (viewport()->width() - kOrigin) / kCell);
}

void CImageBrowser::updateScrollRange()
{
    const int count = int(m_names.size());
    int range = 0;
    if (count > 0)
        range = ((count - 1) / Columns()) * kCell + 72 - viewport()->height();
    verticalScrollBar()->setRange(0, std::max(range, 0));
    verticalScrollBar()->setPageStep(std::max(viewport()->height(), 1));
}

QRect CImageBrowser::CellRect(int index) const
{
    const int cols = Columns();
    return QRect(kOrigin + (index % cols) * kCell, kOrigin + (index / cols) * kCell - verticalScrollBar()->value(),
                 kCell, kCell);
}

int CImageBrowser::IndexAt(QPoint point) const
{
    const int x = point.x() - kOrigin;
    const int y = point.y() - kOrigin + verticalScrollBar()->value();
    if (x < 0 || y < 0)
        return -1;
    const int col = x / kCell;
    if (col >= Columns())
        return -1;
    const int index = (y / kCell) * Columns() + col;
    if (index >= int(m_names.size()))
        return -1;
    // Only the thumbnail itself counts, not the space around it.
    const QRect cell = CellRect(index);
    return QRect(cell.topLeft(), QSize(kThumb, kThumb)).contains(point) ? index : -1;
}

QString CImageBrowser::GetSelectedPath(int i) const
{
    if (i < 0 || i >= int(m_selection.size()))
        return {};
    return m_folder + QLatin1Char('/') + m_names[m_selection[size_t(i)]];
}

void CImageBrowser::ClearSelection()
{
    m_selection.clear();
    viewport()->update();
}

void CImageBrowser::ToggleSelection(int index)
{
    if (index < 0 || index >= int(m_names.size()))
        return;
    const auto at = std::find(m_selection.begin(), m_selection.end(), index);
    if (at != m_selection.end())
        m_selection.erase(at);
    else
        m_selection.push_back(index);
    viewport()->update();
}

qint64 CImageBrowser::CacheBytes() const
{
    qint64 bytes = 0;
    for (const QImage& image : m_cache)
        bytes += image.sizeInBytes();
    return bytes;
}

const QImage& CImageBrowser::thumbnail(int index)
{
    const QString path = m_folder + QLatin1Char('/') + m_names[index];
    auto found = m_cache.find(path);
    if (found == m_cache.end())
        found = m_cache.insert(path, decodeThumbnail(path, kThumb));
    return *found;
}

QRect CImageBrowser::bandRect() const
{
    return QRect(m_pressPoint, m_currentPoint).normalized();
}

void CImageBrowser::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    const int count = int(m_names.size());
    const int cols = Columns();
    const int first = std::max(0, (verticalScrollBar()->value() - kOrigin) / kCell) * cols;
    const QColor highlight = palette().color(QPalette::Highlight);
    for (int i = first; i < count; ++i) {
        const QRect cell = CellRect(i);
        if (cell.top() > viewport()->height())
            break;
        if (!cell.intersects(event->rect()))
            continue;
        const QRect box(cell.topLeft(), QSize(kThumb, kThumb));
        const QImage& image = thumbnail(i);
        if (!image.isNull()) {
            const QPoint at(box.left() + (kThumb - image.width()) / 2, box.top() + (kThumb - image.height()) / 2);
            painter.drawImage(at, image);
        } else {
            painter.setPen(palette().color(QPalette::Mid));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
        }
        const auto selected = std::find(m_selection.begin(), m_selection.end(), i);
        if (selected != m_selection.end()) {
            painter.setPen(QPen(highlight, 2));
            painter.drawRect(box.adjusted(-2, -2, 1, 1));
        }
    }
    if (m_gesture == Gesture::Band) {
        painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(bandRect());
    }
}

void CImageBrowser::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void CImageBrowser::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    viewport()->update();
}

void CImageBrowser::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressPoint = m_currentPoint = event->position().toPoint();
    m_pressedIndex = IndexAt(m_pressPoint);
    m_gesture = m_pressedIndex >= 0 ? Gesture::Pressed : Gesture::Band;
}

void CImageBrowser::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    m_currentPoint = event->position().toPoint();
    if (m_gesture == Gesture::Pressed &&
        (m_currentPoint - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
        // The pressed picture travels with the selection.
        if (std::find(m_selection.begin(), m_selection.end(), m_pressedIndex) == m_selection.end())
            m_selection.push_back(m_pressedIndex);
        m_gesture = Gesture::Dragging;
        viewport()->setCursor(Qt::DragCopyCursor);
        viewport()->update();
    } else if (m_gesture == Gesture::Band) {
        viewport()->update();
    }
}

void CImageBrowser::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const Gesture gesture = m_gesture;
    m_gesture = Gesture::None;
    m_currentPoint = event->position().toPoint();
    switch (gesture) {
    case Gesture::Pressed:
        ToggleSelection(m_pressedIndex);
        break;
    case Gesture::Band: {
        const QRect band = bandRect();
        for (int i = 0; i < int(m_names.size()); ++i) {
            const QRect box(CellRect(i).topLeft(), QSize(kThumb, kThumb));
            if (band.contains(box) && std::find(m_selection.begin(), m_selection.end(), i) == m_selection.end())
                m_selection.push_back(i);
        }
        viewport()->update();
        break;
    }
    case Gesture::Dragging:
        viewport()->unsetCursor();
        emit selectionDropped(event->globalPosition().toPoint());
        viewport()->update();
        break;
    case Gesture::None:
        break;
    }
}
