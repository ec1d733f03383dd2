// Whole-file reads and crash-safe replacement of files through a flushed temporary and a rename.
#include "files/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <random>

#include "core/translate.h"

namespace tv {
namespace {

// The reasons are ours rather than strerror's, whose language and encoding
// follow the process locale, while every message of the program is in
// Windows-1252, French or the language chosen at start.
std::string Reason(int err) {
  switch (err) {
    case ENOENT: return Tr("FileErrors", "dossier ou fichier introuvable");
    case EACCES:
    case EPERM:
      return Tr("FileErrors", "permission refus\xE9"
                              "e");
    case EROFS: return Tr("FileErrors", "syst\xE8me de fichiers en lecture seule");
    case ENOSPC: return Tr("FileErrors", "plus de place sur le disque");
    case EDQUOT: return Tr("FileErrors", "quota de disque d\xE9pass\xE9");
    case ENOTDIR: return Tr("FileErrors", "un \xE9l\xE9ment du chemin n'est pas un dossier");
    case EISDIR: return Tr("FileErrors", "le nom d\xE9signe un dossier");
    case ENOTEMPTY:
    case EEXIST: return Tr("FileErrors", "un dossier porte d\xE9j\xE0 ce nom");
    case EFBIG: return Tr("FileErrors", "fichier trop volumineux");
    case EIO:
      return Tr("FileErrors", "erreur d'entr\xE9"
                              "e/sortie");
    case ENAMETOOLONG: return Tr("FileErrors", "nom de fichier trop long");
    case ELOOP: return Tr("FileErrors", "trop de liens symboliques");
    case EBUSY:
    case ETXTBSY: return Tr("FileErrors", "fichier en cours d'utilisation");
    case EMFILE:
    case ENFILE: return Tr("FileErrors", "trop de fichiers ouverts");
    case ENOMEM: return Tr("FileErrors", "m\xE9moire insuffisante");
    default: return Tr("FileErrors", "erreur syst\xE8me n\xB0 ") + std::to_string(err);
  }
}

void SetError(std::string* error, std::string_view what, int err) {
  if (error) *error = std::string(what) + " : " + Reason(err) + ".";
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a name stands for: a symbolic link is replaced through its target,
// never turned into a plain file. A dangling link is followed all the same,
// so that its target is created, as writing through the link would. Empty
// (errno set) for a loop of links.
std::string WriteTarget(const std::string& path) {
  std::string current = path;
  // The kernel's own limit on the links one name may go through.
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    char resolved[PATH_MAX];
    if (::realpath(current.c_str(), resolved) != nullptr) return resolved;
    if (errno == ELOOP) return {};
    char link[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), link, sizeof link);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof link)) return current;
    const std::string to(link, static_cast<std::size_t>(n));
    current = to.front() == '/' ? to : FolderOf(current) + "/" + to;
  }
  errno = ELOOP;
  return {};
}

// Temporaries are named kTemporaryPrefix, kRandomLength letters or digits,
// kTemporarySuffix: a name nobody else uses, so that one left by a killed
// save can be recognised and removed by a later one.
constexpr char kTemporaryPrefix[] = ".tracevue-";
constexpr char kTemporarySuffix[] = ".tmp";
constexpr std::size_t kRandomLength = 8;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
// A save takes well under a second from the temporary's creation to its
// rename; one untouched for a minute belongs to a save that was killed.
constexpr std::time_t kStaleSeconds = 60;

bool IsTemporaryName(std::string_view name) {
  const std::string_view prefix(kTemporaryPrefix), suffix(kTemporarySuffix);
  if (name.size() != prefix.size() + kRandomLength + suffix.size()) return false;
  if (name.substr(0, prefix.size()) != prefix || name.substr(name.size() - suffix.size()) != suffix)
    return false;
  const std::string_view random = name.substr(prefix.size(), kRandomLength);
  return random.find_first_not_of(std::string_view(kLetters, sizeof kLetters - 1)) ==
         std::string_view::npos;
}

