#pragma once
// Text parts: the source of the characters a text or barcode object shows
// for a label: a fixed text, the date, the time, a counter, or one to three
// columns of the current table row. In the design view they give a
// placeholder instead ("{+1}", "{date}", "{Date}", "{time}", "[A]").
//
// Texts are bytes in the Windows code page of the object's font.
#include "content/tables/drawcontext.h"
#include "platform/record.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Kinds of source the user chooses.
enum TextKind : int { kTextKindTable = 0, kTextKindFixed = 1, kTextKindDate = 2, kTextKindTime = 3, kTextKindCounter = 4 };

// Type keys of the stored text parts.
enum TextTypeKey : int16_t {
    kKeyTextFixed = 171,
    kKeyTextDate = 172,
    kKeyTextTable = 173,
    kKeyTextTime = 174,
    kKeyTextFixedExt = 271,
    kKeyTextDateExt = 273,
    kKeyTextTableExt = 275,
    kKeyTextAutoIncrement = 276,
};

// Buffer sizes of the callers: text objects and barcode objects.
constexpr size_t kTextBufferSize = 1025;
constexpr size_t kBarcodeTextBufferSize = 8193;

class CText {
public:
    virtual ~CText() = default;

    virtual bool GetDateFormat(int& /*out*/) const { return false; }
    virtual void SetDateFormat(int /*index*/) {}
    virtual bool GetDateOffset(int& /*out*/) const { return false; }
    virtual void SetDateOffset(int /*days*/) {}
    virtual bool GetColumn(int /*which*/, int& /*out*/) const { return false; }
    virtual void SetColumn(int /*which*/, int /*column*/) {}
    virtual bool AppendTextTo(std::string& /*text*/) const { return false; }
    virtual void SetFromText(std::string_view /*text*/) {}
    virtual bool UsesColumn(int /*column*/) const { return false; }
    virtual int GetKind() const = 0;
    virtual std::unique_ptr<CText> Clone() const = 0;
    virtual void SetText(std::string_view /*text*/) {}
    virtual bool IsFixed() const { return false; }
    // Reads the record after the type key; false when it was incomplete or
    // damaged (see the reader's status).
    virtual bool Load(RecordReader& reader) = 0;
    virtual void Save(RecordWriter& writer) const = 0;
    // The text for the context's label (1 = table row 0; 0 and below: no
    // row), at most bufferLength - 1 bytes. The context's placeholder switch
    // asks for the design view's placeholder; kDrawLabelNumbers adds the
    // label number to a table placeholder.
    virtual std::string GetText(const DrawContext& context, size_t bufferLength) const = 0;
    virtual int16_t GetTypeKey() const = 0;
    virtual bool GetColumnLetters(std::string& /*out*/) const { return false; }
    virtual void SetColumnLetters(std::string_view /*text*/) {}
    virtual bool GetPrefix(std::string& /*out*/) const { return false; }
    virtual void SetPrefix(std::string_view /*text*/) {}
    virtual bool GetStartText(std::string& /*out*/) const { return false; }
    virtual void SetStartText(std::string_view /*text*/) {}
    virtual bool GetSuffix(std::string& /*out*/) const { return false; }
    virtual void SetSuffix(std::string_view /*text*/) {}
    virtual bool GetLeadingZeros() const { return false; }
    virtual bool HasCounter() const { return false; }
    virtual void SetLeadingZeros(bool /*on*/) {}
    virtual bool GetMinDigitsText(std::string& /*out*/) const { return false; }
    virtual void SetMinDigitsText(std::string_view /*text*/) {}
    virtual bool GetSeparatorText(std::string& /*out*/) const { return false; }
    virtual void SetSeparatorText(std::string_view /*text*/) {}
    virtual bool GetSeparateBlankFields() const { return false; }
    virtual bool HasSeparator() const { return false; }
    virtual void SetSeparateBlankFields(bool /*on*/) {}
    virtual bool GetDateFormatName(std::string& /*out*/) const { return false; }
    virtual void SetDateFormatName(std::string_view /*name*/) {}
    virtual bool HasDateFormat() const { return false; }
    virtual bool HasDateOffset() const { return false; }
    virtual bool GetDateOffsetText(std::string& /*out*/) const { return false; }
    virtual void SetDateOffsetText(std::string_view /*text*/) {}
    virtual void Advance(int /*n*/) {}
    virtual bool IsAutoIncrement() const { return false; }
    virtual bool HasTableFlag() const { return false; }
    virtual bool GetTableFlag() const { return false; }
    virtual void SetTableFlag(bool /*on*/) {}
};

