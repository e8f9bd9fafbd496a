#pragma once
// Stored label definitions: the .label file in its two generations ("LBLF"
// for CLabelFileNew, "lblF" with article numbers for
// CLabelFileNewArticleNo), with header and footer parts, printer names and
// stored printer settings, marking and printer types, and module marking.
#include "document/label/label.h"

#include <array>
#include <optional>
#include <string_view>

// File magics and versions.
constexpr uint32_t kLabelFileMagic = 0x464C424Cu;          // "LBLF"
constexpr uint32_t kLabelFileArticleNoMagic = 0x466C626Cu; // "lblF"
constexpr uint32_t kLabelFileVersion = 90;
constexpr uint32_t kLabelFileArticleNoVersion = 110;
// Article-number files of this version or later are not ours.
constexpr uint32_t kLabelFileArticleNoVersionLimit = 111;

// Larger files are no label definitions (the biggest stored settings are a
// few kilobytes).
constexpr int64_t kMaxLabelFileSize = 16 * 1024 * 1024;

// Widths of the fixed text fields.
constexpr size_t kLabelPathField = 257;
constexpr size_t kLabelCompanionFileField = 256;
constexpr size_t kPrinterNameField = 81;
constexpr size_t kArticleNumberField = 50;
constexpr int kMaxArticleNumbers = 100;

// A header or footer part.
struct LabelPart {
    uint8_t enabled = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t height = 0;
    int32_t width = 0;
    friend bool operator==(const LabelPart&, const LabelPart&) = default;
};

class CLabelFile : public CLabelExtExt {
public:
    CLabelFile() = default;
    // The whole path is kept; an embedded record holds it when it fits its
    // field (256 bytes) and no path otherwise.
    void SetFilePath(const std::string& path) { m_filePath = path; }
    const std::string& GetFilePath() const { return m_filePath; }

protected:
    CLabelFile(const CLabelFile&) = default;
    std::string m_filePath;
};

class CLabelFileNew : public CLabelFile {
public:
    CLabelFileNew();
    std::unique_ptr<CLabel> Clone() const override;

    int32_t GetHeight(int part) const override;
    int32_t GetWidth(int part) const override;
    void SetHeight(int part, int32_t value) override;
    void SetWidth(int part, int32_t value, bool mark) override;
    bool IsModuleMarking() const override { return m_moduleMarking; }
    int32_t GetStripWidth() const override { return m_height; }
    bool SetStripWidth(int32_t value) override;
    bool ToggleModuleMarking() override;
    bool Read(RecordReader& reader, bool embedded, const LabelReadOptions& options) override;
    void Write(RecordWriter& writer, bool embedded) override;
    int16_t GetTypeKey() const override { return kKeyLabelFileNew; }
    bool HasHeader() const override { return m_header.enabled != 0; }
    bool HasFooter() const override { return m_footer.enabled != 0; }
    int32_t GetLeft(int part) const override;
    void SetLeft(int part, int32_t value) override;
    int32_t GetTop(int part) const override;
    void SetTop(int part, int32_t value) override;
    bool SaveToFile(const std::string& path, LabelFileResult* result = nullptr) override;
    bool GetPrinterNames(std::string& device, std::string& driver, std::string& port) const override;
    void ToggleMarkingType(uint32_t bits) override;
    uint32_t GetMarkingTypes() const override { return m_markingTypes; }
    void TogglePrinterType(uint32_t bits) override;
    uint32_t GetPrinterTypes() const override { return m_printerTypes; }
    void ToggleStorePrinter() override;
    bool IsStorePrinter() const override { return m_storePrinter; }
    void ToggleStorePrinterSettings() override;
    bool IsStorePrinterSettings() const override { return m_storePrinterSettings; }
    void showDevModeInfo() const override;
    bool IsLoaded() const override { return m_loaded; }
    void DrawHeaderOutline(CDC& dc, int zoom, int leftPx, int topPx) const override;
    void DrawFooterOutline(CDC& dc, int zoom, int leftPx, int topPx) const override;
    bool LoadFromFile(const std::string& path, const LabelReadOptions& options,
                      LabelFileResult* result = nullptr) override;

    // --- plain members --------------------------------------------------
    // Reads a whole .label file image; `name` names it in messages.
    bool LoadFromBytes(std::string_view bytes, const LabelReadOptions& options, LabelFileResult* result = nullptr,
                       const std::string& name = "The file");
    // The .label file image (header and body); clears the modified flag.
    std::string FileImage();
    // The file-name part of the path.
    std::string GetFileTitle() const;
    const std::string& GetDisplayName() const { return m_displayName; }
    void SetDisplayName(const std::string& name) { m_displayName = name; }
    void SetLoaded(bool on) { m_loaded = on; }
    // Back to the constructed state with an A4 portrait sheet.
    void Reset();

    // Header (1) or footer (2) on or off; marks the definition modified.
    void TogglePart(int part);
    const LabelPart& GetHeaderPart() const { return m_header; }
    const LabelPart& GetFooterPart() const { return m_footer; }

