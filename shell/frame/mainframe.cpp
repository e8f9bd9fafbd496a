#include "shell/frame/mainframe.h"

#include "shell/printdriver.h"

#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/editorkeyprecedence.h"
#include "platform/settings.h"
#include "platform/uiservices.h"
#include "shell/frame/childframe.h"
#include "shell/frame/looks.h"
#include "shell/frame/ribbonbar.h"
#include "shell/frame/ribbontable.h"
#include "resources/version.h"
#include "shell/frame/windowsdialog.h"
#include "shell/printdriver.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

// The pane width is measured on this sample.
const char* const kPaneSample = "01234567890123456789012345678901234567890123456789012345678901234567890123456789";

} // namespace

QString StatusPaneText()
{
    return QLatin1String(appversion::kProductName) + QLatin1String(appversion::kVersionSuffix) +
           QStringLiteral("    \u00A9 Vorteplan. All rights reserved.");
}

CMainFrame::CMainFrame(CCommandRouter& router, QWidget* parent) : QMainWindow(parent), m_router(router)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QLatin1String(appversion::kProductName));
    setAcceptDrops(true);
    m_look = settings::GetInt(settings::kWorkspace, settings::kApplicationLook);
    m_office2007Style = cmd::kLookOffice2007Blue;

    m_router.SetFrameTarget(this);
    m_router.SetDocumentProvider([this]() -> CCmdTarget* {
        CChildFrame* child = GetActiveChild();
        return child ? &child->DocumentTarget() : nullptr;
    });
    m_router.SetActiveViewProvider([this]() -> CCmdTarget* {
        CChildFrame* child = GetActiveChild();
        return child ? child->GetActiveView() : nullptr;
    });

    OnCommandRange(
        cmd::kLookFirst, cmd::kLookLast, [this](int id) { OnApplicationLook(id); },
        [this](CCmdUI& ui) { ui.SetRadio(ui.GetID() == m_look); });
    OnCommand(cmd::kWindowDialog, [this] { showWindowDialog(); });
    // Print and Print Setup of the active project's current template; the
    // table view claims Print itself when it is the active view.
    const auto needsProject = [this](CCmdUI& ui) { ui.Enable(GetActiveChild() != nullptr); };
    OnCommand(
        cmd::kFilePrint,
        [this] {
            if (CChildFrame* child = GetActiveChild())
                CPrintDriver::Print(child->Document(), this);
        },
        needsProject);
    OnCommand(
        cmd::kFilePrintSetup,
        [this] {
            if (CChildFrame* child = GetActiveChild())
                CPrintDriver::PrintSetup(child->Document(), this);
        },
        needsProject);
    OnUpdate(cmd::kStatusPane1, [](CCmdUI& ui) { ui.SetText(StatusPaneText()); });
    OnUpdate(cmd::kStatusPane2, [](CCmdUI& ui) { ui.SetText(QString()); });
}

CMainFrame::~CMainFrame()
{
    if (qApp)
        qApp->removeEventFilter(this);
    // The children go after this part of the frame: no more signals here.
    if (m_mdi) {
        m_mdi->removeEventFilter(this);
        m_mdi->disconnect(this);
        // Closed windows that wait for deletion too.
        for (CChildFrame* child : m_mdi->findChildren<CChildFrame*>())
            child->disconnect(this);
    }
    if (m_ribbon)
        m_ribbon->disconnect(this);
    m_router.SetFrameTarget(nullptr);
    m_router.SetDocumentProvider({});
    m_router.SetActiveViewProvider({});
}

bool CMainFrame::Create()
{
    // The stored look, written back by the look command.
    OnApplicationLook(m_look);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("projects"));
    m_mdi->setViewMode(QMdiArea::TabbedView);
    m_mdi->setTabsClosable(true);
    m_mdi->setTabsMovable(true);
    m_mdi->setDocumentMode(true);
    m_mdi->setTabShape(QTabWidget::Rounded);
    setCentralWidget(m_mdi);
    if (QTabBar* tabs = m_mdi->findChild<QTabBar*>()) {
        tabs->setExpanding(false);
        tabs->setElideMode(Qt::ElideRight);
    }
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (auto* child = qobject_cast<CChildFrame*>(window))
            m_current = child;
        updateTabCloseButtons();
        RequestIdleUpdate();
    });
    createDocumentMenu();

    m_ribbon = new CRibbonBar(m_router, this);
    setMenuWidget(m_ribbon);
    connect(m_ribbon, &CRibbonBar::commandSent, this, [this] { RequestIdleUpdate(); });
    const looks::Look look = looks::LookFor(m_look, m_office2007Style);
    m_ribbon->SetColours(look.ribbonTabRow, look.ribbonBackground);

    createStatusBar();
    createAccelerators();
    qApp->installEventFilter(this);
    resize(1100, 760);
    RequestIdleUpdate();
    return m_ribbon && statusBar();
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    const int width = bar->fontMetrics().horizontalAdvance(QLatin1String(kPaneSample));
    m_pane1 = new QLabel(bar);
    m_pane1->setObjectName(QStringLiteral("pane120"));
    m_pane1->setMinimumWidth(width);
    m_pane2 = new QLabel(bar);
    m_pane2->setObjectName(QStringLiteral("pane121"));
    m_pane2->setMinimumWidth(width);
    bar->addWidget(m_pane1);
    bar->addPermanentWidget(m_pane2);
}

