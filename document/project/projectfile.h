#pragma once
// The project file format: magic, version numbers and block flags, and the
// archive encoding of the two string arrays (the tab labels).
#include "platform/record.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace projectfile {

// {8B3F48D3-14E6-4735-BAEE-C8F65F74A93A} in its memory order.
inline constexpr std::array<uint8_t, 16> kMagic = {0xD3, 0x48, 0x3F, 0x8B, 0xE6, 0x14, 0x35, 0x47,
                                                    0xBA, 0xEE, 0xC8, 0xF6, 0x5F, 0x74, 0xA9, 0x3A};
inline constexpr int32_t kVersion = 11;
inline constexpr int32_t kRevision = 2;

// Block flags: which optional fields follow the tables.
inline constexpr uint32_t kFlagTableCharSet = 1;    // one byte after the templates
inline constexpr uint32_t kFlagStackedFirst = 2;    // one byte after the tables (never written)
inline constexpr uint32_t kFlagStackedLayout = 4;   // 256 bytes after the tables
inline constexpr uint32_t kWrittenFlags = kFlagTableCharSet | kFlagStackedLayout;

// Largest project file read.
inline constexpr int64_t kMaxFileSize = int64_t(1) << 30;

// Archive strings: the length as one byte below 255, else 0xFF and a
// 16-bit length below 0xFFFE, else 0xFF, 0xFFFF and a 32-bit length; then
// the bytes. Only single-byte text is written.
void WriteArchiveString(RecordWriter& writer, const std::string& text);
// False (the reader marked damaged or truncated) for a length beyond the
// bytes left and for a wide-string marker (0xFF 0xFFFE).
bool ReadArchiveString(RecordReader& reader, std::string& text);

// Archive string arrays: the count as a 16-bit number below 0xFFFF, else
// 0xFFFF and a 32-bit count; then the strings.
void WriteArchiveStringArray(RecordWriter& writer, const std::vector<std::string>& texts);
// Reads a whole array, keeping its first `keep` strings (the others are
// read and dropped). False when the array is cut short or damaged.
bool ReadArchiveStringArray(RecordReader& reader, std::vector<std::string>& texts, size_t keep);

} // namespace projectfile
