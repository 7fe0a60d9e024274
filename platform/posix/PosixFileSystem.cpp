// The file system through POSIX calls: used by the native build's tests, tools and benchmarks.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <string>

#include "core/FileSystem.h"

namespace {

TDateTime LocalDosTime(time_t Time) {
  struct tm Local {};
  if (!localtime_r(&Time, &Local)) return 0.0;
  return DosResolutionDateTime(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday, Local.tm_hour, Local.tm_min,
                               Local.tm_sec);
}

std::string BaseName(const std::string& Path) {
  const std::size_t Slash = Path.find_last_of('/');
  return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

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
  if (!Entry.Name.empty() && Entry.Name[0] == '.' && Entry.Name != "." && Entry.Name != "..")
    Entry.Attributes |= faHidden;
  Entry.Time = LocalDosTime(Info.st_mtime);
}

// A link to a folder is reported as a folder that is also a link, as Windows reports a junction.
bool StatEntry(const std::string& Path, TFileEntry& Entry) {
  struct stat Info {};
  if (lstat(Path.c_str(), &Info) != 0) return false;
  FillEntry(Info, Entry);
  struct stat Target {};
  if (S_ISLNK(Info.st_mode) && stat(Path.c_str(), &Target) == 0 && S_ISDIR(Target.st_mode)) {
    Entry.Attributes = (Entry.Attributes | faDirectory) & ~faArchive;
    Entry.Size = 0;
  }
  return true;
}

class TPosixFolderListing : public TFolderListing {
 public:
  TPosixFolderListing(DIR* Dir, std::string Folder) : FDir(Dir), FFolder(std::move(Folder)) {}
  ~TPosixFolderListing() override { closedir(FDir); }

  bool Next(TFileEntry& Entry) override {
    while (struct dirent* Item = readdir(FDir)) {
      Entry.Name.assign(Item->d_name);
      FPath.assign(FFolder).append("/").append(Entry.Name);
      if (StatEntry(FPath, Entry)) return true;
    }
    return false;
  }

 private:
  DIR* FDir;
  std::string FFolder;
  std::string FPath;  // reused for every entry
};

class TPosixFileSystem : public TFileSystem {
 public:
  char PathDelimiter() const override { return '/'; }

  std::unique_ptr<TFolderListing> OpenFolder(const std::string& Folder) override {
    DIR* Dir = opendir(Folder.empty() ? "/" : Folder.c_str());
    if (!Dir) return nullptr;
    return std::make_unique<TPosixFolderListing>(Dir, Folder);
  }

  bool FindEntry(const std::string& Path, TFileEntry& Entry) override {
    Entry = TFileEntry();
    if (Path.empty()) return false;
    std::string Trimmed = Path;
    while (Trimmed.size() > 1 && Trimmed.back() == '/') Trimmed.pop_back();
    if (!StatEntry(Trimmed, Entry)) {
      Entry = TFileEntry();
      return false;
    }
    Entry.Name = BaseName(Trimmed);
    return true;
  }

  bool ReadFile(const std::string& Path, std::size_t MaxBytes, std::string& Data) override {
    Data.clear();
    const int Fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) return false;
    struct stat Info {};
    if (fstat(Fd, &Info) != 0 || S_ISDIR(Info.st_mode)) {
      close(Fd);
      errno = EISDIR;
      return false;
    }
    const std::size_t Wanted = std::min<std::size_t>(MaxBytes, static_cast<std::size_t>(Info.st_size));
    Data.resize(Wanted);
    std::size_t Done = 0;
    while (Done < Wanted) {
      const ssize_t Got = read(Fd, &Data[Done], Wanted - Done);
      if (Got < 0 && errno == EINTR) continue;
      if (Got <= 0) break;
      Done += static_cast<std::size_t>(Got);
    }
    Data.resize(Done);
    close(Fd);
    return true;
  }

  bool WriteFileAtomically(const std::string& Path, const std::string& Data) override {
    const std::string Temporary = Path + ".tmp" + std::to_string(getpid());
    const int Fd = open(Temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (Fd < 0) return false;
    std::size_t Done = 0;
    bool Ok = true;
    while (Done < Data.size()) {
      const ssize_t Put = write(Fd, Data.data() + Done, Data.size() - Done);
      if (Put < 0 && errno == EINTR) continue;
      if (Put <= 0) {
        Ok = false;
        break;
      }
      Done += static_cast<std::size_t>(Put);
    }
    Ok = Ok && fsync(Fd) == 0;
    Ok = (close(Fd) == 0) && Ok;
    if (Ok && rename(Temporary.c_str(), Path.c_str()) == 0) return true;
    const int Saved = errno;
    unlink(Temporary.c_str());
    errno = Saved;
    return false;
  }

  bool FileExists(const std::string& Path) override {
    struct stat Info {};
    return !Path.empty() && stat(Path.c_str(), &Info) == 0 && !S_ISDIR(Info.st_mode);
  }

  bool DirectoryExists(const std::string& Path) override {
    struct stat Info {};
    return !Path.empty() && stat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
  }

  bool RemoveFile(const std::string& Path) override { return FileExists(Path) && unlink(Path.c_str()) == 0; }

  std::string LastErrorText() override { return std::strerror(errno); }
};

}  // namespace

TFileSystem& PlatformFileSystem() {
  static TPosixFileSystem FileSystem;
  return FileSystem;
}

std::string ExecutableFolder() {
  char Buffer[PATH_MAX + 1] = {};
  const ssize_t Length = readlink("/proc/self/exe", Buffer, PATH_MAX);
  std::string Path = Length > 0 ? std::string(Buffer, static_cast<std::size_t>(Length)) : std::string("./");
  return Path.substr(0, Path.find_last_of('/') + 1);
}
