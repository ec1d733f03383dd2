// Windows-1252 bytes, as the state and the files hold texts, to and from Qt's Unicode strings.
#pragma once

#include <QChar>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace tv::ui {

QString FromCp1252(std::string_view bytes);
// std::nullopt when a character has no Windows-1252 byte.
std::optional<std::string> ToCp1252(const QString& text);
bool IsCp1252Encodable(QChar c);

}  // namespace tv::ui
