#pragma once
// The design canvas as the design-view tests and benchmarks set it up: a
// project document whose current template has a label definition, and a
// design view over it shown on the offscreen platform.
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "shell/design/designview.h"

#include <QSize>
#include <QTest>

#include <memory>

namespace testsupport {

// A new project document with a `width` x `height` um label definition.
inline std::unique_ptr<CVorteplanSoftLabelDoc> LabelDocument(int32_t width = 100000, int32_t height = 50000)
{
    auto doc = std::make_unique<CVorteplanSoftLabelDoc>();
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, width, false);
    label->SetHeight(0, height);
    doc->GetCurrentTemplate().SetLabel(std::move(label));
    return doc;
}

// A design view of `doc` of `size`, shown; null when it never appears on
// the screen.
inline std::unique_ptr<Vorteplan_SoftLabelDesignView> ShownDesignView(CVorteplanSoftLabelDoc& doc,
                                                                       DesignViewLinks links, QSize size)
{
    auto view = std::make_unique<Vorteplan_SoftLabelDesignView>(&doc, links);
    view->resize(size);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        return nullptr;
    view->UpdateScrollSizes();
    return view;
}

} // namespace testsupport
