// Module-marking edits of the current template. Each edit keeps the
// objects of area 0 in step with the strip: the objects lying in the bands
// of the modules it changes are moved, stretched, deleted or created.
//
// Every edit is first tried on a copy of the job. Only when the copy comes
// out sound does the edit take its undo snapshot (area and job together),
// touch the objects and take the copy over, so a refused edit leaves the
// objects and the job exactly as they were. Positions are taken in 64 bits
// and handed to the collection clamped to 32 bits.
#include "document/project/projectdoc.h"
#include "document/project/projectdoc_marking.h"
#include "document/project/templateedit.h"
#include "platform/units.h"

#include <algorithm>

using namespace templateedit;
using namespace marking;
using modulemarking::kMaxModuleWidth;
using modulemarking::kMinModuleWidth;

namespace marking {

int64_t Length(const CModuleMarkingRow& row, int n)
{
    if (n < 0 || n >= row.GetModuleCount())
        return -1;
    const CModuleMarkingItem& m = row.Module(n);
    return int64_t(m.m_width) * m.m_multiplier;
}

int64_t Position(const CModuleMarkingRow& row, int n)
{
    if (n < 0 || n >= row.GetModuleCount())
        return -1;
    int64_t pos = row.GetLeftMargin();
    for (int i = 0; i < n; ++i)
        pos += Length(row, i) + row.GetGap();
    return pos;
}

int64_t StripEnd(const CModuleMarkingRow& row)
{
    const int last = row.GetModuleCount() - 1;
    return Position(row, last) + Length(row, last);
}

bool IsSound(const CModuleMarkingJob& job)
{
    const CModuleMarkingRow& row = job.GetCurrentRow();
    const int count = row.GetModuleCount();
    if (count < 1 || count > modulemarking::kModuleSlots || row.GetCurrentIndex() < 0 ||
        row.GetCurrentIndex() >= count)
        return false;
    if (row.GetLeftMargin() < 0 || row.GetRightMargin() < 0 || row.GetGap() < 0)
        return false;
    for (int i = 0; i < count; ++i)
        if (row.Module(i).m_width <= 0 || row.Module(i).m_multiplier <= 0)
            return false;
    // Every position and band end of the strip fits 32 bits.
    return row.TotalLength64() <= kFarEdge;
}

Bands::Bands(CGraphCollection& c) : m_c(c) {}

void Bands::Offset(int64_t from, int64_t to, int64_t delta)
{
    if (delta != 0)
        m_c.OffsetObjectsInBand(units::clamp32(from), units::clamp32(to), units::clamp32(delta));
}

void Bands::Delete(int64_t from, int64_t to)
{
    m_c.DeleteObjectsInBand(units::clamp32(from), units::clamp32(to));
}

void Bands::Scale(int64_t from, int64_t to, int64_t delta)
{
    if (delta != 0)
        m_c.ScaleHorizontally(units::clamp32(from), units::clamp32(to), units::clamp32(delta));
}

// The band of module n grows by delta at its end; what follows moves along.
// Growing moves the far side first, so nothing is moved twice.
void Bands::Resize(const CModuleMarkingRow& row, int n, int64_t delta)
{
    const int64_t start = Position(row, n);
    const int64_t length = Length(row, n);
    if (delta > 0) {
        Offset(start + length, kFarEdge, delta);
        Scale(start, start + length, delta);
    } else if (delta < 0) {
        Scale(start, start + length, delta);
        Offset(start + length, kFarEdge, delta);
    }
}

} // namespace marking

namespace {

// The edit shared by the module-marking operations: `change` is tried on a
// copy of the job; when it answers true and leaves the job sound, the area
// and job are snapshot, `bands` moves the objects (given the job before and
// after), the job takes the copy over and the definition follows the strip.
// False, with nothing changed, otherwise.
template <class Change, class Move>
bool markingEdit(CVorteplanSoftLabelDoc& doc, Change&& change, Move&& bands)
{
    CTemplate& t = doc.GetCurrentTemplate();
    CGraphCollection* area = Editable(doc, 0);
    if (!area)
        return false;
    CModuleMarkingJob trial = t.GetJob();
    if (!change(trial) || !IsSound(trial))
        return false;
    doc.SaveUndoState(0, true);
    const CModuleMarkingJob before = t.GetJob();
    Bands b(*area);
    bands(b, before.GetCurrentRow(), trial.GetCurrentRow());
    t.GetJob() = std::move(trial);
    t.ApplyJobRowToLabel();
    return true;
}

bool widthInRange(int64_t w)
{
    return w >= kMinModuleWidth && w <= kMaxModuleWidth;
}

bool marginInRange(int64_t v)
{
    return v >= 0 && v <= kMaxMargin;
}

// Room the modules first..first+k-1 of a row take, each with its gap.
int64_t spanOf(const CModuleMarkingRow& row, int first, int k)
{
    int64_t sum = 0;
    for (int i = first; i < first + k; ++i)
        sum += Length(row, i) + row.GetGap();
    return sum;
}

} // namespace