    const std::string& GetPictureFile() const { return m_pictureFile; }
    const std::string& GetInfoFile() const { return m_infoFile; }
    void SetPictureFile(const std::string& name);
    void SetInfoFile(const std::string& name);

    // The printer the stock is meant for (CUPS queue names on Linux). A
    // name longer than its field (80 characters) is refused: nothing
    // changes, and `error` says why.
    bool SetPrinterNames(const std::string& device, const std::string& driver, const std::string& port,
                         std::string* error = nullptr);
    const std::string& GetPrinterDevice() const { return m_printerDevice; }
    const std::string& GetPrinterDriver() const { return m_printerDriver; }
    const std::string& GetPrinterPort() const { return m_printerPort; }

    // The stored printer settings block (null when none). A block read from
    // a file is held even when it was written on a system whose settings
    // do not apply here, and is written back unchanged.
    const CPrinterSettings* GetPrinterSettings() const { return m_settings ? &*m_settings : nullptr; }
    // Whether the held settings may be applied on `running`.
    bool ArePrinterSettingsApplicable(const OsVersionInfo& running = RunningOsVersion()) const;
    // Takes settings captured from the printer; marks the definition modified.
    void SetPrinterSettings(const CPrinterSettings& settings);

    // Asks for a file name when the definition has none, then saves; false
    // when cancelled or when the save failed (the user has been told).
    // Dialogs and messages go through Ui().
    bool Save(const std::string& labelsFolder);
    // Always asks for the file name (with an overwrite confirmation).
    bool SaveAs(const std::string& labelsFolder);

protected:
    CLabelFileNew(const CLabelFileNew&) = default;

    virtual uint32_t FileMagic() const { return kLabelFileMagic; }
    virtual uint32_t FileVersion() const { return kLabelFileVersion; }
    virtual bool AcceptsFileHeader(uint32_t magic, uint32_t version) const;
    bool SaveWithDialog(const std::string& labelsFolder, bool always);
    void ReadPrinterSettings(RecordReader& reader, const LabelReadOptions& options);
    LabelPart* PartFor(int part);
    const LabelPart* PartFor(int part) const;

    std::string m_displayName;
    uint32_t m_markingTypes = 63;
    LabelPart m_header;
    LabelPart m_footer;
    std::string m_pictureFile;
    std::string m_infoFile;
    uint8_t m_reservedByte = 0;
    int16_t m_reservedWord = 0;
    std::string m_printerDevice;
    std::string m_printerDriver;
    std::string m_printerPort;
    std::optional<CPrinterSettings> m_settings;
    uint32_t m_printerTypes = 0x8000000Du;
    bool m_storePrinter = false;
    bool m_storePrinterSettings = false;
    bool m_loaded = false;
    bool m_moduleMarking = false;
};

class CLabelFileNewArticleNo : public CLabelFileNew {
public:
    CLabelFileNewArticleNo() = default;
    std::unique_ptr<CLabel> Clone() const override;

    bool Read(RecordReader& reader, bool embedded, const LabelReadOptions& options) override;
    void Write(RecordWriter& writer, bool embedded) override;
    int16_t GetTypeKey() const override { return kKeyLabelFileNewArticleNo; }
    bool HasArticleNumberPrefix(const std::string& text) const override;
    bool AddArticleNumber(const std::string& text) override;
    bool RemoveArticleNumber(const std::string& text) override;
    int GetArticleNumberCount() const override { return m_count; }
    std::string GetArticleNumber(int index) const override;

    // A new article-number definition with every field of `label` and an
    // empty list.
    static std::unique_ptr<CLabelFileNewArticleNo> CopyFromLabel(const CLabelFileNew& label);

protected:
    CLabelFileNewArticleNo(const CLabelFileNewArticleNo&) = default;
    explicit CLabelFileNewArticleNo(const CLabelFileNew& label) : CLabelFileNew(label) {}

    uint32_t FileMagic() const override { return kLabelFileArticleNoMagic; }
    uint32_t FileVersion() const override { return kLabelFileArticleNoVersion; }
    bool AcceptsFileHeader(uint32_t magic, uint32_t version) const override;

    std::array<char, 32> m_reserved{};
    int32_t m_count = 0;
    std::array<std::string, kMaxArticleNumbers> m_numbers;
};

// A new definition of the class that a type key names (135 to 140); null
// for any other key.
std::unique_ptr<CLabel> CreateLabelForTypeKey(int16_t key);

// Reads a .label file into a definition of the class that its magic names
// ("LBLF" or "lblF"); null when the file cannot be read or is not a label
// definition file (`result` says which).
std::unique_ptr<CLabelFileNew> LoadLabelDefinitionFile(const std::string& path, const LabelReadOptions& options,
                                                       LabelFileResult* result = nullptr);

// The message when stored printer settings from another system are kept
// but not used.
extern const char* const kForeignPrinterSettingsMessage;
