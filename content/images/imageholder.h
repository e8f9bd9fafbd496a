#pragma once
// Image holders: the picture of an image object in a form that can be
// drawn into any device context, stored in the object's record, copied to
// the clipboard, turned and sized.
//
//  CImageBase        162  empty content
//  CImageBitmap      163  DIB as header (with colour table) and bits; older files
//  CImageBitmapExt   179  read as CImageBitmap, written under 163
//  CImageBitmapNew   165  packed DIB in one block (files, pasted bitmaps)
//  CImageMetafile    164  Windows metafile with its size in micrometres
//
// A holder that is still empty when it is first drawn loads the image file
// it is given. Memory blocks handed over from the clipboard are:
//  - packed bitmap: a packed DIB (CF_DIB);
//  - metafile picture: int32 mapping mode, int32 x and y extent in
//    hundredths of a millimetre, then the metafile bits (CF_METAFILEPICT).
#include "platform/dc.h"
#include "platform/record.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CGraphObject;

// The part of the picture to show, in percent of its width and height,
// counted from its left and bottom edges.
struct ImageSourceWindow {
    int32_t left = 0;
    int32_t bottom = 0;
    int32_t right = 100;
    int32_t top = 100;
};

// The part of a stored bitmap decoded for drawing: what the device shows of
// the source window, reduced to about the device pixels it covers there
// (the whole source window when that is small), kept for the next drawing
// while that needs no more of it. Its memory is bounded by what the device
// shows, whatever size the bitmap declares.
class CDecodedBitmap {
public:
    // Decodes `part` of the bitmap (its pixels, the top row 0) reduced to
    // `size`; a null image when it cannot.
    using Decoder = std::function<QImage(QRect part, QSize size)>;
    // Draws the bitmap of `full` pixels as DrawBitmapIntoBox does.
    void Draw(CDC& dc, QSize full, const Decoder& decode, const RECT& dest, const ImageSourceWindow& window,
              int flags);
    void Clear();
    // The size of what is kept decoded (0 x 0 when nothing is).
    QSize Size() const { return m_image.size(); }

private:
    QImage m_image;
    QRect m_part; // the part of the bitmap m_image shows
};

// Holder drawing flags.
enum ImageDrawFlags : int {
    kImageCentre = 0x01,
    kImageStretch = 0x10,
};

enum ImageHolderTag : int16_t {
    kTagImageBase = 162,
    kTagImageBitmap = 163,
    kTagImageMetafile = 164,
    kTagImageBitmapNew = 165,
    kTagImageBitmapExt = 179,
};

class CImageBase {
public:
    CImageBase() = default;
    CImageBase(const CImageBase&) = default;
    CImageBase& operator=(const CImageBase&) = delete;
    virtual ~CImageBase() = default;

    virtual bool CanRotate() const { return false; }
    virtual std::unique_ptr<CImageBase> Clone() const { return std::make_unique<CImageBase>(); }
    // Puts the picture on the system clipboard; false when there is nothing
    // to copy or no clipboard.
    virtual bool CopyToClipboard() const { return false; }
    // Draws into `dest` (device pixels, right and bottom inclusive); an empty
    // holder first loads `imageFile` (a stored name, see paths.h).
    virtual void Draw(CDC& /*dc*/, const std::string& /*imageFile*/, const RECT& /*dest*/,
                      const ImageSourceWindow& /*window*/, int /*flags*/) {}
    // When on, a picture loaded from its file name is decoded at the size it
    // is drawn at rather than at full size (per-row pictures of a table
    // column), and decoded again when it is later drawn larger.
    virtual void SetReducedDecoding(bool /*on*/) {}
    // Takes the content of a clipboard memory block (see above) and sets the
    // owning object's size.
    virtual void FromGlobalMemory(CGraphObject& /*owner*/, std::string_view /*block*/) {}
    virtual int GetAspectPercent() const { return 100; }
    // Direction 1 turns counter-clockwise, any other clockwise. False when
    // the holder refused to turn its picture (it said why); the picture
    // stays as it was.
    virtual bool Rotate(int /*direction*/) { return true; }
    virtual bool ApplyNaturalSize(CGraphObject& /*owner*/) { return false; }
    // Reads the record after the tag; false when the data was short or
    // damaged (the reader's status says which).
    virtual bool Load(RecordReader& reader) { return reader.ok(); }
    virtual void Save(RecordWriter& /*writer*/) const {}
    void SaveTagged(RecordWriter& writer) const;
    virtual int16_t GetTypeTag() const { return kTagImageBase; }

    // True when the holder holds a picture (valid or not).
    virtual bool HasContent() const { return false; }
};

// A device-independent bitmap held as header and bits (older files).
class CImageBitmap : public CImageBase {
public:
    static constexpr int16_t kMarkerContent = 1234;

    std::unique_ptr<CImageBase> Clone() const override { return std::make_unique<CImageBitmap>(*this); }
    bool CopyToClipboard() const override;
    void Draw(CDC& dc, const std::string& imageFile, const RECT& dest, const ImageSourceWindow& window,
              int flags) override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    int16_t GetTypeTag() const override { return kTagImageBitmap; }
    bool HasContent() const override { return m_hasContent; }

