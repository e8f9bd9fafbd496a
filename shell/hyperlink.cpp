#include "shell/hyperlink.h"

#include "platform/dc.h"
#include "platform/uiservices.h"
#include "shell/application/app.h"
#include "shell/bufferdc.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QEnterEvent>
#include <QMouseEvent>

CHyperLink::CHyperLink(QWidget* parent)
    : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTipDuration(kTooltipDuration);
    m_recheck.setParent(this);
    m_recheck.setObjectName(QStringLiteral("recheck"));
    m_recheck.setInterval(kRecheckInterval);
    connect(&m_recheck, &QTimer::timeout, this, &CHyperLink::recheck);
    setFixedSize(sizeHint());
}

void CHyperLink::SetText(const QString& text)
{
    m_text = text;
    setFixedSize(sizeHint());
    update();
}

void CHyperLink::SetURL(const QUrl& url)
{
    m_url = url;
    setToolTip(url.toDisplayString(QUrl::PreferLocalFile));
}

QUrl CHyperLink::DefaultURL()
{
    const QString readme = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                           + QStringLiteral("/../share/doc/vorteplan-softlabel/README.md"));
    return QUrl::fromLocalFile(readme);
}

void CHyperLink::SetDefaultURL()
{
    SetURL(DefaultURL());
}

LOGFONTA CHyperLink::LinkFont()
{
    LOGFONTA lf;
    lf.lfHeight = 14;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    SetFaceName(lf, "Arial");
    return lf;
}

COLORREF CHyperLink::TextColour() const
{
    if (!isEnabled())
        return Ui().SystemColor(SystemColour::ButtonShadow);
    if (m_pressed)
        return kPressedColour;
    return m_hover ? kHoverColour : kLinkColour;
}

QSize CHyperLink::sizeHint() const
{
    QImage probe(1, 1, QImage::Format_RGB32);
    CDC dc(&probe, logicalDpiX(), logicalDpiY());
    dc.SelectFont(LinkFont());
    RECT r{0, 0, 0, 0};
    dc.DrawUnicodeText(m_text, r, DT_CALCRECT | DT_NOPREFIX);
    return QSize(int(r.Width()) + 2 * kMargin, int(r.Height()) + 2 * kMargin);
}

void CHyperLink::paintEvent(QPaintEvent* /*event*/)
{
    CBufferDC buffer(this);
    CDC& dc = buffer.Dc();
    dc.FillSolidRect(buffer.BufferRect(), Ui().SystemColor(SystemColour::ButtonFace));
    dc.SelectFont(LinkFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(TextColour());
    RECT r{kMargin, kMargin, width() - kMargin, height() - kMargin};
    dc.DrawUnicodeText(m_text, r, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

void CHyperLink::setHover()
{
    if (!m_hover) {
        m_hover = true;
        update();
    }
    m_recheck.start();
}

void CHyperLink::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    setHover();
}

void CHyperLink::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (rect().contains(event->position().toPoint()))
        setHover();
}

void CHyperLink::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_hover = false;
    // A leave while the pointer is still over us is checked again later.
    if (pointerOver())
        m_recheck.start();
    else
        m_recheck.stop();
    update();
}

void CHyperLink::recheck()
{
    if (pointerOver())
        return;
    m_recheck.stop();
    if (m_hover) {
        m_hover = false;
        update();
    }
}

bool CHyperLink::pointerOver() const
{
    const QPoint global = QCursor::pos();
    return rect().contains(mapFromGlobal(global)) && QApplication::widgetAt(global) == this;
}

void CHyperLink::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    update();
}

void CHyperLink::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    update();
    if (!rect().contains(event->position().toPoint()) || !m_url.isValid())
        return;
    // A local file opens through the desktop; when nothing can open it the
    // user is told where it is.
    if (m_url.isLocalFile()) {
        if (!Ui().OpenWithShell(m_url.toLocalFile()))
            ShowUserMessage(CVorteplanSoftLabelApp::CannotOpenDocumentationText(m_url.toLocalFile()), "",
                            MessageIcon::Warning);
        return;
    }
    QDesktopServices::openUrl(m_url);
}

void CHyperLink::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}
