#include "shell/linkimage/imagewindow.h"

#include "content/images/imageholder.h"
#include "platform/dc.h"
#include "platform/paths.h"
#include "tables/view/vorteplansofttableview.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

namespace {

QStringList localFiles(const QMimeData* mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    return files;
}

} // namespace

CImageWindow::CImageWindow(int n, CVorteplanSoftTableView& view, QWidget* parent)
    : QWidget(parent), m_n(n), m_view(view)
{
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(64, 64);
}

CImageWindow::~CImageWindow() = default;

void CImageWindow::paintEvent(QPaintEvent* /*event*/)
{
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const std::string name = m_view.GetImageCell(m_n);
    if (name != m_holderName || !m_holder) {
        m_holderName = name;
        m_holder = name.empty() ? nullptr : CreateImageHolderForFile(name);
    }
    m_showsPicture = false;
    if (m_holder && width() > 0 && height() > 0) {
        CDC dc(&canvas);
        m_holder->Draw(dc, name, RECT{0, 0, width() - 1, height() - 1}, ImageSourceWindow{}, kImageCentre);
        m_showsPicture = m_holder->HasContent();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, canvas);
    if (hasFocus() && m_showsPicture) {
        const int w = kFocusFrame;
        const QColor navy(0, 0, 128);
        painter.fillRect(0, 0, width(), w, navy);
        painter.fillRect(0, height() - w, width(), w, navy);
        painter.fillRect(0, 0, w, height(), navy);
        painter.fillRect(width() - w, 0, w, height(), navy);
    }
}

void CImageWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        m_view.ClearImageCell(m_n);
        update();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CImageWindow::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void CImageWindow::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CImageWindow::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CImageWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CImageWindow::dropEvent(QDropEvent* event)
{
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    emit filesDropped(m_n, files);
}
