// An open editor takes Escape and the standard editing keys before the
// window's shortcuts; other shortcuts, and every key of a widget that is no
// text editor, still reach the window. Gesture points clamped where the
// cursor would have been clipped.
#include "shell/cursorclip.h"
#include "platform/editorkeyprecedence.h"
#include "support/gridtest.h"
#include "support/widgettest.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

TEST(EditorKeyPrecedence, AnOpenEditorTakesEscapeAndTheEditingKeysTheWindowTheRest)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* line = new QLineEdit;
    auto* multi = new QTextEdit;
    auto* readOnly = new QLineEdit(QStringLiteral("shown"));
    readOnly->setReadOnly(true);
    gridtest::RecordingOwner owner;
    // Takes typed characters (to open its editor) but edits no text itself.
    auto* grid = new CGridCtrl(&owner);
    for (QWidget* w : std::initializer_list<QWidget*>{line, multi, readOnly, grid})
        layout->addWidget(w);
    std::map<QString, int> ran;
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Undo),
                                     QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_P)}) {
        auto* action = new QAction(&window);
        action->setShortcut(keys);
        QObject::connect(action, &QAction::triggered, [&ran, keys] { ++ran[keys.toString()]; });
        window.addAction(action);
    }
    CEditorKeyPrecedence::InstallForApplication(&window);
    ASSERT_TRUE(widgettest::ShowAndWait(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    struct Row {
        QWidget* focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool toWindow;
    };
    const Row rows[] = {
        {line, Qt::Key_Escape, Qt::NoModifier, false},
        {line, Qt::Key_Z, Qt::ControlModifier, false},
        {line, Qt::Key_Delete, Qt::NoModifier, false},
        {line, Qt::Key_P, Qt::ControlModifier, true},
        {multi, Qt::Key_Escape, Qt::NoModifier, false},
        {multi, Qt::Key_Z, Qt::ControlModifier, false},
        {multi, Qt::Key_P, Qt::ControlModifier, true},
        {readOnly, Qt::Key_Escape, Qt::NoModifier, true},
        {grid, Qt::Key_Escape, Qt::NoModifier, true},
        {grid, Qt::Key_Z, Qt::ControlModifier, true},
        {grid, Qt::Key_Delete, Qt::NoModifier, true},
    };
    for (const Row& row : rows) {
        const QString keys = QKeySequence(row.modifiers | row.key).toString();
        SCOPED_TRACE((row.focus->metaObject()->className() + QStringLiteral(" ") + keys).toStdString());
        row.focus->setFocus();
        ASSERT_TRUE(row.focus->hasFocus());
        ran.clear();
        QTest::keyClick(row.focus, row.key, row.modifiers);
        EXPECT_EQ(ran[keys], row.toWindow ? 1 : 0);
    }

    // What the editor took, it acted on: Ctrl+Z undoes the typing.
    line->clear();
    line->setFocus();
    QTest::keyClicks(line, "abc");
    QTest::keyClick(line, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(line->text(), "");
}

TEST(CursorClip, TrackedPointsStayInsideTheClipUntilReleased)
{
    CCursorClip clip;
    EXPECT_EQ(clip.Apply(QPoint(-5, 900)), QPoint(-5, 900));
    clip.Clip(QRect(QPoint(10, 0), QPoint(110, 99)));
    EXPECT_EQ(clip.Apply(QPoint(-5, 900)), QPoint(10, 99));
    EXPECT_EQ(clip.Apply(QPoint(200, -1)), QPoint(110, 0));
    EXPECT_EQ(clip.Apply(QPoint(50, 50)), QPoint(50, 50));
    clip.Release();
    EXPECT_EQ(clip.Apply(QPoint(200, -1)), QPoint(200, -1));
    clip.Clip(QRect());
    EXPECT_FALSE(clip.IsClipping());
}
