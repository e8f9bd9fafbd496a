#include "story_fixture.h"

#include "shell/design/designview.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "tables/grid/gridctrl.h"
#include "support/gridtest.h"
#include "tables/view/vorteplansofttableview.h"

#include "support/widgettest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>

namespace story {

ModalHandler::ModalHandler(std::function<void(QWidget*)> act, int count) : m_act(std::move(act)), m_count(count)
{
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last || m_handled >= m_count)
            return;
        m_last = modal;
        if (++m_handled >= m_count)
            m_timer.stop();
        m_act(modal);
    });
    m_timer.start();
}

ModalHandler::~ModalHandler() = default;

void StoryTest::SetUp()
{
    ASSERT_TRUE(root.isValid());
    dataHome = std::make_unique<EnvScope>("XDG_DATA_HOME", QFile::encodeName(path("home/.local/share")));
    configHome = std::make_unique<EnvScope>("XDG_CONFIG_HOME", QFile::encodeName(path("home/.config")));
    dataDirs = std::make_unique<EnvScope>("XDG_DATA_DIRS", QByteArray(VSL_BUILD_SHARE_DIR));
    // Nothing installed beside the program: the stock files come from
    // $XDG_DATA_DIRS.
    datafolders::SetInstalledDataFolder(path("not-installed"));
}

void StoryTest::TearDown()
{
    app.reset();
    QApplication::processEvents();
    SetUi(previousUi);
    datafolders::SetInstalledDataFolder({});
}

void StoryTest::start(CUiServices& ui, const QStringList& arguments, QSize window)
{
    previousUi = SetUi(&ui);
    app = std::make_unique<CVorteplanSoftLabelApp>();
    CVorteplanSoftLabelApp::Options options;
    options.showSplash = false;
    options.showWindow = !window.isEmpty();
    ASSERT_TRUE(app->InitInstance(arguments, options));
    if (window.isEmpty())
        return;
    CMainFrame* frame = app->MainFrame();
    frame->resize(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
}

QString StoryTest::dataFile(const char* name)
{
    return QStringLiteral(VSL_SOURCE_DIR "/tests/app/data/") + QLatin1String(name);
}

QString StoryTest::userLabels() const
{
    return datafolders::SubFolder(path("home/.local/share"), datafolders::kLabels);
}

bool StoryTest::command(int id)
{
    const bool ran = app->Router().Execute(id);
    QApplication::processEvents();
    return ran;
}

bool StoryTest::enabled(int id) const
{
    return app->Router().Update(id).IsEnabled();
}

CChildFrame* StoryTest::activeChild() const
{
    return app->MainFrame()->GetActiveChild();
}

Vorteplan_SoftLabelDesignView* StoryTest::canvas(CChildFrame* child) const
{
    for (auto* view : child->findChildren<Vorteplan_SoftLabelDesignView*>())
        if (view->isVisible() && view->GetArea() == 0)
            return view;
    return nullptr;
}

CVorteplanSoftTableView* StoryTest::tableView(CChildFrame* child) const
{
    for (auto* view : child->findChildren<CVorteplanSoftTableView*>())
        if (view->isVisible())
            return view;
    return nullptr;
}

CGridCtrl* StoryTest::grid(CChildFrame* child) const
{
    CVorteplanSoftTableView* view = tableView(child);
    return view ? view->findChild<CGridCtrl*>() : nullptr;
}

void StoryTest::activateMainWindow()
{
    // A click into a window that is not the active one activates it first
    // (the window manager's doing; there is none under xvfb-run).
    CMainFrame* frame = app->MainFrame();
    if (!frame->isActiveWindow()) {
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    }
}

void StoryTest::activateCanvas(CChildFrame* child)
{
    ASSERT_NO_FATAL_FAILURE(activateMainWindow());
    Vorteplan_SoftLabelDesignView* view = canvas(child);
    ASSERT_NE(view, nullptr);
    // A click beside the label selects nothing and gives the canvas focus.
    const QPoint free(view->viewport()->width() - 5, view->viewport()->height() - 5);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, free);
    QApplication::processEvents();
    ASSERT_EQ(child->GetActiveView(), static_cast<CCmdTarget*>(view));
}

void StoryTest::clickCell(CChildFrame* child, int row, int column)
{
    ASSERT_NO_FATAL_FAILURE(activateMainWindow());
    CGridCtrl* g = grid(child);
    ASSERT_NE(g, nullptr);
    g->EnsureVisible(row, column);
    gridtest::click(*g, row, column);
    QApplication::processEvents();
}

QPoint StoryTest::canvasPoint(Vorteplan_SoftLabelDesignView* view, int32_t xUm, int32_t yUm) const
{
    const int dpi = view->viewport()->logicalDpiX();
    const auto px = [&](int32_t um) { return int((int64_t(um) * dpi * view->GetZoom() / 100 + 12700) / 25400); };
    return QPoint(px(xUm) - view->horizontalScrollBar()->value(), px(yUm) - view->verticalScrollBar()->value());
}

void StoryTest::drawOnCanvas(Vorteplan_SoftLabelDesignView* view, int32_t x, int32_t y, int32_t w, int32_t h)
{
    const QPoint from = canvasPoint(view, x, y);
    const QPoint to = canvasPoint(view, x + w, y + h);
    widgettest::DragSteps(view->viewport(), {from, (from + to) / 2, to});
    QApplication::processEvents();
}

bool HaveTools()
{
    for (const char* tool : {"pdftoppm", "pdftotext", "zbarimg"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace story
