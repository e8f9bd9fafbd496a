// Picture files: JPEG, BMP and PNG into 24-bit packed DIBs.
//
// A picture name comes from a project or a table cell and can point at
// anything. Before anything is decoded the file is measured: a regular file
// of at most kMaxFileBytes, a header that says what it is and how large it
// is (at most kMaxPixels, whichever way its rows run). BMP files are then
// read row by row by the program's own reader; PNG and JPEG files are read
// whole and walked through (every chunk or segment within the file) before
// the toolkit decodes them. A file that fails is remembered with its state,
// so that drawing it again costs a look at the file's size and time only.
#include "platform/dib.h"
#include "platform/dib_decode.h"
#include "platform/files.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>

#include <atomic>
#include <list>
#include <mutex>
#include <optional>

namespace dib {

namespace {

using namespace detail;

// Bytes read first to learn a file's format and size: a BMP header with
// its masks and a full colour table, a PNG header, and the JPEG segments
// that usually come before the frame header.
constexpr qint64 kHeadBytes = 64 * 1024;

constexpr char kPngSignature[] = "\x89PNG\r\n\x1A\n";

std::atomic<uint64_t> g_opened{0};
std::atomic<uint64_t> g_decoded{0};
std::atomic<uint64_t> g_bytesRead{0};

std::optional<QByteArray> readCounted(const files::OpenedFile& file, qint64 offset, qint64 count)
{
    std::optional<QByteArray> bytes = file.Read(offset, count);
    if (bytes)
        g_bytesRead += uint64_t(bytes->size());
    return bytes;
}

uint32_t rd32(const char* p)
{
    return uint32_t(uint8_t(p[0])) | (uint32_t(uint8_t(p[1])) << 8) | (uint32_t(uint8_t(p[2])) << 16) |
           (uint32_t(uint8_t(p[3])) << 24);
}

uint32_t be32(const char* p)
{
    return (uint32_t(uint8_t(p[0])) << 24) | (uint32_t(uint8_t(p[1])) << 16) | (uint32_t(uint8_t(p[2])) << 8) |
           uint32_t(uint8_t(p[3]));
}

uint16_t be16(const char* p)
{
    return uint16_t((uint8_t(p[0]) << 8) | uint8_t(p[1]));
}

bool withinLimit(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width * height <= kMaxPixels;
}

// --- PNG and JPEG structure ----------------------------------------------------

// Walks the chunks of a PNG file of `fileSize` bytes, of which `f` holds
// the first (all of them, or a file's first bytes): the header chunk first,
// and every chunk within the bytes left in the file. Of a file's first
// bytes, the chunks that start there are checked.
bool walkPng(std::string_view f, uint64_t fileSize, FileInfo& info)
{
    if (f.size() < 8 + 8 + 13 || f.substr(0, 8) != std::string_view(kPngSignature, 8))
        return false;
    if (be32(f.data() + 8) != 13 || f.substr(12, 4) != "IHDR")
        return false;
    info.width = int(std::min<uint32_t>(be32(f.data() + 16), INT32_MAX));
    info.height = int(std::min<uint32_t>(be32(f.data() + 20), INT32_MAX));
    const bool whole = f.size() >= fileSize;
    uint64_t pos = 8;
    bool data = false;
    while (pos < fileSize) {
        if (pos + 8 > f.size())
            return !whole; // the first bytes end here
        if (fileSize - pos < 12)
            return false; // a chunk cut short
        const uint32_t length = be32(f.data() + pos);
        const std::string_view type = f.substr(size_t(pos) + 4, 4);
        // A chunk never declares more than the bytes left in the file.
        if (length > 0x7FFFFFFFu || uint64_t(length) + 12 > fileSize - pos)
            return false;
        if (type == "IDAT")
            data = true;
        pos += uint64_t(length) + 12;
        if (type == "IEND")
            break;
    }
    return data || !whole;
}

// Walks the segments of a JPEG file up to its frame header, which gives the
// size. With `whole` every segment up to there must lie within the bytes;
// otherwise (a file's first bytes) running out of bytes leaves the size
// unknown.
bool walkJpeg(std::string_view f, bool whole, FileInfo& info)
{
    if (f.size() < 4 || uint8_t(f[0]) != 0xFF || uint8_t(f[1]) != 0xD8)
        return false;
    size_t pos = 2; // at a marker's 0xFF
    for (;;) {
        while (pos + 1 < f.size() && uint8_t(f[pos]) == 0xFF && uint8_t(f[pos + 1]) == 0xFF)
            ++pos; // fill bytes
        if (f.size() - pos < 4)
            return !whole;
        if (uint8_t(f[pos]) != 0xFF)
            return false;
        const uint8_t marker = uint8_t(f[pos + 1]);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2; // no length
            continue;
        }
        // An image that ends or starts again, or a scan, before its frame.
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA)
            return false;
        const size_t length = be16(f.data() + pos + 2);
        if (length < 2)
            return false;
        if (length + 2 > f.size() - pos)
            return !whole;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8)
                return false;
            info.height = be16(f.data() + pos + 5);
            info.width = be16(f.data() + pos + 7);
            // A height given only later (DNL) is not accepted.
            return info.width > 0 && info.height > 0;
        }
        pos += length + 2;
    }
}

