// The file system through the W functions of Win32, with paths of any length.
#include <windows.h>

#include "core/FileSystem.h"
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

class TWin32FileSystem : public TFileSystem {
 public:
  char PathDelimiter() const override { return '\\'; }

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

  bool ReadFile(const std::string& Path, std::size_t MaxBytes, std::string& Data) override {
    Data.clear();
    THandle File(CreateFileW(LongPathW(Path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!File.Valid()) return false;
    LARGE_INTEGER Size;
    if (!GetFileSizeEx(File.Get(), &Size)) return false;
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
    const std::wstring Target = LongPathW(Path);
    const std::wstring Temporary = Target + L".tmp" + std::to_wstring(GetCurrentProcessId());
    bool Ok = false;
    {
      THandle File(
          CreateFileW(Temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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
