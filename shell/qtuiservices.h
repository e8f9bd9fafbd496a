#pragma once
// The user interface the application installs with SetUi: Qt message
// boxes and file dialogs, the system clipboard, QDrag, the desktop's open
// and mail actions, and the palette and style of the running application.
//
// The clipboard's list of formats is cached and refreshed when the
// clipboard changes: update handlers ask for it on every idle pass, and a
// live query of an X11 clipboard whose owner hangs can block for seconds.
#include "platform/uiservices.h"

#include <QMimeData>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;

class CQtUiServices : public QObject, public CUiServices {
    Q_OBJECT
public:
    explicit CQtUiServices(QObject* parent = nullptr);
    ~CQtUiServices() override;

    void ShowMessage(const UserMessage& message) override;
    MessageAnswer Ask(const UserMessage& question, MessageButtons buttons, MessageAnswer defaultAnswer) override;
    void Beep() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    std::optional<QString> AskOpenFileName(const FileDialogRequest& request) override;
    std::optional<QString> AskSaveFileName(const FileDialogRequest& request) override;
    std::vector<QString> AskOpenFileNames(const FileDialogRequest& request) override;
    bool EditQrText(std::string& text) override;

    std::vector<ClipboardFormat> ClipboardFormats() override;
    std::optional<std::string> ClipboardText(int codePage = codepage::kAnsi) override;
    std::optional<QImage> ClipboardImage() override;
    std::optional<std::string> ClipboardMetafile() override;
    bool SetClipboardText(const std::string& bytes, int codePage = codepage::kAnsi) override;
    bool SetClipboardImage(const QImage& image, const std::string& bmpFile) override;
    bool SetClipboardMetafile(const std::string& wmfFile) override;
    bool SetClipboardObjectsMarker() override;

    DropEffect DragText(const std::string& bytes, int codePage, bool allowMove) override;
    bool OpenWithShell(const QString& path) override;
    // Whether the desktop has a program set up for the file's type.
    static bool HasDesktopHandler(const QString& path);
    bool SendMail(const QString& attachment) override;

    COLORREF SystemColor(SystemColour which) override;
    int SystemMetric(SystemMetricId which) override;
    QFont MessageFont() override;

    // How often the system clipboard itself was read (tests check that
    // asking for the formats does not).
    int LiveClipboardQueries() const { return m_liveQueries; }

    // The program and arguments that start a mail with `attachment`.
    static QStringList MailCommand(const QString& attachment);

private:
    const QMimeData* liveClipboard();
    void refreshFormats();
    bool putOnClipboard(QMimeData* mime);
    static QWidget* dialogParent();

    std::vector<ClipboardFormat> m_formats;
    // The objects marker this process put on the clipboard. The marker
    // announces objects of this process only while the clipboard still
    // holds exactly that offer; any other offer of the format (another
    // instance's) is not ours to paste.
    QPointer<QMimeData> m_ownMarker;
    int m_liveQueries = 0;
    int m_waitDepth = 0;
};
