// Windows-1252 conversions through Qt's ICU-backed codecs.
#include "output/cp1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tv::ui {

QString FromCp1252(std::string_view bytes) {
  QStringDecoder decoder("windows-1252");
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
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