// --- BMP files -------------------------------------------------------------------

// An opened file as a byte source.
class FileSource : public ByteSource {
public:
    explicit FileSource(const files::OpenedFile& file) : m_file(file) {}
    qint64 Size() const override { return m_file.Size(); }
    qint64 ReadAt(qint64 offset, char* into, qint64 count) const override
    {
        const qint64 n = m_file.ReadAt(offset, into, count);
        if (n > 0)
            g_bytesRead += uint64_t(n);
        return n;
    }

private:
    const files::OpenedFile& m_file;
};

// The header of a BMP file: what the rows need, and where they are.
struct BmpHeader {
    DibLayout layout;
    std::array<QRgb, 256> colours{};
    qint64 bitsAt = 0;
    int32_t dpmX = 0;
    int32_t dpmY = 0;
};

bool readBmpHeader(const ByteSource& source, BmpHeader& out)
{
    const qint64 size = source.Size();
    std::string head(size_t(std::min<qint64>(size, kHeadBytes)), '\0');
    if (head.size() < 18 || source.ReadAt(0, head.data(), qint64(head.size())) != qint64(head.size()))
        return false;
    if (head[0] != 'B' || head[1] != 'M')
        return false;
    const uint32_t bitsAt = rd32(head.data() + 10);
    const uint32_t headerSize = rd32(head.data() + 14);
    if (headerSize < kCoreHeaderSize || headerSize > 124)
        return false;
    // The header and its colour table lie between the file header and the
    // rows; a file that does not say where its rows are (0) has them right
    // after a full table.
    const bool rowsPlaced = bitsAt != 0;
    if (rowsPlaced && bitsAt < 14 + headerSize)
        return false;
    std::string_view block(head);
    block = block.substr(14);
    if (rowsPlaced)
        block = block.substr(0, std::min<size_t>(block.size(), bitsAt - 14));
    DibLayout& l = out.layout;
    if (!ParseHeader(block, l, rowsPlaced))
        return false;
    if (rowsPlaced && l.bitsOffset > bitsAt - 14)
        return false; // the masks run into the rows
    // A file's bit fields may give an alpha channel (composited onto
    // white); a bitmap drawn by the device has none.
    if (l.compression == BI_BITFIELDS && l.headerSize >= 56)
        l.alphaMask = rd32(block.data() + 52);
    out.bitsAt = rowsPlaced ? qint64(bitsAt) : qint64(14 + l.bitsOffset);
    out.colours = Colours(l, block.data() + l.paletteOffset, l.bitsOffset - l.paletteOffset);
    if (l.headerSize >= kInfoHeaderSize) {
        out.dpmX = int32_t(rd32(block.data() + 24));
        out.dpmY = int32_t(rd32(block.data() + 28));
    }
    l.valid = true;
    return true;
}

std::string decodeBmp(const ByteSource& source, QSize drawnSize)
{
    BmpHeader h;
    if (!readBmpHeader(source, h))
        return {};
    const DibLayout& l = h.layout;
    if (l.Embedded()) {
        // The bits are a JPEG or PNG file: the header and those bits are a
        // packed bitmap.
        const qint64 length = l.bitsSize ? qint64(l.bitsSize) : source.Size() - h.bitsAt;
        if (length <= 0 || length > source.Size() - h.bitsAt)
            return {};
        std::string packed(l.headerSize + size_t(length), '\0');
        if (source.ReadAt(14, packed.data(), l.headerSize) != qint64(l.headerSize) ||
            source.ReadAt(h.bitsAt, packed.data() + l.headerSize, length) != length)
            return {};
        return ImageToPacked24(WholeImage(packed));
    }
    const QSize full(l.width, l.height);
    const QSize reduced = ReducedSize(full, drawnSize);
    Packed24Sink packed(reduced.width(), reduced.height(), h.dpmX, h.dpmY);
    const qint64 bitsLength = source.Size() - h.bitsAt;
    if (reduced == full) {
        if (!DecodeRows(l, h.colours, source, h.bitsAt, bitsLength, packed))
            return {};
    } else {
        ReduceSink reduce(l.width, l.height, reduced.width(), reduced.height(), packed);
        if (!DecodeRows(l, h.colours, source, h.bitsAt, bitsLength, reduce))
            return {};
        reduce.Finish();
    }
    return packed.Take();
}

