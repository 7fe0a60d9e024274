// The file system through POSIX calls: used by the native build's tests, tools and benchmarks.
// Folders are walked relative to open descriptors (openat, fdopendir, fstatat): a walk never hands the
// system a path longer than one name, so trees deeper than the system's path limit are walked whole.
// Paths given as text may be longer than that limit too; they are resolved piece by piece.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/vfs.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <utility>

#include "core/TemporaryName.h"
#include "platform/Platform.h"

namespace {

TDateTime LocalFileTime(time_t Time) {
  struct tm Local {};
  if (!localtime_r(&Time, &Local)) return 0.0;
  return FileDateTime(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday, Local.tm_hour, Local.tm_min, Local.tm_sec);
}

std::string BaseName(const std::string& Path) {
  const std::size_t Slash = Path.find_last_of('/');
  return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

bool IsDotName(const std::string& Name) { return Name == "." || Name == ".."; }

// The last change (the status change, which every change of the contents or the entries brings and no
// program can set back), in nanoseconds; 0 before 1970.
std::uint64_t StampOf(const struct stat& Info) {
  if (Info.st_ctim.tv_sec < 0) return 0;
  return static_cast<std::uint64_t>(Info.st_ctim.tv_sec) * 1000000000u +
         static_cast<std::uint64_t>(Info.st_ctim.tv_nsec);
}

// Whether the file system of the open folder Fd changes a folder's status-change time whenever an entry
// comes, goes or is renamed in it. Known for local Linux file systems; FAT, exFAT, network and FUSE
// file systems (and anything unknown) may not, or may report it late.
bool StampsFollowEntriesOn(int Fd) {
#ifdef __linux__
  struct statfs Info {};
  if (fstatfs(Fd, &Info) != 0) return false;
  switch (static_cast<unsigned long>(Info.f_type)) {
    case 0xEF53:      // ext2, ext3, ext4
    case 0x58465342:  // XFS
    case 0x9123683E:  // Btrfs
    case 0x01021994:  // tmpfs
    case 0xF2F52010:  // F2FS
    case 0x2FC12FC1:  // ZFS
    case 0x3153464A:  // JFS
    case 0x52654973:  // ReiserFS
    case 0xCA451A4E:  // bcachefs
    case 0x794C7630:  // overlayfs
    case 0x7366746E:  // NTFS (ntfs3)
      return true;
    default: return false;
  }
#else
  (void)Fd;
  return false;
#endif
}

// A stamp at least this old (two seconds) cannot be shared with a later change, whatever the
// granularity of the file system's clock.
constexpr std::uint64_t SettledAge = 2000000000u;

void FillEntry(const struct stat& Info, TFileEntry& Entry) {
  const bool IsLink = S_ISLNK(Info.st_mode);
  Entry.Attributes = 0;
  Entry.Size = 0;
  if (S_ISDIR(Info.st_mode)) Entry.Attributes |= faDirectory;
  if (IsLink) Entry.Attributes |= faReparsePoint;
  if (!(Info.st_mode & S_IWUSR)) Entry.Attributes |= faReadOnly;
  if (!S_ISDIR(Info.st_mode)) {
    Entry.Attributes |= faArchive;
    Entry.Size = static_cast<std::uint64_t>(Info.st_size);
  }
  if (!Entry.Name.empty() && Entry.Name[0] == '.' && !IsDotName(Entry.Name)) Entry.Attributes |= faHidden;
  Entry.Time = LocalFileTime(Info.st_mtime);
  Entry.Stamp = StampOf(Info);
  Entry.DetailsKnown = true;
}

// The entry Name of the folder Folder (a descriptor, or AT_FDCWD with a path). A link to a folder is
// reported as a folder that is also a link, as Windows reports a junction.
bool StatEntryAt(int Folder, const char* Name, TFileEntry& Entry) {
  struct stat Info {};
  if (fstatat(Folder, Name, &Info, AT_SYMLINK_NOFOLLOW) != 0) return false;
  FillEntry(Info, Entry);
  struct stat Target {};
  if (S_ISLNK(Info.st_mode) && fstatat(Folder, Name, &Target, 0) == 0 && S_ISDIR(Target.st_mode)) {
    Entry.Attributes = (Entry.Attributes | faDirectory) & ~faArchive;
    Entry.Size = 0;
  }
  return true;
}

// A descriptor that closes itself.
class TDescriptor {
 public:
  explicit TDescriptor(int Fd = -1) : FFd(Fd) {}
  ~TDescriptor() { Reset(); }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return FFd; }
  int Release() { return std::exchange(FFd, -1); }
  void Reset(int Fd = -1) {
    if (FFd >= 0) close(FFd);
    FFd = Fd;
  }

 private:
  int FFd;
};

// Where a path given as text is reached: the folder that holds its last name (AT_FDCWD when the
// whole path is short enough for one call) and the rest to hand to the *at call.
class TPathPlace {
 public:
  explicit TPathPlace(const std::string& Path) {
    if (Path.size() < PATH_MAX) {
      FRest = Path;
      return;
    }
    const std::size_t Slash = Path.find_last_of('/');
    if (Slash == std::string::npos || Slash + 1 >= Path.size()) {
      FFailed = true;
      errno = ENAMETOOLONG;
      return;
    }
    FFolder.Reset(OpenFolderPieces(Path.substr(0, Slash == 0 ? 1 : Slash)));
    FFailed = FFolder.Get() < 0;
    FRest = Path.substr(Slash + 1);
  }
  bool Failed() const { return FFailed; }
  int Folder() const { return FFolder.Get() >= 0 ? FFolder.Get() : AT_FDCWD; }
  const char* Rest() const { return FRest.c_str(); }