void CMainFrame::createAccelerators()
{
    // An open editor (a grid cell, a design text, a box) takes Escape and
    // the editing keys first; the accelerators get the rest.
    CEditorKeyPrecedence::InstallForApplication(this);
    for (const Accelerator& accelerator : AcceleratorTable()) {
        auto* action = new QAction(this);
        action->setShortcut(accelerator.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setData(accelerator.id);
        connect(action, &QAction::triggered, this, [this, id = accelerator.id] {
            m_router.Execute(id);
            RequestIdleUpdate();
        });
        addAction(action);
        m_accelerators.push_back(action);
    }
}

void CMainFrame::createDocumentMenu()
{
    m_documentMenuButton = new QToolButton(m_mdi);
    m_documentMenuButton->setObjectName(QStringLiteral("documentMenu"));
    m_documentMenuButton->setArrowType(Qt::DownArrow);
    m_documentMenuButton->setAutoRaise(true);
    m_documentMenuButton->setPopupMode(QToolButton::InstantPopup);
    m_documentMenuButton->setToolTip(QStringLiteral("Active Files"));
    m_documentMenu = new QMenu(m_documentMenuButton);
    m_documentMenuButton->setMenu(m_documentMenu);
    connect(m_documentMenu, &QMenu::aboutToShow, this, &CMainFrame::fillDocumentMenu);
    m_mdi->installEventFilter(this);
    placeDocumentMenuButton();
}

void CMainFrame::fillDocumentMenu()
{
    m_documentMenu->clear();
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        QAction* action = m_documentMenu->addAction(window->windowTitle());
        action->setCheckable(true);
        action->setChecked(window == m_mdi->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, window] { m_mdi->setActiveSubWindow(window); });
    }
    m_documentMenu->addSeparator();
    QAction* windows = m_documentMenu->addAction(QStringLiteral("&Windows..."));
    windows->setData(cmd::kWindowDialog);
    windows->setEnabled(m_router.Update(cmd::kWindowDialog).IsEnabled());
    connect(windows, &QAction::triggered, this, [this] { m_router.Execute(cmd::kWindowDialog); });
}

void CMainFrame::placeDocumentMenuButton()
{
    if (!m_documentMenuButton)
        return;
    const QTabBar* tabs = m_mdi->findChild<QTabBar*>();
    const int height = tabs && tabs->isVisible() ? tabs->height() : m_documentMenuButton->sizeHint().height();
    m_documentMenuButton->setGeometry(m_mdi->width() - height, 0, height, height);
    m_documentMenuButton->raise();
}

void CMainFrame::updateTabCloseButtons()
{
    QTabBar* tabs = m_mdi->findChild<QTabBar*>();
    if (!tabs)
        return;
    for (int i = 0; i < tabs->count(); ++i)
        for (auto side : {QTabBar::LeftSide, QTabBar::RightSide})
            if (QWidget* button = tabs->tabButton(i, side))
                button->setVisible(i == tabs->currentIndex());
    placeDocumentMenuButton();
}

void CMainFrame::showWindowDialog()
{
    CWindowsDialog dialog(m_mdi, this);
    dialog.exec();
}

QLabel* CMainFrame::StatusPane(int id) const
{
    if (id == cmd::kStatusPane1)
        return m_pane1;
    if (id == cmd::kStatusPane2)
        return m_pane2;
    return nullptr;
}

void CMainFrame::AddChild(CChildFrame* child)
{
    QPixmap none(1, 1);
    none.fill(Qt::transparent);
    child->setWindowIcon(QIcon(none));
    m_mdi->addSubWindow(child);
    // The pass after a project window goes forgets its values.
    connect(child, &QObject::destroyed, this, [this] { RequestIdleUpdate(); });
    // What a box shows is taken before the window asks about its changes.
    connect(child, &CChildFrame::closing, this, [this] { m_router.ApplyPendingInput(); });
    child->showMaximized();
    m_current = child;
    m_mdi->setActiveSubWindow(child);
    updateTabCloseButtons();
    RequestIdleUpdate();
}