// A fixed text of at most 200 bytes.
class CTextFixed : public CText {
public:
    static constexpr size_t kMaxText = 200;
    int GetKind() const override { return kTextKindFixed; }
    std::unique_ptr<CText> Clone() const override { return std::make_unique<CTextFixed>(*this); }
    bool AppendTextTo(std::string& text) const override;
    void SetFromText(std::string_view text) override;
    void SetText(std::string_view text) override;
    bool IsFixed() const override { return true; }
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    std::string GetText(const DrawContext&, size_t) const override;
    int16_t GetTypeKey() const override { return kKeyTextFixed; }
    const std::string& Text() const { return m_text; }

protected:
    std::string m_text;
};

// A fixed text of several lines; new ones hold "Enter text here".
class CTextFixedExt : public CTextFixed {
public:
    static constexpr size_t kMaxLine = 4095;
    static constexpr size_t kMaxJoined = 1024;
    CTextFixedExt();
    std::unique_ptr<CText> Clone() const override { return std::make_unique<CTextFixedExt>(*this); }
    bool AppendTextTo(std::string& text) const override;
    void SetFromText(std::string_view text) override;
    void SetText(std::string_view text) override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    std::string GetText(const DrawContext&, size_t) const override;
    int16_t GetTypeKey() const override { return kKeyTextFixedExt; }
    const std::vector<std::string>& Lines() const { return m_lines; }
    void SetLines(const std::vector<std::string>& lines);
    bool IsDefault() const { return m_default; }

private:
    std::vector<std::string> m_lines;
    int16_t m_reserved1 = 0;
    int16_t m_reserved2 = 0;
    bool m_default = true;
};

// Today's date in the user's short format.
class CTextDate : public CText {
public:
    int GetKind() const override { return kTextKindDate; }
    std::unique_ptr<CText> Clone() const override { return std::make_unique<CTextDate>(*this); }
    bool Load(RecordReader& reader) override { return reader.ok(); }
    void Save(RecordWriter&) const override {}
    std::string GetText(const DrawContext&, size_t) const override;
    int16_t GetTypeKey() const override { return kKeyTextDate; }
};

// The date, whole or one component, with an offset in days.
class CTextDateExt : public CTextDate {
public:
    enum Mode : int16_t { kModeWhole = 1, kModeComponent = 3 };
    enum Component : int16_t { kShortDate = 0, kYear = 1, kMonth = 2, kDay = 3, kWeek = 4 };
    std::unique_ptr<CText> Clone() const override { return std::make_unique<CTextDateExt>(*this); }
    bool GetDateFormat(int& out) const override;
    void SetDateFormat(int index) override;
    bool GetDateOffset(int& out) const override { out = m_offset; return true; }
    void SetDateOffset(int days) override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    std::string GetText(const DrawContext&, size_t) const override;
    int16_t GetTypeKey() const override { return kKeyTextDateExt; }
    bool GetDateFormatName(std::string& out) const override;
    void SetDateFormatName(std::string_view name) override;
    bool HasDateFormat() const override { return true; }
    bool HasDateOffset() const override { return true; }
    bool GetDateOffsetText(std::string& out) const override;
    void SetDateOffsetText(std::string_view text) override;
    int16_t Mode() const { return m_mode; }
    int16_t Component() const { return m_component; }

    // The five format names, index = format number.
    static const char* FormatName(int index);

private:
    int16_t m_mode = kModeWhole;
    int16_t m_component = kShortDate;
    int16_t m_offset = 0;
    int16_t m_reserved1 = 0;
    int16_t m_reserved2 = 0;
};

// One column of the current table row.
class CTextTable : public CText {
public:
    int GetKind() const override { return kTextKindTable; }
    std::unique_ptr<CText> Clone() const override { return std::make_unique<CTextTable>(*this); }
    bool GetColumn(int which, int& out) const override;
    void SetColumn(int which, int column) override;
    bool UsesColumn(int column) const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    std::string GetText(const DrawContext&, size_t) const override;
    int16_t GetTypeKey() const override { return kKeyTextTable; }
    bool GetColumnLetters(std::string& out) const override;
    void SetColumnLetters(std::string_view text) override;

protected:
    int16_t m_column = 0;
};

