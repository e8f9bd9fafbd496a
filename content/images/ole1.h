#pragma once
// A legacy OLE 1 item from label files of an old format. It is read, shown
// and copied, never created. Its OLE 1.0 object stream is kept byte for
// byte, so saving writes the item back exactly as it was read; the picture
// the stream carries for showing the item is drawn into the item's box.
#include "content/objects/graphobject.h"

#include <string>
#include <string_view>

// The picture an OLE 1.0 stream carries for showing its object.
struct COle1Presentation {
    enum Kind {
        kNone,       // no picture
        kMetafile,   // "METAFILEPICT": a Windows metafile
        kBitmap,     // "BITMAP": a device-dependent bitmap
        kDib,        // "DIB": a device-independent bitmap
        kClipboard,  // a standard clipboard format (clipboardFormat)
        kRegistered, // a registered clipboard format (formatName)
    };
    Kind kind = kNone;
    std::string className;      // class name of the picture's header
    uint32_t clipboardFormat = 0;
    std::string formatName;     // registered format name, raw bytes
    int32_t width = 0;          // as stored with metafiles and bitmaps
    int32_t height = 0;
    std::string_view data;      // the picture's bytes inside the kept stream
};

class CGraphOLE1 : public CGraph2Dim {
public:
    // Format of the stored object.
    enum Format : uint32_t { kLinked = 1, kEmbedded = 2, kStatic = 3 };

    CGraphOLE1() = default;
    CGraphOLE1(const CGraphOLE1& other);
    CGraphOLE1& operator=(const CGraphOLE1&) = delete;

    int16_t GetTypeKey() const override { return kKeyOLE1; }
    std::unique_ptr<CGraphObject> Clone() const override;
    // Old items cannot be edited here.
    bool EditContent() override { return false; }

    // Reads x, y, width, height and the OLE 1.0 object stream, taking
    // exactly the stream's bytes. A stream that makes no sense marks the
    // reader damaged; one cut short marks it truncated.
    bool Load(RecordReader& reader) override;
    // Writes x, y, width, height and the stream as it was read.
    void Save(RecordWriter& writer) const override;
    // Draws the stored picture into the box, and the frame when asked.
    bool Draw(const DrawArgs& args) const override;
    // Draws the stored picture (metafile or bitmap) into a device box;
    // false when there is none or it cannot be drawn.
    virtual bool DrawPresentation(CDC& dc, const RECT& box) const;

    uint32_t StreamFormat() const { return m_format; }
    const std::string& ClassName() const { return m_className; }
    const std::string& TopicName() const { return m_topicName; }
    const std::string& ItemName() const { return m_itemName; }
    std::string_view NativeData() const;
    const COle1Presentation& Presentation() const { return m_presentation; }
    const std::string& StreamBytes() const { return m_stream; }

private:
    class StreamParser;
    // Points the picture's data view into this object's own stream copy.
    void BindPresentationData();

    uint32_t m_format = 0;
    std::string m_className;
    std::string m_topicName;
    std::string m_itemName;
    size_t m_nativeOffset = 0;
    size_t m_nativeSize = 0;
    COle1Presentation m_presentation;
    size_t m_presentationOffset = 0;
    size_t m_presentationSize = 0;
    std::string m_stream; // the whole OLE 1.0 stream, as read
};
