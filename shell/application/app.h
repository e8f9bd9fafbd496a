#pragma once
// The application: start-up in the order the program has always had
// (data folders, settings, main frame, command line, splash, first-run
// copy of the shipped label files, label catalogue, family list), the
// folders the rest of the program uses, the context menus, the File
// commands that create and open projects, About and Help. It is the last
// link of the command route.
//
// There are no sockets, no OLE and no shell registration here: the file
// type comes from the installed .desktop and shared-mime-info files, and a
// second start opens its file in a window of its own.
#include "document/catalogue/labelmanager.h"
#include "platform/numberformat.h"
#include "shell/aboutdlg.h"
#include "shell/application/contextmenus.h"
#include "shell/application/recentfiles.h"
#include "shell/frame/commandrouter.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class CChildFrame;
class CMainFrame;
class CProjectDocTemplate;

class CVorteplanSoftLabelApp : public QObject, public CCmdTarget {
    Q_OBJECT
public:
    struct Options {
        bool showSplash = true;
        int splashMilliseconds = 1000;
        bool showWindow = true;
    };

    // Sets the number format of the whole program from the user's locale.
    CVorteplanSoftLabelApp();
    ~CVorteplanSoftLabelApp() override;
    CVorteplanSoftLabelApp(const CVorteplanSoftLabelApp&) = delete;
    CVorteplanSoftLabelApp& operator=(const CVorteplanSoftLabelApp&) = delete;

    // The application object (null when none exists).
    static CVorteplanSoftLabelApp* Instance();

    // Start-up. `arguments` without the program name: a project path opens
    // it, none creates a new project. False when the program must end.
    bool InitInstance(const QStringList& arguments, const Options& options);
    bool InitInstance(const QStringList& arguments) { return InitInstance(arguments, Options()); }

    // The decimal separator of LC_ALL, else LC_NUMERIC, else LANG.
    static NumberLocale NumberLocaleFromEnvironment();

    // --- folders (see datafolders.h); a null base means the per-user one.
    const QString& GetAllUsersDataFolder() const { return m_allUsersFolder; }
    const QString& GetUserDataFolder() const { return m_userFolder; }
    QString GetLabelsFolder(const QString& base = {}) const;
    QString GetLabelImagesFolder(const QString& base = {}) const;
    QString GetLabelInfoFolder(const QString& base = {}) const;
    // "<installed data>/Vorteplan/Vorteplan Software V11.0/Clipart".
    static QString GetClipartFolder();

    // --- start-up steps, public for tests.
    void InitDataFolders();
    void CopyDefaultFilesToUser();
    void LoadCatalogue();
    void FillFamilyCombo();

    // --- parts
    CMainFrame* MainFrame() const { return m_frame.get(); }
    CLabelManager& Catalogue() { return m_catalogue; }
    CCommandRouter& Router() { return m_router; }
    CContextMenuManager& ContextMenus() { return m_contextMenus; }
    CRecentFileList& RecentFiles() { return m_recent; }
    CAboutDlg* Splash() const { return m_splash; }

    // --- projects
    // A new project in a tab of its own; null when it could not be made.
    CChildFrame* NewDocument();
    // Opens a project (an empty path asks for one); a file that is open
    // already has its window activated instead. Null when the file could
    // not be opened (the user has been told) or the user cancelled.
    CChildFrame* OpenDocumentFile(const QString& path);

    // --- commands
    void OnAppAbout();
    void OnHelp();
    // The installed documentation (empty when none is installed).
    static QString HelpFile();
    // The message when no program opens the documentation `file`.
    static std::string CannotOpenDocumentationText(const QString& file);

signals:
    void splashClosed();

private:
    void registerCommands();
    void showSplash(int milliseconds);
    void closeSplash();
    CChildFrame* addChild(std::unique_ptr<class CDocument> document);
    // The window that shows the file `path` names; null when none does.
    CChildFrame* findOpenChild(const QString& path) const;
    void rememberRecent(const QString& path);

    CLabelManager m_catalogue;
    CCommandRouter m_router;
    CContextMenuManager m_contextMenus;
    CRecentFileList m_recent;
    std::unique_ptr<CProjectDocTemplate> m_template;
    std::unique_ptr<CMainFrame> m_frame;
    // What the table views of every project ask of the main frame.
    std::unique_ptr<class CMainFrameTableViewHost> m_tableHost;
    QPointer<CAboutDlg> m_splash;
    QString m_allUsersFolder;
    QString m_userFolder;
    QString m_labelsFolder;
    QString m_labelImagesFolder;
    QString m_labelInfoFolder;
};
