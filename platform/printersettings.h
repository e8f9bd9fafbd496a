#pragma once
// Printer settings stored with a label definition.
//
// A stored block carries the operating-system version that produced the
// settings, the sizes of the settings and the settings themselves (a
// DEVMODE as a Windows printer driver gave it, or a block of our own). The
// bytes are opaque: a block read from a file is kept and written back byte
// for byte, whether or not it can be used on this system.
//
// Settings captured here use a block of our own: the version triple names
// our platform (an id that Windows never uses) and the settings start with a
// DEVMODE-shaped public part (orientation, paper code, paper size in 0.1 mm,
// copies) followed by a tagged private part with what the printer layer
// needs to restore the printer (CUPS queue name, page size, margins).
#include "platform/record.h"

#include <cstdint>
#include <optional>
#include <string>

// The (major, minor, platform id) triple of the system that wrote settings.
struct OsVersionInfo {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t platformId = 0;
    friend bool operator==(const OsVersionInfo&, const OsVersionInfo&) = default;
};

// Platform ids: Windows uses 0 to 3 (2 for every NT system). Ours reads
// "Lnux" in the stored bytes.
constexpr uint32_t kPlatformIdWin32NT = 2;
constexpr uint32_t kPlatformIdLinux = 0x78756E4Cu;

// The triple this program reports on Linux. The major number is the
// generation of our own settings format, not the kernel's version: the
// settings (a queue name, a page size, margins) do not depend on the kernel.
constexpr OsVersionInfo kLinuxOsVersion{1, 0, kPlatformIdLinux};
OsVersionInfo RunningOsVersion();

// Whether settings written on `stored` may be applied on `running`: equal
// platform ids and equal major versions, where 5 and 6 count as equal (the
// minor version is not compared).
bool PrinterSettingsAcceptable(const OsVersionInfo& stored, const OsVersionInfo& running);

// One stored printer-settings block.
class CPrinterSettings {
public:
    CPrinterSettings() = default;
    CPrinterSettings(const OsVersionInfo& origin, uint32_t size, uint32_t driverExtra, std::string bytes);

    const OsVersionInfo& Origin() const { return m_origin; }
    uint32_t Size() const { return m_size; }               // dmSize
    uint32_t DriverExtra() const { return m_driverExtra; } // dmDriverExtra
    const std::string& Bytes() const { return m_bytes; }   // dmSize + dmDriverExtra bytes

    // Fields of the DEVMODE public part; 0 when the block is too short.
    uint16_t SpecVersion() const { return field16(32); }
    uint16_t DriverVersion() const { return field16(34); }
    uint16_t DevModeSize() const { return field16(36); }
    uint16_t DevModeDriverExtra() const { return field16(38); }

    // Reads a block (after the flag byte that announces it). A reader at its
    // end holds no block and reads nothing (the older writers could end a
    // file there); one that ends inside the 20-byte header is truncated.
    // Sizes that need more bytes than the data holds mark the reader
    // damaged; nothing is allocated for them.
    static std::optional<CPrinterSettings> Read(RecordReader& reader);
    void Write(RecordWriter& writer) const;

    friend bool operator==(const CPrinterSettings&, const CPrinterSettings&) = default;

private:
    uint16_t field16(size_t offset) const;

    OsVersionInfo m_origin;
    uint32_t m_size = 0;
    uint32_t m_driverExtra = 0;
    std::string m_bytes;
};

// The printer settings captured on Linux.
struct LinuxPrinterSetup {
    std::string queueName;     // CUPS queue
    int16_t orientation = 1;   // 1 portrait, 2 landscape
    int16_t paperCode = 0;     // DMPAPER code, 256 user defined, 0 none
    int16_t paperLength = 0;   // 0.1 mm
    int16_t paperWidth = 0;    // 0.1 mm
    int16_t copies = 1;
    int32_t pageSizeId = -1;   // QPageSize::PageSizeId; -1 none
    int32_t pageWidthUm = 0;   // page size in portrait
    int32_t pageHeightUm = 0;
    int32_t marginLeftUm = 0;
    int32_t marginTopUm = 0;
    int32_t marginRightUm = 0;
    int32_t marginBottomUm = 0;
    friend bool operator==(const LinuxPrinterSetup&, const LinuxPrinterSetup&) = default;
};

// Size of the DEVMODE-shaped public part of our own settings.
constexpr uint32_t kDevModePublicSize = 156;

// Our own block for the setup, stamped with `origin` (normally the running
// system's triple).
CPrinterSettings EncodeLinuxPrinterSettings(const LinuxPrinterSetup& setup,
                                            const OsVersionInfo& origin = kLinuxOsVersion);
// The setup held in a block of our own; nothing for a foreign or damaged
// block.
std::optional<LinuxPrinterSetup> DecodeLinuxPrinterSettings(const CPrinterSettings& settings);
