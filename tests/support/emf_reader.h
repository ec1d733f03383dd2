// A small reader of enhanced metafile records, so tests can check what a metafile holds.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace tv::ui::test {

// Record types of the enhanced metafile format.
enum EmfType : std::uint32_t {
  kEmrHeader = 1,
  kEmrSetWindowExtEx = 9,
  kEmrSetViewportExtEx = 11,
  kEmrEof = 14,
  kEmrSetMapMode = 17,
  kEmrSetBkMode = 18,
  kEmrSetTextColor = 24,
  kEmrSetBkColor = 25,
  kEmrMoveToEx = 27,
  kEmrSelectObject = 37,
  kEmrCreatePen = 38,
  kEmrDeleteObject = 40,
  kEmrRectangle = 43,
  kEmrLineTo = 54,
  kEmrExtCreateFontIndirectW = 82,
  kEmrExtTextOutW = 84,
};

inline constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
inline constexpr std::uint32_t kStockObject = 0x80000000;   // handle flag of stock objects

struct EmfRecord {
  std::uint32_t Type = 0;
  std::vector<std::uint8_t> Bytes;  // the whole record, type and size included

  std::uint32_t U32(std::size_t offset) const {
    if (offset + 4 > Bytes.size()) return 0;
    return std::uint32_t{Bytes[offset]} | std::uint32_t{Bytes[offset + 1]} << 8 |
           std::uint32_t{Bytes[offset + 2]} << 16 | std::uint32_t{Bytes[offset + 3]} << 24;
  }
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
  // UTF-16 code units from offset.
  std::u16string Utf16(std::size_t offset, std::size_t count) const {
    std::u16string out;
    for (std::size_t i = 0; i < count && offset + 2 * i + 2 <= Bytes.size(); ++i)
      out.push_back(static_cast<char16_t>(Bytes[offset + 2 * i] | Bytes[offset + 2 * i + 1] << 8));
    return out;
  }
};

struct EmfRect {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct EmfFile {
  std::vector<EmfRecord> Records;
  std::size_t FileSize = 0;

  const EmfRecord& Header() const { return Records.front(); }
  EmfRect Bounds() const { return Rect(Header(), 8); }
  EmfRect Frame() const { return Rect(Header(), 24); }
  std::uint32_t Signature() const { return Header().U32(40); }
  std::uint32_t Bytes() const { return Header().U32(48); }
  std::uint32_t RecordCount() const { return Header().U32(52); }
  std::int32_t DevicePixelsX() const { return Header().I32(72); }
  std::int32_t DevicePixelsY() const { return Header().I32(76); }
  std::int32_t DeviceMillimetresX() const { return Header().I32(80); }
  std::int32_t DeviceMillimetresY() const { return Header().I32(84); }

  static EmfRect Rect(const EmfRecord& r, std::size_t offset) {
    return {r.I32(offset), r.I32(offset + 4), r.I32(offset + 8), r.I32(offset + 12)};
  }

  // Indices of the records of one type, in file order.
  std::vector<std::size_t> Find(std::uint32_t type) const {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < Records.size(); ++i)
      if (Records[i].Type == type) out.push_back(i);
    return out;
  }
};

// Splits the bytes into records; nullopt with a reason when a record is cut,
// misaligned or runs past the end, or when the file does not start with a header.
inline std::optional<EmfFile> ReadEmf(const std::vector<std::uint8_t>& bytes, std::string* reason) {
  auto fail = [&](const std::string& why) {
    if (reason) *reason = why;
    return std::optional<EmfFile>{};
  };
  EmfFile file;
  file.FileSize = bytes.size();
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (at + 8 > bytes.size()) return fail("record cut at " + std::to_string(at));
    EmfRecord head;
    head.Bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      bytes.begin() + static_cast<std::ptrdiff_t>(at + 8));
    const std::uint32_t type = head.U32(0);
    const std::uint32_t size = head.U32(4);
    if (size < 8 || size % 4 != 0 || size > bytes.size() - at)
      return fail("bad size " + std::to_string(size) + " at " + std::to_string(at));
    EmfRecord r;
    r.Type = type;
    r.Bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                   bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
    file.Records.push_back(std::move(r));
    at += size;
  }
  if (file.Records.empty() || file.Records.front().Type != kEmrHeader)
    return fail("no header record");
  if (file.Records.front().Bytes.size() < 88) return fail("header too short");
  return file;
}

}  // namespace tv::ui::test
