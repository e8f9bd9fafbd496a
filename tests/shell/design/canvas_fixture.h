#pragma once
// A design canvas over a fresh project document with a 100 x 50 mm label
// definition, shown on the offscreen platform at 96 dpi, with recording
// user-interface services and a settings store of its own; CommandTest adds
// the ribbon and the command router.
#include "content/objects/collection.h"
#include "content/objects/shapes.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/recordingui.h"
#include "platform/settings.h"
#include "shell/design/designview.h"
#include "shell/frame/commandids.h"
#include "shell/frame/commandrouter.h"
#include "shell/frame/ribbonbar.h"

#include "support/design_canvas.h"
#include "support/widgettest.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace canvastest {

// One inch at 100 % on a 96-dpi screen.
constexpr int32_t kInch = 25400;

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        settings::SetStoreFolder(m_dir.filePath("config"));
        doc = testsupport::LabelDocument(100000, 50000);
        makeView({});
    }
    void TearDown() override
    {
        view.reset();
        doc.reset();
        settings::SetStoreFolder({});
    }

    void makeView(DesignViewLinks links)
    {
        view.reset();
        view = testsupport::ShownDesignView(*doc, links, QSize(640, 480));
        ASSERT_TRUE(view);
    }

    QWidget* vp() const { return view->viewport(); }
    CGraphCollection& area() { return *doc->GetCurrentTemplate().GetArea(0); }
    int undoCount() { return int(doc->GetCurrentTemplate().GetUndoHistory(0)->LeadingCount()); }

    // An object at (x, y) with size (w, h) in um, added straight to area 0.
    template <class T = CGraphRect>
    T* add(int32_t x, int32_t y, int32_t w, int32_t h, bool selected = false)
    {
        auto o = std::make_unique<T>();
        o->SetX(x);
        o->SetY(y);
        o->SetWidth(w);
        o->SetHeight(h);
        o->SetSelected(selected);
        T* raw = o.get();
        area().AddTail(std::move(o));
        view->RedrawScene();
        return raw;
    }

    void press(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mousePress(vp(), Qt::LeftButton, m, p);
    }
    void moveTo(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButtons held = Qt::LeftButton)
    {
        QMouseEvent move(QEvent::MouseMove, p, vp()->mapToGlobal(p), Qt::NoButton, held, m);
        QApplication::sendEvent(vp(), &move);
    }
    void release(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mouseRelease(vp(), Qt::LeftButton, m, p);
    }
    void click(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        press(p, m);
        release(p, m);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(view.get(), k, m); }

    CRecordingUi ui;
    UiScope scope{ui};
    QTemporaryDir m_dir;
    std::unique_ptr<CVorteplanSoftLabelDoc> doc;
    std::unique_ptr<Vorteplan_SoftLabelDesignView> view;
};

// The canvas wired to a command router and a ribbon, with the keyboard
// focus, so commands run and update as they do from the ribbon.
class CommandTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        router.SetActiveViewProvider([this] { return static_cast<CCmdTarget*>(view.get()); });
        ribbon = std::make_unique<CRibbonBar>(router);
        makeView({ribbon.get(), nullptr});
        view->activateWindow();
        view->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        view.reset();
        ribbon.reset();
        CanvasTest::TearDown();
    }

    // Types `text` into the command's box and sends the command.
    bool type(int id, const QString& text)
    {
        ribbon->SetEditText(id, text);
        return router.Route(id);
    }
    bool type(int id, const char* text) { return type(id, QString::fromLatin1(text)); }

    CCmdUI state(int id) const { return router.Update(id); }
    bool enabled(int id) const { return state(id).IsEnabled(); }
    bool checked(int id) const { return state(id).GetChecked().value_or(false); }
    // The box text as the ribbon would show it now.
    QString shown(int id) const { return state(id).GetText().value_or(QStringLiteral("<none>")); }
    // The box text the view shows; it refreshes texts only while focused.
    QString text(int id)
    {
        QApplication::setActiveWindow(view.get());
        view->setFocus();
        EXPECT_TRUE(view->hasFocus());
        return shown(id);
    }
    CLabelFileNew& label() { return *doc->GetLabelFile(); }

    CCommandRouter router;
    std::unique_ptr<CRibbonBar> ribbon;
};

} // namespace canvastest
