// An open in-place editor takes the standard editing keys before the
// window's shortcuts; other shortcuts still reach the window. Gesture
// points clamped where the cursor would have been clipped.
#include "shell/cursorclip.h"
#include "platform/editorkeyprecedence.h"
#include "support/widgettest.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A widget with no editing of its own, like a custom in-place editor.
class PlainEditor : public QWidget {
public:
    QList<QKeyCombination> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() != Qt::Key_Control && event->key() != Qt::Key_Shift)
            keys << event->keyCombination();
    }
};

} // namespace

TEST(EditorKeyPrecedence, EditingKeysGoToTheEditorOtherShortcutsToTheWindow)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* editor = new PlainEditor;
    editor->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(editor);
    int undos = 0, prints = 0;
    auto* undo = new QAction(&window);
    undo->setShortcut(QKeySequence::Undo);
    QObject::connect(undo, &QAction::triggered, [&] { ++undos; });
    auto* print = new QAction(&window);
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    QObject::connect(print, &QAction::triggered, [&] { ++prints; });
    window.addAction(undo);
    window.addAction(print);
    ASSERT_TRUE(widgettest::ShowAndWait(&window));
    editor->setFocus();

    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undos, 1); // without the filter the window's Undo runs
    CEditorKeyPrecedence::Install(editor);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(prints, 1);
    EXPECT_EQ(editor->keys, (QList<QKeyCombination>{Qt::ControlModifier | Qt::Key_Z, QKeyCombination(Qt::Key_Delete)}));
}

TEST(EditorKeyPrecedence, CtrlZUndoesTheTypingInALineEditor)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit;
    layout->addWidget(edit);
    int tableUndos = 0;
    auto* undo = new QAction(&window);
    undo->setShortcut(QKeySequence::Undo);
    QObject::connect(undo, &QAction::triggered, [&] { ++tableUndos; });
    window.addAction(undo);
    CEditorKeyPrecedence::Install(edit);
    ASSERT_TRUE(widgettest::ShowAndWait(&window));
    edit->setFocus();
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(tableUndos, 0);
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
