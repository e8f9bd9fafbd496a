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

namespace {

// A text editor that claims no key before the window's shortcuts by itself
// (the toolkit's boxes claim their editing keys): the filter alone gives
// it its keys.
class UnclaimingEdit : public QLineEdit {
    Q_OBJECT
protected:
    bool event(QEvent* e) override { return e->type() != QEvent::ShortcutOverride && QLineEdit::event(e); }
};

} // namespace

TEST(EditorKeyPrecedence, AnOpenEditorTakesEscapeAndTheEditingKeysTheWindowTheRest)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* line = new QLineEdit;
    auto* multi = new QTextEdit;
    auto* unclaiming = new UnclaimingEdit;
    auto* readOnly = new QLineEdit(QStringLiteral("shown"));
    readOnly->setReadOnly(true);
    gridtest::RecordingOwner owner;
    // Takes typed characters (to open its editor) but edits no text itself.
    auto* grid = new CGridCtrl(&owner);
    for (QWidget* w : std::initializer_list<QWidget*>{line, multi, unclaiming, readOnly, grid})
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
        // The text after the key, when the editor held "abc" with the
        // cursor before the "a" (nullptr: not looked at).
        const char* edited = nullptr;
    };
    const Row rows[] = {
        {line, Qt::Key_Escape, Qt::NoModifier, false},
        {line, Qt::Key_Z, Qt::ControlModifier, false},
        {line, Qt::Key_Delete, Qt::NoModifier, false},
        {line, Qt::Key_P, Qt::ControlModifier, true},
        {multi, Qt::Key_Escape, Qt::NoModifier, false},
        {multi, Qt::Key_Z, Qt::ControlModifier, false},
        {multi, Qt::Key_P, Qt::ControlModifier, true},
        {unclaiming, Qt::Key_Delete, Qt::NoModifier, false, "bc"},
        // The numeric keypad's Del is Delete too.
        {unclaiming, Qt::Key_Delete, Qt::KeypadModifier, false, "bc"},
        {readOnly, Qt::Key_Escape, Qt::NoModifier, true},
        {grid, Qt::Key_Escape, Qt::NoModifier, true},
        {grid, Qt::Key_Z, Qt::ControlModifier, true},
        {grid, Qt::Key_Delete, Qt::NoModifier, true},
        {grid, Qt::Key_Delete, Qt::KeypadModifier, true},
    };
    for (const Row& row : rows) {
        const QString keys = QKeySequence(row.modifiers | row.key).toString();
        // The window's Delete shortcut takes the keypad's Del as well.
        const QString shortcut = QKeySequence((row.modifiers & ~Qt::KeypadModifier) | row.key).toString();
        SCOPED_TRACE((row.focus->metaObject()->className() + QStringLiteral(" ") + keys).toStdString());
        if (row.edited) {
            unclaiming->setText(QStringLiteral("abc"));
            unclaiming->setCursorPosition(0);
        }
        row.focus->setFocus();
        ASSERT_TRUE(row.focus->hasFocus());
        ran.clear();
        QTest::keyClick(row.focus, row.key, row.modifiers);
        EXPECT_EQ(ran[shortcut], row.toWindow ? 1 : 0);
        if (row.edited) {
            EXPECT_EQ(unclaiming->text().toStdString(), row.edited);
        }
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

#include "test_input.moc"
