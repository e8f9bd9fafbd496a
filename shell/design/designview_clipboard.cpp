// Copy, Cut and Paste of the design canvas. Copied objects stay in this
// process, in one collection shared by every design view; the system
// clipboard only carries a marker announcing them. Paste also takes text
// and pictures from other programs. While the in-place editor is open the
// three commands act on its text.
#include "shell/design/designview.h"

#include "content/images/graphimage.h"
#include "content/objects/collection.h"
#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/commandids.h"
#include "platform/dib.h"
#include "platform/wmf.h"

#include <algorithm>

namespace {

using Doc = CVorteplanSoftLabelDoc;
using View = Vorteplan_SoftLabelDesignView;

// The copied objects; replaced by every Copy and Cut, deleted with any
// design view.
std::unique_ptr<CGraphCollection>& clipboardCollection()
{
    static std::unique_ptr<CGraphCollection> collection;
    return collection;
}

bool pastable(ClipboardFormat f)
{
    return f == ClipboardFormat::Objects || f == ClipboardFormat::Text || f == ClipboardFormat::Metafile ||
           f == ClipboardFormat::Image;
}

void put32(std::string& out, int32_t v)
{
    const auto u = uint32_t(v);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(char((u >> shift) & 0xFF));
}

// A metafile picture block as the image objects take it: mapping mode,
// suggested size in hundredths of a millimetre, then the metafile bits.
std::string metafilePictBlock(const std::string& file)
{
    wmf::WmfFile split;
    if (!wmf::SplitFile(file, split) || !wmf::HasStandardHeader(split.bits))
        return {};
    int32_t width = 0, height = 0;
    if (split.placeable)
        wmf::PlaceableSizeUm(split.header, width, height);
    constexpr int32_t kAnisotropic = 8;
    std::string block;
    block.reserve(12 + split.bits.size());
    put32(block, kAnisotropic);
    put32(block, width / 10);
    put32(block, height / 10);
    block += split.bits;
    return block;
}

} // namespace

const CGraphCollection* View::ClipboardCollection()
{
    return clipboardCollection().get();
}

void View::releaseClipboardCollection()
{
    clipboardCollection().reset();
}

void View::registerClipboardCommands()
{
    OnCommand(cmd::kEditCopy, [this] { Copy(); },
              [this](CCmdUI& ui) { ui.Enable(m_pDocument && m_pDocument->CanCutCopy(m_nArea)); });
    OnCommand(cmd::kEditCut, [this] { Cut(); },
              [this](CCmdUI& ui) { ui.Enable(m_pDocument && m_pDocument->CanCutCopy(m_nArea)); });
    OnCommand(cmd::kEditPaste, [this] { Paste(); }, [this](CCmdUI& ui) { ui.Enable(CanPasteNow()); });
}

void View::Copy()
{
    if (m_pInPlaceEdit) {
        m_pInPlaceEdit->copy();
        return;
    }
    if (!hasSel())
        return;
    auto copied = std::make_unique<CGraphCollection>();
    // The old collection goes in any case; the new one keeps the objects
    // only when the clipboard took the marker.
    clipboardCollection() = std::make_unique<CGraphCollection>();
    if (!Ui().SetClipboardObjectsMarker())
        return;
    m_pDocument->CopySelection(m_nArea, *copied);
    clipboardCollection() = std::move(copied);
}

void View::Cut()
{
    if (!m_pDocument)
        return;
    if (m_pInPlaceEdit) {
        m_pInPlaceEdit->cut();
        m_pDocument->SetModifiedFlag();
        m_pDocument->InvalidateDesignViews();
        m_pDocument->InvalidatePreviewViews();
        return;
    }
    if (!hasSel())
        return;
    auto copied = std::make_unique<CGraphCollection>();
    clipboardCollection() = std::make_unique<CGraphCollection>();
    if (!Ui().SetClipboardObjectsMarker())
        return;
    m_pDocument->CopySelection(m_nArea, *copied);
    clipboardCollection() = std::move(copied);
    m_pDocument->DeleteSelection(m_nArea);
    UpdateScrollSizes();
}

void View::Paste()
{
    if (!m_pDocument)
        return;
    if (m_pInPlaceEdit) {
        m_pInPlaceEdit->paste();
        m_pDocument->SetModifiedFlag();
        m_pDocument->InvalidateDesignViews();
        m_pDocument->InvalidatePreviewViews();
        return;
    }
    if (IsModuleSelection())
        return;
    for (ClipboardFormat format : Ui().ClipboardFormats()) {
        if (!pastable(format))
            continue;
        m_pDocument->DeselectAll(m_nArea);
        if (pasteFormat(format)) {
            m_pDocument->InvalidateDesignViews();
            m_pDocument->InvalidatePreviewViews();
            break;
        }
    }
    UpdateScrollSizes();
}

bool View::pasteFormat(ClipboardFormat format)
{
    if (!m_pDocument)
        return false;
    Doc& d = *m_pDocument;
    switch (format) {
    case ClipboardFormat::Objects:
        // The marker counts as pasted even when the collection is gone.
        if (const CGraphCollection* c = clipboardCollection().get())
            d.PasteObjects(m_nArea, *c);
        return true;
    case ClipboardFormat::Text: {
        const auto text = Ui().ClipboardText(codepage::ForCharset(d.GetDefaultFont().lfCharSet));
        if (!text)
            return false;
        d.PasteTextObject(m_nArea, *text);
        return true;
    }
    case ClipboardFormat::Metafile: {
        const auto file = Ui().ClipboardMetafile();
        const std::string block = file ? metafilePictBlock(*file) : std::string();
        if (block.empty())
            return false;
        d.PasteImageObject(m_nArea, CGraphImageExtExt::kClipboardMetafilePict, block);
        return true;
    }
    case ClipboardFormat::Image: {
        const auto image = Ui().ClipboardImage();
        if (!image)
            return false;
        const std::string packed = dib::ImageToPacked24(*image);
        if (packed.empty())
            return false;
        d.PasteImageObject(m_nArea, CGraphImageExtExt::kClipboardDib, packed);
        return true;
    }
    }
    return false;
}

bool View::CanPasteNow() const
{
    if (!m_pDocument || m_pDocument->GetCurrentTemplate().IsLocked() || IsModuleSelection())
        return false;
    if (m_pInPlaceEdit)
        return true;
    if (!m_pDocument->CanPaste(m_nArea))
        return false;
    const std::vector<ClipboardFormat> formats = Ui().ClipboardFormats();
    return std::any_of(formats.begin(), formats.end(), pastable);
}
