// Ribbon commands of the design canvas that edit, arrange, measure, show,
// insert and lock: each calls one operation of the document on the canvas's
// area (Center vertical is the one the canvas does itself).
#include "shell/design/designview.h"

#include "content/barcodes/barcode.h"
#include "content/images/graphimage.h"
#include "content/objects/collection.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/objects/line.h"
#include "content/objects/shapes.h"
#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/commandids.h"
#include "platform/numberformat.h"
#include "platform/settings.h"
#include "shell/frame/ribbonbar.h"
#include "shell/lockdocumentdialog.h"
#include "shell/unlockdocumentdialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTextCursor>

#include <array>
#include <utility>

namespace {

using Doc = CVorteplanSoftLabelDoc;
using View = Vorteplan_SoftLabelDesignView;

constexpr int kPenWidth = 1000;
constexpr int kRoundedRadius = 2500;
constexpr int kDefaultModule = 191;
constexpr int kDefaultBarHeight = 12700;
constexpr int kAxisY = 2;
constexpr int kMinHelpLines = 1;
constexpr int kMaxHelpLines = 99;

// Text and barcode objects get the document's default font; the newest
// object kinds.
std::unique_ptr<CGraphObject> newRect(bool rounded)
{
    std::unique_ptr<CGraphRect> r;
    if (rounded) {
        auto rr = std::make_unique<CGraphRectRounded>();
        rr->SetCornerRadius(kRoundedRadius);
        r = std::move(rr);
    } else {
        r = std::make_unique<CGraphRect>();
    }
    r->SetPenWidth(kPenWidth);
    r->SetBorderColor(0);
    r->SetFillColor(0);
    r->SetTransparent(true);
    return r;
}

} // namespace

// --- shared helpers -----------------------------------------------------------------------

void View::docCommand(int id, std::function<void(Doc&)> run, std::function<void(Doc&, CCmdUI&)> update)
{
    UpdateHandler onUpdate;
    if (update) {
        onUpdate = [this, update = std::move(update)](CCmdUI& ui) {
            if (!m_pDocument) {
                ui.Enable(false);
                return;
            }
            update(*m_pDocument, ui);
        };
    } else {
        onUpdate = [this](CCmdUI& ui) { ui.Enable(m_pDocument != nullptr); };
    }
    OnCommand(id, [this, run = std::move(run)] {
        if (m_pDocument)
            run(*m_pDocument);
    }, std::move(onUpdate));
}

std::optional<std::string> View::ribbonText(int id, size_t limit) const
{
    if (!m_links.ribbon || (!m_links.ribbon->FindCombo(id) && !m_links.ribbon->FindEdit(id)))
        return std::nullopt;
    QString text = m_links.ribbon->GetEditText(id);
    if (size_t(text.size()) > limit)
        text.truncate(qsizetype(limit));
    return codepage::FromUnicode(text);
}

COLORREF View::ribbonColour(int id) const
{
    // A button whose colour was never chosen gives black, as its dialog starts with.
    const QColor c = m_links.ribbon ? m_links.ribbon->GetColour(id) : QColor();
    if (!c.isValid())
        return 0;
    return COLORREF(c.red()) | (COLORREF(c.green()) << 8) | (COLORREF(c.blue()) << 16);
}

bool View::viewHasFocus() const
{
    return hasFocus() || viewport()->hasFocus();
}

bool View::hasSel() const
{
    return m_pDocument && m_nArea >= 0 && m_nArea <= 2 && m_pDocument->HasSelection(m_nArea);
}

void View::refreshBox(CCmdUI& ui, const std::string& bytes) const
{
    if (viewHasFocus())
        ui.SetText(codepage::ToUnicode(bytes));
}

// --- the commands -----------------------------------------------------------------------------

