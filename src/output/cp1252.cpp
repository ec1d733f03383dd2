// Windows-1252 conversions through Qt's ICU-backed codecs.
#include "output/cp1252.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace tv::ui {

namespace {
QString DecodeWithCodec(std::string_view bytes) {
  QStringDecoder decoder("windows-1252");
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// Every text drawn is decoded, and opening the codec costs more than a
// redraw's arithmetic: Windows-1252 gives each byte one character of its
// own, so the codec is asked once for each byte's. Empty when it gave some
// byte more or less than one UTF-16 unit: the codec then decodes every text.
struct ByteTable {
  bool Usable = true;
  std::array<char16_t, 256> Units{};
};

const ByteTable& Cp1252Bytes() {
  static const ByteTable table = [] {
    ByteTable t;
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      const QString one = DecodeWithCodec(std::string_view(&c, 1));
      if (one.size() != 1) t.Usable = false;
      t.Units[static_cast<std::size_t>(b)] = one.isEmpty() ? u'\0' : one.at(0).unicode();
    }
    return t;
  }();
  return table;
}
}  // namespace

QString FromCp1252(std::string_view bytes) {
  const ByteTable& table = Cp1252Bytes();
  if (!table.Usable) return DecodeWithCodec(bytes);
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (char c : bytes) *out++ = QChar(table.Units[static_cast<unsigned char>(c)]);
  return text;
}

std::optional<std::string> ToCp1252(const QString& text) {
  QStringEncoder encoder("windows-1252", QStringEncoder::Flag::Stateless);
  const QByteArray bytes = encoder.encode(text);
  if (encoder.hasError()) return std::nullopt;
  // The encoder may substitute '?' silently; a round trip tells.
  if (FromCp1252(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) != text)
    return std::nullopt;
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool IsCp1252Encodable(QChar c) { return ToCp1252(QString(c)).has_value(); }

}  // namespace tv::ui
