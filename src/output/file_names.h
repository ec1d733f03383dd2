// File names between Qt's strings and the state, which holds them as the file system's bytes.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace tv::ui {

// A file name's bytes as a string, without loss: a valid UTF-8 sequence
// gives its character, and each byte that is not part of one gives the lone
// surrogate U+DC00 + byte (U+DC80 to U+DCFF), which no valid name holds.
// Qt's own decoding turns such bytes into U+FFFD, and the name is lost.
QString QtPath(const std::string& path);

// The inverse of QtPath: LocalPath(QtPath(bytes)) == bytes for any bytes.
// Other characters go out as UTF-8; a lone surrogate outside U+DC80..U+DCFF,
// which no file name can hold, as U+FFFD.
std::string LocalPath(const QString& name);

// A file name as messages show it to the user: the bytes that are not UTF-8
// shown as U+FFFD.
QString ShownPath(const std::string& path);

// The arguments after argv[0], decoded by QtPath, so that a file name among
// them reaches the file system byte for byte.
QStringList ArgumentsFromArgv(int argc, char** argv);

// The platform's temporary directory, looked up anew, ending with a
// separator; "/tmp/" when TMPDIR names a folder that does not exist.
std::string PlatformTempDir();

// A name for a Qt file dialog: QtPath's surrogates shown as U+FFFD, which
// the dialog can display and give back.
QString ToDialogName(const QString& name);

// The name a Qt file dialog gave back, as QtPath would give it. The dialogs
// list folders through Qt's decoding, which shows a byte that is not UTF-8
// as U+FFFD: a component holding U+FFFD that does not exist as given is
// looked up among its folder's entries shown the same way and taken when
// exactly one matches; a last component that is the preset's, as shown,
// is the preset's.
QString FromDialogName(const QString& chosen, const QString& preset = QString());

}  // namespace tv::ui