CChildFrame* CMainFrame::GetActiveChild() const
{
    // The current window also while another program has the focus or
    // before the frame is shown.
    if (!m_mdi)
        return nullptr;
    if (auto* child = qobject_cast<CChildFrame*>(m_mdi->currentSubWindow()))
        return child;
    return m_current;
}

std::vector<CChildFrame*> CMainFrame::GetChildren() const
{
    std::vector<CChildFrame*> out;
    if (m_mdi)
        for (QMdiSubWindow* window : m_mdi->subWindowList())
            if (auto* child = qobject_cast<CChildFrame*>(window))
                out.push_back(child);
    return out;
}

void CMainFrame::OnApplicationLook(int look)
{
    CWaitCursor wait;
    m_look = look;
    m_office2007Style = looks::ApplyLook(look, m_office2007Style);
    if (m_ribbon) {
        const looks::Look colours = looks::LookFor(look, m_office2007Style);
        m_ribbon->SetColours(colours.ribbonTabRow, colours.ribbonBackground);
    }
    update();
    settings::WriteInt(settings::kWorkspace, settings::kApplicationLook, look);
}

void CMainFrame::UpdateCommandUI()
{
    m_idlePending = false;
    ++m_idlePasses;
    // Boxes show the values of the active project window's views: another
    // window, or none, starts from empty boxes rather than keep those of a
    // window that went or is in the background.
    CChildFrame* active = GetActiveChild();
    if (m_ribbon && m_valuesShown && (m_valuesOf.isNull() || m_valuesOf != active))
        m_ribbon->ClearValues();
    m_valuesOf = active;
    m_valuesShown = active != nullptr;
    if (m_ribbon)
        m_ribbon->UpdateCommandUI();
    for (QLabel* pane : {m_pane1, m_pane2}) {
        if (!pane)
            continue;
        const CCmdUI state = m_router.Update(pane == m_pane1 ? cmd::kStatusPane1 : cmd::kStatusPane2);
        const QString text = state.GetText().value_or(QString());
        if (pane->text() != text)
            pane->setText(text);
    }
    for (CChildFrame* child : GetChildren())
        child->UpdateTitle();
    updateWindowTitle();
}

void CMainFrame::updateWindowTitle()
{
    // "<project>[*] - <program>", the mark shown while the project has
    // unsaved changes, as multi-document frames do.
    const QString product = QLatin1String(appversion::kProductName);
    CChildFrame* child = GetActiveChild();
    const QString title = child ? child->windowTitle() + QStringLiteral("[*] - ") + product : product;
    if (windowTitle() != title)
        setWindowTitle(title);
    const bool modified = child && child->Document().IsModified();
    if (isWindowModified() != modified)
        setWindowModified(modified);
}

void CMainFrame::RequestIdleUpdate()
{
    if (m_idlePending)
        return;
    m_idlePending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_idlePending)
            UpdateCommandUI();
    });
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mdi && event->type() == QEvent::Resize)
        placeDocumentMenuButton();
    if (watched == m_mdi && event->type() == QEvent::Show && m_current && !m_mdi->currentSubWindow())
        m_mdi->setActiveSubWindow(m_current);
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
        RequestIdleUpdate();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime && mime->hasUrls())
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
    event->ignore();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList paths;
    if (const QMimeData* mime = event->mimeData())
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    emit filesDropped(paths);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // What a box shows counts as given before anything is asked.
    m_router.ApplyPendingInput();
    // File > Exit comes here too.
    if (!closeProjects()) {
        event->ignore();
        return;
    }
    SaveWindowState();
    QMainWindow::closeEvent(event);
}

bool CMainFrame::closeProjects()
{
    // Every project is asked about before any window closes, and a Yes
    // saves at once: Cancel, or a save that failed, leaves every project
    // open as it was, also those whose questions came before.
    const std::vector<CChildFrame*> children = GetChildren();
    for (CChildFrame* child : children)
        if (!child->Document().SaveModified())
            return false;
    for (CChildFrame* child : children)
        if (!child->CloseAnswered())
            return false;
    return true;
}

void CMainFrame::SaveWindowState() const
{
    settings::WriteText(settings::kWorkspace, kWindowStateKey, saveGeometry().toHex().toStdString());
}

void CMainFrame::ShowWithStoredState()
{
    // The size, place and maximised state of the last session; the first
    // start fills the screen.
    const std::string stored = settings::GetText(settings::kWorkspace, kWindowStateKey);
    if (!stored.empty() && restoreGeometry(QByteArray::fromHex(QByteArray::fromStdString(stored)))) {
        show();
        return;
    }
    showMaximized();
    // The maximised geometry now, so that what is centred on the window
    // (the splash) lands where the window is.
    QCoreApplication::sendPostedEvents(this);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
