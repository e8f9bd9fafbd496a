#pragma once
// Bounded little-endian record reading and writing.
//
// RecordReader never trusts the data: every read is checked against the
// bytes left; a read past the end yields zeros and turns the status into
// Truncated, and a reader may mark data it understands as wrong Damaged.
// Once not Ok, the status stays as it first went wrong, and every further
// read yields zeros, so a loader can read a whole record and check the
// status once at the end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class ReadStatus {
    Ok,
    Truncated, // the data ended before the record did
    Damaged,   // the data is there but makes no sense (bad key, count, depth)
};

class RecordReader {
public:
    RecordReader(const void* data, size_t size);
    explicit RecordReader(std::string_view bytes);
    // The reader keeps a view of the bytes: never of a temporary string.
    explicit RecordReader(std::string&&) = delete;

    // Deepest nesting of containers a reader accepts (groups in groups...).
    static constexpr int kMaxDepth = 32;

    ReadStatus status() const { return m_status; }
    bool ok() const { return m_status == ReadStatus::Ok; }
    size_t position() const { return m_pos; }
    size_t size() const { return m_size; }
    size_t remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos >= m_size; }

    // Marks the data damaged (keeps an earlier failure).
    void setDamaged();
    // Marks the data truncated (keeps an earlier failure).
    void setTruncated();

    // True when n more bytes are there; otherwise marks the data truncated.
    // Use before allocating for a count read from the data.
    bool require(size_t n);
    // True when count items of at least itemSize bytes each can still be
    // there; otherwise marks the data truncated.
    bool requireItems(uint64_t count, size_t itemSize);

    int8_t i8();
    uint8_t u8();
    int16_t i16();
    uint16_t u16();
    int32_t i32();
    uint32_t u32();
    int64_t i64();
    uint64_t u64();
    double f64();
    bool boolean8() { return u8() != 0; }

    // Reads n raw bytes; fewer (and Truncated) when the data ends.
    std::string bytes(size_t n);
    bool bytes(void* out, size_t n);
    void skip(size_t n);

    // A zero-padded character field of the given width: the text up to the
    // first NUL, or the whole field when it holds no NUL.
    std::string fixedString(size_t width);
    // The same into a char array of `width` bytes that always ends with a
    // NUL (a field without one loses its last byte).
    void fixedField(char* out, size_t width);

    // Nesting guard: enter() answers false (and marks the data damaged)
    // past kMaxDepth; every successful enter() needs a leave().
    bool enter();
    void leave();
    int depth() const { return m_depth; }

private:
    const uint8_t* take(size_t n);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    ReadStatus m_status = ReadStatus::Ok;
    int m_depth = 0;
};

// Stores a value just read into its field only when the read succeeded:
// a field cut short keeps what it held. The value is read before the call,
// so `StoreIfRead(r, field, r.i32())` checks the read that gave it.
template <typename T, typename V>
void StoreIfRead(const RecordReader& r, T& field, V&& value)
{
    if (r.ok())
        field = static_cast<T>(static_cast<V&&>(value));
}

// Scope helper for RecordReader::enter/leave.
class RecordDepthGuard {
public:
    explicit RecordDepthGuard(RecordReader& r) : m_r(r), m_entered(r.enter()) {}
    ~RecordDepthGuard() { if (m_entered) m_r.leave(); }
    bool entered() const { return m_entered; }
    RecordDepthGuard(const RecordDepthGuard&) = delete;
    RecordDepthGuard& operator=(const RecordDepthGuard&) = delete;
private:
    RecordReader& m_r;
    bool m_entered;
};

class RecordWriter {
public:
    // A writer asked to store something its format cannot hold is marked
    // failed (sticky); whoever stores the bytes must check ok() first and
    // never report such a write as success.
    void setFailed() { m_failed = true; }
    bool ok() const { return !m_failed; }

    void i8(int8_t v) { put(&v, 1); }
    void u8(uint8_t v) { put(&v, 1); }
    void i16(int16_t v) { u16(uint16_t(v)); }
    void u16(uint16_t v);
    void i32(int32_t v) { u32(uint32_t(v)); }
    void u32(uint32_t v);
    void i64(int64_t v) { u64(uint64_t(v)); }
    void u64(uint64_t v);
    void f64(double v);
    void boolean8(bool v) { u8(v ? 1 : 0); }
    void bytes(std::string_view b) { m_buf.append(b); }
    void bytes(const void* p, size_t n) { put(p, n); }
    // A zero-padded field of `width` bytes holding at most width - 1 bytes of
    // the text, so the field always ends with a NUL.
    void fixedString(std::string_view text, size_t width);
    // A field of exactly `width` bytes copied from a char array.
    void fixedField(const char* field, size_t width) { put(field, width); }

    const std::string& data() const { return m_buf; }
    std::string take() { return std::move(m_buf); }
    size_t size() const { return m_buf.size(); }

private:
    void put(const void* p, size_t n) { m_buf.append(static_cast<const char*>(p), n); }
    std::string m_buf;
    bool m_failed = false;
};
