// The .WWC transfer file: its 554-byte layout, load and save, and the name given on the command
// line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/diagram_state.h"

namespace tv {

// No header, no version: six text records, four box bytes, four int32 and
// six doubles, little-endian and packed.
inline constexpr std::size_t kTransferFileSize = 554;
using TransferFileBytes = std::array<std::uint8_t, kTransferFileSize>;

// Offsets of the fields.
inline constexpr std::size_t kTextRecordSize = 81;
inline constexpr std::size_t kNumTextOffset = 0;
inline constexpr std::size_t kDenTextOffset = 243;
inline constexpr std::size_t kCurveEnabledOffset = 486;
inline constexpr std::size_t kDecadeMinOffset = 490;
inline constexpr std::size_t kDecadeMaxOffset = 494;
inline constexpr std::size_t kGainMinOffset = 498;
inline constexpr std::size_t kGainMaxOffset = 502;
// The six parameters, eight bytes each, in kFileOrder: A, T, K, B, W, Ksi.
inline constexpr std::size_t kParametersOffset = 506;
inline constexpr std::size_t kParameterSize = 8;
static_assert(kParametersOffset + 6 * kParameterSize == kTransferFileSize);

// The texts are written as held, length byte and all 80 character bytes,
// leftovers of an earlier longer text included.
TransferFileBytes EncodeTransferFile(const DiagramState& s);

// Reads the fields in layout order straight into s and stops at the first
// field the bytes do not hold whole: what was read keeps its new value, the
// rest keeps its old one. Bytes after the 554th are ignored. The values are
// taken as they are (the controls, not the file, keep them in range), except
// a length byte above 80, which is read as 80. Returns the bytes used.
std::size_t DecodeTransferFile(std::span<const std::uint8_t> bytes, DiagramState& s);

// Why bytes read from a file are no transfer file, a French sentence
// (Windows-1252) without the file's name; empty when they are one. A transfer file is
// exactly 554 bytes, none of whose six text records announces more than 80
// characters: anything else (a points text, a picture, a cut copy) is refused
// whole before a single field of the state is touched. fileSize is the size
// of the whole file when bytes holds only its beginning.
std::string TransferFileProblem(std::span<const std::uint8_t> bytes, std::size_t fileSize);

// Reads the file and checks it (TransferFileProblem). A file refused gives
// nothing, and *problem (when given) holds the reason, in French
// (Windows-1252), without the file's name. Otherwise the work it holds:
// current with the file's fields read over it, H1..H3 ticked when their
// texts are not both exactly "1" (the stored box bytes are not followed),
// and H1.H2.H3 ticked. Nothing is asked of a host: the caller shows it
// (ShowLoadedWork, core/selection.h).
std::optional<DiagramState> ReadTransferFile(const DiagramState& current, const std::string& path,
                                             std::string* problem = nullptr);

// Copies the ticks of the four curves into CurveEnabled, then replaces path
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
