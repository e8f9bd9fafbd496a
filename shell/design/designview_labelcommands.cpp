// The label-definition commands of the design canvas: new, load, delete and
// template import, paper and label layout, header and footer.
#include "shell/design/designview.h"

#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/commandids.h"
#include "platform/uiservices.h"
#include "shell/design/designcommandtext.h"
#include "shell/design/designlength.h"
#include "shell/frame/ribbonbar.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {

// The header (area 1) and footer (area 2) boxes.
struct PartBoxes {
    int part;
    int width, height, enable, top, left;
};
constexpr PartBoxes kPartBoxes[] = {
    {1, cmd::kHeaderWidth, cmd::kHeaderHeight, cmd::kHeaderEnable, cmd::kHeaderTop, cmd::kHeaderLeft},
    {2, cmd::kFooterWidth, cmd::kFooterHeight, cmd::kFooterEnable, cmd::kFooterTop, cmd::kFooterLeft},
};

// The shape buttons and the shape each sets.
constexpr std::pair<int, int> kShapes[] = {
    {cmd::kShapeRectangular, 0}, {cmd::kShapeRounded, 1}, {cmd::kShapeElliptical, 2}};

constexpr int kRoundedShape = 1;
constexpr int kCustomPaper = 0;
constexpr int kFirstUserPaper = 256;

std::string pathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

bool hasSuffix(const QString& path, const char* suffix)
{
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

std::string mm(int32_t um)
{
    return designlength::FormatLength(um, designlength::kMetric);
}

} // namespace

// --- shared steps of the ribbon boxes ------------------------------------------------------

std::string Vorteplan_SoftLabelDesignView::ribbonText(int id) const
{
    return m_links.ribbon ? codepage::FromUnicode(m_links.ribbon->GetEditText(id)) : std::string();
}

void Vorteplan_SoftLabelDesignView::refreshText(CCmdUI& ui, const std::string& text) const
{
    if (hasFocus())
        ui.SetText(codepage::ToUnicode(text));
}

bool Vorteplan_SoftLabelDesignView::isMarkingLabel() const
{
    return m_pDocument && m_pDocument->IsModuleMarking();
}

void Vorteplan_SoftLabelDesignView::onLengthBox(int id, const std::function<void(int32_t)>& set)
{
    if (!m_pDocument)
        return;
    if (const std::optional<int32_t> um = ParseLength(ribbonText(id)))
        set(*um);
}

// --- label definition ------------------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::registerLabelCommands()
{
    const auto unlocked = [this](CCmdUI& ui) { ui.Enable(IsEditable()); };

    OnCommand(cmd::kNewLabel, [this] {
        if (!IsEditable())
            return;
        if (m_pDocument->IsLabelDefined() && !designcmd::AskYesNo("Create a new label definition, are you sure?"))
            return;
        m_pDocument->NewLabelDefinition();
        UpdateScrollSizes();
    }, unlocked);

    OnCommand(cmd::kLoadLabel, [this] {
        if (!IsEditable())
            return;
        FileDialogRequest request;
        request.filter = "Label files (*.label)|*.label||";
        request.defaultExtension = "label";
        const std::optional<QString> path = Ui().AskOpenFileName(request);
        if (!path || !hasSuffix(*path, "label"))
            return;
        m_pDocument->LoadLabelDefinition(pathBytes(*path));
        UpdateScrollSizes();
    }, unlocked);

    OnCommand(cmd::kDeleteLabel, [this] {
        if (!IsEditable())
            return;
        if (!designcmd::AskYesNo("Delete the current label definition, are you sure?"))
            return;
        m_pDocument->DeleteLabelDefinition();
        UpdateScrollSizes();
    }, unlocked);

    OnCommand(cmd::kImportTemplate, [this] {
        if (!IsEditable())
            return;
        FileDialogRequest request;
        request.filter = "Template files(*.tpe)|*.tpe||";
        request.defaultExtension = "tpe";
        const std::optional<QString> path = Ui().AskOpenFileName(request);
        if (!path || !hasSuffix(*path, "tpe"))
            return;
        m_pDocument->ImportTemplateFile(pathBytes(*path));
        UpdateScrollSizes();
    }, [](CCmdUI& ui) { ui.Enable(true); });
}

