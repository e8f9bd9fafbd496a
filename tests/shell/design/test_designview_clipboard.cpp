// Copy, Cut and Paste of the design canvas: objects through the process's
// own collection, text and pictures from other programs, the open editor.
#include "content/images/graphimage.h"
#include "content/objects/graphtext.h"
#include "content/textparts/text.h"
#include "shell/inplaceedit.h"
#include "shell/qtuiservices.h"

#include "canvas_fixture.h"

#include <QClipboard>
#include <QMimeData>

namespace {

using canvastest::kInch;

class ClipboardTest : public canvastest::CommandTest {};

TEST_F(ClipboardTest, CopiedObjectsPasteIntoOtherTemplatesAndProjectsUntilAViewCloses)
{
    for (int i = 0; i < 3; ++i)
        add(1000 + i * 10000, 2000, 5000, 5000, true);
    router.Route(cmd::kEditCopy);
    ASSERT_EQ(ui.clipboardWrites.size(), 1u);
    EXPECT_EQ(ui.clipboardWrites[0].kind, CRecordingUi::ClipboardWriteKind::ObjectsMarker);
    ui.clipboardFormats = {ClipboardFormat::Objects};

    doc->SetCurrentTemplate(1);
    EXPECT_TRUE(state(cmd::kEditPaste).IsEnabled());
    router.Route(cmd::kEditPaste);
    const CGraphCollection& other = *doc->GetCurrentTemplate().GetArea(0);
    ASSERT_EQ(other.GetCount(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(other.GetAt(i)->IsSelected());

    // Another project, in a view of its own.
    CVorteplanSoftLabelDoc second;
    {
        Vorteplan_SoftLabelDesignView secondView(&second);
        secondView.Paste();
        EXPECT_EQ(second.GetCurrentTemplate().GetArea(0)->GetCount(), 3u);
    }
    // Closing that view dropped the copied objects: the marker pastes nothing.
    EXPECT_EQ(Vorteplan_SoftLabelDesignView::ClipboardCollection(), nullptr);
    doc->SetCurrentTemplate(2);
    router.Route(cmd::kEditPaste);
    EXPECT_EQ(doc->GetCurrentTemplate().GetArea(0)->GetCount(), 0u);
}

TEST_F(ClipboardTest, TextAndPicturesInTheClipboardsOrder)
{
    ui.clipboardFormats = {ClipboardFormat::Text, ClipboardFormat::Image};
    ui.clipboardText = std::string("A\r\nB");
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    ui.clipboardImage = image;
    router.Route(cmd::kEditPaste);
    ASSERT_EQ(area().GetCount(), 1u);
    auto* text = dynamic_cast<CGraphTextExt*>(area().GetAt(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->TextPart()->GetText(DrawContext{}, 100), "A\r\nB");
    EXPECT_TRUE(text->IsSelected());

    ui.clipboardFormats = {ClipboardFormat::Image, ClipboardFormat::Text};
    router.Route(cmd::kEditPaste);
    ASSERT_EQ(area().GetCount(), 2u);
    EXPECT_NE(dynamic_cast<CGraphImageExtExt*>(area().GetAt(1)), nullptr);
    EXPECT_FALSE(area().GetAt(0)->IsSelected());
}

// A placeable metafile of 1 x 0.5 inch holding only its end record.
std::string placeableWmf()
{
    std::string out;
    const auto u16 = [&out](uint16_t v) { out += char(v & 0xFF); out += char(v >> 8); };
    const auto u32 = [&](uint32_t v) { u16(uint16_t(v & 0xFFFF)); u16(uint16_t(v >> 16)); };
    u32(0x9AC6CDD7);
    u16(0);
    u16(0), u16(0), u16(1000), u16(500); // bounds
    u16(1000);                           // units per inch
    u32(0);
    uint16_t sum = 0;
    for (size_t i = 0; i < out.size(); i += 2)
        sum ^= uint16_t(uint8_t(out[i]) | (uint8_t(out[i + 1]) << 8));
    u16(sum);
    u16(1), u16(9), u16(0x300), u32(12), u16(0), u32(3), u16(0); // standard header
    u32(3), u16(0);                                               // end record
    return out;
}

TEST_F(ClipboardTest, MetafilesKeepTheirSizeAndGarbageFallsThrough)
{
    ui.clipboardFormats = {ClipboardFormat::Metafile, ClipboardFormat::Text};
    ui.clipboardMetafile = placeableWmf();
    ui.clipboardText = std::string("t");
    router.Route(cmd::kEditPaste);
    ASSERT_EQ(area().GetCount(), 1u);
    auto* image = dynamic_cast<CGraphImageExtExt*>(area().GetAt(0));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 25400);
    EXPECT_EQ(image->GetHeight(), 12700);
    // Bytes that are no metafile give way to the text behind them.
    ui.clipboardMetafile = std::string("\xD7\xCD\xC6\x9A junk", 9);
    router.Route(cmd::kEditPaste);
    ASSERT_EQ(area().GetCount(), 2u);
    EXPECT_NE(dynamic_cast<CGraphTextExt*>(area().GetAt(1)), nullptr);
}

TEST_F(ClipboardTest, CutIsOneUndoStepAndPasteFollowsLockAndModuleSelection)
{
    add(kInch, kInch, kInch, kInch, true);
    const int before = undoCount();
    router.Route(cmd::kEditCut);
    EXPECT_EQ(area().GetCount(), 0u);
    EXPECT_EQ(undoCount(), before + 1);
    ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(area().GetCount(), 1u);

    ui.clipboardFormats = {ClipboardFormat::Objects};
    EXPECT_TRUE(state(cmd::kEditPaste).IsEnabled());
    doc->GetCurrentTemplate().SetLocked(true);
    EXPECT_FALSE(state(cmd::kEditPaste).IsEnabled());
    doc->GetCurrentTemplate().SetLocked(false);
    ui.clipboardFormats = {};
    EXPECT_FALSE(state(cmd::kEditPaste).IsEnabled());
}

TEST_F(ClipboardTest, OpenEditorTakesPasteAndCut)
{
    auto* t = add<CGraphText>(kInch, kInch, 2 * kInch, kInch / 2, true);
    t->SetSourceKind(kTextKindFixed);
    t->SetText("x");
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, {120, 110});
    CInPlaceEdit* edit = view->GetInPlaceEdit();
    ASSERT_NE(edit, nullptr);
    QGuiApplication::clipboard()->setText(QStringLiteral("yz"));
    edit->moveCursor(QTextCursor::End);
    doc->SetModifiedFlag(false);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    router.Route(cmd::kEditPaste);
    EXPECT_EQ(edit->toPlainText(), "xyzyz");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(area().GetCount(), 1u);
    edit->selectAll();
    doc->SetModifiedFlag(false);
    router.Route(cmd::kEditCut);
    EXPECT_EQ(edit->toPlainText(), "");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(area().GetCount(), 1u);
}

// The same on the real clipboard through the Qt user interface.
class QtClipboardTest : public canvastest::CommandTest {
protected:
    CQtUiServices qtUi;
    UiScope qtScope{qtUi};
};

TEST_F(QtClipboardTest, OnlyOurOwnMarkerPastesOurObjects)
{
    add(kInch, kInch, kInch, kInch, true);
    view->Copy();
    area().DeselectAll();
    router.Route(cmd::kEditPaste);
    EXPECT_EQ(area().GetCount(), 2u);

    // Another instance's marker, with text behind it.
    auto* foreign = new QMimeData;
    foreign->setData(QStringLiteral("VPW4_OBJECTS_NEW"), QByteArray(1, '\0'));
    foreign->setText(QStringLiteral("A\nB"));
    QGuiApplication::clipboard()->setMimeData(foreign);
    router.Route(cmd::kEditPaste);
    ASSERT_EQ(area().GetCount(), 3u);
    auto* text = dynamic_cast<CGraphTextExt*>(area().GetAt(2));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->TextPart()->GetText(DrawContext{}, 100), "A\r\nB");
}

TEST_F(QtClipboardTest, IdlePassesNeverAskTheClipboard)
{
    add(kInch, kInch, kInch, kInch, true);
    view->Copy();
    const int queries = qtUi.LiveClipboardQueries();
    for (int i = 0; i < 1000; ++i)
        ribbon->UpdateCommandUI();
    EXPECT_EQ(qtUi.LiveClipboardQueries(), queries);
    EXPECT_TRUE(state(cmd::kEditPaste).IsEnabled());
}

} // namespace
