// The module-marking commands of the design canvas. "Modules" below means a
// module-marking label with module selection on; in object selection every
// marker command is disabled.
#include "shell/design/designview.h"

#include "content/objects/collection.h"
#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "shell/design/designcommandtext.h"
#include "shell/design/designlength.h"

#include <array>

namespace {

// The multiplier buttons " x 1 " .. " x 5 ".
constexpr std::array<int, 5> kMultiplierButtons{cmd::kMultiply1, cmd::kMultiply2, cmd::kMultiply3, cmd::kMultiply4,
                                                cmd::kMultiply5};

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
    using namespace cmd;
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

    OnCommand(kMarkingEnable, [this, doc] {
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
    OnCommand(kMultiplierBox, numberBox(kMultiplierBox, [this, doc](int n) {
        if (n > 0 && doc->SelectMultiplier(n))
            UpdateScrollSizes();
    }), [this, doc](CCmdUI& ui) {
        ui.Enable(isModules());
        refreshText(ui, std::to_string(doc->GetCurrentMultiplier()));
    });
    OnCommand(kModulesToAddBox, numberBox(kModulesToAddBox, [doc](int n) {
        if (n > 0)
            doc->SetModulesToAdd(n);
    }), [this, doc](CCmdUI& ui) {
        ui.Enable(isMarkingLabel());
        refreshText(ui, isModules() ? std::to_string(doc->GetModulesToAdd()) : std::string());
    });

    const auto fits = [this, job](CCmdUI& ui) { ui.Enable(isModules() && job().FitsMaterial()); };
    OnCommand(kAddMarker, jobStep([doc] { return doc->AppendMarker(); }, true), fits);
    OnCommand(kInsertMarker, jobStep([doc] { return doc->InsertMarker(); }, true), fits);
    OnCommand(kUpdateMarker, jobStep([doc] { return doc->UpdateMarker(); }, false),
              [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanUpdateMarker()); });
    OnCommand(kDeleteMarker, jobStep([doc] { return doc->DeleteMarker(); }, true),
              [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanDeleteMarker()); });
    OnCommand(kDeleteAllMarkers, jobStep([doc] { return doc->DeleteAllMarkers(); }, true), modules);
    OnCommand(kJoinMarker, jobStep([doc] { return doc->JoinMarker(); }, false),
              [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanJoinMarker()); });
    OnCommand(kSplitMarker, jobStep([doc] { return doc->SplitMarker(); }, false),
              [this, doc](CCmdUI& ui) { ui.Enable(isModules() && doc->CanSplitMarker()); });
    OnCommand(kSkipMarker, [this, doc] {
        if (isModules())
            doc->ToggleSkipMarker();
    }, [this, job](CCmdUI& ui) {
        ui.Enable(isModules());
        const CModuleMarkingRow& row = job().GetCurrentRow();
        const int c = row.GetCurrentIndex();
        ui.SetCheck(isModules() && c >= 0 && c < row.GetModuleCount() && row.Module(c).m_skip);
    });

    OnCommand(kModuleGap, lengthBox(kModuleGap, [doc](int32_t um) { return doc->SetModuleGap(um); }, true, false),
              [this, doc](CCmdUI& ui) {
                  ui.Enable(isModules());
                  refreshText(ui, mm(doc->GetModuleGap()));
              });
    OnCommand(kMarkerBorders, [doc] { doc->ToggleMarkerBorders(); }, [this, job](CCmdUI& ui) {
        ui.Enable(isMarkingLabel());
        ui.SetCheck(job().HasMarkerBorders());
    });
    OnCommand(kMarkingLeftMargin,
              lengthBox(kMarkingLeftMargin, [doc](int32_t um) { return doc->SetMarkingLeftMargin(um); }, true, false),
              [this, doc](CCmdUI& ui) {
                  ui.Enable(isModules());
                  refreshText(ui, mm(doc->GetMarkingLeftMargin()));
              });
    OnCommand(kMarkingRightMargin,
              lengthBox(kMarkingRightMargin, [doc](int32_t um) { return doc->SetMarkingRightMargin(um); }, true, false),
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
    OnCommand(kFirstMarker, jobStep([doc] { return doc->GotoFirstMarker(); }, false), canBack);
    OnCommand(kPreviousMarker, jobStep([doc] { return doc->GotoPreviousMarker(); }, false), canBack);
    OnCommand(kNextMarker, jobStep([doc] { return doc->GotoNextMarker(); }, false), canOn);
    OnCommand(kLastMarker, jobStep([doc] { return doc->GotoLastMarker(); }, false), canOn);

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
