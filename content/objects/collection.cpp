#include "content/objects/collection.h"

#include "content/objects/objectfactory.h"
#include "platform/units.h"

#include <algorithm>
#include <string>

using units::clamp32;

namespace {

// Collection records being written, one inside the other (groups in
// groups). A reader takes two nesting levels for each group it enters.
thread_local int t_savingDepth = 0;

struct SavingLevel {
    SavingLevel() { ++t_savingDepth; }
    ~SavingLevel() { --t_savingDepth; }
    SavingLevel(const SavingLevel&) = delete;
    SavingLevel& operator=(const SavingLevel&) = delete;
};

} // namespace

CGraphCollection::CGraphCollection(const CGraphCollection& other)
    : CGraph2Dim(other), m_reservedA(other.m_reservedA), m_reservedB(other.m_reservedB)
{
    m_objects.reserve(other.m_objects.size());
    for (const auto& object : other.m_objects)
        m_objects.push_back(object->Clone());
}

CGraphCollection::~CGraphCollection() = default;

void CGraphCollection::AddTail(std::unique_ptr<CGraphObject> object)
{
    if (object)
        m_objects.push_back(std::move(object));
}

void CGraphCollection::RemoveAll()
{
    m_objects.clear();
}

std::unique_ptr<CGraphObject> CGraphCollection::RemoveObject(const CGraphObject* object)
{
    const auto it = std::find_if(m_objects.begin(), m_objects.end(),
                                 [object](const auto& p) { return p.get() == object; });
    if (it == m_objects.end() || !object)
        return nullptr;
    std::unique_ptr<CGraphObject> taken = std::move(*it);
    m_objects.erase(it);
    return taken;
}

std::unique_ptr<CGraphCollection> CGraphCollection::CloneCollection() const
{
    return std::make_unique<CGraphCollection>(*this);
}

std::unique_ptr<CGraphObject> CGraphCollection::Clone() const
{
    return CloneCollection();
}

int32_t CGraphCollection::GetMinLeft() const
{
    int32_t v = kEmptyMinEdge;
    for (const auto& o : m_objects)
        v = std::min(v, o->GetLeft());
    return v;
}

int32_t CGraphCollection::GetMinTop() const
{
    int32_t v = kEmptyMinEdge;
    for (const auto& o : m_objects)
        v = std::min(v, o->GetTop());
    return v;
}

int32_t CGraphCollection::GetMaxRight() const
{
    int32_t v = 0;
    for (const auto& o : m_objects)
        v = std::max(v, o->GetRight());
    return v;
}

int32_t CGraphCollection::GetMaxBottom() const
{
    int32_t v = 0;
    for (const auto& o : m_objects)
        v = std::max(v, o->GetBottom());
    return v;
}

void CGraphCollection::RecalcBox()
{
    if (m_objects.empty()) {
        m_x = m_y = m_width = m_height = 0;
        return;
    }
    m_x = GetMinLeft();
    m_y = GetMinTop();
    m_width = clamp32(int64_t(GetMaxRight()) - m_x);
    m_height = clamp32(int64_t(GetMaxBottom()) - m_y);
}

bool CGraphCollection::Draw(const DrawArgs& args) const
{
    for (const auto& o : m_objects)
        if (!o->Draw(args))
            return false;
    return true;
}

bool CGraphCollection::DrawBand(int32_t from, int32_t to, const DrawArgs& args) const
{
    for (const auto& o : m_objects) {
        const int64_t centre = (int64_t(o->GetLeft()) + o->GetRight()) / 2;
        if (from <= centre && centre < to && !o->Draw(args))
            return false;
    }
    return true;
}

CGraphObject* CGraphCollection::ObjectAt(CDC& dc, int zoom, int x, int y) const
{
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it)
        if ((*it)->PtInObject(dc, zoom, x, y))
            return it->get();
    return nullptr;
}

CGraphObject* CGraphCollection::SelectedObjectAt(CDC& dc, int zoom, int x, int y) const
{
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it)
        if ((*it)->IsSelected() && (*it)->PtInObject(dc, zoom, x, y))
            return it->get();
    return nullptr;
}

CGraphObject* CGraphCollection::ObjectWithHandleAt(CDC& dc, int zoom, int x, int y) const
{
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it)
        if ((*it)->IsOnHandle(dc, zoom, x, y))
            return it->get();
    return nullptr;
}

int CGraphCollection::HitTestHandle(CDC& dc, int zoom, int x, int y) const
{
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it) {
        if (!(*it)->IsSelected())
            continue;
        const int code = (*it)->HitTestHandle(dc, zoom, x, y);
        if (code != kHandleNone)
            return code;
    }
    return kHandleNone;
}

bool CGraphCollection::UsesTableData() const
{
    std::string column;
    for (const auto& o : m_objects)
        if (o->GetSourceColumnText(column))
            return true;
    return false;
}

bool CGraphCollection::IsCounter() const
{
    return std::any_of(m_objects.begin(), m_objects.end(), [](const auto& o) { return o->IsCounter(); });
}

void CGraphCollection::AdvanceCounter(int n)
{
    for (const auto& o : m_objects)
        o->AdvanceCounter(n);
}

void CGraphCollection::ScaleHorizontally(int32_t from, int32_t to, int32_t delta)
{
    for (const auto& o : m_objects)
        if (from <= o->GetLeft() && o->GetRight() <= to)
            o->ScaleHorizontally(from, to, delta);
}

bool CGraphCollection::Load(RecordReader& reader)
{
    RecordDepthGuard depth(reader);
    if (!depth.entered())
        return false;
    const uint16_t count = reader.u16();
    const int16_t reservedA = reader.i16();
    const int16_t reservedB = reader.i16();
    if (!reader.ok())
        return false;
    m_reservedA = reservedA;
    m_reservedB = reservedB;
    for (unsigned i = 0; i < count; ++i) {
        const int16_t key = reader.i16();
        if (!reader.ok())
            return false;
        std::unique_ptr<CGraphObject> object = CreateGraphObjectForKey(key);
        if (!object) {
            // Nothing after an unknown key can be understood.
            reader.setDamaged();
            return false;
        }
        if (!object->Load(reader))
            return false;
        m_objects.push_back(std::move(object));
    }
    return true;
}

void CGraphCollection::Save(RecordWriter& writer) const
{
    // Groups nested deeper than a reader accepts (the editor can combine
    // without limit) would make a file that cannot be read back.
    const SavingLevel level;
    if (2 * t_savingDepth - 1 > RecordReader::kMaxDepth || m_objects.size() > kMaxObjects) {
        writer.setFailed();
        return;
    }
    writer.u16(uint16_t(m_objects.size()));
    writer.i16(m_reservedA);
    writer.i16(m_reservedB);
    for (const auto& o : m_objects) {
        writer.i16(o->GetTypeKey());
        o->Save(writer);
    }
}
