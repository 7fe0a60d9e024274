// The file system through the W functions of Win32, with paths of any length.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "core/CaseFold.h"
#include "core/TemporaryName.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "platform/win32/OwnedHandle.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace {

// The time zone's rules for a year, as Windows keeps them (summer time and its dates change with the
// years); null, for the rules in force now, when there are none.
const TIME_ZONE_INFORMATION* ZoneOfYear(WORD Year) {
  thread_local const std::unique_ptr<DYNAMIC_TIME_ZONE_INFORMATION> Zone = [] {
    auto Dynamic = std::make_unique<DYNAMIC_TIME_ZONE_INFORMATION>();
    return GetDynamicTimeZoneInformation(Dynamic.get()) == TIME_ZONE_ID_INVALID ? nullptr : std::move(Dynamic);
  }();
  thread_local std::map<WORD, TIME_ZONE_INFORMATION> Years;
  if (!Zone) return nullptr;
  auto Found = Years.find(Year);
  if (Found == Years.end()) {
    TIME_ZONE_INFORMATION Rules{};
    if (!GetTimeZoneInformationForYear(Year, Zone.get(), &Rules)) return nullptr;
    Found = Years.emplace(Year, Rules).first;
  }
  return &Found->second;
}

std::uint64_t FileTimeValue(const FILETIME& Time) {
  return static_cast<std::uint64_t>(Time.dwHighDateTime) << 32 | Time.dwLowDateTime;
}

FILETIME FileTimeOf(std::uint64_t Value) {
  return FILETIME{static_cast<DWORD>(Value & 0xFFFFFFFFu), static_cast<DWORD>(Value >> 32)};
}

// The offset from universal to local time at Utc (100 ns units), with the zone's rules of that year.
bool LocalOffsetAt(std::uint64_t Utc, std::int64_t& Offset) {
  const FILETIME Time = FileTimeOf(Utc);
  SYSTEMTIME Universal, Local;
  FILETIME LocalTime;
  if (!FileTimeToSystemTime(&Time, &Universal) ||
      !SystemTimeToTzSpecificLocalTime(ZoneOfYear(Universal.wYear), &Universal, &Local) ||
      !SystemTimeToFileTime(&Local, &LocalTime))
    return false;
  Offset = static_cast<std::int64_t>(FileTimeValue(LocalTime) - Utc);
  return true;
}

// A file time in local time as the file manager shows it: with the offset in force on the file's own
// date (summer or winter time), not today's. Converting costs microseconds under Wine, for every entry
// listed, so the offset is kept for each quarter of an hour whose start and end have the same one (no
// zone changes its offset twice within a quarter hour); a quarter hour with a change in it converts
// each time on its own.
TDateTime LocalFileTime(const FILETIME& Utc) {
  constexpr std::uint64_t Quarter = 15ull * 60 * 10000000;
  struct TQuarter {
    std::uint64_t Number = UINT64_MAX;
    std::int64_t Offset = 0;
    bool Even = false;  // one offset for the whole quarter hour
  };
  thread_local TQuarter Quarters[64];
  const std::uint64_t Value = FileTimeValue(Utc);
  const std::uint64_t Number = Value / Quarter;
  TQuarter& Known = Quarters[Number % 64];
  if (Known.Number != Number) {
    std::int64_t Start = 0, End = 0;
    Known.Number = Number;
    Known.Even =
        LocalOffsetAt(Number * Quarter, Start) && LocalOffsetAt(Number * Quarter + Quarter - 1, End) && Start == End;
    Known.Offset = Start;
  }
  std::int64_t Offset = Known.Offset;
  if (!Known.Even && !LocalOffsetAt(Value, Offset)) return 0.0;
  const FILETIME Local = FileTimeOf(Value + static_cast<std::uint64_t>(Offset));
  SYSTEMTIME Parts;
  if (!FileTimeToSystemTime(&Local, &Parts)) return 0.0;
  return FileDateTime(Parts.wYear, Parts.wMonth, Parts.wDay, Parts.wHour, Parts.wMinute, Parts.wSecond);
}

// A stamp at least this old (two seconds, in FILETIME's 100 ns) cannot be shared with a later change.
constexpr std::uint64_t SettledAge = 20000000;

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
  Entry.Time = LocalFileTime(Data.ftLastWriteTime);
  Entry.Stamp = FileTimeValue(Data.ftLastWriteTime);
  Entry.DetailsKnown = true;
}

