#include "shell/application/app.h"

#include "document/frame/document.h"
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/paths.h"
#include "platform/uiservices.h"
#include "shell/aboutdlg.h"
#include "shell/application/datafolders.h"
#include "shell/design/designview.h"
#include "shell/document/documentcommands.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/mainframetableviewhost.h"
#include "shell/selectlabel/selectlabeldialog.h"
#include "shell/templateguide/templateguidedlg.h"
#include "shell/views/mainview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QTimer>

// Projects for File New and File Open.
class CProjectDocTemplate : public CDocTemplate {
public:
    explicit CProjectDocTemplate(const QString* labelsFolder) : m_labelsFolder(labelsFolder) {}
    std::unique_ptr<CDocument> CreateDocument() const override
    {
        auto doc = std::make_unique<CVorteplanSoftLabelDoc>();
        doc->SetLabelsFolder(QFile::encodeName(*m_labelsFolder).toStdString());
        return doc;
    }

private:
    const QString* m_labelsFolder;
};

namespace {

CVorteplanSoftLabelApp*& instance()
{
    static CVorteplanSoftLabelApp* app = nullptr;
    return app;
}

// One name for a file however its path is spelt (links, "..", relative):
// the canonical path, or the cleaned absolute path of a file that is gone.
QString sameFileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString localeNameFromEnvironment()
{
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

} // namespace

CVorteplanSoftLabelApp::CVorteplanSoftLabelApp() : m_contextMenus(m_router)
{
    instance() = this;
    SetCurrentNumberLocale(NumberLocaleFromEnvironment());
    m_template = std::make_unique<CProjectDocTemplate>(&m_labelsFolder);
    m_router.SetApplicationTarget(this);
    registerCommands();
}

CVorteplanSoftLabelApp::~CVorteplanSoftLabelApp()
{
    closeSplash();
    m_frame.reset();
    m_router.SetApplicationTarget(nullptr);
    if (instance() == this)
        instance() = nullptr;
}

CVorteplanSoftLabelApp* CVorteplanSoftLabelApp::Instance()
{
    return instance();
}

NumberLocale CVorteplanSoftLabelApp::NumberLocaleFromEnvironment()
{
    QString name = localeNameFromEnvironment();
    // "de_DE.UTF-8@euro" -> "de_DE"
    name = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return NumberLocale{};
    return NumberLocaleFrom(QLocale(name));
}

void CVorteplanSoftLabelApp::registerCommands()
{
    OnCommand(cmd::kFileNew, [this] { NewDocument(); });
    OnCommand(cmd::kFileOpen, [this] { OpenDocumentFile(QString()); });
    OnCommandRange(
        cmd::kFileMruFirst, cmd::kFileMruLast,
        [this](int id) {
            const int index = id - cmd::kFileMruFirst;
            if (index >= m_recent.Paths().size())
                return;
            const QString path = m_recent.Paths()[index];
            if (!OpenDocumentFile(path)) {
                m_recent.Load();
                m_recent.Remove(int(m_recent.Paths().indexOf(path)));
                m_recent.Save();
                if (m_frame)
                    m_frame->Ribbon()->SetRecentFiles(m_recent.Paths());
            }
        },
        [this](CCmdUI& ui) { ui.Enable(ui.GetID() - cmd::kFileMruFirst < m_recent.Paths().size()); });
    OnCommand(cmd::kAppAbout, [this] { OnAppAbout(); });
    OnCommand(cmd::kHelp, [this] { OnHelp(); });
    OnCommand(cmd::kAppExit, [this] {
        if (m_frame)
            m_frame->close();
    });
}

bool CVorteplanSoftLabelApp::InitInstance(const QStringList& arguments, const Options& options)
{
    InitDataFolders();
    m_recent.Load();
    m_contextMenus.RegisterProgramMenus();

    m_frame = std::make_unique<CMainFrame>(m_router);
    m_tableHost = std::make_unique<CMainFrameTableViewHost>(*m_frame, m_router, m_contextMenus);
    if (!m_frame->Create()) {
        m_frame.reset();
        return false;
    }
    m_frame->Ribbon()->SetRecentFiles(m_recent.Paths());
    connect(m_frame.get(), &CMainFrame::filesDropped, this, [this](const QStringList& paths) {
        for (const QString& path : paths)
            OpenDocumentFile(path);
    });

    // The command line: a project path opens it; Qt has taken its own
    // options already. Without a path a new project.
    QString path;
    for (const QString& argument : arguments)
        if (!argument.startsWith(QLatin1Char('-'))) {
            path = argument;
            break;
        }
    if (!(path.isEmpty() ? NewDocument() : OpenDocumentFile(path)))
        return false;

    if (options.showWindow)
        m_frame->ShowWithStoredState();
    if (options.showSplash)
        showSplash(options.splashMilliseconds);

    CopyDefaultFilesToUser();
    m_labelsFolder = GetLabelsFolder();
    m_labelImagesFolder = GetLabelImagesFolder();
    m_labelInfoFolder = GetLabelInfoFolder();
    for (CChildFrame* child : m_frame->GetChildren())
        child->Document().SetLabelsFolder(QFile::encodeName(m_labelsFolder).toStdString());
    LoadCatalogue();
    FillFamilyCombo();
    return true;
}

void CVorteplanSoftLabelApp::InitDataFolders()
{
    // The all-users folder is the first one that holds the product folder
    // (the installed data first); the per-user folder is created.
    const QStringList candidates = datafolders::AllUsersDataFolders();
    m_allUsersFolder = candidates.front();
    for (const QString& candidate : candidates)
        if (QFileInfo(datafolders::ProductFolder(candidate)).isDir()) {
            m_allUsersFolder = candidate;
            break;
        }
    m_userFolder = datafolders::UserDataFolder();
    QDir().mkpath(datafolders::ProductFolder(m_userFolder)); // errors are ignored
    m_labelsFolder = GetLabelsFolder();
    paths::SetClipartFolder(GetClipartFolder());
}

QString CVorteplanSoftLabelApp::GetLabelsFolder(const QString& base) const
{
    return datafolders::SubFolder(base.isEmpty() ? m_userFolder : base, datafolders::kLabels);
}

QString CVorteplanSoftLabelApp::GetLabelImagesFolder(const QString& base) const
{
    return datafolders::SubFolder(base.isEmpty() ? m_userFolder : base, datafolders::kLabelImages);
}

QString CVorteplanSoftLabelApp::GetLabelInfoFolder(const QString& base) const
{
    return datafolders::SubFolder(base.isEmpty() ? m_userFolder : base, datafolders::kLabelInfo);
}

QString CVorteplanSoftLabelApp::GetClipartFolder()
{
    return datafolders::ProductFolder(datafolders::InstalledDataFolder()) + QStringLiteral("Clipart");
}

void CVorteplanSoftLabelApp::CopyDefaultFilesToUser()
{
    for (const char* folder : {datafolders::kLabels, datafolders::kLabelImages, datafolders::kLabelInfo})
        datafolders::CopyFolderFiles(datafolders::SubFolder(m_allUsersFolder, folder),
                                     datafolders::SubFolder(m_userFolder, folder));
}

void CVorteplanSoftLabelApp::LoadCatalogue()
{
    m_catalogue.SetFolder(GetLabelsFolder());
    m_catalogue.LoadFolder();
    m_catalogue.CollectFamilies();
    m_catalogue.SortFamilies();
}

void CVorteplanSoftLabelApp::FillFamilyCombo()
{
    if (!m_frame)
        return;
    QStringList names;
    for (int i = 0; i < m_catalogue.GetFamilyCount(); ++i) {
        const std::string name = m_catalogue.GetFamilyName(i);
        if (!name.empty())
            names << codepage::ToUnicode(name);
    }
    m_frame->Ribbon()->SetComboItems(cmd::kFamilyBox, names);
}

CChildFrame* CVorteplanSoftLabelApp::addChild(std::unique_ptr<CDocument> document)
{
    auto* project = dynamic_cast<CVorteplanSoftLabelDoc*>(document.get());
    if (!project || !m_frame)
        return nullptr;
    document.release();
    auto* child = new CChildFrame(std::unique_ptr<CVorteplanSoftLabelDoc>(project));
    connect(child, &CChildFrame::documentSaved, this, &CVorteplanSoftLabelApp::rememberRecent);
    CProjectViewContext views;
    views.document = project;
    views.router = &m_router;
    views.ribbon = m_frame->Ribbon();
    views.menus = &m_contextMenus;
    // A view that goes stops being the active one.
    auto watch = std::make_shared<QMetaObject::Connection>();
    views.activate = [child, watch](CCmdTarget* view) {
        QObject::disconnect(*watch);
        child->SetActiveView(view);
        if (auto* object = dynamic_cast<QObject*>(view))
            *watch = QObject::connect(object, &QObject::destroyed, child, [child, view] {
                if (child->GetActiveView() == view)
                    child->SetActiveView(nullptr);
            });
    };
    views.createCanvas = [this, project](QWidget* parent) -> QWidget* {
        return new Vorteplan_SoftLabelDesignView(project, DesignViewLinks{m_frame->Ribbon(), &m_contextMenus}, parent);
    };
    views.deactivate = [child](CCmdTarget* view) {
        if (child->GetActiveView() == view)
            child->SetActiveView(nullptr);
    };
    views.tableHost = m_tableHost.get();
    views.canvasArea = [](QWidget* canvas) {
        const auto* design = qobject_cast<Vorteplan_SoftLabelDesignView*>(canvas);
        return design ? design->GetArea() : 0;
    };
    child->SetProjectView(new CVorteplanSoftMainView(views));
    DocumentCommandLinks commands;
    commands.parent = m_frame.get();
    commands.labelsFolder = [this] { return GetLabelsFolder(); };
    commands.imagesFolder = [this] { return GetLabelImagesFolder(); };
    commands.infoFolder = [this] { return GetLabelInfoFolder(); };
    commands.postCommand = [this](int id) {
        QMetaObject::invokeMethod(this, [this, id] { m_router.Route(id); }, Qt::QueuedConnection);
    };
    commands.defaultPaneText = [] { return StatusPaneText(); };
    commands.selectLabel = [this](CVorteplanSoftLabelDoc&) { return CSelectLabelDialog::Choose(m_frame.get()); };
    commands.runGuide = [this](CVorteplanSoftLabelDoc& doc) { CTemplateGuideDlg::Run(doc, 0, m_frame.get()); };
    CDocumentCommands::Register(child->DocumentTarget(), *project, std::move(commands));
    m_frame->AddChild(child);
    return child;
}

CChildFrame* CVorteplanSoftLabelApp::NewDocument()
{
    return addChild(m_template->NewDocument());
}

CChildFrame* CVorteplanSoftLabelApp::OpenDocumentFile(const QString& path)
{
    if (!m_frame)
        return nullptr;
    QString chosen = path;
    if (chosen.isEmpty()) {
        const std::optional<QString> asked = m_template->AskOpenFileName();
        if (!asked)
            return nullptr;
        chosen = *asked;
    }
    if (CChildFrame* open = findOpenChild(chosen)) {
        m_frame->MdiArea()->setActiveSubWindow(open);
        return open;
    }
    std::unique_ptr<CDocument> document = m_template->OpenDocument(chosen);
    if (!document)
        return nullptr;
    const QString opened = document->GetPathName();
    CChildFrame* child = addChild(std::move(document));
    if (child && !opened.isEmpty())
        rememberRecent(opened);
    return child;
}

CChildFrame* CVorteplanSoftLabelApp::findOpenChild(const QString& path) const
{
    const QString wanted = sameFileKey(path);
    for (CChildFrame* child : m_frame->GetChildren()) {
        const QString shown = child->Document().GetFileShown();
        if (!shown.isEmpty() && sameFileKey(shown) == wanted)
            return child;
    }
    return nullptr;
}

void CVorteplanSoftLabelApp::rememberRecent(const QString& path)
{
    m_recent.Load(); // another instance may have changed it
    m_recent.Add(path);
    m_recent.Save();
    if (m_frame)
        m_frame->Ribbon()->SetRecentFiles(m_recent.Paths());
}

void CVorteplanSoftLabelApp::showSplash(int milliseconds)
{
    auto* splash = new CAboutDlg(true, m_frame.get());
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->adjustSize();
    const QRect main = m_frame->geometry();
    splash->move(main.left() + (main.width() - splash->width()) / 2,
                 main.top() + (main.height() - splash->height()) / 2);
    splash->show();
    splash->repaint();
    m_splash = splash;
    // Shown for a while; the window stays responsive meanwhile.
    QTimer::singleShot(milliseconds, this, &CVorteplanSoftLabelApp::closeSplash);
}

void CVorteplanSoftLabelApp::closeSplash()
{
    if (m_splash) {
        m_splash->close();
        m_splash = nullptr;
        emit splashClosed();
    }
}

void CVorteplanSoftLabelApp::OnAppAbout()
{
    CAboutDlg about(false, m_frame.get());
    about.exec();
}

std::string CVorteplanSoftLabelApp::CannotOpenDocumentationText(const QString& file)
{
    return "No program is set up to open the documentation. It is the file\n" +
           QFile::encodeName(QDir::toNativeSeparators(file)).toStdString();
}

QString CVorteplanSoftLabelApp::HelpFile()
{
    for (const QString& base : datafolders::AllUsersDataFolders()) {
        const QString file = base + QStringLiteral("/doc/vorteplan-softlabel/README.md");
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

void CVorteplanSoftLabelApp::OnHelp()
{
    const QString file = HelpFile();
    if (file.isEmpty()) {
        ShowUserMessage("The documentation of the program is not installed.", "", MessageIcon::Warning);
        return;
    }
    if (!Ui().OpenWithShell(file))
        ShowUserMessage(CannotOpenDocumentationText(file), "", MessageIcon::Warning);
}
