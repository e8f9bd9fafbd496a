// Ribbon commands of the design canvas that format the selected objects:
// text and font, colours and lines, images, data sources and barcodes.
#include "shell/design/designview.h"

#include "content/objects/collection.h"
#include "content/objects/graphtext.h"
#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/commandids.h"
#include "platform/numberformat.h"
#include "platform/uiservices.h"
#include "shell/design/designlength.h"
#include "shell/frame/ribbonbar.h"

#include <QComboBox>
#include <QStringList>

#include <array>
#include <utility>

namespace {

using Doc = CVorteplanSoftLabelDoc;
using View = Vorteplan_SoftLabelDesignView;

// Longest texts taken from the boxes.
constexpr size_t kTypefaceChars = 99;
constexpr size_t kShortBoxChars = 19;
constexpr size_t kBoxChars = 255;
// A face name must leave room for its terminating zero in LOGFONT.
constexpr size_t kFaceNameBytes = LF_FACESIZE - 1;
// Font sizes in points the size box accepts.
constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 999;

// Kinds of barcode a module or height box was last filled for (bit 1
// linear, bit 2 two-dimensional), shared by every design view.
int g_moduleKinds = -1;
int g_heightKinds = -1;

QString mm(int32_t um)
{
    return QString::fromStdString(designlength::FormatLength(um, designlength::kMetric));
}

QStringList moduleItems(int kinds)
{
    QStringList items;
    if (kinds & 1)
        for (int32_t um : {200, 300, 400, 600, 800, 1000})
            items << mm(um);
    if (kinds & 2)
        items << "80 %" << "100 %" << "120 %" << "150 %" << "200 %";
    return items;
}

QStringList heightItems(int kinds)
{
    QStringList items;
    if (kinds & 1)
        for (int32_t um : {5000, 6000, 8000, 10000, 12000, 15000, 20000})
            items << mm(um);
    if (kinds & 2)
        items << "50 %" << "60 %" << "70 %" << "80 %" << "90 %" << "95 %" << "100 %";
    return items;
}

// Whether a selected object is a text (barcodes included): those offer the
// date, time and counter sources.
bool AnySelectedText(const CGraphCollection& c)
{
    for (const auto& o : c.Objects())
        if (o->IsSelected() && dynamic_cast<const CGraphText*>(o.get()))
            return true;
    return false;
}

// A collection query that answers a text when it has one.
using TextQuery = bool (CGraphCollection::*)(std::string&) const;

} // namespace

