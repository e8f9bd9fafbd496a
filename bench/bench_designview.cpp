// The design canvas with a busy label: 500 objects (200 texts, 150 shapes
// and lines, 100 Code 128 and 50 QR codes) on a 1600 x 1000 viewport on the
// offscreen platform: a full repaint at 100 % and 800 %, one mouse event of
// a move of 50 selected objects, and the hover hit test over 500 selected
// objects.
#include "content/barcodes/barcode.h"
#include "content/objects/collection.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/objects/line.h"
#include "content/objects/shapes.h"
#include "content/textparts/text.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/settings.h"
#include "shell/design/designview.h"
#include "shell/frame/commandrouter.h"
#include "shell/frame/ribbonbar.h"
#include "support/design_canvas.h"
#include "bench_app.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// 25 columns by 20 rows of 16 x 12 mm cells over a 400 x 250 mm label.
std::unique_ptr<CGraphObject> makeObject(int i)
{
    std::unique_ptr<CGraphObject> o;
    if (i < 200) {
        auto t = std::make_unique<CGraphText>();
        t->SetSourceKind(kTextKindFixed);
        t->SetText("Text " + std::to_string(i));
        o = std::move(t);
    } else if (i < 350) {
        if (i % 3 == 0)
            o = std::make_unique<CGraphLine>();
        else if (i % 3 == 1)
            o = std::make_unique<CGraphRect>();
        else
            o = std::make_unique<CGraphEllipse>();
    } else {
        auto b = std::make_unique<CGraphBarcode>();
        b->SetSymbology(CreateBarcode(i < 450 ? kKeyCode128 : kKeyQRCode));
        b->SetSourceKind(kTextKindFixed);
        b->SetText("X1-" + std::to_string(i));
        o = std::move(b);
    }
    o->SetX(2000 + (i % 25) * 16000);
    o->SetY(2000 + (i / 25) * 12000);
    o->SetWidth(14000);
    o->SetHeight(10000);
    return o;
}

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<CVorteplanSoftLabelDoc> doc;
    std::unique_ptr<Vorteplan_SoftLabelDesignView> view;

    explicit Fixture(int zoom)
    {
        BenchApplication();
        settings::SetStoreFolder(dir.filePath("config"));
        doc = testsupport::LabelDocument(400000, 250000);
        CGraphCollection& area = *doc->GetCurrentTemplate().GetArea(0);
        for (int i = 0; i < 500; ++i)
            area.AddTail(makeObject(i));
        view = testsupport::ShownDesignView(*doc, {}, QSize(1600, 1000));
        if (!view) {
            std::fputs("the design view did not appear\n", stderr);
            std::abort();
        }
        view->resize(1600 + 2 * view->frameWidth(), 1000 + 2 * view->frameWidth());
        QApplication::processEvents();
        view->SetZoom(zoom);
        view->RedrawScene();
    }

    ~Fixture()
    {
        view.reset();
        doc.reset();
        settings::SetStoreFolder({});
    }

    void mouse(QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, p, view->viewport()->mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &e);
    }
};

void BM_DesignRepaint(benchmark::State& state)
{
    Fixture f(int(state.range(0)));
    for (auto _ : state)
        f.view->RedrawScene();
}
BENCHMARK(BM_DesignRepaint)->Arg(100)->Arg(800)->Unit(benchmark::kMillisecond);

void BM_DesignTrackMove50(benchmark::State& state)
{
    Fixture f(100);
    CGraphCollection& area = *f.doc->GetCurrentTemplate().GetArea(0);
    for (int i = 0; i < 50; ++i)
        area.GetAt(size_t(i * 10))->SetSelected(true);
    // The first object lies at 2 mm, 2 mm: about 8 px in.
    f.mouse(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (std::chrono::steady_clock::now() < until)
        QApplication::processEvents();
    if (f.view->GetMouseMode() != Vorteplan_SoftLabelDesignView::MouseMove)
        state.SkipWithError("the move did not start");
    int step = 0;
    for (auto _ : state) {
        ++step;
        f.mouse(QEvent::MouseMove, {20 + step % 200, 20 + step % 100}, Qt::LeftButton);
    }
    f.mouse(QEvent::MouseButtonRelease, {20, 20}, Qt::NoButton);
}
BENCHMARK(BM_DesignTrackMove50)->Unit(benchmark::kMicrosecond);

void BM_DesignHover500(benchmark::State& state)
{
    Fixture f(100);
    f.doc->GetCurrentTemplate().GetArea(0)->SelectAll();
    int step = 0;
    for (auto _ : state) {
        ++step;
        f.mouse(QEvent::MouseMove, {(step * 37) % 1600, (step * 17) % 1000}, Qt::NoButton);
    }
}
BENCHMARK(BM_DesignHover500)->Unit(benchmark::kMicrosecond);

// One idle update pass of the ribbon (every element asks the router for its
// command's state) with all 500 objects selected and the canvas focused, so
// the boxes refresh their texts too.
void BM_DesignRibbonUpdate500(benchmark::State& state)
{
    Fixture f(100);
    CCommandRouter router;
    router.SetActiveViewProvider([&f] { return static_cast<CCmdTarget*>(f.view.get()); });
    CRibbonBar ribbon(router);
    f.view = std::make_unique<Vorteplan_SoftLabelDesignView>(f.doc.get(), DesignViewLinks{&ribbon, nullptr});
    f.view->resize(1600, 1000);
    f.view->show();
    f.view->activateWindow();
    f.view->setFocus();
    QApplication::processEvents();
    f.doc->GetCurrentTemplate().GetArea(0)->SelectAll();
    for (auto _ : state)
        ribbon.UpdateCommandUI();
    f.view.reset();
}
BENCHMARK(BM_DesignRibbonUpdate500)->Unit(benchmark::kMillisecond);

} // namespace