// Removes from folder the temporaries of earlier saves that were killed
// before their rename: regular files of ours, untouched for a minute.
void RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::time_t now = std::time(nullptr);
  const uid_t user = ::geteuid();
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != user || now - st.st_mtime <= kStaleSeconds) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// Creates a new, empty temporary file in folder; -1 with errno set on failure.
int CreateTemporary(const std::string& folder, std::string& name) {
  static std::mt19937_64 random{std::random_device{}()};
  int fd = -1;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix(kRandomLength, 'x');
    for (char& c : suffix) c = kLetters[random() % (sizeof kLetters - 1)];
    name =
        folder + (folder.ends_with('/') ? "" : "/") + kTemporaryPrefix + suffix + kTemporarySuffix;
    // 0666 so that a new file gets the mode the umask gives any new file.
    fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) break;
  }
  return fd;
}

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteAllAt(int fd, std::string_view bytes) {
  return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes);
}

enum class InPlace { NotOpened, Written, Failed };

// Writes bytes over the regular file target itself, for a folder that
// refuses a temporary file. Not atomic: the old content is kept in memory
// and written back if the write fails; the file keeps its mode, owner and
// links. NotOpened (errno set) when the file cannot be opened or read.
InPlace WriteInPlace(const std::string& target, std::string_view bytes, std::string* error) {
  const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return InPlace::NotOpened;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = EACCES;
    return InPlace::NotOpened;
  }
  std::string old;
  old.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      errno = err;
      return InPlace::NotOpened;
    }
    if (n == 0) break;
    old.append(buffer, static_cast<std::size_t>(n));
  }
  const auto size = static_cast<off_t>(bytes.size());
  if (WriteAllAt(fd, bytes) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0) {
    if (::close(fd) == 0) return InPlace::Written;
    SetError(error,
             Tr("FileErrors", "\xC9"
                              "criture impossible"),
             errno);
    return InPlace::Failed;
  }
  const int err = errno;
  // The old bytes go back over the blocks they had, so that this cannot
  // run out of room where the new content did.
  if (WriteAllAt(fd, old)) {
    if (::ftruncate(fd, static_cast<off_t>(old.size())) == 0) ::fsync(fd);
  }
  ::close(fd);
  SetError(error,
           Tr("FileErrors", "\xC9"
                            "criture impossible"),
           err);
  return InPlace::Failed;
}

}  // namespace

void ClearReadOnly(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return;
  if ((st.st_mode & S_IWUSR) != 0) return;
  ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  if (path.empty()) {
    SetError(error,
             Tr("FileErrors", "\xC9"
                              "criture impossible"),
             ENOENT);
    return false;
  }
  const std::string target = WriteTarget(path);
  if (target.empty()) {
    SetError(error,
             Tr("FileErrors", "\xC9"
                              "criture impossible"),
             errno);
    return false;
  }
  ClearReadOnly(target);

  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing && S_ISDIR(old.st_mode)) {
    SetError(error,
             Tr("FileErrors", "\xC9"
                              "criture impossible"),
             EISDIR);
    return false;
  }
  if (replacing && !S_ISREG(old.st_mode)) {
    // A device, pipe or socket: the rename below would put a plain file in
    // its place (as root even /dev/null), and writing into it could block.
    if (error)
      *error =
          Tr("FileErrors", "\xC9"
                           "criture impossible : le nom ne d\xE9signe pas un fichier ordinaire.");
    return false;
  }

  RemoveStaleTemporaries(FolderOf(target));
  std::string temporary;
  const int fd = CreateTemporary(FolderOf(target), temporary);
  if (fd < 0) {
    const int err = errno;
    // A folder may refuse new files while the file itself may be written.
    if (replacing) {
      const InPlace written = WriteInPlace(target, bytes, error);
      if (written != InPlace::NotOpened) return written == InPlace::Written;
    }
    SetError(error,
             Tr("FileErrors", "Impossible de cr\xE9"
                              "er un fichier temporaire dans le dossier"),
             err);
    return false;
  }

  auto fail = [&](std::string_view what, int err, bool open) {
    if (open) ::close(fd);
    ::unlink(temporary.c_str());
    SetError(error, what, err);
    return false;
  };

  if (replacing) {
    // The new file takes the place of the old one with its mode and, where
    // allowed, its owner.
    ::fchmod(fd, old.st_mode & 07777);
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only the superuser may give a file away; the mode is what matters.
    }
  }
  if (!WriteAll(fd, bytes))
    return fail(Tr("FileErrors", "\xC9"
                                 "criture impossible"),
                errno, true);
  if (::fsync(fd) != 0)
    return fail(Tr("FileErrors", "\xC9"
                                 "criture impossible"),
                errno, true);
  if (::close(fd) != 0)
    return fail(Tr("FileErrors", "\xC9"
                                 "criture impossible"),
                errno, false);
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    return fail(Tr("FileErrors", "Le fichier n'a pas pu \xEAtre remplac\xE9"), errno, false);
  }

  // Make the rename itself durable; the new content is complete either way.
  const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool CanWriteFile(const std::string& path, std::string* error) {
  const std::string target = path.empty() ? std::string() : WriteTarget(path);
  if (target.empty()) {
    SetError(error,
             Tr("FileErrors", "\xC9"
                              "criture impossible"),
             path.empty() ? ENOENT : errno);
    return false;
  }
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      SetError(error,
               Tr("FileErrors", "\xC9"
                                "criture impossible"),
               EISDIR);
      return false;
    }
    if (!S_ISREG(st.st_mode)) {
      if (error)
        *error =
            Tr("FileErrors", "\xC9"
                             "criture impossible : le nom ne d\xE9signe pas un fichier ordinaire.");
      return false;
    }
    return true;
  }
  const std::string folder = FolderOf(target);
  struct stat dir {};
  int err = 0;
  if (::stat(folder.c_str(), &dir) != 0)
    err = errno;
  else if (!S_ISDIR(dir.st_mode))
    err = ENOTDIR;
  else if (::access(folder.c_str(), W_OK | X_OK) != 0)
    err = errno;
  if (err == 0) return true;
  SetError(error,
           Tr("FileErrors", "Impossible de cr\xE9"
                            "er un fichier temporaire dans le dossier"),
           err);
  return false;
}