// --- material ----------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::SetMaterialLength(int32_t length)
{
    if (length == GetMaterialLength() || length <= 0)
        return false;
    const bool done = markingEdit(
        *this, [&](CModuleMarkingJob& job) { return job.SetMaterialLength(length), true; },
        [](Bands&, const CModuleMarkingRow&, const CModuleMarkingRow&) {});
    if (done)
        SetModifiedFlag(true);
    return done;
}

void CVorteplanSoftLabelDoc::ToggleFixedLength()
{
    if (!Editable(*this, 0))
        return;
    CTemplate& t = GetCurrentTemplate();
    SaveUndoState(0, true);
    t.GetJob().ToggleFixedLength();
    if (t.ApplyJobRowToLabel())
        TemplateEdited();
}

// --- module width and multiplier ---------------------------------------------------------------

bool CVorteplanSoftLabelDoc::SetModuleLength(int32_t width)
{
    CTemplate& t = GetCurrentTemplate();
    if (!Editable(*this, 0) || !widthInRange(width))
        return false;
    CModuleMarkingJob& job = t.GetJob();
    if (job.IsUsePreset()) {
        // Preset mode: the width waits for the next new or updated module.
        if (job.SetCurrentModuleWidth(width))
            t.ApplyJobRowToLabel();
        return false;
    }
    if (width == job.GetCurrentModuleWidth())
        return true;
    return markingEdit(
        *this,
        [&](CModuleMarkingJob& j) {
            const CModuleMarkingRow& row = j.GetCurrentRow();
            if (row.GetCurrentIndex() < 0 || row.GetCurrentIndex() >= row.GetModuleCount())
                return false;
            return j.SetCurrentModuleWidth(width);
        },
        [&](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow& after) {
            // The module grows by its width change times its multiplier.
            const int c = before.GetCurrentIndex();
            const int last = before.GetModuleCount() - 1;
            const int64_t d = Length(after, c) - Length(before, c);
            const int64_t end = StripEnd(before);
            if (d > 0) {
                b.Offset(end, kFarEdge, d);
                for (int i = last; i > c; --i)
                    b.Offset(Position(before, i), Position(before, i) + Length(before, i), d);
                b.Scale(Position(before, c), Position(before, c) + Length(before, c), d);
            } else {
                b.Scale(Position(before, c), Position(before, c) + Length(before, c), d);
                for (int i = c + 1; i <= last; ++i)
                    b.Offset(Position(before, i), Position(before, i) + Length(before, i), d);
                b.Offset(end, kFarEdge, d);
            }
        });
}

bool CVorteplanSoftLabelDoc::SelectMultiplier(int32_t multiplier)
{
    CTemplate& t = GetCurrentTemplate();
    if (!Editable(*this, 0) || multiplier < 1 || multiplier == GetCurrentMultiplier())
        return false;
    CModuleMarkingJob& job = t.GetJob();
    if (job.IsUsePreset()) {
        CModuleMarkingRow& row = job.GetFirstRow();
        row.SetPresetMultiplier(multiplier);
        row.SetPresetMultiplierFlag(true);
        return false;
    }
    const bool done = markingEdit(
        *this,
        [&](CModuleMarkingJob& j) {
            CModuleMarkingRow& row = j.GetFirstRow();
            if (row.GetCurrentIndex() < 0 || row.GetCurrentIndex() >= row.GetModuleCount())
                return false;
            row.Module(row.GetCurrentIndex()).m_multiplier = multiplier;
            return true;
        },
        [](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow& after) {
            const int c = before.GetCurrentIndex();
            b.Resize(before, c, Length(after, c) - Length(before, c));
        });
    if (done)
        TemplateEdited();
    return done;
}

