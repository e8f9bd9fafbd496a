// The module-marking commands of the design canvas. "Modules" below means a
// module-marking label with module selection on; in object selection every
// marker command is disabled.
#include "shell/design/designview.h"

#include "content/objects/collection.h"
#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "shell/design/designcommandtext.h"
#include "shell/design/designlength.h"

#include <array>

namespace {

enum : int {
    kEnable = 1116,
    kStripWidth = 1117,
    kStripWidthKey = 1085,
    kJobRow = 1114,
    kMaterialLength = 1194,
    kFixedLength = 1115,
    kModuleLength = 1086,
    kMultiplierCombo = 1110,
    kModulesToAdd = 1097,
    kAdd = 1095,
    kInsert = 1103,
    kUpdate = 1123,
    kDelete = 1091,
    kDeleteAll = 1092,
    kJoin = 1195,
    kSplit = 1196,
    kSkip = 1113,
    kGap = 1119,
    kMarkerBorders = 1125,
    kLeftMargin = 1111,
    kRightMargin = 1112,
    kGotoMarker = 1098,
    kFirst = 1101,
    kPrevious = 1099,
    kNext = 1100,
    kLast = 1102,
    kModuleTotal = 1093,
    kMarkerTotal = 1094,
    kTableFlag = 696,
};

// The multiplier buttons " x 1 " .. " x 5 ".
constexpr std::array<int, 5> kMultiplierButtons{1087, 1088, 1089, 1090, 1109};

// "Aktuell etikettdefinition kommer att raderas. Försätt?" / "Modulmärkning" in cp1252.
constexpr const char* kReplaceQuestion = "Aktuell etikettdefinition kommer att raderas. F\xF6rs\xE4tt?";
constexpr const char* kMarkingCaption = "Modulm\xE4rkning";

std::string mm(int32_t um)
{
    return designlength::FormatLength(um, designlength::kMetric);
}

} // namespace