std::string CreateSweptTemporary(const std::string& folder, std::string* error) {
  RemoveStaleTemporaries(folder);
  std::string name;
  const int fd = CreateTemporary(folder, name);
  if (fd < 0) {
    SetError(error,
             Tr("FileErrors", "Impossible de cr\xE9"
                              "er un fichier temporaire dans le dossier"),
             errno);
    return {};
  }
  ::close(fd);
  return name;
}

FileReadResult ReadFileBytes(const std::string& path, std::size_t maxBytes, bool regularOnly) {
  FileReadResult r;
  // Opening a named pipe waits for a writer, forever if none comes; with
  // O_NONBLOCK the open returns at once and a pipe with no writer reads as
  // empty. Reads block again as usual afterwards.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    r.Error = Tr("FileErrors", "Lecture impossible : ") + Reason(errno) + ".";
    return r;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  r.Opened = true;
  struct stat st {};
  const bool stated = ::fstat(fd, &st) == 0;
  if (regularOnly && !(stated && S_ISREG(st.st_mode))) {
    ::close(fd);
    r.Error =
        Tr("FileErrors", "Lecture impossible : ce n'est pas un fichier ordinaire (tube nomm\xE9 ou "
                         "p\xE9riph\xE9rique).");
    return r;
  }
  if (stated && S_ISREG(st.st_mode) && st.st_size > 0) {
    r.Bytes.reserve(std::min<std::size_t>(static_cast<std::size_t>(st.st_size), maxBytes));
  }
  char buffer[65536];
  bool fault = false;
  while (r.Bytes.size() < maxBytes) {
    const std::size_t want = std::min(sizeof buffer, maxBytes - r.Bytes.size());
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.Error = Tr("FileErrors", "Lecture impossible : ") + Reason(errno) + ".";
      fault = true;
      break;
    }
    if (n == 0) break;
    r.Bytes.append(buffer, static_cast<std::size_t>(n));
  }
  if (!fault && r.Bytes.size() == maxBytes) {
    // A pipe whose writer stays open never ends: whether more is there is
    // asked without waiting for it.
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    char extra;
    ssize_t n;
    do {
      n = ::read(fd, &extra, 1);
    } while (n < 0 && errno == EINTR);
    r.Truncated = n > 0;
  }
  ::close(fd);
  r.Complete = !fault;
  return r;
}

std::string ReplaceExtension(std::string_view path, std::string_view ext) {
  const std::size_t slash = path.rfind('/');
  const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = path.rfind('.');
  std::string_view stem = path;
  if (dot != std::string_view::npos && dot >= start) stem = path.substr(0, dot);
  std::string out(stem);
  out.append(ext);
  return out;
}

}  // namespace tv
