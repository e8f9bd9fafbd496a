// Random gestures on the design canvas (resizing by a handle, moving by
// mouse and by keyboard, drawing new objects, rubber bands), each mouse
// event of one canvas followed by a repaint of a preview of the same
// document and by print runs: after every gesture the objects are exactly
// those of the same gestures on a canvas nothing else draws from.
// Numbered cases, each from its own seed.
#include "content/objects/collection.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/objects/line.h"
#include "content/objects/shapes.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/recordingui.h"
#include "platform/settings.h"
#include "shell/design/designview.h"
#include "shell/views/labelpreview.h"

#include "support/widgettest.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <random>

namespace {

constexpr int kCases = 10;
constexpr int kGesturesPerCase = 6;

// One canvas over its own document; `busy` also has a preview of that
// document and prints it between the canvas's mouse events.
struct Canvas {
    std::unique_ptr<CVorteplanSoftLabelDoc> doc;
    std::unique_ptr<Vorteplan_SoftLabelDesignView> view;
    std::unique_ptr<CLabelPreview> preview;
    int printRuns = 0;

    QWidget* vp() const { return view->viewport(); }
    CGraphCollection& area() const { return *doc->GetCurrentTemplate().GetArea(0); }

    // What the busy canvas does between two mouse events.
    void disturb()
    {
        if (!preview)
            return;
        preview->Invalidate();
        // A print run of one page at 600 dpi, as the print driver runs it.
        QImage page(1, 1, QImage::Format_RGB32);
        CDC dc(&page, 600, 600);
        CPrintInfo info;
        if (doc->BeginPrinting(dc, info, nullptr, {})) {
            doc->PrintPage(dc, info);
            ++printRuns;
        }
        preview->Invalidate();
    }
};

void buildDocument(CVorteplanSoftLabelDoc& doc, std::mt19937& rng)
{
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, 100000, false);
    label->SetHeight(0, 50000);
    doc.GetCurrentTemplate().SetLabel(std::move(label));
    CGraphCollection& area = *doc.GetCurrentTemplate().GetArea(0);
    std::uniform_int_distribution<int32_t> pos(2000, 60000), size(8000, 30000);
    for (int i = 0; i < 4; ++i) {
        std::unique_ptr<CGraphObject> o;
        switch (i) {
        case 0: o = std::make_unique<CGraphRect>(); break;
        case 1: {
            auto t = std::make_unique<CGraphTextExt>();
            t->SetSourceType(kTextKindFixed);
            t->SetText("Wire");
            o = std::move(t);
            break;
        }
        case 2: {
            auto b = std::make_unique<CGraphBarcode>();
            b->SetSymbologyName("Code 128");
            b->SetSourceType(kTextKindFixed);
            b->SetText("X12");
            o = std::move(b);
            break;
        }
        default: {
            auto line = std::make_unique<CGraphLine>();
            const int32_t x = pos(rng), y = pos(rng) / 2;
            line->SetEnds(x, y, x + size(rng), y + size(rng) / 2);
            area.AddTail(std::move(line));
            continue;
        }
        }
        o->SetX(pos(rng));
        o->SetY(pos(rng) / 2);
        o->SetWidth(size(rng));
        o->SetHeight(size(rng) / 2);
        area.AddTail(std::move(o));
    }
}

std::string areaBytes(const Canvas& c)
{
    RecordWriter w;
    c.area().Save(w);
    std::string selected;
    for (const auto& o : c.area().Objects())
        selected += o->IsSelected() ? '1' : '0';
    return w.data() + "|" + selected;
}

class GestureProperty : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        settings::SetStoreFolder(m_dir.filePath("config"));
    }
    void TearDown() override { settings::SetStoreFolder({}); }

    Canvas makeCanvas(int seed, int zoom, bool busy)
    {
        Canvas c;
        c.doc = std::make_unique<CVorteplanSoftLabelDoc>();
        std::mt19937 rng(seed);
        buildDocument(*c.doc, rng);
        c.view = std::make_unique<Vorteplan_SoftLabelDesignView>(c.doc.get());
        c.view->resize(640, 480);
        EXPECT_TRUE(widgettest::ShowAndWait(c.view.get()));
        c.view->SetZoom(zoom);
        c.view->UpdateScrollSizes();
        if (busy) {
            c.preview = std::make_unique<CLabelPreview>(c.doc.get());
            c.preview->resize(300 + seed * 7, 400);
            EXPECT_TRUE(widgettest::ShowAndWait(c.preview.get()));
        }
        return c;
    }

    CRecordingUi ui;
    UiScope scope{ui};
    QTemporaryDir m_dir;
};

// Mouse and key events sent to both canvases alike; the busy one is
// disturbed after each of them.
struct Driver {
    Canvas& quiet;
    Canvas& busy;

    void each(const std::function<void(Canvas&)>& f)
    {
        f(quiet);
        f(busy);
        busy.disturb();
    }
    void press(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        each([&](Canvas& c) { QTest::mousePress(c.vp(), Qt::LeftButton, m, p); });
    }
    void moveTo(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        each([&](Canvas& c) {
            QMouseEvent move(QEvent::MouseMove, p, c.vp()->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, m);
            QApplication::sendEvent(c.vp(), &move);
        });
    }
    void release(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        each([&](Canvas& c) { QTest::mouseRelease(c.vp(), Qt::LeftButton, m, p); });
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        each([&](Canvas& c) { QTest::keyClick(c.view.get(), k, m); });
    }
    bool bothIn(Vorteplan_SoftLabelDesignView::DesignMouseMode mode) const
    {
        return quiet.view->GetMouseMode() == mode && busy.view->GetMouseMode() == mode;
    }
};