void View::registerFormatCommands()
{
    using namespace cmd;
    const auto unlocked = [](const Doc& d) { return !d.GetCurrentTemplate().IsLocked(); };
    // A query of the area's collection (false without one).
    const auto query = [this](auto fn) {
        const CGraphCollection* c = area();
        return c ? fn(*c) : decltype(fn(*c))();
    };
    // A box whose text goes to a text-taking operation and whose update
    // shows the collection's text, enabled while there is one.
    const auto textBox = [this, unlocked](int id, size_t limit, void (Doc::*op)(int, const std::string&),
                                          TextQuery get) {
        docCommand(id, [this, id, limit, op](Doc& d) {
            if (const auto text = ribbonText(id, limit))
                (d.*op)(m_nArea, *text);
        }, [this, get, unlocked](Doc& d, CCmdUI& ui) {
            std::string value;
            const CGraphCollection* c = area();
            const bool has = c && (c->*get)(value);
            ui.Enable(has && unlocked(d));
            if (has)
                refreshBox(ui, value);
        });
    };
    // A toggle checked from a collection query, enabled by another.
    const auto toggle = [this, unlocked](int id, void (Doc::*op)(int), bool (CGraphCollection::*checked)() const,
                                         bool (CGraphCollection::*offered)() const) {
        docCommand(id, [this, op](Doc& d) { (d.*op)(m_nArea); },
                   [this, checked, offered, unlocked](Doc& d, CCmdUI& ui) {
                       const CGraphCollection* c = area();
                       ui.SetCheck(c && (c->*checked)());
                       ui.Enable(c && (c->*offered)() && unlocked(d));
                   });
    };

    // *Text format*
    docCommand(kTypefaceBox, [this](Doc& d) {
        const auto name = ribbonText(kTypefaceBox, kTypefaceChars);
        if (!name)
            return;
        if (name->size() > kFaceNameBytes) {
            // Cut short it would name another face.
            Ui().Beep();
            return;
        }
        d.SetTypeface(m_nArea, *name);
    }, [this](Doc& d, CCmdUI& ui) {
        ui.Enable(d.HasTextSelection(m_nArea));
        refreshBox(ui, d.GetTypeface(m_nArea));
    });
    docCommand(kFontSizeBox, [this](Doc& d) {
        const auto text = ribbonText(kFontSizeBox, kBoxChars);
        const auto points = text ? numfmt::ScanInt(*text) : std::nullopt;
        if (points && *points >= kMinFontSize && *points <= kMaxFontSize)
            d.SetFontSizeOfSelection(m_nArea, *points);
    }, [this](Doc& d, CCmdUI& ui) {
        ui.Enable(d.HasTextSelection(m_nArea));
        const int size = d.GetFontSize(m_nArea);
        refreshBox(ui, size == -1 ? std::string() : std::to_string(size));
    });
    const std::array<std::tuple<int, void (Doc::*)(int), bool (Doc::*)(int) const>, 3> styles{
        {{kBold, &Doc::ToggleBold, &Doc::IsBold},
         {kItalic, &Doc::ToggleItalic, &Doc::IsItalic},
         {kUnderline, &Doc::ToggleUnderline, &Doc::IsUnderline}}};
    for (const auto& [id, op, is] : styles) {
        docCommand(id, [this, op = op](Doc& d) { (d.*op)(m_nArea); }, [this, is = is](Doc& d, CCmdUI& ui) {
            ui.SetCheck((d.*is)(m_nArea));
            ui.Enable(d.HasTextSelection(m_nArea));
        });
    }
    const std::array<std::pair<int, int>, 3> alignments{
        {{kTextAlignLeft, 0}, {kTextAlignCenter, 1}, {kTextAlignRight, 2}}};
    for (const auto& [id, i] : alignments) {
        docCommand(id, [this, i = i](Doc& d) { d.SetTextAlignment(m_nArea, i); },
                   [this, i = i, query](Doc& d, CCmdUI& ui) {
                       const int alignment = query([](const CGraphCollection& c) {
                           int out = -1;
                           c.GetSelectedTextAlignment(out);
                           return out;
                       });
                       ui.SetCheck(alignment == CGraphText::kAlignLeft + i);
                       ui.Enable(d.HasTextSelection(m_nArea));
                   });
    }
    toggle(kAutoSize, &Doc::ToggleAutoSizeFont, &CGraphCollection::GetSelectedAutoSize,
           &CGraphCollection::HasSelectedAutoSize);
    toggle(kCenterTextVertical, &Doc::ToggleCenterTextVertical, &CGraphCollection::GetSelectedCenterVertical,
           &CGraphCollection::HasSelectedCenterVertical);
    docCommand(kCharSetBox, [this, unlocked](Doc& d) {
        if (!unlocked(d))
            return;
        if (const auto name = ribbonText(kCharSetBox, kBoxChars))
            d.SetCharSetOfSelection(m_nArea, d.GetCharSetFromName(*name));
    }, [this](Doc& d, CCmdUI& ui) {
        if (m_links.ribbon)
            refreshBox(ui, d.GetCharSetName(d.GetCharSetOfSelection(m_nArea)));
    });
    const std::array<std::pair<int, void (Doc::*)(int, COLORREF)>, 3> colours{
        {{kTextColour, &Doc::SetTextColor}, {kBorderColour, &Doc::SetBorderColor}, {kFillColour, &Doc::SetFillColor}}};
    for (const auto& [id, op] : colours) {
        docCommand(id, [this, id = id, op = op](Doc& d) { (d.*op)(m_nArea, ribbonColour(id)); },
                   [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanSetColors(m_nArea)); });
    }

    // *Colours, lines and shapes*
    docCommand(kTransparent, [this](Doc& d) { d.ToggleTransparent(m_nArea); }, [this, query](Doc& d, CCmdUI& ui) {
        ui.SetCheck(query([](const CGraphCollection& c) { return c.GetSelectedTransparent(); }));
        ui.Enable(d.HasTextSelection(m_nArea));
    });
    const auto lengthBox = [this, unlocked](int id, void (Doc::*op)(int, int32_t),
                                            std::string (Doc::*text)(int) const) {
        docCommand(id, [this, id, op](Doc& d) {
            const auto box = ribbonText(id, kBoxChars);
            if (const auto um = box ? ParseLength(*box) : std::nullopt)
                (d.*op)(m_nArea, *um);
        }, [this, text, unlocked](Doc& d, CCmdUI& ui) {
            const std::string value = (d.*text)(m_nArea);
            ui.Enable(!value.empty() && unlocked(d));
            refreshBox(ui, value);
        });
    };
    lengthBox(kLineWidthBox, &Doc::SetBorderLineWidth, &Doc::GetBorderLineWidthText);
    lengthBox(kCornerRadiusBox, &Doc::SetCornerRadius, &Doc::GetCornerRadiusText);
    docCommand(kWarningSign, [this](Doc& d) {
        if (viewHasFocus())
            d.ToggleWarningSign(m_nArea);
    }, [this, query, unlocked](Doc& d, CCmdUI& ui) {
        ui.SetCheck(query([](const CGraphCollection& c) { return c.GetSelectedWarningSign(); }));
        ui.Enable(query([](const CGraphCollection& c) { return c.HasSelectedWarningSignOption(); }) && unlocked(d));
    });

    // *Images*
    docCommand(kImportImage, [this](Doc& d) { d.ImportImage(m_nArea); },
               [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanImportImage(m_nArea)); });
    docCommand(kResetImage, [this](Doc& d) {
        d.ResetImageSize(m_nArea);
        UpdateScrollSizes();
    }, [this](Doc& d, CCmdUI& ui) { ui.Enable(d.CanResetImage(m_nArea)); });

    // *Data source*: 1 constant, 0 table, 2 date, 3 time, 4 auto increment.
    const std::array<std::pair<int, int>, 5> sources{
        {{kSourceConstant, 1}, {kSourceTable, 0}, {kSourceDate, 2}, {kSourceTime, 3}, {kSourceAutoIncrement, 4}}};
    for (const auto& [id, kind] : sources) {
        docCommand(id, [this, kind = kind](Doc& d) {
            EndInPlaceEdit();
            d.SetDataSource(m_nArea, kind);
        }, [this, kind = kind, unlocked](Doc& d, CCmdUI& ui) {
            const CGraphCollection* c = area();
            const int current = c ? c->GetSelectedTextSourceType() : -1;
            // Texts offer every kind, images only constant and table.
            const bool text = c && AnySelectedText(*c);
            const bool offered = kind <= 1 ? current != -1 : text;
            ui.Enable(offered && unlocked(d) && (kind != 0 || d.CanUseTableSource(false)));
            ui.SetCheck(current == kind);
        });
    }
    docCommand(kColumnBox, [this](Doc& d) {
        if (auto text = ribbonText(kColumnBox, kShortBoxChars)) {
            for (char& ch : *text)
                if (ch >= 'a' && ch <= 'z')
                    ch = char(ch - 'a' + 'A');
            d.SelectColumns(m_nArea, *text);
        }
    }, [this, unlocked](Doc& d, CCmdUI& ui) {
        ui.Enable(d.CanSelectColumns(m_nArea) && unlocked(d));
        std::string columns;
        if (const CGraphCollection* c = area(); c && c->GetSelectedSourceColumnText(columns))
            refreshBox(ui, columns);
    });
    textBox(kDelimiterBox, kBoxChars, &Doc::SetSeparatorName, &CGraphCollection::GetSelectedSeparatorName);
    docCommand(kSeparateBlankFields, [this](Doc& d) { d.ToggleSeparateBlankFields(m_nArea); },
               [this, unlocked](Doc& d, CCmdUI& ui) {
                   ui.SetCheck(d.IsSeparateBlankFields(m_nArea));
                   ui.Enable(d.CanSetSeparateBlankFields(m_nArea) && unlocked(d));
               });
    textBox(kDateFormatBox, kBoxChars, &Doc::SetDateFormatName, &CGraphCollection::GetSelectedDateComponentName);
    docCommand(kDateOptions, [](Doc&) {}, [this, unlocked](Doc& d, CCmdUI& ui) {
        ui.SetCheck(d.CanEditDateFormat(m_nArea));
        ui.Enable(d.CanEditDateOffset(m_nArea) && unlocked(d));
    });
    docCommand(kDateOffset, [this](Doc& d) {
        if (const auto text = ribbonText(kDateOffset, kShortBoxChars))
            d.SetDateOffsetText(m_nArea, *text);
    }, [this, unlocked](Doc& d, CCmdUI& ui) {
        std::string name;
        const CGraphCollection* c = area();
        ui.Enable(c && c->GetSelectedDateComponentName(name) && unlocked(d));
        refreshBox(ui, d.GetDateOffsetText(m_nArea));
    });
    textBox(kCounterPrefix, kBoxChars, &Doc::SetAutoIncrementPrefix, &CGraphCollection::GetSelectedCounterPrefix);
    textBox(kCounterStart, kBoxChars, &Doc::SetAutoIncrementStart, &CGraphCollection::GetSelectedCounterStartText);
    textBox(kCounterSuffix, kBoxChars, &Doc::SetAutoIncrementSuffix, &CGraphCollection::GetSelectedCounterSuffix);
    docCommand(kLeadingZero, [this](Doc& d) { d.ToggleLeadingZero(m_nArea); }, [this, unlocked](Doc& d, CCmdUI& ui) {
        if (viewHasFocus())
            ui.SetCheck(d.IsLeadingZero(m_nArea));
        ui.Enable(d.CanSetLeadingZero(m_nArea) && unlocked(d));
    });
    docCommand(kMinDigits, [this](Doc& d) {
        if (const auto text = ribbonText(kMinDigits, kBoxChars))
            d.SetMinDigits(m_nArea, *text);
    }, [this, unlocked](Doc& d, CCmdUI& ui) {
        const bool on = d.IsLeadingZero(m_nArea);
        ui.Enable(on && unlocked(d));
        if (on)
            refreshBox(ui, d.GetMinDigitsText(m_nArea));
    });

    // *Barcode*
    docCommand(kBarcodeSymbolBox, [this](Doc& d) {
        if (const auto text = ribbonText(kBarcodeSymbolBox, kBoxChars))
            d.SetBarcodeType(m_nArea, *text);
    }, [this, unlocked](Doc& d, CCmdUI& ui) {
        const CGraphCollection* c = area();
        std::string name;
        bool has = false;
        if (c) {
            for (const auto& o : c->Objects())
                if (o->IsSelected() && o->IsBarcode() && o->GetSymbologyName(name)) {
                    has = true;
                    break;
                }
        }
        ui.Enable(has && unlocked(d));
        if (has)
            refreshBox(ui, name);
    });
    const auto sizeCombo = [this, unlocked](int id, void (Doc::*percentOp)(int, int),
                                            void (Doc::*lengthOp)(int, int32_t), bool height) {
        docCommand(id, [this, id, percentOp, lengthOp](Doc& d) {
            const auto text = ribbonText(id, kBoxChars);
            if (!text)
                return;
            if (text->find('%') != std::string::npos) {
                if (const auto percent = ParsePercent(*text))
                    (d.*percentOp)(m_nArea, *percent);
            } else if (const auto um = ParseLength(*text)) {
                (d.*lengthOp)(m_nArea, *um);
            }
        }, [this, id, height, unlocked](Doc& d, CCmdUI& ui) {
            const CGraphCollection* c = area();
            const int kinds = c ? (height ? c->GetSelectedHeightChoiceKinds() : c->GetSelectedModuleChoiceKinds()) : 0;
            int& last = height ? g_heightKinds : g_moduleKinds;
            if (kinds != last && m_links.ribbon && m_links.ribbon->FindCombo(id)) {
                last = kinds;
                m_links.ribbon->SetComboItems(id, height ? heightItems(kinds) : moduleItems(kinds));
            }
            std::string value;
            const bool has =
                c && (height ? c->GetSelectedBarcodeHeightText(value) : c->GetSelectedBarcodeModuleText(value));
            ui.Enable(has && unlocked(d));
            if (has)
                refreshBox(ui, value);
        });
    };
    sizeCombo(kBarcodeModuleBox, &Doc::SetBarcodeModulePercent, &Doc::SetBarcodeModule, false);
    sizeCombo(kBarcodeHeightBox, &Doc::SetBarcodeHeightPercent, &Doc::SetBarcodeHeight, true);
    toggle(kCheckDigit, &Doc::ToggleBarcodeCheckDigit, &CGraphCollection::GetSelectedBarcodeCheckDigit,
           &CGraphCollection::HasSelectedBarcodeCheckDigitOption);
    toggle(kHumanReadable, &Doc::ToggleBarcodeHumanReadable, &CGraphCollection::GetSelectedBarcodeShowText,
           &CGraphCollection::HasSelectedBarcodeTextOption);
    toggle(kHrCheckDigit, &Doc::ToggleBarcodeHrCheckDigit, &CGraphCollection::GetSelectedBarcodeShowCheckDigit,
           &CGraphCollection::HasSelectedBarcodeCheckDigitTextOption);
    textBox(kBarcodeRatioBox, kBoxChars, &Doc::SetBarcodeRatio, &CGraphCollection::GetSelectedBarcodeRatioText);
    textBox(kBarcodeCompensationBox, kBoxChars, &Doc::SetBarcodeCompensation,
            &CGraphCollection::GetSelectedBarcodeGapCorrectionText);
    textBox(kQrVersionBox, kBoxChars, &Doc::SetQrVersion, &CGraphCollection::GetSelectedQrVersionText);
    textBox(kQrEccLevelBox, kBoxChars, &Doc::SetQrEccLevel, &CGraphCollection::GetSelectedQrEccLevelText);
    textBox(kQrEncodingBox, kBoxChars, &Doc::SetQrEncoding, &CGraphCollection::GetSelectedQrEncodingName);
    textBox(kQrMarginBox, kBoxChars, &Doc::SetQrMargin, &CGraphCollection::GetSelectedQrMarginText);
}
