// The main window with the example open at common screen sizes and both
// decimal separators: every ribbon panel is reachable (shown or collapsed
// to a button, never scrolled), no text of a label, check box, button, box
// or menu heading is clipped, and screenshots are kept when VSL_SCREENSHOT
// names a folder.
#include "story_steps.h"

#include "content/objects/collection.h"
#include "document/project/projectdoc.h"
#include "document/template/template.h"
#include "platform/numberformat.h"
#include "platform/recordingui.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/frame/ribbonpage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>

namespace story {
namespace {

struct Screen {
    int width, height;
    char separator;
};

class RibbonFitTest : public StorySteps, public ::testing::WithParamInterface<Screen> {
protected:
    void SetUp() override
    {
        StorySteps::SetUp();
        previousUi = SetUi(&ui);
        SetCurrentNumberLocale({GetParam().separator});
        app = std::make_unique<CVorteplanSoftLabelApp>();
        CVorteplanSoftLabelApp::Options options;
        options.showSplash = false;
        options.showWindow = false;
        ASSERT_TRUE(app->InitInstance({QStringLiteral(VSL_EXAMPLE_PROJECT)}, options));
        frame = app->MainFrame();
        frame->resize(GetParam().width, GetParam().height);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        // The boxes show the selection while the canvas has the focus. The
        // QR code selected and placed off the millimetre grid, so the
        // position boxes show long lengths ("50.333 mm").
        activateCanvas(activeChild());
        CVorteplanSoftLabelDoc& doc = activeChild()->Document();
        doc.DeselectAll(0);
        CGraphObject* qr = doc.GetCurrentTemplate().GetArea(0)->GetAt(4);
        qr->SetSelected(true);
        qr->SetX(50333);
        qr->SetY(3667);
        frame->UpdateCommandUI();
    }
    void TearDown() override
    {
        SetCurrentNumberLocale({'.'});
        StorySteps::TearDown();
    }

    // What does not fit in `widget`, or an empty string.
    static std::string clipped(const QWidget* widget)
    {
        const QFontMetrics metrics = widget->fontMetrics();
        auto over = [&](const QString& text, int room) {
            const int need = metrics.horizontalAdvance(text);
            return need > room ? text.toStdString() + " needs " + std::to_string(need) + " of " +
                                     std::to_string(room)
                               : std::string();
        };
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            return over(label->text(), label->contentsRect().width());
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            const QMargins m = edit->textMargins();
            const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            return over(edit->text(), edit->width() - 2 * frame - m.left() - m.right() - 4);
        }
        if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
            const int indicator = box->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                                  box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            return over(box->text(), box->width() - indicator);
        }
        if (const auto* button = qobject_cast<const QToolButton*>(widget))
            if (button->toolButtonStyle() != Qt::ToolButtonIconOnly && !button->text().isEmpty())
                return button->width() < button->sizeHint().width()
                           ? button->text().toStdString() + " narrower than its text"
                           : std::string();
        return {};
    }

    CRecordingUi ui;
    CMainFrame* frame = nullptr;
};

TEST_P(RibbonFitTest, EveryPanelIsReachableAndNoTextIsClipped)
{
    CRibbonBar* ribbon = frame->Ribbon();
    const QString name = QStringLiteral("%1x%2%3").arg(GetParam().width).arg(GetParam().height).arg(
        GetParam().separator == ',' ? QStringLiteral("-comma") : QString());
    const QString shots = qEnvironmentVariable("VSL_SCREENSHOT");
    for (int c = 0; c < ribbon->GetCategoryCount(); ++c) {
        ribbon->SetActiveCategory(c);
        QApplication::processEvents();
        frame->UpdateCommandUI();
        auto* page = ribbon->findChild<QStackedWidget*>(QStringLiteral("ribbonPages"))->currentWidget();
        auto* panels = qobject_cast<CRibbonPage*>(page);
        ASSERT_NE(panels, nullptr);
        const QString category = ribbon->GetCategoryName(c);
        for (int p = 0; p < panels->PanelCount(); ++p) {
            QWidget* shown = panels->IsCollapsed(p) ? static_cast<QWidget*>(panels->CollapsedButton(p))
                                                    : static_cast<QWidget*>(panels->Panel(p));
            const QRect at(shown->mapTo(page, QPoint()), shown->size());
            EXPECT_TRUE(page->rect().contains(at))
                << category.toStdString() << " panel " << p << " lies outside the page";
            // A wide screen shows every panel whole.
            if (GetParam().width >= 1600) {
                EXPECT_FALSE(panels->IsCollapsed(p)) << category.toStdString() << " panel " << p;
            }
            if (panels->IsCollapsed(p)) {
                panels->ShowCollapsedPanel(p); // its controls, shown below the button
                QApplication::processEvents();
            }
            for (const QWidget* child : panels->Panel(p)->findChildren<QWidget*>()) {
                if (child->isVisible()) {
                    EXPECT_EQ(clipped(child), "") << category.toStdString();
                }
            }
            if (panels->IsCollapsed(p))
                panels->Panel(p)->window()->hide();
        }
        if (!shots.isEmpty() && QDir().mkpath(shots))
            frame->grab().save(QDir(shots).filePath(QStringLiteral("main-%1-%2.png").arg(name).arg(c)));
    }
    // Menu headings: the widest heading fits its menu.
    for (QMenu* menu : ribbon->ApplicationMenu()->findChildren<QMenu*>())
        for (const QAction* action : menu->actions())
            if (action->isSeparator() && !action->text().isEmpty()) {
                QFont bold = menu->font();
                const int need = QFontMetrics(bold).horizontalAdvance(action->text()) +
                                 2 * menu->style()->pixelMetric(QStyle::PM_MenuHMargin, nullptr, menu);
                EXPECT_GE(menu->sizeHint().width(), need) << action->text().toStdString();
            }
}

INSTANTIATE_TEST_SUITE_P(Screens, RibbonFitTest,
                         ::testing::Values(Screen{1366, 768, '.'}, Screen{1366, 768, ','},
                                           Screen{1920, 1080, '.'}, Screen{1920, 1080, ','}));

} // namespace
} // namespace story