QPoint clampToView(int x, int y)
{
    return {std::clamp(x, 3, 636), std::clamp(y, 3, 476)};
}

// One numbered case per test, so that each stays short.
TEST_P(GestureProperty, PreviewsAndPrintRunsBetweenMouseEventsChangeNoGesture)
{
    {
        const int number = GetParam();
        SCOPED_TRACE("case " + std::to_string(number));
        std::mt19937 rng(number);
        const int zoom = std::array{50, 75, 100, 150, 200}[size_t(number % 5)];
        Canvas quiet = makeCanvas(number, zoom, false);
        Canvas busy = makeCanvas(number, zoom, true);
        ASSERT_EQ(areaBytes(quiet), areaBytes(busy));
        Driver drive{quiet, busy};
        QImage probe(1, 1, QImage::Format_RGB32);
        CDC screen(&probe, quiet.view->LogPixelsX(), quiet.view->LogPixelsY());
        std::uniform_int_distribution<int> step(-40, 40), pick(0, 3), gestureKind(0, 4);

        for (int g = 0; g < kGesturesPerCase; ++g) {
            SCOPED_TRACE("gesture " + std::to_string(g));
            CGraphObject* object = quiet.area().GetAt(size_t(pick(rng)) % quiet.area().GetCount());
            const RECT box = object->CalcDeviceRect(screen, zoom, 0, 0);
            const QPoint centre = clampToView((box.left + box.right) / 2, (box.top + box.bottom) / 2);
            const int kind = gestureKind(rng);
            const int dx = step(rng), dy = step(rng);
            switch (kind) {
            case 0: { // select it, then drag its bottom-right handle (a line: its end)
                drive.press(centre);
                drive.release(centre);
                QPoint handle = clampToView(box.right, box.bottom);
                if (auto* line = dynamic_cast<CGraphLine*>(object)) {
                    POINT a, b;
                    line->DeviceEnds(CGraphObject::ComputeResolution(screen, zoom), a, b);
                    handle = clampToView(b.x, b.y);
                }
                drive.press(handle, dx < 0 ? Qt::ShiftModifier : Qt::NoModifier);
                drive.moveTo(clampToView(handle.x() + dx / 2, handle.y() + dy / 2));
                drive.moveTo(clampToView(handle.x() + dx, handle.y() + dy));
                drive.release(clampToView(handle.x() + dx, handle.y() + dy));
                break;
            }
            case 1: { // held on the object until the drag starts, then moved
                drive.press(centre);
                if (drive.bothIn(Vorteplan_SoftLabelDesignView::MouseIdle)) { // on an object: the drag starts later
                    ASSERT_TRUE(
                        QTest::qWaitFor([&] { return drive.bothIn(Vorteplan_SoftLabelDesignView::MouseMove); }))
                        << "the drag started on one canvas only";
                }
                drive.moveTo(clampToView(centre.x() + dx / 3, centre.y() + dy / 3));
                drive.moveTo(clampToView(centre.x() + dx, centre.y() + dy));
                drive.release(clampToView(centre.x() + dx, centre.y() + dy));
                break;
            }
            case 2: { // selected, nudged with the arrow keys, committed with Enter
                drive.press(centre);
                drive.release(centre);
                for (int k = 0; k < 1 + std::abs(dx) % 4; ++k)
                    drive.key(dx < 0 ? Qt::Key_Left : Qt::Key_Right, k % 2 ? Qt::ShiftModifier : Qt::NoModifier);
                drive.key(dy < 0 ? Qt::Key_Up : Qt::Key_Down);
                drive.key(Qt::Key_Return);
                break;
            }
            case 3: { // a new rectangle drawn from an empty corner
                for (Canvas* c : {&quiet, &busy}) {
                    auto r = std::make_unique<CGraphRect>();
                    ASSERT_TRUE(c->view->SetPendingObject(std::move(r)));
                }
                const QPoint from = clampToView(600 + dx / 4, 440 + dy / 4);
                drive.press(from);
                drive.moveTo(clampToView(from.x() - 20, from.y() - 10));
                drive.moveTo(clampToView(from.x() - 40 - std::abs(dx), from.y() - 30 - std::abs(dy)),
                             dy < 0 ? Qt::ControlModifier : Qt::NoModifier);
                drive.release(clampToView(from.x() - 40 - std::abs(dx), from.y() - 30 - std::abs(dy)));
                break;
            }
            default: { // a rubber band over part of the canvas
                const QPoint from = clampToView(620, 470);
                drive.press(from);
                drive.moveTo(clampToView(300 + dx * 4, 200 + dy * 4));
                drive.release(clampToView(300 + dx * 4, 200 + dy * 4));
                break;
            }
            }
            ASSERT_TRUE(drive.bothIn(Vorteplan_SoftLabelDesignView::MouseIdle));
            ASSERT_EQ(areaBytes(quiet), areaBytes(busy)) << "gesture kind " << kind;
        }
        EXPECT_GT(busy.printRuns, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GestureProperty, ::testing::Range(1, kCases + 1));

} // namespace
