#include "shell/selectlabel/labelimagepreview.h"

#include "content/images/imageholder.h"
#include "platform/codepage.h"
#include "platform/dc.h"

#include <QFileInfo>
#include <QPainter>

namespace {

bool isPreviewFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const char* ext : {"bmp", "jpg", "png"})
        if (suffix.compare(QLatin1String(ext), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

CLabelImagePreview::CLabelImagePreview(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 120);
}

CLabelImagePreview::~CLabelImagePreview() = default;

void CLabelImagePreview::SetPath(const QString& path)
{
    if (path == m_path)
        return;
    m_path = path;
    m_picture.reset();
    m_tried = false;
    update();
}

bool CLabelImagePreview::HasPicture() const
{
    return m_picture && m_picture->HasContent();
}

void CLabelImagePreview::paintEvent(QPaintEvent* /*event*/)
{
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    if (!m_tried && !m_path.isEmpty() && isPreviewFile(m_path)) {
        m_tried = true;
        auto picture = std::make_unique<CImageBitmapNew>();
        picture->SetReducedDecoding(true);
        if (picture->LoadFile(codepage::FromUnicode(m_path), size()))
            m_picture = std::move(picture);
    }
    if (HasPicture() && width() > 0 && height() > 0) {
        CDC dc(&canvas);
        const RECT dest{0, 0, width() - 1, height() - 1};
        m_picture->Draw(dc, codepage::FromUnicode(m_path), dest, ImageSourceWindow{}, kImageStretch);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, canvas);
}
