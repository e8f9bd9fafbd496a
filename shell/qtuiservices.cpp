#include "shell/qtuiservices.h"

#include "platform/codepage.h"
#include "resources/version.h"
#include "shell/filedialogfilter.h"
#include "shell/filedialogfolders.h"
#include "shell/mimereader.h"
#include "shell/views/edittext4qrcodedlg.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDrag>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPalette>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

QString toQt(const std::string& cp1252)
{
    return codepage::ToUnicode(cp1252);
}

QMessageBox::StandardButton toButton(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok: return QMessageBox::Ok;
    case MessageAnswer::Cancel: return QMessageBox::Cancel;
    case MessageAnswer::Yes: return QMessageBox::Yes;
    case MessageAnswer::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon toIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

COLORREF fromQColor(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

void prepareDialog(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = CFileDialogFilter::NameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDirectory(CFileDialogFolders::StartFolder(request));
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (!request.title.empty())
        dialog.setWindowTitle(toQt(request.title));
}

std::optional<QString> chosenFile(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return files.front();
}

} // namespace

CQtUiServices::CQtUiServices(QObject* parent) : QObject(parent)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        connect(clipboard, &QClipboard::dataChanged, this, &CQtUiServices::refreshFormats);
        refreshFormats();
    }
}

CQtUiServices::~CQtUiServices()
{
    while (m_waitDepth > 0)
        EndWaitCursor();
}

QWidget* CQtUiServices::dialogParent()
{
    return QApplication::activeWindow();
}

void CQtUiServices::ShowMessage(const UserMessage& message)
{
    const QString caption = message.caption.empty() ? QLatin1String(appversion::kProductName) : toQt(message.caption);
    QMessageBox box(toIcon(message.icon), caption, toQt(message.text), QMessageBox::Ok, dialogParent());
    box.exec();
}

