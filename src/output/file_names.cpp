// Lossless file names: UTF-8 with the bytes that are not UTF-8 carried as lone surrogates.
#include "output/file_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <cstdint>
#include <vector>

namespace tv::ui {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // + byte, for bytes 0x80..0xFF
constexpr char16_t kReplacement = 0xFFFD;

bool IsEscape(char16_t unit) { return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF; }

// The length of the valid UTF-8 sequence at bytes[i] and its code point, or
// 0 when none starts there (overlong forms, surrogates and values past
// U+10FFFF are not valid).
std::size_t Utf8Sequence(const std::string& bytes, std::size_t i, char32_t& code) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = at(i);
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  std::size_t length;
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((at(i + k) & 0xC0) != 0x80) return 0;
    code = code << 6 | (at(i + k) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The entries of folder whose name, as a Qt file dialog shows it, is shown.
std::vector<std::string> EntriesShownAs(const std::string& folder, const QString& shown) {
  std::vector<std::string> found;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return found;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (QFile::decodeName(QByteArray::fromStdString(name)) == shown) found.push_back(name);
  }
  ::closedir(dir);
  return found;
}

std::string LastComponent(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

QString QtPath(const std::string& path) {
  QString out;
  out.reserve(static_cast<qsizetype>(path.size()));
  for (std::size_t i = 0; i < path.size();) {
    char32_t code = 0;
    const std::size_t length = Utf8Sequence(path, i, code);
    if (length == 0) {
      out += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(path[i])));
      ++i;
      continue;
    }
    if (code < 0x10000) {
      out += QChar(static_cast<char16_t>(code));
    } else {
      out += QChar(QChar::highSurrogate(code));
      out += QChar(QChar::lowSurrogate(code));
    }
    i += length;
  }
  return out;
}

std::string LocalPath(const QString& name) {
  std::string out;
  out.reserve(static_cast<std::size_t>(name.size()));
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t unit = name[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
      AppendUtf8(out, QChar::surrogateToUcs4(unit, name[i + 1].unicode()));
      ++i;
    } else if (IsEscape(unit)) {
      out += static_cast<char>(unit - kEscapeBase);
    } else if (QChar::isSurrogate(unit)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

QString ToDialogName(const QString& name) {
  QString out = name;
  for (QChar& c : out)
    if (IsEscape(c.unicode())) c = QChar(kReplacement);
  return out;
}

QString ShownPath(const std::string& path) {
  return QDir::toNativeSeparators(ToDialogName(QtPath(path)));
}

QStringList ArgumentsFromArgv(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QtPath(argv[i]);
  return arguments;
}

QString FromDialogName(const QString& chosen, const QString& preset) {
  if (!chosen.contains(QChar(kReplacement))) return chosen;
  const std::string bytes = LocalPath(chosen);
  const std::string presetLast = LastComponent(LocalPath(preset));
  std::string resolved;
  std::size_t start = 0;
  while (start <= bytes.size()) {
    std::size_t end = bytes.find('/', start);
    if (end == std::string::npos) end = bytes.size();
    std::string component = bytes.substr(start, end - start);
    const bool last = end == bytes.size();
    const QString shown = QString::fromStdString(component);
    if (shown.contains(QChar(kReplacement)) && !Exists(resolved + component)) {
      const std::vector<std::string> matches = EntriesShownAs(resolved, shown);
      if (matches.size() == 1)
        component = matches.front();
      else if (last && !presetLast.empty() && ToDialogName(QtPath(presetLast)) == shown)
        component = presetLast;
    }
    resolved += component;
    if (!last) resolved += '/';
    start = end + 1;
  }
  return QtPath(resolved);
}

std::string PlatformTempDir() {
  QString dir = QDir::tempPath();
  // Qt gives nothing when TMPDIR names a folder that does not exist.
  if (dir.isEmpty()) dir = QStringLiteral("/tmp");
  dir = QDir::toNativeSeparators(dir);
  if (!dir.endsWith(QDir::separator())) dir += QDir::separator();
  return LocalPath(dir);
}

}  // namespace tv::ui
