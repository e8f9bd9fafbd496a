#pragma once
// The image object: a picture in a box, either a file chosen by the user
// (its content stored in the project with its name) or, per table row, the
// file named in an image column of the data table.
//
//  CGraphImage        161  first form, never read back alone
//  CGraphImageExt     169  adds the table mode and the drawing options
//  CGraphImageExtExt  189  adds the choice of the image column
//
// The object holds its picture through an image holder (imageholder.h).
#include "content/images/imageholder.h"
#include "content/objects/graphobject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CGraphImage : public CGraph2Dim {
public:
    // Longest file name kept in memory (MAX_PATH less its terminator) and
    // the size of the stored name field (at most 127 bytes of name).
    static constexpr size_t kMaxPathBytes = 259;
    static constexpr size_t kStoredNameSize = 128;
    // What the file dialog of EditContent offers.
    static constexpr const char* kDefaultExtension = "jpg";
    static constexpr const char* kFileFilter = "Image files |*.jpg;*.jpeg;*.bmp;*.png;*.wmf||";

    CGraphImage();
    CGraphImage(const CGraphImage& other);
    ~CGraphImage() override;

    bool CopyToClipboard() override;
    bool EditContent() override;
    bool HasEditContent() const override { return true; }
    bool IsImage() const override { return true; }
    bool ResetToNaturalSize() override;
    std::unique_ptr<CGraphObject> Clone() const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    void Rotate90(int32_t cx, int32_t cy, int direction) override;
    bool Draw(const DrawArgs& args) const override;
    int GetAspectPercent() const override;
    int16_t GetTypeKey() const override { return kKeyImage; }
    bool HasImageFile() const override { return true; }
    // Sets the file name and a new empty holder chosen by its extension;
    // false (nothing changed) for a name the record cannot store.
    bool SetImageFile(const std::string& path) override;
    int GetSourceType() const override { return 1; }

    const std::string& GetFileName() const { return m_fileName; }
    CImageBase* GetHolder() const { return m_holder.get(); }
    void SetHolder(std::unique_ptr<CImageBase> holder) { m_holder = std::move(holder); }

protected:
    // Takes a new file name and a new empty holder by its extension (none
    // for an unknown extension).
    void TakeFile(std::string_view path);
    // Draws the outline of a device box with the current pen.
    static void DrawFrame(CDC& dc, const RECT& box);

    std::unique_ptr<CImageBase> m_holder;
    std::string m_fileName;
};

class CGraphImageExt : public CGraphImage {
public:
    enum SourceMode : int16_t { kSourceFile = 1, kSourceTable = 2 };

    CGraphImageExt() = default;
    CGraphImageExt(const CGraphImageExt&) = default;

    std::unique_ptr<CGraphObject> Clone() const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    bool Draw(const DrawArgs& args) const override;
    int16_t GetTypeKey() const override { return kKeyImageExt; }
    bool HasImageOptions() const override { return true; }
    bool HasImageTableSource() const override { return true; }
    bool HasImageFile() const override { return m_sourceMode == kSourceFile; }
    bool SetImageFile(const std::string& path) override;
    int GetSourceType() const override;
    void SetSourceType(int v) override;
    int GetImageSourceMode() const override { return m_sourceMode; }
    void SetImageSourceMode(int v) override;
    void SetStretch(bool on) override { m_stretch = on; }
    bool GetStretch() const override { return m_stretch; }
    void SetCentered(bool on) override { m_centered = on; }
    bool GetCentered() const override { return m_centered; }

    // Which of the table's image columns names the picture (0 here).
    virtual int GetColumnNumber() const { return 0; }
    // The file named for the context's label (1 = table row 0): the text of
    // the image column GetColumnNumber in that row, found through the
    // context's column map; empty without a table, an image column or a cell.
    std::string GetImagePathForRow(const DrawContext& context) const;

    // The picture the last drawing of a row showed (table mode); null when
    // none.
    const CImageBase* GetRowHolder() const { return m_rowHolder.get(); }

    const ImageSourceWindow& GetSourceWindow() const { return m_window; }
    void SetSourceWindow(const ImageSourceWindow& w) { m_window = w; }

protected:
    int HolderFlags() const { return (m_stretch ? kImageStretch : 0) | (m_centered ? kImageCentre : 0); }

    ImageSourceWindow m_window;
    // The picture of the row drawn last, when the picture comes from a table
    // column: a decoding cache for drawing, never the object's own picture.
    mutable std::string m_rowFile;
    mutable std::shared_ptr<CImageBase> m_rowHolder;
    bool m_centered = true;
    bool m_stretch = false;
    int16_t m_sourceMode = kSourceFile;
};

class CGraphImageExtExt : public CGraphImageExt {
public:
    // Clipboard formats InitFromClipboard takes.
    static constexpr int kClipboardMetafilePict = 3;
    static constexpr int kClipboardDib = 8;

    CGraphImageExtExt() = default;
    CGraphImageExtExt(const CGraphImageExtExt&) = default;

    std::unique_ptr<CGraphObject> Clone() const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    int16_t GetTypeKey() const override { return kKeyImageExtExt; }
    int GetColumnNumber() const override { return m_column; }
    void SetColumnNumber(int16_t column) { m_column = column; }
    // "Image n" for column n - 1 in table mode; false in file mode.
    bool GetSourceColumnText(std::string& out) const override;
    void SetSourceColumnText(const std::string& text) override { SetSourceColumnTextChecked(text); }
    // Reads "word n" or "n"; n in 1..4 chooses column n - 1. False when no
    // number reads.
    bool SetSourceColumnTextChecked(const std::string& text);

    // A pasted picture (format 3 metafile picture, 8 packed bitmap; see
    // imageholder.h for the blocks) in a new 10 x 10 mm object at 0, 0.
    void InitFromClipboard(int format, std::string_view block);

private:
    int16_t m_column = 0;
};