MessageAnswer CQtUiServices::Ask(const UserMessage& question, MessageButtons buttons, MessageAnswer defaultAnswer)
{
    QMessageBox::StandardButtons offered;
    switch (buttons) {
    case MessageButtons::Ok: offered = QMessageBox::Ok; break;
    case MessageButtons::OkCancel: offered = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::YesNo: offered = QMessageBox::Yes | QMessageBox::No; break;
    case MessageButtons::YesNoCancel: offered = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    const QString caption = question.caption.empty() ? QLatin1String(appversion::kProductName) : toQt(question.caption);
    QMessageBox box(toIcon(question.icon), caption, toQt(question.text), offered, dialogParent());
    if (offered & toButton(defaultAnswer))
        box.setDefaultButton(toButton(defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return MessageAnswer::Cancel;
    }
}

void CQtUiServices::Beep()
{
    QApplication::beep();
}

void CQtUiServices::BeginWaitCursor()
{
    ++m_waitDepth;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtUiServices::EndWaitCursor()
{
    if (m_waitDepth == 0)
        return;
    --m_waitDepth;
    QGuiApplication::restoreOverrideCursor();
}

std::optional<QString> CQtUiServices::AskOpenFileName(const FileDialogRequest& request)
{
    QFileDialog dialog(dialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    prepareDialog(dialog, request);
    const std::optional<QString> chosen = chosenFile(dialog);
    if (chosen)
        CFileDialogFolders::Remember(request, *chosen);
    return chosen;
}

std::vector<QString> CQtUiServices::AskOpenFileNames(const FileDialogRequest& request)
{
    QFileDialog dialog(dialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    prepareDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    if (!files.isEmpty())
        CFileDialogFolders::Remember(request, files.front());
    return std::vector<QString>(files.begin(), files.end());
}

std::optional<QString> CQtUiServices::AskSaveFileName(const FileDialogRequest& request)
{
    QFileDialog dialog(dialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    prepareDialog(dialog, request);
    const std::optional<QString> chosen = chosenFile(dialog);
    if (!chosen)
        return std::nullopt;
    CFileDialogFolders::Remember(request, *chosen);
    return CFileDialogFilter::WithDefaultExtension(*chosen, request.defaultExtension);
}

// --- Clipboard

const QMimeData* CQtUiServices::liveClipboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return nullptr;
    ++m_liveQueries;
    return clipboard->mimeData();
}

void CQtUiServices::refreshFormats()
{
    const QMimeData* mime = liveClipboard();
    m_formats = CMimeReader::Formats(mime);
    if (!mime || mime != m_ownMarker.data())
        m_formats.erase(std::remove(m_formats.begin(), m_formats.end(), ClipboardFormat::Objects), m_formats.end());
}

std::vector<ClipboardFormat> CQtUiServices::ClipboardFormats()
{
    return m_formats;
}

std::optional<std::string> CQtUiServices::ClipboardText(int codePage)
{
    return CMimeReader::Text(liveClipboard(), codePage);
}

std::optional<QImage> CQtUiServices::ClipboardImage()
{
    QImage image;
    switch (CMimeReader::Image(liveClipboard(), image)) {
    case CMimeReader::ImageResult::Read:
        return image;
    case CMimeReader::ImageResult::TooLarge:
        ShowUserMessage("The picture on the clipboard is too large to be pasted.", {}, MessageIcon::Warning);
        return std::nullopt;
    case CMimeReader::ImageResult::Unreadable:
    case CMimeReader::ImageResult::None:
        break;
    }
    return std::nullopt;
}

std::optional<std::string> CQtUiServices::ClipboardMetafile()
{
    return CMimeReader::Metafile(liveClipboard());
}

bool CQtUiServices::putOnClipboard(QMimeData* mime)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        delete mime;
        return false;
    }
    clipboard->setMimeData(mime); // takes ownership
    return true;
}

bool CQtUiServices::SetClipboardText(const std::string& bytes, int codePage)
{
    auto* mime = new QMimeData;
    mime->setText(codepage::ToUnicode(bytes, codePage));
    return putOnClipboard(mime);
}

bool CQtUiServices::SetClipboardImage(const QImage& image, const std::string& bmpFile)
{
    auto* mime = new QMimeData;
    if (!image.isNull())
        mime->setImageData(image);
    if (!bmpFile.empty())
        mime->setData(QStringLiteral("image/bmp"), QByteArray(bmpFile.data(), qsizetype(bmpFile.size())));
    return putOnClipboard(mime);
}

bool CQtUiServices::SetClipboardMetafile(const std::string& wmfFile)
{
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/x-wmf"), QByteArray(wmfFile.data(), qsizetype(wmfFile.size())));
    return putOnClipboard(mime);
}

bool CQtUiServices::SetClipboardObjectsMarker()
{
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(CMimeReader::kObjectsFormat), QByteArray(1, '\0'));
    m_ownMarker = mime;
    const bool put = putOnClipboard(mime);
    refreshFormats();
    return put;
}

// --- Drag and drop, desktop

DropEffect CQtUiServices::DragText(const std::string& bytes, int codePage, bool allowMove)
{
    QWidget* source = QApplication::widgetAt(QCursor::pos());
    if (!source)
        source = QApplication::focusWidget();
    if (!source)
        return DropEffect::None;
    auto* mime = new QMimeData;
    mime->setText(codepage::ToUnicode(bytes, codePage));
    auto* drag = new QDrag(source); // deleted with its source or by Qt when done
    drag->setMimeData(mime);
    const Qt::DropActions actions = allowMove ? (Qt::CopyAction | Qt::MoveAction) : Qt::CopyAction;
    switch (drag->exec(actions, Qt::CopyAction)) {
    case Qt::CopyAction: return DropEffect::Copy;
    case Qt::MoveAction: return DropEffect::Move;
    default: return DropEffect::None;
    }
}

bool CQtUiServices::HasDesktopHandler(const QString& path)
{
    // xdg-open starts and reports success even when no program is set up
    // for the file's type: ask the desktop's type database first.
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    QStringList types{type.name()};
    types += type.allAncestors();
    for (const QString& name : types) {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), name});
        if (query.waitForFinished(5000) && query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

bool CQtUiServices::OpenWithShell(const QString& path)
{
    if (!QFileInfo::exists(path) || !HasDesktopHandler(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QStringList CQtUiServices::MailCommand(const QString& attachment)
{
    return {QStringLiteral("xdg-email"), QStringLiteral("--attach"), attachment};
}

bool CQtUiServices::SendMail(const QString& attachment)
{
    QStringList command = MailCommand(attachment);
    const QString program = command.takeFirst();
    return QProcess::startDetached(program, command);
}

// --- System look

COLORREF CQtUiServices::SystemColor(SystemColour which)
{
    const QWidget* window = QApplication::activeWindow();
    const QPalette palette = window ? window->palette() : QApplication::palette();
    switch (which) {
    case SystemColour::Window: return fromQColor(palette.color(QPalette::Base));
    case SystemColour::WindowText: return fromQColor(palette.color(QPalette::Text));
    case SystemColour::ButtonFace: return fromQColor(palette.color(QPalette::Button));
    case SystemColour::ButtonShadow: return fromQColor(palette.color(QPalette::Dark));
    case SystemColour::ButtonHighlight: return fromQColor(palette.color(QPalette::Light));
    case SystemColour::DarkShadow: return fromQColor(palette.color(QPalette::Shadow));
    case SystemColour::Highlight: return fromQColor(palette.color(QPalette::Highlight));
    case SystemColour::HighlightText: return fromQColor(palette.color(QPalette::HighlightedText));
    case SystemColour::InfoBackground: return fromQColor(palette.color(QPalette::ToolTipBase));
    case SystemColour::InfoText: return fromQColor(palette.color(QPalette::ToolTipText));
    }
    return CUiServices::SystemColor(which);
}

int CQtUiServices::SystemMetric(SystemMetricId which)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    switch (which) {
    case SystemMetricId::WheelScrollLines: return QApplication::wheelScrollLines();
    case SystemMetricId::DoubleClickTime: return QApplication::doubleClickInterval();
    case SystemMetricId::ScrollBarExtent: return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    case SystemMetricId::LogPixelsX:
        return screen ? int(std::lround(screen->logicalDotsPerInchX())) : CUiServices::SystemMetric(which);
    case SystemMetricId::LogPixelsY:
        return screen ? int(std::lround(screen->logicalDotsPerInchY())) : CUiServices::SystemMetric(which);
    }
    return CUiServices::SystemMetric(which);
}

QFont CQtUiServices::MessageFont()
{
    return QApplication::font();
}

bool CQtUiServices::EditQrText(std::string& text)
{
    return CEditText4QRCodeDlg::Run(dialogParent(), text, codepage::kAnsi);
}
