// The file system through the W functions of Win32, with paths of any length.
#include <windows.h>

#include <algorithm>
#include <cctype>

#include "core/FileSystem.h"
#include "core/TemporaryName.h"
#include "core/Text.h"
#include "platform/win32/WideText.h"

namespace {

TDateTime LocalDosTime(const FILETIME& Utc) {
  FILETIME Local;
  SYSTEMTIME Time;
  if (!FileTimeToLocalFileTime(&Utc, &Local) || !FileTimeToSystemTime(&Local, &Time)) return 0.0;
  return DosResolutionDateTime(Time.wYear, Time.wMonth, Time.wDay, Time.wHour, Time.wMinute, Time.wSecond);
}

void FillEntry(const WIN32_FIND_DATAW& Data, TFileEntry& Entry) {
  NarrowInto(Data.cFileName, Entry.Name);
  Entry.Attributes = Data.dwFileAttributes;
  // Only name surrogates (junctions, symbolic links) lead elsewhere; other reparse points, such as
  // cloud placeholders, hold their own contents and read as plain entries. A missing tag stays a link.
  if ((Entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) && Data.dwReserved0 != 0 &&
      !IsReparseTagNameSurrogate(Data.dwReserved0))
    Entry.Attributes &= ~static_cast<std::uint32_t>(FILE_ATTRIBUTE_REPARSE_POINT);
  Entry.Size = (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                   ? 0
                   : (static_cast<std::uint64_t>(Data.nFileSizeHigh) << 32) | Data.nFileSizeLow;
  Entry.Time = LocalDosTime(Data.ftLastWriteTime);
  Entry.DetailsKnown = true;
}

// Listings fetch many entries per call; a lookup of one name gains nothing from the larger buffer
// (under Wine both cost the same, about 0.2 ms, nearly all of it opening the handle).
HANDLE FindFirst(const std::wstring& Pattern, WIN32_FIND_DATAW& Data, bool Listing) {
  return FindFirstFileExW(Pattern.c_str(), FindExInfoBasic, &Data, FindExSearchNameMatch, nullptr,
                          Listing ? FIND_FIRST_EX_LARGE_FETCH : 0);
}

// A listing keeps its folder in the "\\?\" form: subfolders are opened by appending their names as the
// listing spelled them, so no name is reinterpreted (a trailing dot or space) and no length is too long.
class TWin32FolderListing : public TFolderListing {
 public:
  TWin32FolderListing(HANDLE Find, const WIN32_FIND_DATAW& First, std::wstring Folder)
      : FFind(Find), FData(First), FFolder(std::move(Folder)) {}
  ~TWin32FolderListing() override { EndListing(); }

  // Open a listing of Folder (in the "\\?\" form); null when it cannot be listed.
  static std::unique_ptr<TFolderListing> Open(std::wstring Folder) {
    WIN32_FIND_DATAW Data;
    const HANDLE Find = FindFirst(Folder + L"\\*", Data, true);
    if (Find == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<TWin32FolderListing>(Find, Data, std::move(Folder));
  }

  bool Next(TFileEntry& Entry) override {
    if (FFind == INVALID_HANDLE_VALUE) return false;
    if (FPending) {
      FPending = false;
    } else if (!FindNextFileW(FFind, &FData)) {
      return false;
    }
    FillEntry(FData, Entry);
    return true;
  }

  void EndListing() override {
    if (FFind != INVALID_HANDLE_VALUE) FindClose(FFind);
    FFind = INVALID_HANDLE_VALUE;
  }

  std::unique_ptr<TFolderListing> OpenSubfolder(const std::string& Name) override {
    return Open(FFolder + L"\\" + Widen(Name));
  }

 private:
  HANDLE FFind;
  WIN32_FIND_DATAW FData;
  std::wstring FFolder;
  bool FPending = true;  // the first entry came with the handle
};

DWORD Attributes(const std::string& Path) {
  return Path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(LongPathW(Path).c_str());
}

class THandle {
 public:
  explicit THandle(HANDLE Handle) : FHandle(Handle) {}
  ~THandle() {
    if (Valid()) CloseHandle(FHandle);
  }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  bool Valid() const { return FHandle != INVALID_HANDLE_VALUE && FHandle != nullptr; }
  HANDLE Get() const { return FHandle; }
  bool Close() {
    const bool Ok = CloseHandle(FHandle) != 0;
    FHandle = INVALID_HANDLE_VALUE;
    return Ok;
  }

 private:
  HANDLE FHandle;
};

std::wstring FolderOfW(const std::wstring& Path) { return Path.substr(0, Path.find_last_of(L'\\') + 1); }

// The file a path names once links are followed, so that writing it replaces the target and keeps
// the link; the path itself when it is no link or leads nowhere.
std::wstring ThroughLinks(const std::wstring& Path) {
  const DWORD Found = GetFileAttributesW(Path.c_str());
  if (Found == INVALID_FILE_ATTRIBUTES || !(Found & FILE_ATTRIBUTE_REPARSE_POINT)) return Path;
  THandle File(CreateFileW(Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!File.Valid()) return Path;
  std::wstring Final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD Length = GetFinalPathNameByHandleW(File.Get(), Final.data(), static_cast<DWORD>(Final.size()), 0);
    if (Length == 0) return Path;
    if (Length < Final.size()) return Final.substr(0, Length);
    Final.resize(Length);
  }
}

// A save keeps its temporary file open, unshared, until it renames it: a temporary file of the same
// target that can be deleted belongs to a save that was killed, and goes.
void RemoveKilledSaves(const std::wstring& Target) {
  const std::wstring Folder = FolderOfW(Target);
  const std::string Name = Narrow(std::wstring_view(Target).substr(Folder.size()));
  WIN32_FIND_DATAW Data;
  const HANDLE Find = FindFirst(Target + L".tmp*", Data, false);
  if (Find == INVALID_HANDLE_VALUE) return;
  do {
    if (IsTemporaryNameOf(Narrow(Data.cFileName), Name)) DeleteFileW((Folder + Data.cFileName).c_str());
  } while (FindNextFileW(Find, &Data));
  FindClose(Find);
}

// A new temporary file beside Target, open for writing and shared with nobody; its name in Temporary.
HANDLE CreateTemporary(const std::wstring& Target, std::wstring& Temporary) {
  for (int Attempt = 0; Attempt < 16; ++Attempt) {
    Temporary = Widen(TemporaryNameFor(Narrow(Target)));
    const HANDLE File =
        CreateFileW(Temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return File;
  }
  return INVALID_HANDLE_VALUE;
}

class TWin32FileSystem : public TFileSystem {
 public:
  char PathDelimiter() const override { return '\\'; }

  // Windows file systems compare names after upper-casing every letter with a table of simple,
  // locale-free mappings (é and É, ω and Ω are one letter to them); the invariant upper case is that.
  void PathKey(std::string& Path) const override {
    bool Ascii = true;
    for (char& C : Path) {
      if (static_cast<unsigned char>(C) >= 0x80) {
        Ascii = false;
        break;
      }
      C = AsciiUpper(C);
    }
    if (Ascii) return;
    const std::wstring Wide = Widen(Path);
    std::wstring Upper(Wide.size(), L'\0');
    const int Length = static_cast<int>(Wide.size());
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, Wide.data(), Length, Upper.data(), Length, nullptr,
                      nullptr, 0) == Length)
      NarrowInto(Upper, Path);
  }

  std::unique_ptr<TFolderListing> OpenFolder(const std::string& Folder) override {
    return TWin32FolderListing::Open(ExtendedFolderW(Folder));
  }

  bool FindEntry(const std::string& Path, TFileEntry& Entry) override {
    Entry = TFileEntry();
    // Wildcards would turn the lookup into a search; a trailing separator would look inside a folder.
    if (Path.empty() || Path.find_first_of("*?") != std::string::npos || Path.back() == '\\' || Path.back() == '/')
      return false;
    WIN32_FIND_DATAW Data;
    const HANDLE Find = FindFirst(LongPathW(Path), Data, false);
    if (Find == INVALID_HANDLE_VALUE) return false;
    FindClose(Find);
    FillEntry(Data, Entry);
    return true;
  }

  // A lookup opens a find handle (under Wine a round trip to the server, some 200 us); a listing
  // costs a few microseconds per entry.
  double FindEntryCost() const override { return 16.0; }

  bool ReadFile(const std::string& Path, std::size_t MaxBytes, std::string& Data, std::uint64_t* FileSize) override {
    Data.clear();
    THandle File(CreateFileW(LongPathW(Path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!File.Valid()) return false;
    // A device or a pipe (a name such as "CON", a path such as \\.\pipe\x) may wait for ever: disk files only.
    if (GetFileType(File.Get()) != FILE_TYPE_DISK) {
      SetLastError(ERROR_NOT_SUPPORTED);
      return false;
    }
    LARGE_INTEGER Size;
    if (!GetFileSizeEx(File.Get(), &Size)) return false;
    if (FileSize) *FileSize = static_cast<std::uint64_t>(Size.QuadPart);
    const std::size_t Wanted = std::min<std::uint64_t>(MaxBytes, static_cast<std::uint64_t>(Size.QuadPart));
    Data.resize(Wanted);
    std::size_t Done = 0;
    while (Done < Wanted) {
      DWORD Got = 0;
      const DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Wanted - Done, 1u << 30));
      if (!::ReadFile(File.Get(), &Data[Done], Chunk, &Got, nullptr) || Got == 0) break;
      Done += Got;
    }
    Data.resize(Done);
    return true;
  }

  bool WriteFileAtomically(const std::string& Path, const std::string& Data) override {
    const std::wstring Target = ThroughLinks(LongPathW(Path));
    RemoveKilledSaves(Target);
    std::wstring Temporary;
    bool Ok = false;
    {
      THandle File(CreateTemporary(Target, Temporary));
      if (!File.Valid()) return false;
      std::size_t Done = 0;
      Ok = true;
      while (Ok && Done < Data.size()) {
        DWORD Put = 0;
        const DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Data.size() - Done, 1u << 30));
        Ok = ::WriteFile(File.Get(), Data.data() + Done, Chunk, &Put, nullptr) && Put > 0;
        Done += Put;
      }
      Ok = Ok && FlushFileBuffers(File.Get());
      Ok = File.Close() && Ok;
    }
    if (Ok && MoveFileExW(Temporary.c_str(), Target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD Error = GetLastError();
    DeleteFileW(Temporary.c_str());
    SetLastError(Error);
    return false;
  }

  // 'C:' alone names the root of drive C here, as the walk has always taken it.
  std::string FullPath(const std::string& Path) override {
    const bool Drive = Path.size() >= 2 && Path[1] == ':' && std::isalpha(static_cast<unsigned char>(Path[0]));
    const bool Full = (Drive && (Path.size() == 2 || Path[2] == '\\' || Path[2] == '/')) ||
                      Path.rfind("\\\\", 0) == 0 || Path.rfind("//", 0) == 0;
    if (Full || Path.empty()) return Path;
    const std::wstring Wide = Widen(Path);
    DWORD Needed = GetFullPathNameW(Wide.c_str(), 0, nullptr, nullptr);
    if (Needed == 0) return Path;
    std::wstring Resolved(Needed, L'\0');
    Needed = GetFullPathNameW(Wide.c_str(), Needed, Resolved.data(), nullptr);
    Resolved.resize(Needed);
    return Narrow(Resolved);
  }

  bool FileExists(const std::string& Path) override {
    const DWORD Found = Attributes(Path);
    return Found != INVALID_FILE_ATTRIBUTES && !(Found & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool DirectoryExists(const std::string& Path) override {
    const DWORD Found = Attributes(Path);
    return Found != INVALID_FILE_ATTRIBUTES && (Found & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool RemoveFile(const std::string& Path) override {
    return FileExists(Path) && DeleteFileW(LongPathW(Path).c_str()) != 0;
  }

  std::string LastErrorText() override {
    const DWORD Error = GetLastError();
    wchar_t* Buffer = nullptr;
    const DWORD Length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, Error, 0, reinterpret_cast<wchar_t*>(&Buffer), 0, nullptr);
    std::string Text = Length ? Narrow(std::wstring_view(Buffer, Length)) : "System error " + std::to_string(Error);
    if (Buffer) LocalFree(Buffer);
    while (!Text.empty() && (Text.back() == '\n' || Text.back() == '\r' || Text.back() == ' ')) Text.pop_back();
    return Text;
  }
};

}  // namespace

TFileSystem& PlatformFileSystem() {
  static TWin32FileSystem FileSystem;
  return FileSystem;
}

std::string ExecutableFolder() {
  std::wstring Buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD Length = GetModuleFileNameW(nullptr, Buffer.data(), static_cast<DWORD>(Buffer.size()));
    if (Length < Buffer.size()) {
      Buffer.resize(Length);
      break;
    }
    Buffer.resize(Buffer.size() * 2);
  }
  const std::string Path = Narrow(Buffer);
  return Path.substr(0, Path.find_last_of("\\/") + 1);
}
