#pragma once
// The design canvas with a ribbon and a router whose active view it is, so
// that commands run and update as they do from the ribbon.
#include "shell/frame/commandrouter.h"
#include "shell/frame/ribbonbar.h"

#include "canvas_fixture.h"

namespace canvastest {

class CommandTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        router.SetActiveViewProvider([this] { return static_cast<CCmdTarget*>(view.get()); });
        ribbon = std::make_unique<CRibbonBar>(router);
        makeView({ribbon.get(), nullptr});
    }
    void TearDown() override
    {
        view.reset();
        ribbon.reset();
        CanvasTest::TearDown();
    }

    // Types `text` into the command's box and sends the command.
    bool type(int id, const char* text)
    {
        ribbon->SetEditText(id, QString::fromLatin1(text));
        return router.Route(id);
    }
    bool enabled(int id) const { return router.Update(id).IsEnabled(); }
    bool checked(int id) const { return router.Update(id).GetChecked().value_or(false); }
    // The box text the view shows; it refreshes texts only while focused.
    QString text(int id)
    {
        QApplication::setActiveWindow(view.get());
        view->setFocus();
        EXPECT_TRUE(view->hasFocus());
        return router.Update(id).GetText().value_or(QStringLiteral("<none>"));
    }
    CLabelFileNew& label() { return *doc->GetLabelFile(); }

    CCommandRouter router;
    std::unique_ptr<CRibbonBar> ribbon;
};

} // namespace canvastest
