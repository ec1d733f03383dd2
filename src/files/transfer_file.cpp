// Encoding, decoding, loading and saving of the .WWC transfer file.
#include "files/transfer_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

#include "core/parameters.h"
#include "files/file_io.h"

namespace tv {
namespace {

constexpr std::string_view kTransferExtension = ".WWC";
constexpr std::string_view kLowerTransferExtension = ".wwc";

void PutU32(std::uint8_t* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutU64(std::uint8_t* out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* in) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return v;
}

std::uint64_t GetU64(const std::uint8_t* in) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(in[i]) << (8 * i);
  return v;
}

void PutText(std::uint8_t* out, const FunctionText& t) {
  out[0] = t.Length;
  std::memcpy(out + 1, t.Chars, kFunctionTextMax);
}

// Reads the fields one after the other, each only when the bytes hold it whole.
class FieldReader {
 public:
  explicit FieldReader(std::span<const std::uint8_t> bytes)
      : bytes_(bytes.first(std::min(bytes.size(), kTransferFileSize))) {}

  std::size_t Used() const { return pos_; }

  bool Text(FunctionText& t) {
    const std::uint8_t* p = Take(kTextRecordSize);
    if (!p) return false;
    // The writer never produces more than 80; a larger byte would make the
    // text run past its record.
    t.Length = std::min(p[0], static_cast<std::uint8_t>(kFunctionTextMax));
    std::memcpy(t.Chars, p + 1, kFunctionTextMax);
    return true;
  }
  bool Byte(std::uint8_t& b) {
    const std::uint8_t* p = Take(1);
    if (!p) return false;
    b = p[0];
    return true;
  }
  bool Int32(std::int32_t& v) {
    const std::uint8_t* p = Take(4);
    if (!p) return false;
    v = static_cast<std::int32_t>(GetU32(p));
    return true;
  }
  bool Double(double& v) {
    const std::uint8_t* p = Take(8);
    if (!p) return false;
    v = std::bit_cast<double>(GetU64(p));
    return true;
  }

