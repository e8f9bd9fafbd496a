#include "platform/printersettings.h"

#include <algorithm>
#include <cstring>

OsVersionInfo RunningOsVersion()
{
    return kLinuxOsVersion;
}

bool PrinterSettingsAcceptable(const OsVersionInfo& stored, const OsVersionInfo& running)
{
    if (stored.platformId != running.platformId)
        return false;
    if (stored.major == running.major)
        return true;
    return (stored.major == 5 && running.major == 6) || (stored.major == 6 && running.major == 5);
}

CPrinterSettings::CPrinterSettings(const OsVersionInfo& origin, uint32_t size, uint32_t driverExtra,
                                   std::string bytes)
    : m_origin(origin), m_size(size), m_driverExtra(driverExtra), m_bytes(std::move(bytes))
{
}

uint16_t CPrinterSettings::field16(size_t offset) const
{
    if (m_bytes.size() < offset + 2)
        return 0;
    return uint16_t(uint8_t(m_bytes[offset]) | (uint8_t(m_bytes[offset + 1]) << 8));
}

std::optional<CPrinterSettings> CPrinterSettings::Read(RecordReader& reader)
{
    if (!reader.ok() || reader.remaining() == 0)
        return std::nullopt;
    OsVersionInfo origin;
    origin.major = reader.u32();
    origin.minor = reader.u32();
    origin.platformId = reader.u32();
    const uint32_t size = reader.u32();
    const uint32_t extra = reader.u32();
    if (!reader.ok())
        return std::nullopt;
    const uint64_t total = uint64_t(size) + extra;
    if (total > reader.remaining()) {
        reader.setDamaged();
        return std::nullopt;
    }
    std::string bytes = reader.bytes(size_t(total));
    if (!reader.ok())
        return std::nullopt;
    return CPrinterSettings(origin, size, extra, std::move(bytes));
}

void CPrinterSettings::Write(RecordWriter& writer) const
{
    writer.u32(m_origin.major);
    writer.u32(m_origin.minor);
    writer.u32(m_origin.platformId);
    writer.u32(m_size);
    writer.u32(m_driverExtra);
    writer.bytes(m_bytes);
}

// --- our own settings ------------------------------------------------------

