// Deleting a template or a table near the front of a full project: every
// later template is copied down one slot (its three areas and their undo
// snapshots), every later table slot moves.
#include "content/objects/shapes.h"
#include "document/project/projectdoc.h"
#include "platform/recordingui.h"
#include "platform/settings.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

void useOwnSettings()
{
    static QTemporaryDir dir;
    static const bool once = [] {
        settings::SetStoreFolder(dir.filePath("config"));
        return true;
    }();
    (void)once;
}

void fillTemplate(CTemplate& t, int objects)
{
    for (int i = 0; i < objects; ++i) {
        auto r = std::make_unique<CGraphRect>();
        r->SetX(i * 1000);
        r->SetWidth(900);
        r->SetHeight(900);
        t.GetArea(0)->AddTail(std::move(r));
    }
}

// 255 templates of 50 rectangles each; template 1 deleted and one added at
// the end again per iteration.
void BM_DeleteTemplateOfFullProject(benchmark::State& state)
{
    useOwnSettings();
    CRecordingUi ui;
    UiScope scope(ui);
    CVorteplanSoftLabelDoc doc;
    doc.OnNewDocument();
    doc.SetTemplateCount(kMaxProjectTemplates);
    const int objects = int(state.range(0));
    for (int k = 0; k < kMaxProjectTemplates; ++k)
        fillTemplate(doc.GetTemplate(k), objects);
    for (auto _ : state) {
        doc.SetCurrentTemplate(1);
        ui.answers = {MessageAnswer::Yes};
        if (!doc.DeleteTemplate())
            state.SkipWithError("not deleted");
        doc.AddTemplate();
        fillTemplate(doc.GetCurrentTemplate(), objects);
    }
    state.counters["templates moved"] = kMaxProjectTemplates - 1;
}
BENCHMARK(BM_DeleteTemplateOfFullProject)->Arg(50)->Unit(benchmark::kMillisecond);

// 255 tables of 1000 rows; table 1 deleted and one added per iteration.
void BM_DeleteTableOfFullProject(benchmark::State& state)
{
    useOwnSettings();
    CRecordingUi ui;
    UiScope scope(ui);
    CVorteplanSoftLabelDoc doc;
    doc.OnNewDocument();
    doc.SetTableCount(kMaxProjectTemplates);
    for (int k = 0; k < kMaxProjectTemplates; ++k)
        for (int r = 0; r < 1000; ++r)
            doc.GetTable(k)->SetCellText(r, 0, std::to_string(r));
    for (auto _ : state) {
        doc.SetCurrentTable(1);
        ui.answers = {MessageAnswer::Yes};
        if (!doc.DeleteTable())
            state.SkipWithError("not deleted");
        doc.AddTable();
    }
}
BENCHMARK(BM_DeleteTableOfFullProject)->Unit(benchmark::kMicrosecond);

} // namespace