 private:
  const std::uint8_t* Take(std::size_t n) {
    if (bytes_.size() - pos_ < n) return nullptr;
    const std::uint8_t* p = bytes_.data() + pos_;
    pos_ += n;
    return p;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

bool Exists(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0;
}

}  // namespace

TransferFileBytes EncodeTransferFile(const DiagramState& s) {
  TransferFileBytes b{};
  for (std::size_t i = 0; i < 3; ++i) {
    PutText(&b[kNumTextOffset + i * kTextRecordSize], s.NumText[i]);
    PutText(&b[kDenTextOffset + i * kTextRecordSize], s.DenText[i]);
  }
  for (std::size_t i = 0; i < 4; ++i) b[kCurveEnabledOffset + i] = s.CurveEnabled[i];
  PutU32(&b[kDecadeMinOffset], static_cast<std::uint32_t>(s.DecadeMin));
  PutU32(&b[kDecadeMaxOffset], static_cast<std::uint32_t>(s.DecadeMax));
  PutU32(&b[kGainMinOffset], static_cast<std::uint32_t>(s.GainMinDb));
  PutU32(&b[kGainMaxOffset], static_cast<std::uint32_t>(s.GainMaxDb));
  for (std::size_t i = 0; i < kFileOrder.size(); ++i)
    PutU64(&b[kParametersOffset + i * kParameterSize],
           std::bit_cast<std::uint64_t>(ParameterValue(s, kFileOrder[i])));
  return b;
}

std::size_t DecodeTransferFile(std::span<const std::uint8_t> bytes, DiagramState& s) {
  FieldReader r(bytes);
  [&] {
    for (auto& t : s.NumText)
      if (!r.Text(t)) return;
    for (auto& t : s.DenText)
      if (!r.Text(t)) return;
    for (auto& b : s.CurveEnabled)
      if (!r.Byte(b)) return;
    if (!r.Int32(s.DecadeMin) || !r.Int32(s.DecadeMax) || !r.Int32(s.GainMinDb) ||
        !r.Int32(s.GainMaxDb))
      return;
    for (Parameter p : kFileOrder)
      if (!r.Double(ParameterValue(s, p))) return;
  }();
  return r.Used();
}

std::string TransferFileProblem(std::span<const std::uint8_t> bytes, std::size_t fileSize) {
  constexpr std::string_view kNotTransfer = "Ce n'est pas un fichier de transfert : ";
  if (fileSize != kTransferFileSize || bytes.size() != kTransferFileSize) {
    std::string reason(kNotTransfer);
    // bytes holds the file's beginning only when the file is larger.
    reason += fileSize > bytes.size() ? "il fait plus de " + std::to_string(bytes.size())
                                      : "il fait " + std::to_string(fileSize);
    reason += fileSize > 1 ? " octets" : " octet";
    reason += " au lieu de " + std::to_string(kTransferFileSize) + ".";
    return reason;
  }
  static constexpr const char* kRecords[6] = {
      "du num\xE9rateur de H1",   "du num\xE9rateur de H2",   "du num\xE9rateur de H3",
      "du d\xE9nominateur de H1", "du d\xE9nominateur de H2", "du d\xE9nominateur de H3"};
  for (std::size_t i = 0; i < 6; ++i) {
    const unsigned length = bytes[i * kTextRecordSize];
    if (length > kFunctionTextMax) {
      std::string reason(kNotTransfer);
      reason += "le texte ";
      reason += kRecords[i];
      reason += " annonce " + std::to_string(length) + " caract\xE8res, " +
                std::to_string(kFunctionTextMax) + " au plus.";
      return reason;
    }
  }
  return {};
}

std::optional<DiagramState> ReadTransferFile(const DiagramState& current, const std::string& path,
                                             std::string* problem) {
  // Enough to tell the size of any file a user mistakes for a transfer file.
  constexpr std::size_t kReadAtMost = 1 << 20;
  // Only a regular file: a named pipe would give what its writer has written
  // so far, or keep the window waiting.
  const FileReadResult file = ReadFileBytes(path, kReadAtMost, true);
  std::string reason;
  const auto* data = reinterpret_cast<const std::uint8_t*>(file.Bytes.data());
  if (!file.Opened || !file.Complete) {
    reason = file.Error.empty() ? std::string("Lecture impossible.") : file.Error;
  } else {
    // A file that goes on past what was read is longer than any transfer file.
    const std::size_t size = file.Bytes.size() + (file.Truncated ? 1 : 0);
    reason = TransferFileProblem({data, file.Bytes.size()}, size);
  }
  if (!reason.empty()) {
    if (problem) *problem = reason;
    return std::nullopt;
  }

  std::optional<DiagramState> work(current);
  DecodeTransferFile({data, file.Bytes.size()}, *work);
  // The boxes follow the texts, not the stored box bytes: a function is shown
  // unless both its texts are exactly "1".
  for (std::size_t i = 0; i < 3; ++i)
    work->CurveTicked[i] = !(work->NumText[i] == "1" && work->DenText[i] == "1");
  work->CurveTicked[3] = true;
  return work;
}

bool SaveTransferFile(DiagramState& s, const std::string& path, std::string* error) {
  for (std::size_t i = 0; i < 4; ++i) s.CurveEnabled[i] = s.CurveTicked[i] ? 1 : 0;
  const TransferFileBytes bytes = EncodeTransferFile(s);
  return WriteFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

std::string TransferFileNameFromArgument(std::string_view arg) {
  return ReplaceExtension(arg, kTransferExtension);
}

std::string ResolveTransferFileName(const std::string& name) {
  if (Exists(name)) return name;
  if (name.size() < kTransferExtension.size() ||
      std::string_view(name).substr(name.size() - kTransferExtension.size()) !=
          kTransferExtension) {
    return name;
  }
  std::string lower = name.substr(0, name.size() - kTransferExtension.size());
  lower.append(kLowerTransferExtension);
  return Exists(lower) ? lower : name;
}

}  // namespace tv