// --- adding and removing modules ------------------------------------------------------------

bool CVorteplanSoftLabelDoc::AppendMarker()
{
    const bool usePreset = GetCurrentTemplate().GetJob().IsUsePreset();
    int first = 0;
    int k = 0;
    const bool done = markingEdit(
        *this,
        [&](CModuleMarkingJob& j) {
            CModuleMarkingRow& row = j.GetCurrentRow();
            first = row.GetCurrentIndex() + 1;
            k = row.GetModulesToAdd();
            return row.AddModules(usePreset);
        },
        [&](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow& after) {
            const int j = before.GetCurrentIndex();
            b.Offset(Position(before, j) + Length(before, j), kFarEdge, spanOf(after, first, k));
        });
    if (!done)
        return false;
    for (int i = 0; i < k; ++i)
        CreateMarkerTexts(first + i);
    TemplateEdited();
    return true;
}

bool CVorteplanSoftLabelDoc::InsertMarker()
{
    const bool usePreset = GetCurrentTemplate().GetJob().IsUsePreset();
    int first = 0;
    int k = 0;
    const bool done = markingEdit(
        *this,
        [&](CModuleMarkingJob& j) {
            CModuleMarkingRow& row = j.GetCurrentRow();
            first = row.GetCurrentIndex();
            k = row.GetModulesToAdd();
            return row.InsertModules(usePreset);
        },
        [&](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow& after) {
            b.Offset(Position(before, first), kFarEdge, spanOf(after, first, k));
        });
    if (!done)
        return false;
    for (int i = 0; i < k; ++i)
        CreateMarkerTexts(first + i);
    TemplateEdited();
    return true;
}

bool CVorteplanSoftLabelDoc::UpdateMarker()
{
    const bool done = markingEdit(
        *this, [](CModuleMarkingJob& j) { return j.GetFirstRow().ApplyPresets(); },
        [](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow& after) {
            const int c = before.GetCurrentIndex();
            b.Resize(before, c, Length(after, c) - Length(before, c));
        });
    if (done)
        TemplateEdited();
    return done;
}

bool CVorteplanSoftLabelDoc::DeleteMarker()
{
    const bool done = markingEdit(
        *this, [](CModuleMarkingJob& j) { return j.GetCurrentRow().DeleteCurrent(); },
        [](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow&) {
            const int c = before.GetCurrentIndex();
            const int64_t a = Position(before, c);
            const int64_t len = Length(before, c);
            b.Delete(a, a + len);
            b.Offset(a + len, kFarEdge, -len - before.GetGap());
        });
    if (done)
        TemplateEdited();
    return done;
}

bool CVorteplanSoftLabelDoc::DeleteAllMarkers()
{
    CTemplate& t = GetCurrentTemplate();
    if (!Editable(*this, 0))
        return false;
    t.GetJob().GetFirstRow().ClearPresetFlags();
    const bool done = markingEdit(
        *this,
        [](CModuleMarkingJob& j) {
            CModuleMarkingRow& row = j.GetFirstRow();
            if (row.GetModuleCount() < 2)
                return false;
            row.SetModuleCount(1);
            row.SetCurrentIndex(0);
            CModuleMarkingItem& first = row.Module(0);
            first.m_multiplier = 1;
            first.m_width = modulemarking::kDefaultModuleWidth;
            first.m_skip = false;
            return true;
        },
        [](Bands& b, const CModuleMarkingRow&, const CModuleMarkingRow&) { b.Delete(0, kFarEdge); });
    if (!done)
        return false;
    CreateMarkerTexts(-1);
    TemplateEdited();
    return true;
}

bool CVorteplanSoftLabelDoc::JoinMarker()
{
    const bool done = markingEdit(
        *this, [](CModuleMarkingJob& j) { return j.GetCurrentRow().JoinWithNext(); },
        [](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow&) {
            const int cur = before.GetCurrentIndex();
            const int64_t c = Length(before, cur);
            const int64_t d = Length(before, cur + 1);
            const int64_t start = Position(before, cur);
            const int64_t gap = before.GetGap();
            b.Delete(start + c, start + c + gap + d);
            // What follows the pair moves left first: the stretched objects
            // of the joined module then cannot be caught by the move.
            b.Offset(start + c + gap + d, kFarEdge, -gap);
            b.Scale(start, start + c, d);
        });
    if (done)
        TemplateEdited();
    return done;
}

