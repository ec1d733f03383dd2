// Reading files whole, replacing them without ever leaving a half-written one, and file-name
// extensions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tv {

// Gives a read-only file its owner's write permission back, keeping every
// other mode bit, so that it can be replaced. Nothing when the file does not
// exist or its owner may already write it.
void ClearReadOnly(const std::string& path);

// Replaces (or creates) path with bytes. The bytes go to a temporary file in
// the same folder, are flushed to the disk, and only then take the target's
// place, so a write that fails leaves the old file exactly as it was. A
// read-only target is made writable first; a replaced file keeps its mode.
// A symbolic link is followed: the file it points to is replaced, or
// created when the link dangles (a loop of links is refused). A target
// that exists but is no regular file (a device, a pipe) is refused.
// When the folder refuses the temporary (a read-only folder) but the file
// itself may be written, it is written in place instead: not atomic, but a
// write that fails puts the old content back. Temporaries left in the folder
// by a save that was killed (ours, untouched for a minute) are removed.
// On failure: false, the temporary is removed, and *error (when given) holds
// a French reason in Windows-1252, like every message of the program.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error);

// Whether WriteFileAtomically could write path, as far as is known without
// writing: the folder is there and takes a new file, or the name (through
// its links) is a regular file. False with the reason the write would give,
// so that a run of several outputs can refuse before it writes any.
bool CanWriteFile(const std::string& path, std::string* error);

// A new, empty file in folder named as the temporaries above, for a writer
// that must have a file of its own before its bytes go to their target (the
// printer writes its PDF itself): one left there by a killed run is removed
// by a later call, as above. The caller removes it when done. Empty, with a
// French reason in *error, when the folder refuses it.
std::string CreateSweptTemporary(const std::string& folder, std::string* error);

struct FileReadResult {
  bool Opened = false;     // the file exists and could be opened
  bool Complete = false;   // read to its end, or to maxBytes without fault
  bool Truncated = false;  // the file holds more than maxBytes
  std::string Bytes;       // what was read, also when a read failed midway
  std::string Error;       // French reason (Windows-1252) when not Complete
};

// Reads at most maxBytes from the start of path. Whether more follows is
// asked without waiting, so that a pipe whose writer stays open is read up to
// maxBytes and no further. With regularOnly, anything but a regular file (a
// named pipe, a device) is refused once opened, before any read: its bytes
// depend on when a writer comes, and a pipe's writer may never finish.
FileReadResult ReadFileBytes(const std::string& path, std::size_t maxBytes,
                             bool regularOnly = false);

// path with the extension of its last component replaced by ext (which
// starts with '.'), or ext added when that component has none. The extension
// is what follows the last '.' of the last component: "dir.v2/loop" has none.
std::string ReplaceExtension(std::string_view path, std::string_view ext);

}  // namespace tv
