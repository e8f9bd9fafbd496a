#include "content/images/ole1.h"

#include "content/images/presentation.h"

#include <algorithm>

namespace {


// Object and picture header format numbers of an OLE 1.0 stream.
constexpr uint32_t kPictureNone = 0;
constexpr uint32_t kPictureStandard = 5;
// Bytes before a metafile's data that its size field counts.
constexpr uint32_t kMetafileReserved = 8;

} // namespace

// Reads the fields of an OLE 1.0 object stream, appending every byte it
// takes to the kept copy, so that the copy is exactly the stream.
class CGraphOLE1::StreamParser {
public:
    StreamParser(RecordReader& reader, CGraphOLE1& item) : m_r(reader), m_item(item) {}

    bool Parse()
    {
        u32(); // OLE version, ignored
        m_item.m_format = u32();
        if (!m_r.ok())
            return false;
        switch (m_item.m_format) {
        case kLinked:
        case kEmbedded:
            m_item.m_className = ansiString();
            m_item.m_topicName = ansiString();
            m_item.m_itemName = ansiString();
            if (m_item.m_format == kEmbedded) {
                const uint32_t size = u32();
                m_item.m_nativeOffset = m_item.m_stream.size();
                if (!take(size))
                    return false;
                m_item.m_nativeSize = size;
            } else {
                ansiString(); // network name
                u32();        // reserved
                u32();        // link update option
            }
            return m_r.ok() && Picture();
        case kStatic:
            // A static picture: the class name names the picture's kind and
            // the picture follows at once.
            m_item.m_className = ansiString();
            return m_r.ok() && PictureBody(m_item.m_className);
        default:
            m_r.setDamaged();
            return false;
        }
    }

private:
    bool Picture()
    {
        u32(); // OLE version, ignored
        const uint32_t format = u32();
        if (!m_r.ok())
            return false;
        if (format == kPictureNone)
            return true;
        if (format != kPictureStandard) {
            m_r.setDamaged();
            return false;
        }
        const std::string className = ansiString();
        return m_r.ok() && PictureBody(className);
    }

    bool PictureBody(const std::string& className)
    {
        COle1Presentation& p = m_item.m_presentation;
        p.className = className;
        if (className == "METAFILEPICT" || className == "BITMAP" || className == "DIB") {
            p.kind = className == "METAFILEPICT" ? COle1Presentation::kMetafile
                     : className == "BITMAP"     ? COle1Presentation::kBitmap
                                                 : COle1Presentation::kDib;
            p.width = int32_t(u32());
            p.height = int32_t(u32());
            const uint32_t size = u32();
            if (!m_r.ok())
                return false;
            uint32_t skip = 0;
            if (p.kind == COle1Presentation::kMetafile) {
                if (size < kMetafileReserved) {
                    m_r.setDamaged();
                    return false;
                }
                skip = kMetafileReserved;
            }
            return Data(size, skip);
        }
        p.clipboardFormat = u32();
        if (!m_r.ok())
            return false;
        if (p.clipboardFormat == 0) {
            p.kind = COle1Presentation::kRegistered;
            const uint32_t nameSize = u32();
            if (!m_r.require(nameSize))
                return false;
            p.formatName = std::string(takeView(nameSize));
        } else {
            p.kind = COle1Presentation::kClipboard;
        }
        const uint32_t size = u32();
        return m_r.ok() && Data(size, 0);
    }

    // The picture's bytes: `size` bytes of which the first `skip` are not
    // part of the picture.
    bool Data(uint32_t size, uint32_t skip)
    {
        const size_t start = m_item.m_stream.size();
        if (!take(size))
            return false;
        m_item.m_presentationOffset = start + skip;
        m_item.m_presentationSize = size - skip;
        return true;
    }

    uint32_t u32()
    {
        const std::string_view b = takeView(4);
        if (b.size() != 4)
            return 0;
        return uint32_t(uint8_t(b[0])) | uint32_t(uint8_t(b[1])) << 8 | uint32_t(uint8_t(b[2])) << 16 |
               uint32_t(uint8_t(b[3])) << 24;
    }

    // A length-prefixed text whose length counts its terminating NUL.
    std::string ansiString()
    {
        const uint32_t length = u32();
        if (!m_r.require(length))
            return {};
        const std::string_view b = takeView(length);
        return std::string(b.substr(0, std::min(b.size(), b.find('\0'))));
    }