// --- PNG and JPEG through the toolkit ------------------------------------------------

std::string decodeWithToolkit(const QByteArray& file, const std::string& format, QSize drawnSize)
{
    FileInfo info;
    if (!CheckPictureFile(file, format, &info))
        return {};
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format == "PNG" ? QByteArray("png") : QByteArray("jpeg"));
    reader.setDecideFormatFromContent(false);
    QImageReader::setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    // The toolkit must see the size the file was checked for.
    if (size != QSize(info.width, info.height))
        return {};
    const QSize reduced = ReducedSize(size, drawnSize);
    if (reduced != size)
        reader.setScaledSize(reduced);
    return ImageToPacked24(reader.read());
}

// --- files that failed -------------------------------------------------------------

class FailedFiles {
public:
    bool Contains(const QString& path, const files::FileState& state)
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_failed.constFind(path);
        return found != m_failed.constEnd() && *found == state;
    }
    void Add(const QString& path, const files::FileState& state)
    {
        const std::lock_guard lock(m_mutex);
        if (m_failed.size() >= kMaxRemembered)
            m_failed.clear();
        m_failed.insert(path, state);
    }
    void Remove(const QString& path)
    {
        const std::lock_guard lock(m_mutex);
        m_failed.remove(path);
    }
    void Clear()
    {
        const std::lock_guard lock(m_mutex);
        m_failed.clear();
    }

private:
    static constexpr qsizetype kMaxRemembered = 4096;
    std::mutex m_mutex;
    QHash<QString, files::FileState> m_failed;
};

FailedFiles& failedFiles()
{
    static FailedFiles failed;
    return failed;
}

// Pictures loaded lately, so that labels naming a few files in turn (a
// sign per kind of row) read each once: found again by name, file state
// and the size asked for. Large pictures are not kept.
class RecentPictures {
public:
    bool Find(const QString& path, const files::FileState& state, QSize drawn, LoadedPicture& out)
    {
        const std::lock_guard lock(m_mutex);
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->path == path && it->state == state && it->drawn == drawn) {
                out = it->picture;
                m_entries.splice(m_entries.begin(), m_entries, it);
                return true;
            }
        }
        return false;
    }
    void Add(const QString& path, const files::FileState& state, QSize drawn, const LoadedPicture& picture)
    {
        if (picture.packed.size() > kMaxEntryBytes)
            return;
        const std::lock_guard lock(m_mutex);
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            if (it->path == path && !(it->state == state)) {
                m_bytes -= it->picture.packed.size();
                it = m_entries.erase(it);
            } else {
                ++it;
            }
        }
        m_entries.push_front(Entry{path, state, drawn, picture});
        m_bytes += picture.packed.size();
        while (m_bytes > kMaxBytes || m_entries.size() > kMaxEntries) {
            m_bytes -= m_entries.back().picture.packed.size();
            m_entries.pop_back();
        }
    }
    void Clear()
    {
        const std::lock_guard lock(m_mutex);
        m_entries.clear();
        m_bytes = 0;
    }

private:
    static constexpr size_t kMaxEntryBytes = 16u << 20;
    static constexpr size_t kMaxBytes = 64u << 20;
    static constexpr size_t kMaxEntries = 64;
    struct Entry {
        QString path;
        files::FileState state;
        QSize drawn;
        LoadedPicture picture;
    };
    std::mutex m_mutex;
    std::list<Entry> m_entries;
    size_t m_bytes = 0;
};

RecentPictures& recentPictures()
{
    static RecentPictures recent;
    return recent;
}

// Loads an opened file; false when it cannot be.
bool loadOpened(const files::OpenedFile& file, QSize drawnSize, LoadedPicture& out)
{
    if (file.Size() > kMaxFileBytes)
        return false;
    const std::optional<QByteArray> head = readCounted(file, 0, kHeadBytes);
    FileInfo info;
    if (!head || !ReadPictureInfo(*head, info))
        return false;
    if (info.format == "BMP") {
        if (!withinLimit(info.width, info.height))
            return false;
        ++g_decoded;
        out.packed = decodeBmp(FileSource(file), drawnSize);
    } else if (info.format == "PNG" || info.format == "JPEG") {
        // What the first bytes show is checked before the rest is read:
        // the size, and the chunks or segments that start there.
        if ((info.width || info.height) && !withinLimit(info.width, info.height))
            return false;
        const std::string_view first(head->constData(), size_t(head->size()));
        FileInfo probe;
        if (info.format == "PNG" ? !walkPng(first, uint64_t(file.Size()), probe) : !walkJpeg(first, false, probe))
            return false;
        const std::optional<QByteArray> whole =
            file.Size() <= head->size() ? head : readCounted(file, 0, file.Size());
        if (!whole || !CheckPictureFile(*whole, info.format, &info))
            return false;
        ++g_decoded;
        out.packed = decodeWithToolkit(*whole, info.format, drawnSize);
    } else {
        return false;
    }
    out.width = info.width;
    out.height = info.height;
    return !out.packed.empty();
}

} // namespace

