// The idle update of the design canvas's ribbon commands: one pass of the
// whole ribbon (every element asks its update handler) with the canvas as
// the active view, over a plain label and over a module-marking label of
// 100 modules in module selection, on the offscreen platform.
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/settings.h"
#include "shell/design/designview.h"
#include "shell/frame/commandrouter.h"
#include "shell/frame/ribbonbar.h"
#include "support/design_canvas.h"
#include "bench_app.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

void runUpdatePasses(benchmark::State& state, bool marking)
{
    BenchApplication();
    QTemporaryDir dir;
    settings::SetStoreFolder(dir.filePath("config"));
    const std::unique_ptr<CVorteplanSoftLabelDoc> owned = testsupport::LabelDocument(100000, 50000);
    CVorteplanSoftLabelDoc& doc = *owned;
    CCommandRouter router;
    CRibbonBar ribbon(router);
    auto view = testsupport::ShownDesignView(doc, DesignViewLinks{&ribbon, nullptr}, QSize(800, 600));
    if (!view) {
        state.SkipWithError("the design view did not appear");
        return;
    }
    router.SetActiveViewProvider([&] { return static_cast<CCmdTarget*>(view.get()); });
    QApplication::setActiveWindow(view.get());
    view->setFocus();
    if (marking) {
        doc.ToggleModuleMarking();
        CModuleMarkingRow& row = doc.GetCurrentTemplate().GetJob().GetCurrentRow();
        row.SetModuleCount(100);
        for (int i = 0; i < 100; ++i)
            row.Module(i).m_width = 10000, row.Module(i).m_multiplier = 1;
        ribbon.SetActiveCategory(Vorteplan_SoftLabelDesignView::kModuleMarkingCategory);
    }
    for (auto _ : state)
        ribbon.UpdateCommandUI();
    view.reset();
    settings::SetStoreFolder({});
}

void BM_DesignCommandUpdatePass(benchmark::State& state)
{
    runUpdatePasses(state, false);
}
BENCHMARK(BM_DesignCommandUpdatePass)->Unit(benchmark::kMicrosecond);

void BM_DesignCommandUpdatePassModuleMarking(benchmark::State& state)
{
    runUpdatePasses(state, true);
}
BENCHMARK(BM_DesignCommandUpdatePassModuleMarking)->Unit(benchmark::kMicrosecond);

} // namespace
