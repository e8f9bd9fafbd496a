// The label view: the canvas between its rulers, rulers following the
// canvas's mouse, scrolling and zoom, the corner square, and the QR text
// dialog.
#include "platform/commandids.h"
#include "shell/views/edittext4qrcodedlg.h"
#include "shell/views/labelview.h"

#include "support/widgettest.h"
#include "content/objects/shapes.h"
#include "shell/design/designview.h"
#include "platform/codepage.h"
#include "shell/frame/commandrouter.h"
#include "shell/rulerhorwnd.h"
#include "shell/rulerverwnd.h"
#include "views_test_support.h"

#include <QAbstractScrollArea>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>

namespace {

// Stands in for the design canvas: the same notifications.
class FakeCanvas : public QAbstractScrollArea, public CCmdTarget {
    Q_OBJECT
public:
    using QAbstractScrollArea::QAbstractScrollArea;
signals:
    void mouseMovedOnCanvas(QPoint clientPoint, Qt::KeyboardModifiers modifiers);
    void scrolled(int dx, int dy);
    void zoomed(int percent);
};

class LabelViewTest : public viewtest::ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        CProjectViewContext context;
        context.document = doc.get();
        context.createCanvas = [this](QWidget* parent) { return canvas = new FakeCanvas(parent); };
        context.activate = [this](CCmdTarget* view) { activated = view; };
        view = std::make_unique<CVorteplanSoftLabelView>(context);
        view->resize(600, 400);
        ASSERT_TRUE(widgettest::ShowAndWait(view.get()));
    }
    void TearDown() override
    {
        view.reset();
        ViewTest::TearDown();
    }

    FakeCanvas* canvas = nullptr;
    CCmdTarget* activated = nullptr;
    std::unique_ptr<CVorteplanSoftLabelView> view;
};

TEST_F(LabelViewTest, CanvasSitsBetweenTheRulersOrFillsTheView)
{
    EXPECT_EQ(view->GetDesignView(), canvas);
    EXPECT_EQ(canvas->geometry(), QRect(23, 23, 577, 377));
    EXPECT_EQ(view->HorizontalRuler()->geometry(), QRect(23, 0, 577, 23));
    EXPECT_EQ(view->VerticalRuler()->geometry(), QRect(0, 23, 23, 377));
    EXPECT_EQ(view->focusProxy(), canvas);
    ASSERT_TRUE(canvas->OnCmdMsg(cmd::kShowRulers));
    EXPECT_EQ(canvas->geometry(), QRect(0, 0, 600, 400));
    EXPECT_FALSE(view->HorizontalRuler()->isVisible());
    view->ToggleRulers();
    EXPECT_EQ(canvas->geometry(), QRect(23, 23, 577, 377));
    EXPECT_TRUE(view->VerticalRuler()->isVisible());
}

TEST_F(LabelViewTest, RulersFollowTheCanvas)
{
    emit canvas->mouseMovedOnCanvas(QPoint(120, 45), Qt::NoModifier);
    EXPECT_EQ(view->HorizontalRuler()->GetMarkerPosition(), 120);
    EXPECT_EQ(view->VerticalRuler()->GetMarkerPosition(), 45);

    emit canvas->scrolled(0, 40);
    EXPECT_EQ(view->VerticalRuler()->GetScrollOffset(), 40);
    EXPECT_EQ(view->HorizontalRuler()->GetScrollOffset(), 0);
    emit canvas->scrolled(-5, 0);
    EXPECT_EQ(view->HorizontalRuler()->GetScrollOffset(), -5);

    canvas->horizontalScrollBar()->setRange(0, 1000);
    canvas->verticalScrollBar()->setRange(0, 1000);
    canvas->horizontalScrollBar()->setValue(70);
    canvas->verticalScrollBar()->setValue(120);
    emit canvas->zoomed(200);
    EXPECT_EQ(view->HorizontalRuler()->GetZoom(), 200);
    EXPECT_EQ(view->VerticalRuler()->GetZoom(), 200);
    EXPECT_EQ(view->HorizontalRuler()->GetScrollOffset(), 70);
    EXPECT_EQ(view->VerticalRuler()->GetScrollOffset(), 120);
}

