// File names between Qt's strings and the state, which holds them as the file system's bytes.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <string>

namespace tv::ui {

inline std::string LocalPath(const QString& name) { return QFile::encodeName(name).toStdString(); }

inline QString QtPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

// The arguments after the program's name, decoded with the local 8-bit encoding.
inline QStringList ArgumentsFromArgv(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

// A file name as messages show it to the user.
inline QString ShownPath(const std::string& path) { return QDir::toNativeSeparators(QtPath(path)); }

}  // namespace tv::ui