// Whether the volume of Folder ("\\?\X:\..." or "\\?\UNC\...") gives a folder a new last-write
// time whenever an entry comes, goes or is renamed in it: NTFS and ReFS do; FAT and exFAT do not promise
// it, and a network share answers as its server does. Decided once per drive letter. (A volume mounted
// into a folder of another is judged by the drive it is mounted on.)
bool StampsFollowEntriesOn(const std::wstring& Folder) {
  if (Folder.rfind(L"\\\\?\\", 0) != 0 || Folder.size() < 6 || Folder[5] != L':') return false;
  const wchar_t Drive = static_cast<wchar_t>(towupper(Folder[4]));
  static std::mutex Guard;
  static std::map<wchar_t, bool> Known;
  const std::lock_guard<std::mutex> Lock(Guard);
  const auto Found = Known.find(Drive);
  if (Found != Known.end()) return Found->second;
  const wchar_t Root[] = {Drive, L':', L'\\', L'\0'};
  wchar_t Name[MAX_PATH + 1] = {};
  const bool Follows = GetDriveTypeW(Root) != DRIVE_REMOTE &&
                       GetVolumeInformationW(Root, nullptr, 0, nullptr, nullptr, nullptr, Name, MAX_PATH + 1) &&
                       (std::wcscmp(Name, L"NTFS") == 0 || std::wcscmp(Name, L"ReFS") == 0);
  Known.emplace(Drive, Follows);
  return Follows;
}

// Listings fetch many entries per call; a lookup of one name gains nothing from the larger buffer
// (under Wine both cost the same, about 0.2 ms, nearly all of it opening the handle).
HANDLE FindFirst(const std::wstring& Pattern, WIN32_FIND_DATAW& Data, bool Listing) {
  return FindFirstFileExW(Pattern.c_str(), FindExInfoBasic, &Data, FindExSearchNameMatch, nullptr,
                          Listing ? FIND_FIRST_EX_LARGE_FETCH : 0);
}

// A reader of the disk file at Path (in the "\\?\" form), or null.
std::unique_ptr<TFileReader> OpenFileReader(const std::wstring& Path);

// A listing keeps its folder in the "\\?\" form: subfolders are opened by appending their names as the
// listing spelled them, so no name is reinterpreted (a trailing dot or space) and no length is too long.
class TWin32FolderListing : public TFolderListing {
 public:
  TWin32FolderListing(HANDLE Find, const WIN32_FIND_DATAW& First, std::wstring Folder)
      : FFind(Find), FData(First), FFolder(std::move(Folder)) {}
  // A folder opened for its files and subfolders, without listing it.
  explicit TWin32FolderListing(std::wstring Folder)
      : FFind(INVALID_HANDLE_VALUE), FData{}, FFolder(std::move(Folder)) {}
  ~TWin32FolderListing() override { EndListing(); }

