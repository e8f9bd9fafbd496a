#pragma once
// A design canvas wired to a command router and a ribbon, with the keyboard
// focus, so commands can be sent and their states read as the ribbon does.
#include "platform/commandids.h"
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

    // Types into a ribbon box and sends its command.
    void type(int id, const QString& text)
    {
        ribbon->SetEditText(id, text);
        router.Route(id);
    }
    CCmdUI state(int id) const { return router.Update(id); }
    QString shown(int id) const { return state(id).GetText().value_or(QStringLiteral("<none>")); }

    CCommandRouter router;
    std::unique_ptr<CRibbonBar> ribbon;
};

} // namespace canvastest