// --- paper, layout, header and footer -----------------------------------------------------------

void Vorteplan_SoftLabelDesignView::registerPageCommands()
{
    // Most layout boxes: unlocked and no module-marking label.
    const auto layout = [this] { return IsEditable() && !isMarkingLabel(); };
    const auto lengthBox = [this, layout](int id, std::function<void(int32_t)> set,
                                          std::function<std::string()> text, std::function<bool()> enabled) {
        OnCommand(id, [this, id, set] { onLengthBox(id, set); }, [this, text, enabled](CCmdUI& ui) {
            ui.Enable(enabled());
            if (m_pDocument)
                refreshText(ui, text());
        });
    };
    CVorteplanSoftLabelDoc* doc = m_pDocument;
    if (!doc)
        return;

    OnCommand(cmd::kPaperSizeBox, [this, doc] { doc->ChoosePaperSize(ribbonText(cmd::kPaperSizeBox)); },
              [this, doc, layout](CCmdUI& ui) {
                  ui.Enable(layout());
                  std::string name;
                  if (const CLabel* label = doc->GetCurrentTemplate().GetLabel())
                      label->GetPaperName(name);
                  refreshText(ui, name);
              });

    const auto customPaper = [doc, layout] {
        const int code = doc->GetPaperSizeCode();
        return layout() && (code == kCustomPaper || code >= kFirstUserPaper);
    };
    const auto paperChanged = [doc] {
        doc->SetModifiedFlag(true);
        doc->InvalidatePreviewViews();
    };
    lengthBox(cmd::kPaperWidth, [doc, paperChanged](int32_t um) { doc->SetPaperWidth(um), paperChanged(); },
              [doc] { return doc->GetCurrentTemplate().GetLabel() ? mm(doc->GetPaperWidth()) : std::string(); },
              customPaper);
    lengthBox(cmd::kPaperHeight, [doc, paperChanged](int32_t um) { doc->SetPaperHeight(um), paperChanged(); },
              [doc] { return doc->GetCurrentTemplate().GetLabel() ? mm(doc->GetPaperHeight()) : std::string(); },
              customPaper);

    for (int orientation : {1, 2}) {
        OnCommand(orientation == 1 ? cmd::kPortrait : cmd::kLandscape, [doc, orientation] {
            doc->SetPaperOrientation(orientation);
        }, [this, doc, orientation](CCmdUI& ui) {
            ui.Enable(IsEditable());
            const CLabel* label = doc->GetCurrentTemplate().GetLabel();
            ui.SetCheck(label && label->GetOrientation() == orientation);
        });
    }

    const auto sized = [this](int32_t) { UpdateScrollSizes(); };
    lengthBox(cmd::kLabelWidth, [doc, sized](int32_t um) { doc->SetAreaWidth(0, um), sized(um); },
              [doc] { return doc->GetAreaWidthText(0); }, layout);
    lengthBox(cmd::kLabelHeight, [doc, sized](int32_t um) { doc->SetAreaHeight(0, um), sized(um); },
              [doc] { return doc->GetAreaHeightText(0); }, layout);

    for (const auto& [id, shape] : kShapes) {
        OnCommand(id, [this, doc, shape = shape] {
            if (m_nArea == 0)
                doc->SetLabelShape(shape);
        }, [this, doc, shape = shape](CCmdUI& ui) {
            const CLabel* label = doc->GetCurrentTemplate().GetLabel();
            ui.Enable(IsEditable() && (!label || !label->IsModuleMarking()));
            const int current = label ? label->GetShape(m_nArea) : 0;
            ui.SetCheck(current == shape);
        });
    }

    OnCommand(cmd::kLabelRadius, [this, doc] {
        if (m_nArea == 0)
            onLengthBox(cmd::kLabelRadius, [doc](int32_t um) { doc->SetLabelCornerRadius(um); });
    }, [this, doc](CCmdUI& ui) {
        const bool rounded = m_nArea == 0 && doc->GetCurrentTemplate().GetLabel() &&
                             doc->GetLabelShape() == kRoundedShape;
        ui.Enable(rounded && IsEditable());
        refreshText(ui, rounded ? doc->GetLabelCornerRadiusText() : std::string());
    });

    // The margins are those of the label (area 0) whichever area is shown.
    lengthBox(cmd::kMarginTop, [doc](int32_t um) { doc->SetAreaTop(0, um); }, [doc] { return doc->GetAreaTopText(0); },
              layout);
    lengthBox(cmd::kMarginLeft, [doc](int32_t um) { doc->SetAreaLeft(0, um); },
              [doc] { return doc->GetAreaLeftText(0); }, layout);
    lengthBox(cmd::kPitchHorizontal, [doc](int32_t um) { doc->SetHorizontalPitch(um); },
              [doc] { return doc->GetHorizontalPitchText(); }, layout);
    lengthBox(cmd::kPitchVertical, [doc](int32_t um) { doc->SetVerticalPitch(um); },
              [doc] { return doc->GetVerticalPitchText(); }, layout);
    lengthBox(cmd::kBlockSpace, [doc](int32_t um) { doc->SetBlockSpace(um); },
              [doc] { return doc->GetBlockSpaceText(); }, [this] { return IsEditable(); });

    const auto countBox = [this, layout](int id, std::function<void(int)> set, std::function<std::string()> text) {
        OnCommand(id, [this, id, set] {
            if (const std::optional<int> n = designcmd::ScanInt(ribbonText(id)))
                set(*n);
        }, [this, layout, text](CCmdUI& ui) {
            ui.Enable(layout());
            refreshText(ui, text());
        });
    };
    countBox(cmd::kRows, [doc](int n) { doc->SetRowCount(n); }, [doc] { return doc->GetRowCountText(); });
    countBox(cmd::kColumns, [doc](int n) { doc->SetColumnCount(n); }, [doc] { return doc->GetColumnCountText(); });
    countBox(cmd::kBlockCount, [doc](int n) { doc->SetBlockCount(n); }, [doc] { return doc->GetBlockCountText(); });

    // Header and footer: width, height, enable, from top, from left.
    for (const PartBoxes& boxes : kPartBoxes) {
        const int part = boxes.part;
        const auto hasPart = [this, doc, part] { return IsEditable() && doc->HasLabelPart(part); };
        const auto partText = [doc, part](std::string (CVorteplanSoftLabelDoc::*get)(int) const) {
            return [doc, part, get] { return doc->HasLabelPart(part) ? (doc->*get)(part) : std::string(); };
        };
        lengthBox(boxes.width, [doc, part](int32_t um) { doc->SetAreaWidth(part, um); },
                  partText(&CVorteplanSoftLabelDoc::GetAreaWidthText), hasPart);
        lengthBox(boxes.height, [doc, part](int32_t um) { doc->SetAreaHeight(part, um); },
                  partText(&CVorteplanSoftLabelDoc::GetAreaHeightText), hasPart);
        lengthBox(boxes.top, [doc, part](int32_t um) { doc->SetAreaTop(part, um); },
                  partText(&CVorteplanSoftLabelDoc::GetAreaTopText), hasPart);
        lengthBox(boxes.left, [doc, part](int32_t um) { doc->SetAreaLeft(part, um); },
                  partText(&CVorteplanSoftLabelDoc::GetAreaLeftText), hasPart);
        OnCommand(boxes.enable, [doc, part] { doc->ToggleLabelPart(part); }, [this, doc, part, layout](CCmdUI& ui) {
            const bool label = doc->GetCurrentTemplate().GetLabel() != nullptr;
            ui.Enable(label && layout());
            ui.SetCheck(label && doc->HasLabelPart(part));
        });
    }
}