 private:
  // Opens a folder of any path length: each piece is shorter than the limit and opened relative to
  // the one before it.
  static int OpenFolderPieces(const std::string& Path) {
    TDescriptor Base;
    std::size_t Position = 0;
    if (Path[0] == '/') {
      Base.Reset(open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
      if (Base.Get() < 0) return -1;
      Position = 1;
    }
    std::string Piece;
    while (Position < Path.size()) {
      if (Path[Position] == '/') {
        ++Position;
        continue;
      }
      std::size_t End = Path.size();
      if (End - Position >= PATH_MAX) {
        End = Path.rfind('/', Position + PATH_MAX - 2);
        if (End == std::string::npos || End <= Position) {
          errno = ENAMETOOLONG;
          return -1;
        }
      }
      Piece.assign(Path, Position, End - Position);
      const int Fd = openat(Base.Get() >= 0 ? Base.Get() : AT_FDCWD, Piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
      if (Fd < 0) return -1;
      Base.Reset(Fd);
      Position = End + 1;
    }
    return Base.Release();
  }

  TDescriptor FFolder;
  std::string FRest;
  bool FFailed = false;
};

int OpenPath(const std::string& Path, int Flags) {
  const TPathPlace Place(Path);
  return Place.Failed() ? -1 : openat(Place.Folder(), Place.Rest(), Flags | O_CLOEXEC);
}

bool StatPath(const std::string& Path, TFileEntry& Entry) {
  const TPathPlace Place(Path);
  return !Place.Failed() && StatEntryAt(Place.Folder(), Place.Rest(), Entry);
}

bool WriteAll(int Fd, std::string_view Data) {
  std::size_t Done = 0;
  while (Done < Data.size()) {
    const ssize_t Put = write(Fd, Data.data() + Done, Data.size() - Done);
    if (Put < 0 && errno == EINTR) continue;
    if (Put <= 0) return false;
    Done += static_cast<std::size_t>(Put);
  }
  return true;
}

std::string FolderOf(const std::string& Path) {
  const std::size_t Slash = Path.find_last_of('/');
  return Slash == std::string::npos ? "." : Slash == 0 ? "/" : Path.substr(0, Slash);
}

// The file a path names once every link on the way is followed (a link to a missing file names the
// file it would create), so that writing it replaces the target and keeps the link.
std::string ThroughLinks(std::string Path) {
  for (int Hop = 0; Hop < 40; ++Hop) {
    struct stat Info {};
    if (lstat(Path.c_str(), &Info) != 0 || !S_ISLNK(Info.st_mode)) break;
    std::string Link(static_cast<std::size_t>(Info.st_size > 0 ? Info.st_size : PATH_MAX), '\0');
    const ssize_t Length = readlink(Path.c_str(), Link.data(), Link.size());
    if (Length <= 0) break;
    Link.resize(static_cast<std::size_t>(Length));
    Path = Link[0] == '/' ? Link : FolderOf(Path) + "/" + Link;
  }
  return Path;
}

// A save holds a lock on its temporary file while it writes it: a temporary file of the same target
// that can be locked belongs to a save that was killed, and goes.
void RemoveKilledSaves(const std::string& Target) {
  const std::string Name = BaseName(Target);
  DIR* Folder = opendir(FolderOf(Target).c_str());
  if (!Folder) return;
  while (struct dirent* Item = readdir(Folder)) {
    if (!IsTemporaryNameOf(Item->d_name, Name)) continue;
    const TDescriptor File(openat(dirfd(Folder), Item->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat Info {};
    if (File.Get() >= 0 && fstat(File.Get(), &Info) == 0 && S_ISREG(Info.st_mode) &&
        flock(File.Get(), LOCK_EX | LOCK_NB) == 0)
      unlinkat(dirfd(Folder), Item->d_name, 0);
  }
  closedir(Folder);
}

// A new temporary file beside Target, created and locked; its name in Temporary. Another save's
// cleanup can only take it between its creation and its lock: then it is made again.
int CreateTemporary(const std::string& Target, std::string& Temporary) {
  for (int Attempt = 0; Attempt < 16; ++Attempt) {
    Temporary = TemporaryNameFor(Target);
    TDescriptor File(open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (File.Get() < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    struct stat Opened {
    }, Named{};
    if (flock(File.Get(), LOCK_EX) == 0 && fstat(File.Get(), &Opened) == 0 && stat(Temporary.c_str(), &Named) == 0 &&
        Opened.st_ino == Named.st_ino && Opened.st_dev == Named.st_dev)
      return File.Release();
  }
  errno = EEXIST;
  return -1;
}

// Only regular files are read: opening a pipe for reading waits for a writer unless it is opened
// without waiting, and a device may never answer.
int KeepRegularFile(int Fd, struct stat& Info) {
  TDescriptor File(Fd);
  if (File.Get() < 0 || fstat(File.Get(), &Info) != 0) return -1;
  if (!S_ISREG(Info.st_mode)) {
    errno = S_ISDIR(Info.st_mode) ? EISDIR : ENOTSUP;
    return -1;
  }
  return File.Release();
}

constexpr int ReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

int OpenRegularFile(const std::string& Path, struct stat& Info) {
  return KeepRegularFile(OpenPath(Path, ReadFlags), Info);
}

class TPosixFileReader : public TFileReader {
 public:
  TPosixFileReader(int Fd, std::uint64_t Size) : FFile(Fd), FSize(Size) {}
  std::uint64_t Size() const override { return FSize; }
  std::ptrdiff_t Read(char* Buffer, std::size_t Count) override {
    for (;;) {
      const ssize_t Got = read(FFile.Get(), Buffer, Count);
      if (Got >= 0 || errno != EINTR) return Got;
    }
  }

 private:
  TDescriptor FFile;
  std::uint64_t FSize;
};

// A reader of the regular file open as Fd (owned), or null.
std::unique_ptr<TFileReader> RegularFileReader(int Fd) {
  struct stat Info {};
  const int File = KeepRegularFile(Fd, Info);
  if (File < 0) return nullptr;
  return std::make_unique<TPosixFileReader>(File, static_cast<std::uint64_t>(Info.st_size));
}

// Writes a temporary file beside the target (the file a link leads to) and renames it over the target
// at Commit; the target keeps its permissions.
class TPosixFileWriter : public TFileWriter {
 public:
  explicit TPosixFileWriter(const std::string& Path) : FTarget(ThroughLinks(Path)) {
    RemoveKilledSaves(FTarget);
    FFile.Reset(CreateTemporary(FTarget, FTemporary));
  }
  ~TPosixFileWriter() override {
    if (FFile.Get() < 0) return;
    const int Saved = errno;
    FFile.Reset();
    unlink(FTemporary.c_str());
    errno = Saved;
  }
  bool Started() const { return FFile.Get() >= 0; }
  bool Write(std::string_view Data) override { return FFile.Get() >= 0 && WriteAll(FFile.Get(), Data); }
  bool Commit() override {
    if (FFile.Get() < 0) return false;
    struct stat Old {};
    if (stat(FTarget.c_str(), &Old) == 0) fchmod(FFile.Get(), Old.st_mode & 07777);
    if (fsync(FFile.Get()) != 0 || rename(FTemporary.c_str(), FTarget.c_str()) != 0) return false;
    FFile.Reset();
    return true;
  }

 private:
  std::string FTarget;
  std::string FTemporary;
  TDescriptor FFile;
};

// Folders whose listing has ended but whose subfolders are still to be opened keep a descriptor;
// past this many (a quarter of what the process may hold), they keep only their path.
int KeptDescriptorLimit() {
  static const int Limit = [] {
    struct rlimit Limits {};
    if (getrlimit(RLIMIT_NOFILE, &Limits) != 0 || Limits.rlim_cur == RLIM_INFINITY) return 256;
    return static_cast<int>(std::max<rlim_t>(16, std::min<rlim_t>(Limits.rlim_cur / 4, 4096)));
  }();
  return Limit;
}
std::atomic<int> KeptDescriptors{0};

// The entries of a folder open as a descriptor, read in large batches. The descriptor outlives the
// reading (End frees only the batch), so a folder whose subfolders remain to be opened keeps it
// without copying it. Linux hands the batches out directly; elsewhere the directory stream reads them
// and the descriptor is copied when it ends.
class TEntryReader {
 public:
  explicit TEntryReader(int Fd) : FFd(Fd) {
#ifdef __linux__
    // The batch buffer comes with the first read: a folder opened only for its files or subfolders
    // never needs one.
#else
    FDir = fdopendir(Fd);
    if (!FDir) FFd.Reset();
#endif
  }
  ~TEntryReader() {
#ifndef __linux__
    if (FDir) {
      closedir(FDir);  // closes the descriptor too
      FFd.Release();
    }
#endif
  }
  TEntryReader(const TEntryReader&) = delete;
  TEntryReader& operator=(const TEntryReader&) = delete;

  bool Opened() const { return FFd.Get() >= 0; }
  int Fd() const { return FFd.Get(); }
  void Close() {
    End();
    FFd.Reset();
  }

  // The next entry's name and kind (DT_*), or null at the end or on a failure.
  const char* Next(unsigned char& Type) {
#ifdef __linux__
    if (FPosition >= FFilled) {
      if (FEnded) return nullptr;
      if (!FBuffer) FBuffer.reset(new char[BufferSize]);  // not zeroed: the system fills what it hands back
      const ssize_t Got = getdents64(FFd.Get(), FBuffer.get(), BufferSize);
      if (Got <= 0) {
        End();
        return nullptr;
      }
      FFilled = static_cast<std::size_t>(Got);
      FPosition = 0;
    }
    const auto* Item = reinterpret_cast<const struct dirent64*>(FBuffer.get() + FPosition);
    FPosition += Item->d_reclen;
#else
    if (!FDir) return nullptr;
    const struct dirent* Item = readdir(FDir);
    if (!Item) return nullptr;
#endif
    Type = Item->d_type;
    return Item->d_name;
  }

  // Frees what the reading holds; the descriptor stays open.
  void End() {
#ifdef __linux__
    FEnded = true;
    FBuffer.reset();
    FFilled = FPosition = 0;
#else
    if (!FDir) return;
    const int Copy = fcntl(dirfd(FDir), F_DUPFD_CLOEXEC, 0);
    closedir(FDir);
    FDir = nullptr;
    FFd.Release();
    FFd.Reset(Copy);
#endif
  }

 private:
  TDescriptor FFd;
#ifdef __linux__
  static constexpr std::size_t BufferSize = 32768;
  std::unique_ptr<char[]> FBuffer;
  bool FEnded = false;
  std::size_t FFilled = 0;
  std::size_t FPosition = 0;
#else
  DIR* FDir = nullptr;
#endif
};

class TPosixFolderListing : public TFolderListing {
 public:
  TPosixFolderListing(int Fd, std::string Folder) : FReader(Fd), FFolder(std::move(Folder)) {}
  ~TPosixFolderListing() override {
    if (FKept) --KeptDescriptors;
  }

  bool Opened() const { return FReader.Opened(); }

  // The name and the kind from the listing itself; anything but a folder, a regular file or a link (a
  // pipe, a device, an entry whose kind the file system does not report) is looked at at once.
  bool Next(TFileEntry& Entry) override {
    FStarted = true;
    unsigned char Type = DT_UNKNOWN;
    while (const char* Name = FReader.Next(Type)) {
      Entry.Name.assign(Name);
      Entry.Size = 0;
      Entry.Time = 0.0;
      Entry.Stamp = 0;
      Entry.DetailsKnown = false;
      Entry.Attributes =
          !Entry.Name.empty() && Entry.Name[0] == '.' && !IsDotName(Entry.Name) ? std::uint32_t(faHidden) : 0u;
      if (Type == DT_DIR) {
        Entry.Attributes |= faDirectory;
      } else if (Type == DT_LNK) {
        Entry.Attributes |= faReparsePoint;
      } else if (Type != DT_REG && !ReadDetails(Entry)) {
        continue;  // gone since the listing was read
      }
      return true;
    }
    return false;
  }

  std::uint64_t SettledStamp() override {
    struct stat Info {};
    struct timespec Now {};
    if (FStarted || fstat(FReader.Fd(), &Info) != 0 || clock_gettime(CLOCK_REALTIME, &Now) != 0 || Now.tv_sec < 0)
      return 0;
    const std::uint64_t Stamp = StampOf(Info);
    const std::uint64_t Current =
        static_cast<std::uint64_t>(Now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(Now.tv_nsec);
    return Stamp != 0 && Stamp + SettledAge <= Current ? Stamp : 0;
  }

  bool StampsFollowEntries() override { return FReader.Fd() >= 0 && StampsFollowEntriesOn(FReader.Fd()); }

  bool ReadStamp(TFileEntry& Entry) override {
    const int Folder = FReader.Fd();
    if (Folder < 0) {
      TFileEntry Found;
      if (!StatPath(FFolder + "/" + Entry.Name, Found)) return false;
      Entry.Stamp = Found.Stamp;
      return true;
    }
    struct stat Info {};
    if (fstatat(Folder, Entry.Name.c_str(), &Info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    Entry.Stamp = StampOf(Info);
    return true;
  }

  bool ReadDetails(TFileEntry& Entry) override {
    if (Entry.DetailsKnown) return true;
    const int Folder = FReader.Fd();
    return Folder >= 0 ? StatEntryAt(Folder, Entry.Name.c_str(), Entry) : StatPath(FFolder + "/" + Entry.Name, Entry);
  }

  void EndListing() override {
    if (FEnded) return;
    FEnded = true;
    FReader.End();
    if (KeptDescriptors < KeptDescriptorLimit()) {
      FKept = FReader.Fd() >= 0;
      if (FKept) ++KeptDescriptors;
    } else {
      FReader.Close();
    }
  }

  std::unique_ptr<TFolderListing> OpenSubfolder(const std::string& Name) override {
    const int Folder = FReader.Fd();
    const int Flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    const int Fd = Folder >= 0 ? openat(Folder, Name.c_str(), Flags) : OpenPath(FFolder + "/" + Name, Flags);
    return Listing(Fd, FFolder + "/" + Name);
  }

  std::unique_ptr<TFileReader> OpenFile(const std::string& Name) override {
    const int Folder = FReader.Fd();
    return RegularFileReader(Folder >= 0 ? openat(Folder, Name.c_str(), ReadFlags)
                                         : OpenPath(FFolder + "/" + Name, ReadFlags));
  }

  // A listing of the folder open as Fd (owned), or null.
  static std::unique_ptr<TFolderListing> Listing(int Fd, std::string Folder) {
    if (Fd < 0) return nullptr;
    auto Result = std::make_unique<TPosixFolderListing>(Fd, std::move(Folder));
    if (!Result->Opened()) return nullptr;
    return Result;
  }

 private:
  TEntryReader FReader;
  bool FEnded = false;
  bool FStarted = false;  // entries have been read
  bool FKept = false;     // counted among the kept descriptors
  std::string FFolder;    // for the rare folder that keeps no descriptor
};

class TPosixFileSystem : public TFileSystem {
 public:
  char PathDelimiter() const override { return '/'; }
  bool PathsAreBytes() const override { return true; }

  // The current folder, then the relative path with its "." and ".." steps taken.
  std::string FullPath(const std::string& Path) override {
    if (Path.empty() || Path[0] == '/') return Path;
    std::string Full;
    for (std::size_t Size = PATH_MAX;; Size *= 2) {
      Full.resize(Size);
      if (getcwd(Full.data(), Size)) break;
      if (errno != ERANGE) return Path;
    }
    Full.resize(std::strlen(Full.c_str()));
    for (std::size_t Start = 0; Start <= Path.size();) {
      const std::size_t End = std::min(Path.find('/', Start), Path.size());
      const std::string_view Step(Path.data() + Start, End - Start);
      if (Step == "..") {
        Full.resize(std::max<std::size_t>(Full.find_last_of('/'), 1));
      } else if (!Step.empty() && Step != ".") {
        if (Full.back() != '/') Full += '/';
        Full += Step;
      }
      Start = End + 1;
    }
    if (Path.back() == '/' && Full.back() != '/') Full += '/';
    return Full;
  }

  std::unique_ptr<TFolderListing> OpenFolder(const std::string& Folder) override {
    const std::string Path = Folder.empty() ? "/" : Folder;
    return TPosixFolderListing::Listing(OpenPath(Path, O_RDONLY | O_DIRECTORY), Path == "/" ? "" : Folder);
  }

  bool FindEntry(const std::string& Path, TFileEntry& Entry) override {
    Entry = TFileEntry();
    if (Path.empty()) return false;
    std::string Trimmed = Path;
    while (Trimmed.size() > 1 && Trimmed.back() == '/') Trimmed.pop_back();
    Entry.Name = BaseName(Trimmed);
    if (!StatPath(Trimmed, Entry)) {
      Entry = TFileEntry();
      return false;
    }
    return true;
  }

  bool ReadFile(const std::string& Path, std::size_t MaxBytes, std::string& Data, std::uint64_t* FileSize) override {
    Data.clear();
    struct stat Info {};
    TDescriptor File(OpenRegularFile(Path, Info));
    if (File.Get() < 0) return false;
    if (FileSize) *FileSize = static_cast<std::uint64_t>(Info.st_size);
    const std::size_t Wanted = std::min<std::size_t>(MaxBytes, static_cast<std::size_t>(Info.st_size));
    Data.resize(Wanted);
    std::size_t Done = 0;
    while (Done < Wanted) {
      const ssize_t Got = read(File.Get(), &Data[Done], Wanted - Done);
      if (Got < 0 && errno == EINTR) continue;
      if (Got <= 0) break;
      Done += static_cast<std::size_t>(Got);
    }
    Data.resize(Done);
    return true;
  }

  std::unique_ptr<TFileReader> OpenFile(const std::string& Path) override {
    return RegularFileReader(OpenPath(Path, ReadFlags));
  }

  bool WriteFileAtomically(const std::string& Path, const std::string& Data) override {
    return WriteWhole(CreateFileAtomically(Path), Data);
  }

  std::unique_ptr<TFileWriter> CreateFileAtomically(const std::string& Path) override {
    auto Writer = std::make_unique<TPosixFileWriter>(Path);
    return Writer->Started() ? std::move(Writer) : nullptr;
  }

  bool ReadFileInPieces(const std::string& Path, const std::function<void(std::string_view)>& OnPiece) override {
    struct stat Info {};
    TDescriptor File(OpenRegularFile(Path, Info));
    if (File.Get() < 0) return false;
    std::string Piece(std::size_t(1) << 20, '\0');
    for (;;) {
      const ssize_t Got = read(File.Get(), Piece.data(), Piece.size());
      if (Got < 0 && errno == EINTR) continue;
      if (Got < 0) return false;
      if (Got == 0) return true;
      OnPiece(std::string_view(Piece.data(), static_cast<std::size_t>(Got)));
    }
  }

  bool FileExists(const std::string& Path) override {
    struct stat Info {};
    return Stat(Path, Info) && !S_ISDIR(Info.st_mode);
  }

  bool DirectoryExists(const std::string& Path) override {
    struct stat Info {};
    return Stat(Path, Info) && S_ISDIR(Info.st_mode);
  }

  bool RemoveFile(const std::string& Path) override {
    if (!FileExists(Path)) return false;
    const TPathPlace Place(Path);
    return !Place.Failed() && unlinkat(Place.Folder(), Place.Rest(), 0) == 0;
  }

  bool CreateFolder(const std::string& Path) override {
    if (Path.empty()) return false;
    const TPathPlace Place(Path);
    if (Place.Failed()) return false;
    return mkdirat(Place.Folder(), Place.Rest(), 0777) == 0 || (errno == EEXIST && DirectoryExists(Path));
  }

  std::string LastErrorText() override { return std::strerror(errno); }

 private:
  static bool Stat(const std::string& Path, struct stat& Info) {
    if (Path.empty()) return false;
    const TPathPlace Place(Path);
    return !Place.Failed() && fstatat(Place.Folder(), Place.Rest(), &Info, 0) == 0;
  }
};

}  // namespace

TFileSystem& PlatformFileSystem() {
  static TPosixFileSystem FileSystem;
  return FileSystem;
}

std::string UserDataFolder() {
  // Only absolute paths count: a relative one would move with the current folder.
  const char* Data = std::getenv("XDG_DATA_HOME");
  if (Data && Data[0] == '/') return std::string(Data) + "/";
  const char* Home = std::getenv("HOME");
  if (Home && Home[0] == '/') return std::string(Home) + (std::string(Home).back() == '/' ? "" : "/") + ".local/share/";
  return "";
}

std::string ExecutableFolder() {
  char Buffer[PATH_MAX + 1] = {};
  const ssize_t Length = readlink("/proc/self/exe", Buffer, PATH_MAX);
  std::string Path = Length > 0 ? std::string(Buffer, static_cast<std::size_t>(Length)) : std::string("./");
  return Path.substr(0, Path.find_last_of('/') + 1);
}