// Up to three columns joined by a separator.
class CTextTableExt : public CTextTable {
public:
    static constexpr size_t kMaxSeparator = 10;
    std::unique_ptr<CText> Clone() const override { return std::make_unique<CTextTableExt>(*this); }
    bool GetColumn(int which, int& out) const override;
    void SetColumn(int which, int column) override;
    bool UsesColumn(int column) const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    std::string GetText(const DrawContext&, size_t) const override;
    int16_t GetTypeKey() const override { return kKeyTextTableExt; }
    bool GetColumnLetters(std::string& out) const override;
    void SetColumnLetters(std::string_view text) override;
    bool GetSeparatorText(std::string& out) const override;
    void SetSeparatorText(std::string_view text) override;
    bool GetSeparateBlankFields() const override { return m_separateBlank; }
    bool HasSeparator() const override { return true; }
    void SetSeparateBlankFields(bool on) override { m_separateBlank = on; }
    bool HasTableFlag() const override { return true; }
    bool GetTableFlag() const override { return m_tableFlag == 0; }
    void SetTableFlag(bool on) override { m_tableFlag = on ? 0 : 1; }
    const std::string& Separator() const { return m_separator; }

private:
    int16_t m_second = -1;
    int16_t m_third = -1;
    std::string m_separator = " ";
    bool m_separateBlank = false;
    uint8_t m_tableFlag = 0;
};

// The current time in the user's format.
class CTextTime : public CText {
public:
    int GetKind() const override { return kTextKindTime; }
    std::unique_ptr<CText> Clone() const override { return std::make_unique<CTextTime>(*this); }
    bool Load(RecordReader& reader) override { return reader.ok(); }
    void Save(RecordWriter&) const override {}
    std::string GetText(const DrawContext&, size_t) const override;
    int16_t GetTypeKey() const override { return kKeyTextTime; }
};

// A counter that grows with the label number: prefix, number, suffix.
class CTextAutoIncrement : public CText {
public:
    static constexpr size_t kMaxAffix = 20;
    // Widest zero padding honoured (wider would not fit any caller's buffer).
    static constexpr int kMaxMinDigits = 1024;
    int GetKind() const override { return kTextKindCounter; }
    std::unique_ptr<CText> Clone() const override { return std::make_unique<CTextAutoIncrement>(*this); }
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    std::string GetText(const DrawContext&, size_t) const override;
    int16_t GetTypeKey() const override { return kKeyTextAutoIncrement; }
    bool GetPrefix(std::string& out) const override { out = m_prefix; return true; }
    void SetPrefix(std::string_view text) override;
    bool GetStartText(std::string& out) const override;
    void SetStartText(std::string_view text) override;
    bool GetSuffix(std::string& out) const override { out = m_suffix; return true; }
    void SetSuffix(std::string_view text) override;
    bool GetLeadingZeros() const override { return m_leadingZeros; }
    bool HasCounter() const override { return true; }
    void SetLeadingZeros(bool on) override { m_leadingZeros = on; }
    bool GetMinDigitsText(std::string& out) const override;
    void SetMinDigitsText(std::string_view text) override;
    void Advance(int n) override;
    bool IsAutoIncrement() const override { return true; }
    int32_t Start() const { return m_start; }
    int32_t MinDigits() const { return m_minDigits; }

private:
    std::string m_prefix;
    std::string m_suffix;
    int32_t m_start = 1;
    int32_t m_minDigits = 1;
    bool m_leadingZeros = false;
    int32_t m_reserved = 0;
};

// A new text part of a stored type key; null for an unknown key.
std::unique_ptr<CText> CreateTextPartByKey(int16_t key);
// A new text part of a kind, in its newest form; null for an unknown kind.
std::unique_ptr<CText> CreateTextPartByKind(int kind);
// Reads a type key and the text part it names. Null, with the reader marked
// damaged, for an unknown key; null when the record is cut short.
std::unique_ptr<CText> LoadTextPart(RecordReader& reader);
// Writes the type key and the record.
void SaveTextPart(const CText& part, RecordWriter& writer);

// "%d" as the C library reads it: optional blanks, an optional sign and at
// least one digit; trailing text is ignored. False for no digits or a
// number outside 32 bits.
bool ScanDecimal(std::string_view text, int32_t& out);
