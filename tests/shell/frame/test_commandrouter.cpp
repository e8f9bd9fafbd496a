#include "shell/frame/commandrouter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Four targets that record which of them ran a command.
struct Chain : ::testing::Test {
    CCmdTarget view, document, frame, app;
    CCommandRouter router;
    std::vector<std::string> ran;
    bool viewActive = true;

    void SetUp() override
    {
        router.SetActiveViewProvider([this]() -> CCmdTarget* { return viewActive ? &view : nullptr; });
        router.SetDocumentProvider([this] { return &document; });
        router.SetFrameTarget(&frame);
        router.SetApplicationTarget(&app);
    }
    void claim(CCmdTarget& target, int id, const char* name)
    {
        target.OnCommand(id, [this, name] { ran.push_back(name); });
    }
};

TEST_F(Chain, FirstClaimingTargetInViewDocumentFrameApplicationOrderRuns)
{
    claim(app, 1, "app");
    claim(frame, 1, "frame");
    claim(document, 1, "document");
    claim(view, 1, "view");
    claim(frame, 2, "frame");
    claim(app, 2, "app");
    claim(app, 3, "app");
    claim(document, 4, "document");
    claim(app, 4, "app");

    EXPECT_TRUE(router.Route(1));
    EXPECT_TRUE(router.Route(2));
    EXPECT_TRUE(router.Route(3));
    EXPECT_TRUE(router.Route(4));
    viewActive = false;
    EXPECT_TRUE(router.Route(1));
    EXPECT_EQ(ran, (std::vector<std::string>{"view", "frame", "app", "document", "document"}));
    EXPECT_EQ(router.Chain().size(), 3u);
}

TEST_F(Chain, UnclaimedCommandsAreDisabledAndNotRun)
{
    EXPECT_FALSE(router.Route(99));
    EXPECT_FALSE(router.Update(99).IsEnabled());
    claim(app, 99, "app");
    EXPECT_TRUE(router.Update(99).IsEnabled());
    app.RemoveCommand(99);
    EXPECT_FALSE(router.Update(99).IsEnabled());
}

TEST_F(Chain, UpdateStateComesFromTheSameTargetThatWouldRunTheCommand)
{
    // The view claims 5 with a disabled state: the enabled app handler
    // behind it is not asked, and Execute refuses while Route does not.
    view.OnCommand(5, [this] { ran.push_back("view"); }, [](CCmdUI& ui) { ui.Enable(false); });
    claim(app, 5, "app");
    EXPECT_FALSE(router.Update(5).IsEnabled());
    EXPECT_FALSE(router.Execute(5));
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(router.Route(5));
    EXPECT_EQ(ran, std::vector<std::string>{"view"});
}

TEST_F(Chain, UpdateHandlersGiveCheckRadioAndText)
{
    int current = 12;
    frame.OnCommandRange(10, 14, [&](int id) { current = id; }, [&](CCmdUI& ui) { ui.SetRadio(ui.GetID() == current); });
    frame.OnUpdate(20, [](CCmdUI& ui) { ui.SetText(QStringLiteral("pane")); });

    EXPECT_TRUE(*router.Update(12).GetChecked());
    EXPECT_FALSE(*router.Update(11).GetChecked());
    EXPECT_TRUE(router.Execute(14));
    EXPECT_TRUE(*router.Update(14).GetChecked());
    EXPECT_TRUE(router.Update(14).IsRadio());

    const CCmdUI pane = router.Update(20);
    EXPECT_TRUE(pane.IsEnabled());
    EXPECT_EQ(pane.GetText().value_or(QString()), QStringLiteral("pane"));
    EXPECT_FALSE(router.Update(15).IsEnabled());
}

TEST_F(Chain, AHandlerMayReplaceItsOwnRegistrationWhileRunning)
{
    int runs = 0;
    app.OnCommand(7, [&] {
        ++runs;
        app.OnCommand(7, [&] { runs += 10; });
    });
    EXPECT_TRUE(router.Route(7));
    EXPECT_TRUE(router.Route(7));
    EXPECT_EQ(runs, 11);
}

} // namespace