namespace {

// DEVMODE public part.
constexpr size_t kOffDeviceName = 0;
constexpr size_t kDeviceNameWidth = 32;
constexpr size_t kOffSpecVersion = 32;
constexpr size_t kOffDriverVersion = 34;
constexpr size_t kOffSize = 36;
constexpr size_t kOffDriverExtra = 38;
constexpr size_t kOffFields = 40;
constexpr size_t kOffOrientation = 44;
constexpr size_t kOffPaperSize = 46;
constexpr size_t kOffPaperLength = 48;
constexpr size_t kOffPaperWidth = 50;
constexpr size_t kOffCopies = 54;

constexpr uint16_t kDmSpecVersion = 0x0401;
constexpr uint16_t kOurDriverVersion = 1;
constexpr uint32_t kDmOrientation = 0x00000001;
constexpr uint32_t kDmPaperSize = 0x00000002;
constexpr uint32_t kDmPaperLength = 0x00000004;
constexpr uint32_t kDmPaperWidth = 0x00000008;
constexpr uint32_t kDmCopies = 0x00000100;

// Private part: magic "VSLP", u16 version, then items of u16 tag, u16
// length and the bytes; readers skip tags they do not know.
constexpr uint32_t kPrivateMagic = 0x504C5356u;
constexpr uint16_t kPrivateVersion = 1;
constexpr uint16_t kTagQueue = 1;
constexpr uint16_t kTagPageSize = 2;
constexpr uint16_t kTagMargins = 3;

void put16(std::string& b, size_t off, uint16_t v)
{
    b[off] = char(v & 0xFF);
    b[off + 1] = char(v >> 8);
}

void put32(std::string& b, size_t off, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[off + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

void item(RecordWriter& w, uint16_t tag, const std::string& payload)
{
    w.u16(tag);
    w.u16(uint16_t(payload.size()));
    w.bytes(payload);
}

} // namespace

CPrinterSettings EncodeLinuxPrinterSettings(const LinuxPrinterSetup& setup, const OsVersionInfo& origin)
{
    RecordWriter priv;
    priv.u32(kPrivateMagic);
    priv.u16(kPrivateVersion);
    // Queue names are short; anything beyond an item's reach is cut.
    item(priv, kTagQueue, setup.queueName.substr(0, 0xFFFF));
    {
        RecordWriter p;
        p.i32(setup.pageSizeId);
        p.i32(setup.pageWidthUm);
        p.i32(setup.pageHeightUm);
        item(priv, kTagPageSize, p.data());
    }
    {
        RecordWriter p;
        p.i32(setup.marginLeftUm);
        p.i32(setup.marginTopUm);
        p.i32(setup.marginRightUm);
        p.i32(setup.marginBottomUm);
        item(priv, kTagMargins, p.data());
    }
    const std::string privBytes = priv.take();

    std::string pub(kDevModePublicSize, '\0');
    std::memcpy(&pub[kOffDeviceName], setup.queueName.data(),
                std::min(setup.queueName.size(), kDeviceNameWidth - 1));
    put16(pub, kOffSpecVersion, kDmSpecVersion);
    put16(pub, kOffDriverVersion, kOurDriverVersion);
    put16(pub, kOffSize, uint16_t(kDevModePublicSize));
    put16(pub, kOffDriverExtra, uint16_t(privBytes.size()));
    put32(pub, kOffFields, kDmOrientation | kDmPaperSize | kDmPaperLength | kDmPaperWidth | kDmCopies);
    put16(pub, kOffOrientation, uint16_t(setup.orientation));
    put16(pub, kOffPaperSize, uint16_t(setup.paperCode));
    put16(pub, kOffPaperLength, uint16_t(setup.paperLength));
    put16(pub, kOffPaperWidth, uint16_t(setup.paperWidth));
    put16(pub, kOffCopies, uint16_t(setup.copies));

    return CPrinterSettings(origin, kDevModePublicSize, uint32_t(privBytes.size()), pub + privBytes);
}

std::optional<LinuxPrinterSetup> DecodeLinuxPrinterSettings(const CPrinterSettings& settings)
{
    if (settings.Origin().platformId != kPlatformIdLinux || settings.Size() < kDevModePublicSize)
        return std::nullopt;
    const std::string& b = settings.Bytes();
    if (b.size() != uint64_t(settings.Size()) + settings.DriverExtra())
        return std::nullopt;

    RecordReader pub(b.data(), settings.Size());
    LinuxPrinterSetup s;
    pub.skip(kOffSpecVersion);
    if (pub.u16() != kDmSpecVersion)
        return std::nullopt;
    pub.skip(kOffOrientation - kOffDriverVersion);
    s.orientation = pub.i16();
    s.paperCode = pub.i16();
    s.paperLength = pub.i16();
    s.paperWidth = pub.i16();
    pub.skip(2); // scale
    s.copies = pub.i16();
    if (!pub.ok())
        return std::nullopt;

    RecordReader priv(b.data() + settings.Size(), settings.DriverExtra());
    if (priv.u32() != kPrivateMagic)
        return std::nullopt;
    priv.u16(); // version: later versions only add tags
    while (priv.ok() && !priv.atEnd()) {
        const uint16_t tag = priv.u16();
        const uint16_t len = priv.u16();
        if (!priv.require(len))
            break;
        const std::string payload = priv.bytes(len);
        RecordReader p(payload);
        switch (tag) {
        case kTagQueue:
            s.queueName = p.bytes(len);
            break;
        case kTagPageSize:
            s.pageSizeId = p.i32();
            s.pageWidthUm = p.i32();
            s.pageHeightUm = p.i32();
            break;
        case kTagMargins:
            s.marginLeftUm = p.i32();
            s.marginTopUm = p.i32();
            s.marginRightUm = p.i32();
            s.marginBottomUm = p.i32();
            break;
        default:
            break;
        }
        if (!p.ok())
            return std::nullopt;
    }
    if (!priv.ok())
        return std::nullopt;
    return s;
}