    // Sets the content directly (header with colour table, and bits).
    void SetContent(int16_t width, int16_t height, std::string header, std::string bits);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::string& Header() const { return m_header; }
    const std::string& Bits() const { return m_bits; }
    // True when header and bits describe a bitmap that can be drawn.
    bool IsDrawable() const;
    // The size of the picture kept decoded for drawing.
    QSize DecodedSize() const { return m_decoded.Size(); }

protected:
    bool m_hasContent = false;
    CDecodedBitmap m_decoded; // made at a drawing, dropped at a change
    int16_t m_width = 0;
    int16_t m_height = 0;
    std::string m_header;
    std::string m_bits;
};

class CImageBitmapExt : public CImageBitmap {
public:
    std::unique_ptr<CImageBase> Clone() const override { return std::make_unique<CImageBitmapExt>(*this); }
};

// A packed device-independent bitmap in one block.
class CImageBitmapNew : public CImageBase {
public:
    static constexpr int16_t kMarkerEmpty = 1155;
    static constexpr int16_t kMarkerContent = 1156;

    bool CanRotate() const override { return true; }
    std::unique_ptr<CImageBase> Clone() const override { return std::make_unique<CImageBitmapNew>(*this); }
    bool CopyToClipboard() const override;
    void Draw(CDC& dc, const std::string& imageFile, const RECT& dest, const ImageSourceWindow& window,
              int flags) override;
    void FromGlobalMemory(CGraphObject& owner, std::string_view block) override;
    int GetAspectPercent() const override;
    bool Rotate(int direction) override;
    bool ApplyNaturalSize(CGraphObject& owner) override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    int16_t GetTypeTag() const override { return kTagImageBitmapNew; }
    bool HasContent() const override { return !m_packed.empty(); }

    void SetReducedDecoding(bool on) override { m_reducedDecoding = on; }

    // Reads a JPEG, BMP or PNG file (by its content); any other file, and a
    // name that is not a regular file, leaves the holder empty. With a valid
    // `drawnSize` the picture is decoded reduced to cover that many pixels
    // (dib::DecodeAsPacked24); width and height stay the file's, and Save
    // stores the whole picture. Answers whether there is content afterwards.
    bool LoadFile(const std::string& storedName, QSize drawnSize = {});
    // Sets a packed DIB; width and height come from its header.
    void SetPacked(std::string packed);
    const std::string& Packed() const { return m_packed; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The size of the picture kept decoded for drawing.
    QSize DecodedSize() const { return m_decoded.Size(); }

private:
    void takeSizeFromHeader();

    std::string m_packed;
    CDecodedBitmap m_decoded; // made at a drawing, dropped at a change
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_reducedDecoding = false;
    // m_packed is the picture of file m_sourceName made smaller; saving
    // stores the file's whole picture.
    bool m_reduced = false;
    std::string m_sourceName;
};

// A Windows metafile with its size in micrometres.
class CImageMetafile : public CImageBase {
public:
    std::unique_ptr<CImageBase> Clone() const override { return std::make_unique<CImageMetafile>(*this); }
    bool CopyToClipboard() const override;
    void Draw(CDC& dc, const std::string& imageFile, const RECT& dest, const ImageSourceWindow& window,
              int flags) override;
    void FromGlobalMemory(CGraphObject& owner, std::string_view block) override;
    int GetAspectPercent() const override;
    bool ApplyNaturalSize(CGraphObject& owner) override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    int16_t GetTypeTag() const override { return kTagImageMetafile; }
    bool HasContent() const override { return !m_bits.empty(); }

    // Reads a .wmf file, with or without the placeable header.
    bool LoadFile(const std::string& storedName);
    void SetMetafile(std::string bits, int32_t widthUm, int32_t heightUm);
    const std::string& Bits() const { return m_bits; }
    int32_t WidthUm() const { return m_width; }
    int32_t HeightUm() const { return m_height; }

private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::string m_bits;
};

// A new empty holder for a stored tag (162-165, 179); null for other tags.
std::unique_ptr<CImageBase> CreateImageHolderForTag(int16_t tag);

// A new empty holder chosen by the file name's extension, ignoring case:
// .jpg, .jpeg, .bmp and .png a packed bitmap, .wmf a metafile; null for any
// other name.
std::unique_ptr<CImageBase> CreateImageHolderForFile(std::string_view fileName);

// Draws a picture into a device rectangle (right and bottom inclusive) the
// way an image object does: the source window, then the proportions kept
// (and the result centred) unless stretching. Used by the bitmap holders
// and by legacy embedded items that carry a presentation bitmap.
void DrawBitmapIntoBox(CDC& dc, const QImage& picture, const RECT& dest,
                       const ImageSourceWindow& window, int flags);

// Plays metafile bits into a device rectangle: the viewport starts at its
// top-left corner and spans right - left by bottom - top pixels, keeping the proportions of widthUm x heightUm unless stretching (or when
// either is 0). Used by the metafile holder and by legacy embedded items.
void DrawMetafileIntoBox(CDC& dc, std::string_view bits, int32_t widthUm, int32_t heightUm,
                         const RECT& dest, int flags);