  // Open a listing of Folder (in the "\\?\" form); null when it cannot be listed.
  static std::unique_ptr<TFolderListing> Open(std::wstring Folder) {
    WIN32_FIND_DATAW Data;
    const HANDLE Find = FindFirst(Folder + L"\\*", Data, true);
    if (Find == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<TWin32FolderListing>(Find, Data, std::move(Folder));
  }

  bool Next(TFileEntry& Entry) override {
    FListed = true;
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

  // Opening a folder here is listing it (the first batch of entries comes with the handle): a folder
  // whose entries are known is kept as its path alone.
  std::unique_ptr<TFolderListing> OpenSubfolderUnlisted(const std::string& Name) override {
    return std::make_unique<TWin32FolderListing>(FFolder + L"\\" + Widen(Name));
  }

  // The "." entry, which comes first with the handle, carries the folder's own times as the listing
  // began (the root of a volume has none). A folder opened unlisted asks for its attributes.
  std::uint64_t SettledStamp() override {
    FILETIME Written;
    if (FFind == INVALID_HANDLE_VALUE && !FListed) {
      WIN32_FILE_ATTRIBUTE_DATA Data;
      if (!GetFileAttributesExW(FFolder.c_str(), GetFileExInfoStandard, &Data)) return 0;
      Written = Data.ftLastWriteTime;
    } else if (FFind != INVALID_HANDLE_VALUE && FPending && std::wcscmp(FData.cFileName, L".") == 0) {
      Written = FData.ftLastWriteTime;
    } else {
      return 0;
    }
    FILETIME Now;
    GetSystemTimeAsFileTime(&Now);
    const std::uint64_t Stamp = FileTimeValue(Written);
    return Stamp != 0 && Stamp + SettledAge <= FileTimeValue(Now) ? Stamp : 0;
  }

  bool StampsFollowEntries() override { return StampsFollowEntriesOn(FFolder); }

  // An entry that came without details (from the index): its attributes call, which needs no handle.
  // Whether it is a link was known with its name: the call cannot tell a link from other reparse points.
  bool ReadDetails(TFileEntry& Entry) override {
    if (Entry.DetailsKnown) return true;
    WIN32_FILE_ATTRIBUTE_DATA Data;
    if (!GetFileAttributesExW((FFolder + L"\\" + Widen(Entry.Name)).c_str(), GetFileExInfoStandard, &Data))
      return false;
    const std::uint32_t Link = Entry.Attributes & faReparsePoint;
    Entry.Attributes = (Data.dwFileAttributes & ~static_cast<std::uint32_t>(FILE_ATTRIBUTE_REPARSE_POINT)) | Link;
    Entry.Size = (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                     ? 0
                     : (static_cast<std::uint64_t>(Data.nFileSizeHigh) << 32) | Data.nFileSizeLow;
    Entry.Time = LocalFileTime(Data.ftLastWriteTime);
    Entry.Stamp = FileTimeValue(Data.ftLastWriteTime);
    Entry.DetailsKnown = true;
    return true;
  }

  // The attributes call needs no handle: under Wine a tenth of a listing's cost.
  bool ReadStamp(TFileEntry& Entry) override {
    WIN32_FILE_ATTRIBUTE_DATA Data;
    if (!GetFileAttributesExW((FFolder + L"\\" + Widen(Entry.Name)).c_str(), GetFileExInfoStandard, &Data))
      return false;
    Entry.Stamp = FileTimeValue(Data.ftLastWriteTime);
    return true;
  }

  std::unique_ptr<TFileReader> OpenFile(const std::string& Name) override {
    return OpenFileReader(FFolder + L"\\" + Widen(Name));
  }

 private:
  HANDLE FFind;
  WIN32_FIND_DATAW FData;
  std::wstring FFolder;
  bool FPending = true;  // the first entry came with the handle
  bool FListed = false;  // entries have been asked for
};

DWORD Attributes(const std::string& Path) {
  return Path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(LongPathW(Path).c_str());
}

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

// Opened for shared reading. A device or a pipe (a name such as "CON", a path such as \\.\pipe\x) may
// wait for ever: disk files only.
HANDLE OpenRegularFileW(const std::wstring& Path) {
  THandle File(CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (File.Valid() && GetFileType(File.Get()) != FILE_TYPE_DISK) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return INVALID_HANDLE_VALUE;
  }
  return File.Release();
}

HANDLE OpenRegularFile(const std::string& Path) { return OpenRegularFileW(LongPathW(Path)); }

class TWin32FileReader : public TFileReader {
 public:
  TWin32FileReader(HANDLE File, std::uint64_t Size) : FFile(File), FSize(Size) {}
  std::uint64_t Size() const override { return FSize; }
  std::ptrdiff_t Read(char* Buffer, std::size_t Count) override {
    DWORD Got = 0;
    const DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Count, 1u << 30));
    if (!::ReadFile(FFile.Get(), Buffer, Chunk, &Got, nullptr)) return -1;
    return static_cast<std::ptrdiff_t>(Got);
  }

 private:
  THandle FFile;
  std::uint64_t FSize;
};

std::unique_ptr<TFileReader> OpenFileReader(const std::wstring& Path) {
  THandle File(OpenRegularFileW(Path));
  LARGE_INTEGER Size;
  if (!File.Valid() || !GetFileSizeEx(File.Get(), &Size)) return nullptr;
  return std::make_unique<TWin32FileReader>(File.Release(), static_cast<std::uint64_t>(Size.QuadPart));
}

// Writes a temporary file beside the target (the file a link leads to) and moves it over the target
// at Commit.
class TWin32FileWriter : public TFileWriter {
 public:
  explicit TWin32FileWriter(const std::string& Path)
      : FTarget(ThroughLinks(LongPathW(Path))), FFile(INVALID_HANDLE_VALUE) {
    RemoveKilledSaves(FTarget);
    FFile.Reset(CreateTemporary(FTarget, FTemporary));
  }
  ~TWin32FileWriter() override {
    if (!FFile.Valid()) return;
    const DWORD Error = GetLastError();
    FFile.Close();
    DeleteFileW(FTemporary.c_str());
    SetLastError(Error);
  }
  bool Started() const { return FFile.Valid(); }
  bool Write(std::string_view Data) override {
    std::size_t Done = 0;
    while (FFile.Valid() && Done < Data.size()) {
      DWORD Put = 0;
      const DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Data.size() - Done, 1u << 30));
      if (!::WriteFile(FFile.Get(), Data.data() + Done, Chunk, &Put, nullptr) || Put == 0) return false;
      Done += Put;
    }
    return FFile.Valid();
  }
  bool Commit() override {
    if (!FFile.Valid()) return false;
    const bool Written = FlushFileBuffers(FFile.Get()) != 0;
    const bool Closed = FFile.Close();
    if (Written && Closed &&
        MoveFileExW(FTemporary.c_str(), FTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD Error = GetLastError();
    DeleteFileW(FTemporary.c_str());
    SetLastError(Error);
    return false;
  }

 private:
  std::wstring FTarget;
  std::wstring FTemporary;
  THandle FFile;
};

class TWin32FileSystem : public TFileSystem {
 public:
  char PathDelimiter() const override { return '\\'; }

  // Windows file systems compare names after upper-casing every letter with a table of simple,
  // locale-free mappings (é and É, ω and Ω are one letter to them): the case fold is that table.
  void PathKey(std::string& Path) const override {
    for (char& C : Path) {
      if (static_cast<unsigned char>(C) >= 0x80) {
        thread_local std::string Folded;  // swapped with Path: neither allocates once both are large enough
        FoldText(Path, Folded);
        Path.swap(Folded);
        return;
      }
      C = AsciiLower(C);
    }
  }

  std::unique_ptr<TFolderListing> OpenFolder(const std::string& Folder) override {
    return TWin32FolderListing::Open(ExtendedFolderW(Folder));
  }

  // Opening a folder here is listing it: a folder opened unlisted is its path alone.
  std::unique_ptr<TFolderListing> OpenFolderUnlisted(const std::string& Folder) override {
    return std::make_unique<TWin32FolderListing>(ExtendedFolderW(Folder));
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
    THandle File(OpenRegularFile(Path));
    if (!File.Valid()) return false;
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

  std::unique_ptr<TFileReader> OpenFile(const std::string& Path) override {
    return Path.empty() ? nullptr : OpenFileReader(LongPathW(Path));
  }

  bool WriteFileAtomically(const std::string& Path, const std::string& Data) override {
    return WriteWhole(CreateFileAtomically(Path), Data);
  }

  std::unique_ptr<TFileWriter> CreateFileAtomically(const std::string& Path) override {
    auto Writer = std::make_unique<TWin32FileWriter>(Path);
    return Writer->Started() ? std::move(Writer) : nullptr;
  }

  bool ReadFileInPieces(const std::string& Path, const std::function<void(std::string_view)>& OnPiece) override {
    THandle File(OpenRegularFile(Path));
    if (!File.Valid()) return false;
    std::string Piece(std::size_t(1) << 20, '\0');
    for (;;) {
      DWORD Got = 0;
      if (!::ReadFile(File.Get(), Piece.data(), static_cast<DWORD>(Piece.size()), &Got, nullptr)) return false;
      if (Got == 0) return true;
      OnPiece(std::string_view(Piece.data(), Got));
    }
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

  bool CreateFolder(const std::string& Path) override {
    if (Path.empty()) return false;
    return CreateDirectoryW(LongPathW(Path).c_str(), nullptr) != 0 ||
           (GetLastError() == ERROR_ALREADY_EXISTS && DirectoryExists(Path));
  }

  std::string LastErrorText() override { return SystemErrorText(GetLastError()); }
};

}  // namespace

TFileSystem& PlatformFileSystem() {
  static TWin32FileSystem FileSystem;
  return FileSystem;
}

std::string UserDataFolder() {
  PWSTR Folder = nullptr;
  std::string Result;
  // KF_FLAG_CREATE: a new profile may not have made its local application data folder yet.
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &Folder)) && Folder[0])
    Result = Narrow(Folder) + "\\";
  CoTaskMemFree(Folder);
  return Result;
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
