// The .WWC transfer file: its 554-byte layout, load and save, and the name given on the command line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/diagram_state.h"

namespace tv {

// No header, no version: six text records, four box bytes, four int32 and
// six doubles, little-endian and packed.
inline constexpr std::size_t kTransferFileSize = 554;
using TransferFileBytes = std::array<std::uint8_t, kTransferFileSize>;

// Offsets of the fields; the parameters are stored in the order A, T, K, B, W, Ksi.
inline constexpr std::size_t kTextRecordSize = 81;
inline constexpr std::size_t kNumTextOffset = 0;
inline constexpr std::size_t kDenTextOffset = 243;
inline constexpr std::size_t kCurveEnabledOffset = 486;
inline constexpr std::size_t kDecadeMinOffset = 490;
inline constexpr std::size_t kDecadeMaxOffset = 494;
inline constexpr std::size_t kGainMinOffset = 498;
inline constexpr std::size_t kGainMaxOffset = 502;
inline constexpr std::size_t kParamAOffset = 506;
inline constexpr std::size_t kParamTOffset = 514;
inline constexpr std::size_t kParamKOffset = 522;
inline constexpr std::size_t kParamBOffset = 530;
inline constexpr std::size_t kParamWOffset = 538;
inline constexpr std::size_t kParamKsiOffset = 546;

// The texts are written as held, length byte and all 80 character bytes,
// leftovers of an earlier longer text included.
TransferFileBytes EncodeTransferFile(const DiagramState& s);

// Reads the fields in layout order straight into s and stops at the first
// field the bytes do not hold whole: what was read keeps its new value, the
// rest keeps its old one. Bytes after the 554th are ignored. The values are
// taken as they are (the controls, not the file, keep them in range), except
// a length byte above 80, which is read as 80. Returns the bytes used.
std::size_t DecodeTransferFile(std::span<const std::uint8_t> bytes, DiagramState& s);

enum class TransferLoad {
  Whole,   // all 554 bytes were there
  Partly,  // the file was opened but held fewer (or a read failed midway)
  NotRead, // missing or unreadable: the state is as it was
};

// Has the host clear its picture, reads the file into s (silently: a missing
// file reads nothing), ticks the boxes of H1..H3 whose texts are not both
// exactly "1" and unticks the others, ticks H1.H2.H3, then asks the host for
// the product caption, a redraw, the parameter captions and their
// availability, in that order. Without a host only the state changes.
TransferLoad LoadTransferFile(DiagramState& s, const std::string& path);

// Copies the states of CheckBox1..4 into CurveEnabled, then replaces path
// with the 554 bytes (a failed write leaves an existing file intact).
// False with a French reason in *error when the file could not be written.
bool SaveTransferFile(DiagramState& s, const std::string& path, std::string* error);

// The transfer file named by a command-line argument: its extension replaced
// by ".WWC", or ".WWC" added when it has none.
std::string TransferFileNameFromArgument(std::string_view arg);

// name itself, unless it does not exist while the same name with the
// lower-case extension ".wwc" does (file names are case-sensitive here, and
// files copied from elsewhere often carry the lower-case extension).
std::string ResolveTransferFileName(const std::string& name);

}  // namespace tv