    bool take(uint32_t n)
    {
        if (!m_r.require(n))
            return false;
        takeView(n);
        return m_r.ok();
    }

    // Takes n bytes (fewer when the data ends), keeps them and answers a view
    // of the kept copy.
    std::string_view takeView(size_t n)
    {
        const std::string b = m_r.bytes(n);
        const size_t at = m_item.m_stream.size();
        m_item.m_stream += b;
        return std::string_view(m_item.m_stream).substr(at, b.size());
    }

    RecordReader& m_r;
    CGraphOLE1& m_item;
};

CGraphOLE1::CGraphOLE1(const CGraphOLE1& other)
    : CGraph2Dim(other), m_format(other.m_format), m_className(other.m_className), m_topicName(other.m_topicName),
      m_itemName(other.m_itemName), m_nativeOffset(other.m_nativeOffset), m_nativeSize(other.m_nativeSize),
      m_presentation(other.m_presentation), m_presentationOffset(other.m_presentationOffset),
      m_presentationSize(other.m_presentationSize), m_stream(other.m_stream)
{
    BindPresentationData();
}

std::unique_ptr<CGraphObject> CGraphOLE1::Clone() const
{
    return std::make_unique<CGraphOLE1>(*this);
}

void CGraphOLE1::BindPresentationData()
{
    if (m_presentation.kind == COle1Presentation::kNone || m_presentationOffset > m_stream.size())
        m_presentation.data = {};
    else
        m_presentation.data = std::string_view(m_stream).substr(m_presentationOffset, m_presentationSize);
}

std::string_view CGraphOLE1::NativeData() const
{
    if (m_nativeOffset > m_stream.size())
        return {};
    return std::string_view(m_stream).substr(m_nativeOffset, m_nativeSize);
}

bool CGraphOLE1::Load(RecordReader& reader)
{
    CGraphObject::Load(reader);
    m_width = reader.i32();
    m_height = reader.i32();
    m_format = 0;
    m_className.clear();
    m_topicName.clear();
    m_itemName.clear();
    m_nativeOffset = m_nativeSize = 0;
    m_presentation = COle1Presentation{};
    m_presentationOffset = m_presentationSize = 0;
    m_stream.clear();
    if (!reader.ok())
        return false;
    const bool parsed = StreamParser(reader, *this).Parse();
    BindPresentationData();
    return parsed && reader.ok();
}

void CGraphOLE1::Save(RecordWriter& writer) const
{
    writer.i32(m_x);
    writer.i32(m_y);
    writer.i32(m_width);
    writer.i32(m_height);
    writer.bytes(m_stream);
}

bool CGraphOLE1::DrawPresentation(CDC& dc, const RECT& box) const
{
    // Standard clipboard formats that hold the same pictures.
    constexpr uint32_t kClipboardBitmap = 2, kClipboardMetafile = 3, kClipboardDib = 8;
    const char* format = nullptr;
    switch (m_presentation.kind) {
    case COle1Presentation::kMetafile: format = "METAFILEPICT"; break;
    case COle1Presentation::kBitmap: format = "BITMAP"; break;
    case COle1Presentation::kDib: format = "DIB"; break;
    case COle1Presentation::kClipboard:
        if (m_presentation.clipboardFormat == kClipboardMetafile)
            format = "METAFILEPICT";
        else if (m_presentation.clipboardFormat == kClipboardBitmap)
            format = "BITMAP";
        else if (m_presentation.clipboardFormat == kClipboardDib)
            format = "DIB";
        break;
    default: break;
    }
    return format && DrawOle1Presentation(dc, box, format, m_presentation.data);
}

bool CGraphOLE1::Draw(const DrawArgs& args) const
{
    if (!args.dc)
        return true;
    CDC& dc = *args.dc;
    const RECT box = CalcDeviceRect(dc, args.zoom, args.offsetX, args.offsetY);
    DrawPresentation(dc, box);
    if (args.frame) {
        const int level = dc.SaveDC();
        dc.SelectPen(CPen{PS_SOLID, 1, RGB(0, 0, 0)});
        dc.SelectBrush(CBrush::Hollow());
        dc.Rectangle(box);
        dc.RestoreDC(level);
    }
    return true;
}