bool CVorteplanSoftLabelDoc::SplitMarker()
{
    int added = 0;
    const bool done = markingEdit(
        *this,
        [&](CModuleMarkingJob& j) {
            CModuleMarkingRow& row = j.GetCurrentRow();
            added = row.GetCurrentIndex() + 1;
            return row.SplitCurrent();
        },
        [](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow& after) {
            const int cur = before.GetCurrentIndex();
            const int64_t c = Length(before, cur);
            const int64_t e = Position(before, cur);
            // The modules after the pair make room for the gap first, so the
            // shrunk objects of the current module stay where they are.
            b.Offset(e + c, kFarEdge, before.GetGap());
            b.Scale(e, e + c, Length(after, cur) - c);
        });
    if (!done)
        return false;
    CreateMarkerTexts(added);
    TemplateEdited();
    return true;
}

void CVorteplanSoftLabelDoc::ToggleSkipMarker()
{
    bool nowSkipped = false;
    int cur = 0;
    const bool done = markingEdit(
        *this,
        [&](CModuleMarkingJob& j) {
            CModuleMarkingRow& row = j.GetCurrentRow();
            cur = row.GetCurrentIndex();
            if (cur < 0 || cur >= row.GetModuleCount())
                return false;
            CModuleMarkingItem& m = row.Module(cur);
            m.m_skip = !m.m_skip;
            nowSkipped = m.m_skip;
            return true;
        },
        [&](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow&) {
            if (nowSkipped)
                b.Delete(Position(before, cur), Position(before, cur) + Length(before, cur));
        });
    if (!done)
        return;
    if (!nowSkipped)
        CreateMarkerTexts(cur);
    TemplateEdited();
}

// --- gap and margins ---------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::SetModuleGap(int32_t gap)
{
    if (gap == GetModuleGap() || !marginInRange(gap))
        return false;
    return markingEdit(
        *this,
        [&](CModuleMarkingJob& j) {
            j.GetFirstRow().SetAllGaps(gap);
            return true;
        },
        [&](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow&) {
            const int n = before.GetModuleCount();
            const int64_t f = int64_t(gap) - before.GetGap();
            const int64_t end = StripEnd(before);
            if (f < 0) {
                for (int i = 0; i < n; ++i)
                    b.Offset(Position(before, i), Position(before, i) + Length(before, i), f * i);
                b.Offset(end, kFarEdge, f * (n - 1));
            } else {
                b.Offset(end, kFarEdge, f * (n - 1));
                for (int i = n - 1; i >= 0; --i)
                    b.Offset(Position(before, i), Position(before, i) + Length(before, i) + f * i, f * i);
            }
        });
}

bool CVorteplanSoftLabelDoc::SetMarkingLeftMargin(int32_t margin)
{
    const int32_t old = GetMarkingLeftMargin();
    if (margin == old || !marginInRange(margin))
        return false;
    const bool done = markingEdit(
        *this,
        [&](CModuleMarkingJob& j) {
            j.GetCurrentRow().SetLeftMargin(margin);
            return true;
        },
        [&](Bands& b, const CModuleMarkingRow&, const CModuleMarkingRow&) {
            const int64_t delta = int64_t(margin) - old;
            if (margin == 0)
                b.Delete(0, old);
            if (delta > 0)
                b.Offset(old, kFarEdge, delta);
            b.Scale(0, old, delta);
            if (delta < 0)
                b.Offset(old, kFarEdge, delta);
        });
    if (done)
        TemplateEdited();
    return done;
}

bool CVorteplanSoftLabelDoc::SetMarkingRightMargin(int32_t margin)
{
    const int32_t old = GetCurrentTemplate().GetJob().GetRightMargin();
    if (margin == old || !marginInRange(margin))
        return false;
    const bool done = markingEdit(
        *this,
        [&](CModuleMarkingJob& j) {
            j.GetCurrentRow().SetRightMargin(margin);
            return true;
        },
        [&](Bands& b, const CModuleMarkingRow& before, const CModuleMarkingRow&) {
            const int64_t end = StripEnd(before);
            b.Scale(end, end + old, int64_t(margin) - old);
            if (margin == 0)
                b.Delete(end, end + old);
        });
    if (done)
        TemplateEdited();
    return done;
}