void View::registerEditCommands()
{
    using namespace cmd;
    const auto unlocked = [](const Doc& d) { return !d.GetCurrentTemplate().IsLocked(); };

    // *Edit and history*
    docCommand(kEditSelectAll, [this](Doc& d) {
        d.SelectAll(m_nArea);
        d.InvalidateDesignViews();
    }, [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanSelectAll(m_nArea)); });
    docCommand(kDelete, [this](Doc& d) {
        if (m_pInPlaceEdit) {
            m_pInPlaceEdit->textCursor().removeSelectedText();
        } else if (hasSel()) {
            d.DeleteSelection(m_nArea);
            UpdateScrollSizes();
        }
    }, [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanCutCopy(m_nArea)); });
    docCommand(kEditUndo, [this, unlocked](Doc& d) {
        if (m_pInPlaceEdit) {
            m_pInPlaceEdit->undo();
            d.SetModifiedFlag();
            d.InvalidateDesignViews();
            d.InvalidatePreviewViews();
        } else if (unlocked(d)) {
            d.Undo(m_nArea);
            UpdateScrollSizes();
        }
    }, [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanUndo(IsModuleSelection() ? 0 : m_nArea)); });
    docCommand(kEditRedo, [this, unlocked](Doc& d) {
        if (!m_pInPlaceEdit && unlocked(d)) {
            d.Redo(m_nArea);
            UpdateScrollSizes();
        }
    }, [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanRedo(m_nArea)); });
    const auto rotate = [this](int id, void (Doc::*op)(int)) {
        docCommand(id, [this, op](Doc& d) {
            (d.*op)(m_nArea);
            UpdateScrollSizes();
        }, [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanRotate(m_nArea)); });
    };
    rotate(kRotateLeft, &Doc::RotateSelectionLeft);
    rotate(kRotateRight, &Doc::RotateSelectionRight);
    docCommand(kCombine, [this](Doc& d) { d.CombineSelection(m_nArea); }, [this, unlocked](Doc& d, CCmdUI& ui) {
        ui.Enable(m_nArea >= 0 && m_nArea <= 2 && unlocked(d) && d.GetSelectedCount(m_nArea) > 1);
    });
    docCommand(kSplit, [this](Doc& d) { d.SplitSelection(m_nArea); },
               [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanSplit(m_nArea)); });
    const std::array<std::pair<int, void (Doc::*)(int)>, 4> duplicates{
        {{kDuplicateBelow, &Doc::DuplicateBelow},
         {kDuplicateRight, &Doc::DuplicateRight},
         {kDuplicateAbove, &Doc::DuplicateAbove},
         {kDuplicateLeft, &Doc::DuplicateLeft}}};
    for (const auto& [id, op] : duplicates) {
        docCommand(id, [this, op = op](Doc& d) {
            EndInPlaceEdit();
            (d.*op)(m_nArea);
            UpdateScrollSizes();
        }, [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanCutCopy(m_nArea)); });
    }

    // *Arrange and align*
    const std::array<std::pair<int, void (Doc::*)(int)>, 4> order{
        {{kBringToFront, &Doc::BringToFront},
         {kSendToBack, &Doc::SendToBack},
         {kBringForward, &Doc::BringForward},
         {kSendBackward, &Doc::SendBackward}}};
    for (const auto& [id, op] : order) {
        docCommand(id, [this, op = op](Doc& d) { (d.*op)(m_nArea); },
                   [this, unlocked](Doc& d, CCmdUI& ui) { ui.Enable(hasSel() && unlocked(d)); });
    }
    const std::array<std::pair<int, void (Doc::*)(int)>, 4> aligns{{{kAlignLeft, &Doc::AlignSelectionLeft},
                                                                     {kAlignTop, &Doc::AlignSelectionTop},
                                                                     {kAlignRight, &Doc::AlignSelectionRight},
                                                                     {kAlignBottom, &Doc::AlignSelectionBottom}}};
    for (const auto& [id, op] : aligns) {
        docCommand(id, [this, op = op](Doc& d) { (d.*op)(m_nArea); },
                   [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanAlignSelection(m_nArea)); });
    }
    const auto centreUpdate = [this, unlocked](Doc& d, CCmdUI& ui) {
        ui.Enable(hasSel() && unlocked(d) && (!d.IsModuleMarking() || d.CanCenterSelection()));
    };
    docCommand(kCenterHorizontal, [this](Doc& d) { d.CenterSelectionHorizontal(m_nArea); }, centreUpdate);
    docCommand(kCenterVertical, [this](Doc&) { CenterSelectionVertical(); }, centreUpdate);
    const std::array<std::pair<int, void (Doc::*)(int)>, 2> spaces{
        {{kSpaceHorizontal, &Doc::SpaceEvenlyHorizontal}, {kSpaceVertical, &Doc::SpaceEvenlyVertical}}};
    for (const auto& [id, op] : spaces) {
        docCommand(id, [this, op = op](Doc& d) {
            EndInPlaceEdit();
            (d.*op)(m_nArea);
        }, [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanSpaceEvenly(m_nArea)); });
    }

    // *Geometry of the selection*: X in the locale's unit, the others in mm.
    const std::array<std::pair<int, void (Doc::*)(int, int32_t)>, 4> boxes{
        {{kSelectionX, &Doc::SetSelectionX},
         {kSelectionY, &Doc::SetSelectionY},
         {kSelectionWidth, &Doc::SetSelectionWidth},
         {kSelectionHeight, &Doc::SetSelectionHeight}}};
    for (const auto& [id, op] : boxes) {
        docCommand(id, [this, id = id, op = op](Doc& d) {
            const auto text = ribbonText(id, 255);
            if (!text)
                return;
            if (const auto um = ParseLength(*text))
                (d.*op)(m_nArea, *um);
        }, [this, id = id, unlocked](Doc& d, CCmdUI& ui) {
            const CGraphCollection* c = area();
            int32_t value = -1;
            if (c) {
                switch (id) {
                case kSelectionX: value = c->GetSelectedX(); break;
                case kSelectionY: value = c->GetSelectedY(); break;
                case kSelectionWidth: value = c->GetSelectedWidth(); break;
                default: value = c->GetSelectedHeight(); break;
                }
            }
            const bool shown = value >= 0 && unlocked(d);
            ui.Enable(shown);
            if (!shown)
                refreshBox(ui, {});
            else if (id == kSelectionX)
                refreshBox(ui, FormatLength(value));
            else
                refreshBox(ui, id == kSelectionY ? d.GetSelectionYText(m_nArea)
                                          : id == kSelectionWidth ? d.GetSelectionWidthText(m_nArea)
                                                      : d.GetSelectionHeightText(m_nArea));
        });
    }

    // *View options*
    docCommand(kFieldCodes, [this](Doc&) { SetShowFieldCodes(!m_bShowFieldCodes); },
               [this](Doc&, CCmdUI& ui) { ui.SetCheck(m_bShowFieldCodes); });
    docCommand(kFieldContours, [this](Doc& d) {
        CTemplate& t = d.GetCurrentTemplate();
        t.SetFieldContours(!t.IsFieldContours());
        RedrawScene();
    }, [](Doc& d, CCmdUI& ui) { ui.SetCheck(d.GetCurrentTemplate().IsFieldContours()); });
    const std::array<std::pair<int, int>, 3> areas{{{kShowLabel, 0}, {kShowHeader, 1}, {kShowFooter, 2}}};
    for (const auto& [id, part] : areas) {
        docCommand(id, [this, part = part](Doc&) {
            if (m_nArea == part)
                return;
            SetArea(part);
            RedrawScene();
        }, [this, part = part](Doc& d, CCmdUI& ui) {
            const CLabel* label = d.GetCurrentTemplate().GetLabel();
            ui.Enable(part == 0 ? label != nullptr
                                : part == 1 ? label && label->HasHeader() : label && label->HasFooter());
            ui.SetCheck(m_nArea == part);
        });
    }
    const auto helpLines = [this, unlocked](int id, bool vertical) {
        docCommand(id, [vertical](Doc& d) {
            CHelpLines& h = d.GetCurrentTemplate().GetHelpLines();
            if (vertical)
                h.SetVerticalOn(!h.IsVerticalOn());
            else
                h.SetHorizontalOn(!h.IsHorizontalOn());
            d.InvalidateDesignViews();
        }, [vertical, unlocked](Doc& d, CCmdUI& ui) {
            const CHelpLines& h = d.GetCurrentTemplate().GetHelpLines();
            ui.SetCheck(vertical ? h.IsVerticalOn() : h.IsHorizontalOn());
            ui.Enable(unlocked(d));
        });
    };
    helpLines(kHelpLinesVertical, true);
    helpLines(kHelpLinesHorizontal, false);
    const auto helpCount = [this, unlocked](int id, bool rows) {
        docCommand(id, [this, id, rows](Doc& d) {
            const auto text = ribbonText(id, 255);
            const auto n = text ? numfmt::ScanInt(*text) : std::nullopt;
            if (!n || *n < kMinHelpLines || *n > kMaxHelpLines)
                return;
            CHelpLines& h = d.GetCurrentTemplate().GetHelpLines();
            if (rows)
                h.SetHorizontalCount(*n);
            else
                h.SetVerticalCount(*n);
            d.InvalidateDesignViews();
        }, [this, rows, unlocked](Doc& d, CCmdUI& ui) {
            const CHelpLines& h = d.GetCurrentTemplate().GetHelpLines();
            refreshBox(ui, std::to_string(rows ? h.GetHorizontalCount() : h.GetVerticalCount()));
            ui.Enable(unlocked(d));
        });
    };
    helpCount(kHelpLineRows, true);
    helpCount(kHelpLineColumns, false);
    const std::array<std::pair<int, int>, 6> zooms{
        {{kZoom50, 50}, {kZoom75, 75}, {kZoom100, 100}, {kZoom200, 200}, {kZoom300, 300}, {kZoom400, 400}}};
    for (const auto& [id, percent] : zooms) {
        docCommand(id, [this, percent = percent](Doc&) { SetZoom(percent); },
                   [this, percent = percent](Doc&, CCmdUI& ui) { ui.SetCheck(m_nZoom == percent); });
    }
    // Design and Preview belong to the window around the view; nothing
    // there takes them.
    docCommand(kShowDesign, [](Doc&) {}, [this](Doc&, CCmdUI& ui) { ui.SetCheck(isVisible()); });
    docCommand(kShowPreview, [](Doc&) {}, [](Doc&, CCmdUI& ui) { ui.SetCheck(0); });

    // *Insert*: the new object waits for the next press on the canvas.
    const auto insert = [this, unlocked](int id, std::function<std::unique_ptr<CGraphObject>(Doc&)> make) {
        docCommand(id, [this, make = std::move(make)](Doc& d) {
            if (m_nMouseMode == MouseIdle)
                SetPendingObject(make(d));
        }, [unlocked](Doc& d, CCmdUI& ui) {
            const CLabel* label = d.GetCurrentTemplate().GetLabel();
            ui.Enable(label && label->IsDefined() && unlocked(d));
        });
    };
    insert(kInsertLine, [](Doc&) {
        auto line = std::make_unique<CGraphLine>();
        line->SetPenWidth(kPenWidth);
        line->SetSelected(false);
        return line;
    });
    insert(kInsertRectangle, [](Doc&) { return newRect(false); });
    insert(kInsertRoundedRectangle, [](Doc&) { return newRect(true); });
    insert(kInsertTriangle, [](Doc&) { return std::make_unique<CGraphTriangleExt>(); });
    insert(kInsertEllipse, [](Doc&) {
        auto e = std::make_unique<CGraphEllipse>();
        e->SetPenWidth(kPenWidth);
        e->SetTransparent(true);
        return e;
    });
    insert(kInsertText, [this](Doc& d) {
        auto text = std::make_unique<CGraphTextExt>();
        text->SetCenterVerticalMode(CGraphTextExt::kCentred);
        text->SetLogFont(d.GetDefaultFont());
        text->SetSourceColumnText(std::string(1, char('A' + d.GetFirstUnusedColumn(m_nArea))));
        return text;
    });
    insert(kInsertBarcode, [](Doc& d) {
        auto barcode = std::make_unique<CGraphBarcode>();
        const std::string type = d.GetDefaultBarcodeType();
        if (!type.empty())
            barcode->SetSymbologyName(type);
        barcode->SetLogFont(d.GetDefaultFont());
        if (!barcode->Symbology().Is2D()) {
            barcode->SetModule(settings::GetInt(settings::kDefaultBarcode, settings::kBarcodeModule, kDefaultModule));
            barcode->SetBarHeight(
                settings::GetInt(settings::kDefaultBarcode, settings::kBarcodeHeight, kDefaultBarHeight));
        }
        const auto setIf = [](const std::string& value, auto&& set) {
            if (!value.empty())
                set(value);
        };
        setIf(d.GetDefaultQrEccLevel(), [&](const std::string& v) { barcode->SetQrEccLevelText(v); });
        setIf(d.GetDefaultQrVersion(), [&](const std::string& v) { barcode->SetQrVersionText(v); });
        setIf(d.GetDefaultQrEncoding(), [&](const std::string& v) { barcode->SetQrEncodingName(v); });
        setIf(d.GetDefaultQrMargin(), [&](const std::string& v) { barcode->SetQrMarginText(v); });
        return barcode;
    });
    insert(kInsertImage, [](Doc&) { return std::make_unique<CGraphImageExtExt>(); });

    // *Lock*
    docCommand(kLock, [this](Doc& d) {
        if (d.GetCurrentTemplate().IsLocked()) {
            CUnlockDocumentDialog dialog(this);
            dialog.SetExpectedPassword(d.GetLockPassword());
            if (dialog.exec() == QDialog::Accepted)
                d.UnlockTemplate();
        } else {
            CLockDocumentDialog dialog(this);
            dialog.SetLockFlag(true);
            if (dialog.exec() == QDialog::Accepted)
                d.LockTemplate(dialog.GetPassword());
        }
    }, [](Doc& d, CCmdUI& ui) { ui.SetCheck(d.GetCurrentTemplate().IsLocked()); });
}

void View::CenterSelectionVertical()
{
    if (!m_pDocument)
        return;
    Doc& d = *m_pDocument;
    if (d.IsModuleMarking()) {
        d.CenterSelectionVertical(m_nArea);
        return;
    }
    CGraphCollection* c = area();
    if (!c || !c->HasSelection() || !IsEditable())
        return;
    int32_t centre = 0;
    if (c->GetSelectedCount() == 1) {
        // One object is centred in the area, which needs its height.
        const CLabel* label = d.GetCurrentTemplate().GetLabel();
        if (!label)
            return;
        centre = label->GetHeight(m_nArea) / 2;
    } else {
        centre = c->GetSelectedMeanCenter(kAxisY);
    }
    d.SaveUndoState(m_nArea, true);
    if (c->SetSelectedCenter(centre, kAxisY)) {
        d.SetModifiedFlag();
        d.InvalidateDesignViews();
        d.InvalidatePreviewViews();
    }
}