void Vorteplan_SoftLabelDesignView::registerModuleMarkingCommands()
{
    CVorteplanSoftLabelDoc* doc = m_pDocument;
    if (!doc)
        return;
    const auto modules = [this](CCmdUI& ui) { ui.Enable(isModules()); };
    const auto job = [doc]() -> const CModuleMarkingJob& { return doc->GetCurrentTemplate().GetJob(); };
    const auto redrawAll = [doc] {
        doc->InvalidatePreviewViews();
        doc->InvalidateDesignViews();
    };
    // A length box: on a change the modified flag (when `modifies`), the
    // previews and designs repainted and (when `scrolls`) the scroll sizes.
    const auto lengthBox = [this, doc, redrawAll](int id, std::function<bool(int32_t)> set, bool modifies,
                                                  bool scrolls) {
        return [this, doc, redrawAll, id, set, modifies, scrolls] {
            onLengthBox(id, [&](int32_t um) {
                if (!set(um))
                    return;
                if (modifies)
                    doc->SetModifiedFlag(true);
                redrawAll();
                if (scrolls)
                    UpdateScrollSizes();
            });
        };
    };
    const auto numberBox = [this](int id, std::function<void(int)> set) {
        return [this, id, set] {
            if (const std::optional<int> n = designcmd::ScanInt(ribbonText(id)))
                set(*n);
        };
    };
    // A command that answers whether it changed the job; the scroll sizes
    // follow a change when `scrolls`, otherwise a repaint.
    const auto jobStep = [this](std::function<bool()> step, bool scrolls) {
        return [this, step, scrolls] {
            if (!step())
                return;
            if (scrolls)
                UpdateScrollSizes();
            else
                RedrawScene();
        };
    };

    OnCommand(kEnable, [this, doc] {
        if (!doc->IsModuleMarking() && doc->IsLabelDefined() &&
            !designcmd::AskYesNo(kReplaceQuestion, kMarkingCaption))
            return;
        doc->ToggleModuleMarking();
        UpdateScrollSizes();
    }, [this](CCmdUI& ui) { ui.SetCheck(isMarkingLabel()); });

    const auto stripWidthText = [this, doc](CCmdUI& ui) {
        ui.Enable(isMarkingLabel());
        refreshText(ui, isMarkingLabel() ? mm(doc->GetStripWidth()) : std::string());
    };
    for (int id : {kStripWidth, kStripWidthKey})
        OnCommand(id, lengthBox(id, [doc](int32_t um) { return doc->SetStripWidth(um); }, true, false),
                  stripWidthText);

    OnCommand(kJobRow, numberBox(kJobRow, [this, doc](int) {
        CTemplate& t = doc->GetCurrentTemplate();
        if (!t.IsLocked() && t.ApplyJobRowToLabel())
            doc->TemplateEdited();
        UpdateScrollSizes();
    }), [this, job](CCmdUI& ui) {
        ui.Enable(isMarkingLabel());
        refreshText(ui, std::to_string(job().GetCurrentRowIndex() + 1));
    });

    OnCommand(kMaterialLength, lengthBox(kMaterialLength, [doc](int32_t um) { return doc->SetMaterialLength(um); },
                                         false, true),
              [this, doc, job](CCmdUI& ui) {
                  ui.Enable(isMarkingLabel() && !job().IsFreeLength());
                  refreshText(ui, mm(doc->GetMaterialLength()));
              });
    OnCommand(kFixedLength, [this, doc] {
        if (isMarkingLabel()) {
            doc->ToggleFixedLength();
            UpdateScrollSizes();
        }
    }, [this, job](CCmdUI& ui) {
        ui.Enable(isMarkingLabel());
        ui.SetCheck(!job().IsFreeLength());
    });

    OnCommand(kModuleLength, lengthBox(kModuleLength, [doc](int32_t um) { return doc->SetModuleLength(um); }, true,
                                       true),
              [this, doc](CCmdUI& ui) {
                  ui.Enable(isModules());
                  refreshText(ui, mm(doc->GetCurrentTemplate().GetCurrentModuleLength()));
              });

    for (size_t i = 0; i < kMultiplierButtons.size(); ++i) {
        const int n = int(i) + 1;
        OnCommand(kMultiplierButtons[i], jobStep([doc, n] { return doc->SelectMultiplier(n); }, true),
                  [this, doc, job, n](CCmdUI& ui) {
                      ui.Enable(isModules() && (n == 1 || job().HasRoomForModules(n)));
                      ui.SetCheck(isModules() && doc->GetCurrentMultiplier() == n);
                  });
    }
    OnCommand(kMultiplierCombo, numberBox(kMultiplierCombo, [this, doc](int n) {
        if (n > 0 && doc->SelectMultiplier(n))
            UpdateScrollSizes();
    }), [this, doc](CCmdUI& ui) {
        ui.Enable(isModules());
        refreshText(ui, std::to_string(doc->GetCurrentMultiplier()));
    });
    OnCommand(kModulesToAdd, numberBox(kModulesToAdd, [doc](int n) {
        if (n > 0)
            doc->SetModulesToAdd(n);
    }), [this, doc](CCmdUI& ui) {
        ui.Enable(isMarkingLabel());
        refreshText(ui, isModules() ? std::to_string(doc->GetModulesToAdd()) : std::string());
    });

    const auto fits = [this, job](CCmdUI& ui) { ui.Enable(isModules() && job().FitsMaterial()); };
    OnCommand(kAdd, jobStep([doc] { return doc->AppendMarker(); }, true), fits);
    OnCommand(kInsert, jobStep([doc] { return doc->InsertMarker(); }, true), fits);
    OnCommand(kUpdate, jobStep([doc] { return doc->UpdateMarker(); }, false),
              [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanUpdateMarker()); });
    OnCommand(kDelete, jobStep([doc] { return doc->DeleteMarker(); }, true),
              [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanDeleteMarker()); });
    OnCommand(kDeleteAll, jobStep([doc] { return doc->DeleteAllMarkers(); }, true), modules);
    OnCommand(kJoin, jobStep([doc] { return doc->JoinMarker(); }, false),
              [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanJoinMarker()); });
    OnCommand(kSplit, jobStep([doc] { return doc->SplitMarker(); }, false),
              [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanSplitMarker()); });
    OnCommand(kSkip, [this, doc] {
        if (isModules())
            doc->ToggleSkipMarker();
    }, [this, job](CCmdUI& ui) {
        ui.Enable(isModules());
        const CModuleMarkingRow& row = job().GetCurrentRow();
        const int c = row.GetCurrentIndex();
        ui.SetCheck(isModules() && c >= 0 && c < row.GetModuleCount() && row.Module(c).m_skip);
    });

    OnCommand(kGap, lengthBox(kGap, [doc](int32_t um) { return doc->SetModuleGap(um); }, true, false),
              [this, doc](CCmdUI& ui) {
                  ui.Enable(isModules());
                  refreshText(ui, mm(doc->GetModuleGap()));
              });
    OnCommand(kMarkerBorders, [doc] { doc->ToggleMarkerBorders(); }, [this, job](CCmdUI& ui) {
        ui.Enable(isMarkingLabel());
        ui.SetCheck(job().HasMarkerBorders());
    });
    OnCommand(kLeftMargin, lengthBox(kLeftMargin, [doc](int32_t um) { return doc->SetMarkingLeftMargin(um); }, true,
                                     false),
              [this, doc](CCmdUI& ui) {
                  ui.Enable(isModules());
                  refreshText(ui, mm(doc->GetMarkingLeftMargin()));
              });
    OnCommand(kRightMargin, lengthBox(kRightMargin, [doc](int32_t um) { return doc->SetMarkingRightMargin(um); },
                                      true, false),
              [this, job](CCmdUI& ui) {
                  ui.Enable(isModules() && job().IsFreeLength());
                  refreshText(ui, mm(job().GetRightMargin()));
              });

    // --- position
    OnCommand(kGotoMarker, numberBox(kGotoMarker, [this, doc](int n) {
        if (isModules() && doc->GotoMarker(n - 1))
            RedrawScene();
    }), [this, doc](CCmdUI& ui) {
        ui.Enable(isModules());
        refreshText(ui, std::to_string(doc->GetCurrentMarkerNumber() + 1));
    });
    const auto canBack = [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanGotoPreviousMarker()); };
    const auto canOn = [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanGotoNextMarker()); };
    OnCommand(kFirst, jobStep([doc] { return doc->GotoFirstMarker(); }, false), canBack);
    OnCommand(kPrevious, jobStep([doc] { return doc->GotoPreviousMarker(); }, false), canBack);
    OnCommand(kNext, jobStep([doc] { return doc->GotoNextMarker(); }, false), canOn);
    OnCommand(kLast, jobStep([doc] { return doc->GotoLastMarker(); }, false), canOn);

    // --- totals (display only)
    OnUpdate(kModuleTotal, [this, doc](CCmdUI& ui) {
        ui.Enable(isMarkingLabel());
        refreshText(ui, isMarkingLabel() ? std::to_string(doc->GetCurrentRowModuleCount()) : std::string());
    });
    OnUpdate(kMarkerTotal, [this, job](CCmdUI& ui) {
        ui.Enable(isMarkingLabel());
        refreshText(ui, isMarkingLabel() ? std::to_string(job().GetCurrentRow().GetMarkerCount()) : std::string());
    });

    // The table flag of the selected objects, in object selection.
    OnCommand(kTableFlag, [this, doc] {
        if (!isMarkingLabel() || m_bSelectModules)
            return;
        doc->ApplyToFirstArea();
        doc->InvalidateDesignViews();
        doc->InvalidatePreviewViews();
    }, [this, doc](CCmdUI& ui) {
        const CGraphCollection* c = doc->GetCurrentTemplate().GetArea(0);
        const bool offered = isMarkingLabel() && !m_bSelectModules && c && c->HasSelectedTableFlagOption();
        ui.Enable(offered);
        ui.SetCheck(offered && c->GetSelectedTableFlag());
    });
}
