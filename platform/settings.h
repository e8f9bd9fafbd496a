#pragma once
// The program's settings store: the sections and values the Windows program
// kept in the registry, in one INI file in the user's configuration folder
// ("<XDG config>/Vorteplan/Vorteplan Software.ini"). Each registry section is
// one group; integers and texts keep their registry types.
//
// Section and value names are cp1252 byte strings and may hold anything,
// also "/" and "\" (a printer named "HP\LaserJet" makes the section
// "Printer = HP\LaserJet"); they are escaped on the way in and out, so every
// name comes back as it was given. Texts are cp1252 bytes as well.
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// Sections and value names of the settings table.
inline constexpr std::string_view kDefaultFont = "Default font";
inline constexpr std::string_view kFontFacename = "Facename";
inline constexpr std::string_view kFontSize = "Size";
inline constexpr std::string_view kFontWeight = "Weight";
inline constexpr std::string_view kFontItalic = "Italic";
inline constexpr std::string_view kFontUnderline = "Underline";

inline constexpr std::string_view kTableFont = "Table font";
inline constexpr std::string_view kTableFontName = "Name";
inline constexpr std::string_view kTableFontSize = "Size";
inline constexpr std::string_view kTableFontWeight = "Weight";
inline constexpr std::string_view kTableFontCharSet = "Character Set";

inline constexpr std::string_view kDefaultBarcode = "Default barcode";
inline constexpr std::string_view kBarcodeType = "Type";
inline constexpr std::string_view kBarcodeModule = "Module";
inline constexpr std::string_view kBarcodeSize = "Size";
inline constexpr std::string_view kBarcodeHeight = "Height";
inline constexpr std::string_view kBarcodeQrVersion = "QR Version";
inline constexpr std::string_view kBarcodeQrEccLevel = "QR ECC level";
inline constexpr std::string_view kBarcodeQrEncoding = "QR Encoding";
inline constexpr std::string_view kBarcodeQrMargin = "QR Margin";

inline constexpr std::string_view kPrinterSectionPrefix = "Printer = ";
inline constexpr std::string_view kPrinterLeftCompensation = "Left compensation";
inline constexpr std::string_view kPrinterTopCompensation = "Top compensation";

inline constexpr std::string_view kTextImport = "Text import";
inline constexpr std::string_view kImportFormat = "Format";
inline constexpr std::string_view kImportDelimiter = "Delimiter";
inline constexpr std::string_view kImportFixedLengthPrefix = "Fixed length";
inline constexpr std::string_view kImportCharSet = "Character set";

inline constexpr std::string_view kWorkspace = "Workspace";
inline constexpr std::string_view kApplicationLook = "ApplicationLook";

inline constexpr std::string_view kRecentFileList = "Recent File List";

// The section of a printer's compensation values: "Printer = <device>".
std::string PrinterSection(std::string_view deviceName);
// The fixed-width import key of a column 0..25: "Fixed length A".."Z".
std::string FixedLengthKey(int column);

// The store file. SetStoreFolder moves the store into another folder (tests
// point it at a temporary one); an empty folder restores the default.
void SetStoreFolder(const QString& folder);
QString StoreFile();

// The default the settings table gives a value (integers and texts apart);
// nothing for a value without one.
std::optional<int32_t> DefaultInt(std::string_view section, std::string_view key);
std::optional<std::string> DefaultText(std::string_view section, std::string_view key);

// Reading: the stored value, else the table's default, else `fallback`.
// A stored value that is no integer reads as missing.
int32_t GetInt(std::string_view section, std::string_view key, int32_t fallback = 0);
std::string GetText(std::string_view section, std::string_view key, std::string_view fallback = {});
bool HasValue(std::string_view section, std::string_view key);

void WriteInt(std::string_view section, std::string_view key, int32_t value);
// File paths are kept as the file system names them (not cp1252).
QString GetPath(std::string_view section, std::string_view key);
void WritePath(std::string_view section, std::string_view key, const QString& path);
void RemoveValue(std::string_view section, std::string_view key);
void WriteText(std::string_view section, std::string_view key, std::string_view value);

// The sections that hold values, and the value names of one section, as
// they were written.
std::vector<std::string> Sections();
std::vector<std::string> Keys(std::string_view section);

// Names as the store keeps them: "%" "/" and "\" percent-encoded, so that
// neither separates groups; UnescapeName undoes it.
QString EscapeName(std::string_view name);
std::string UnescapeName(const QString& stored);

} // namespace settings