bool ReadPictureInfo(const QByteArray& file, FileInfo& info)
{
    info = FileInfo{};
    const std::string_view f(file.constData(), size_t(file.size()));
    if (f.size() >= 2 && f[0] == 'B' && f[1] == 'M') {
        info.format = "BMP";
        if (f.size() >= 14) {
            const DibSize size = HeaderSize(f.substr(14));
            info.width = size.width;
            info.height = size.height;
        }
        return true;
    }
    if (f.size() >= 8 && f.substr(0, 8) == std::string_view(kPngSignature, 8)) {
        FileInfo size;
        walkPng(f, f.size() + 1, size); // the size, from however many bytes
        info = size;
        info.format = "PNG";
        return true;
    }
    if (f.size() >= 3 && uint8_t(f[0]) == 0xFF && uint8_t(f[1]) == 0xD8 && uint8_t(f[2]) == 0xFF) {
        FileInfo size;
        if (walkJpeg(f, false, size))
            info = size;
        info.format = "JPEG";
        return true;
    }
    // Other formats are named only, from the first bytes.
    QByteArray head = file.left(kHeadBytes);
    QBuffer buffer(&head);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer).toUpper();
    if (format.isEmpty())
        return false;
    info.format = format.toStdString();
    return true;
}

bool ReadFileInfo(const QString& path, FileInfo& info)
{
    info = FileInfo{};
    const std::optional<QByteArray> head = files::ReadRegularFileHead(path, kHeadBytes);
    return head && ReadPictureInfo(*head, info);
}

bool CheckPictureFile(const QByteArray& file, const std::string& format, FileInfo* info)
{
    const std::string_view f(file.constData(), size_t(file.size()));
    FileInfo found;
    bool ok = false;
    if (format == "PNG")
        ok = walkPng(f, f.size(), found);
    else if (format == "JPEG")
        ok = walkJpeg(f, true, found);
    if (!ok || !withinLimit(found.width, found.height))
        return false;
    found.format = format;
    if (info)
        *info = found;
    return true;
}

std::string DecodeBmpFile(std::string_view file, QSize drawnSize)
{
    return decodeBmp(MemorySource(file), drawnSize);
}

std::string DecodeAsPacked24(const QByteArray& file, const std::string& format, QSize drawnSize)
{
    if (format == "BMP")
        return DecodeBmpFile(std::string_view(file.constData(), size_t(file.size())), drawnSize);
    if (format == "PNG" || format == "JPEG")
        return decodeWithToolkit(file, format, drawnSize);
    return {};
}

std::string ReadFileAsPacked24(const QString& path, const std::string& format)
{
    const std::optional<QByteArray> file = files::ReadRegularFile(path, kMaxFileBytes);
    if (!file)
        return {};
    return DecodeAsPacked24(*file, format);
}

bool LoadPictureFile(const QString& path, QSize drawnSize, LoadedPicture& out)
{
    out = LoadedPicture{};
    // Missing files and names that are no regular file cost this look only.
    const std::optional<files::FileState> state = files::StatRegularFile(path);
    if (!state)
        return false;
    FailedFiles& failed = failedFiles();
    if (failed.Contains(path, *state))
        return false;
    if (recentPictures().Find(path, *state, drawnSize, out))
        return true;
    std::optional<files::OpenedFile> file = files::OpenedFile::Open(path);
    if (!file)
        return false;
    ++g_opened;
    if (loadOpened(*file, drawnSize, out)) {
        failed.Remove(path);
        recentPictures().Add(path, file->State(), drawnSize, out);
        return true;
    }
    out = LoadedPicture{};
    failed.Add(path, file->State());
    return false;
}

PictureFileCounts CountPictureFileWork()
{
    return PictureFileCounts{g_opened.load(), g_bytesRead.load(), g_decoded.load()};
}

void ForgetPictureFiles()
{
    failedFiles().Clear();
    recentPictures().Clear();
}

} // namespace dib