TEST_F(LabelViewTest, CornerSquareSelectsAllThenNone)
{
    for (int i = 0; i < 2; ++i) {
        auto r = std::make_unique<CGraphRect>();
        r->SetWidth(1000);
        r->SetHeight(1000);
        doc->GetCurrentTemplate().GetArea(0)->AddTail(std::move(r));
    }
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(doc->GetSelectedCount(0), 2);
    EXPECT_EQ(activated, canvas);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(doc->GetSelectedCount(0), 0);
}

TEST_F(LabelViewTest, TheCanvasBecomesTheActiveViewWithTheFocus)
{
    canvas->clearFocus();
    activated = nullptr;
    view->setFocus();
    EXPECT_EQ(activated, canvas);
}

// The same with the design canvas itself.
class DesignLabelViewTest : public viewtest::ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        auto label = viewtest::SheetLabel(1, 1);
        label->SetWidth(0, 400000, false);
        label->SetHeight(0, 400000);
        doc->GetCurrentTemplate().SetLabel(std::move(label));
        CProjectViewContext context;
        context.document = doc.get();
        context.createCanvas = [this](QWidget* parent) {
            return design = new Vorteplan_SoftLabelDesignView(doc.get(), {}, parent);
        };
        context.canvasArea = [](QWidget* w) { return static_cast<Vorteplan_SoftLabelDesignView*>(w)->GetArea(); };
        view = std::make_unique<CVorteplanSoftLabelView>(context);
        view->resize(600, 400);
        ASSERT_TRUE(widgettest::ShowAndWait(view.get()));
        design->UpdateScrollSizes();
    }
    void TearDown() override
    {
        view.reset();
        ViewTest::TearDown();
    }
    Vorteplan_SoftLabelDesignView* design = nullptr;
    std::unique_ptr<CVorteplanSoftLabelView> view;
};

TEST_F(DesignLabelViewTest, RulersFollowScrollAndZoom)
{
    ASSERT_GT(design->verticalScrollBar()->maximum(), 100);
    design->verticalScrollBar()->setValue(40);
    EXPECT_EQ(view->VerticalRuler()->GetScrollOffset(), 40);
    EXPECT_EQ(view->HorizontalRuler()->GetScrollOffset(), 0);
    design->horizontalScrollBar()->setValue(25);
    design->SetZoom(200);
    EXPECT_EQ(view->VerticalRuler()->GetZoom(), 200);
    EXPECT_EQ(view->HorizontalRuler()->GetScrollOffset(), design->ScrollPosition().x());
    EXPECT_EQ(view->VerticalRuler()->GetScrollOffset(), design->ScrollPosition().y());
}

TEST_F(DesignLabelViewTest, CornerSquareTogglesTheSelection)
{
    for (int i = 0; i < 3; ++i) {
        auto r = std::make_unique<CGraphRect>();
        r->SetX(5000 * i);
        r->SetWidth(3000);
        r->SetHeight(3000);
        doc->GetCurrentTemplate().GetArea(0)->AddTail(std::move(r));
    }
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(doc->GetSelectedCount(0), 3);
    EXPECT_TRUE(design->hasFocus());
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(doc->GetSelectedCount(0), 0);
}

TEST(QrTextDialog, TypedLinesBecomeCrLfBytes)
{
    CEditText4QRCodeDlg dialog;
    dialog.SetText("old\r\ntext", codepage::kAnsi);
    EXPECT_EQ(dialog.Edit()->toPlainText(), "old\ntext");
    dialog.Edit()->clear();
    QTest::keyClicks(dialog.Edit(), "line1");
    QTest::keyClick(dialog.Edit(), Qt::Key_Return);
    QTest::keyClicks(dialog.Edit(), "line2");
    EXPECT_EQ(dialog.GetText(codepage::kAnsi), "line1\r\nline2");
    // At most 8191 bytes come back.
    dialog.Edit()->setPlainText(QString(9000, u'x'));
    EXPECT_EQ(dialog.GetText(codepage::kAnsi).size(), 8191u);
}

TEST(QrTextDialog, OkWritesAndCancelKeeps)
{
    for (const bool ok : {true, false}) {
        std::string text = "before";
        QTimer::singleShot(0, [ok] {
            auto* dialog = qobject_cast<CEditText4QRCodeDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->Edit()->setPlainText("line1\nline2");
            ok ? dialog->accept() : dialog->reject();
        });
        EXPECT_EQ(CEditText4QRCodeDlg::Run(nullptr, text, codepage::kAnsi), ok);
        EXPECT_EQ(text, ok ? "line1\r\nline2" : "before");
    }
}

} // namespace

#include "test_labelview.moc"
