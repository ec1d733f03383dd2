// File names between Qt's strings and the state, which holds them as the file system's bytes.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <string>

namespace tv::ui {

inline std::string LocalPath(const QString& name) { return QFile::encodeName(name).toStdString(); }

inline QString QtPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

// A file name as messages show it to the user.
inline QString ShownPath(const std::string& path) { return QDir::toNativeSeparators(QtPath(path)); }

}  // namespace tv::ui
