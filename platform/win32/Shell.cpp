// The Windows shell: requests through ShellExecuteW, the recycle bin through SHFileOperationW,
// Unicode text on the clipboard.
#include "platform/win32/Shell.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "platform/win32/ShellMenu.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace {

// Some shell extensions that handle a request need COM on the calling thread; a thread that has it
// already (in whatever mode) keeps it as it is.
class TComScope {
 public:
  TComScope() : FInitialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~TComScope() {
    if (FInitialised) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

 private:
  bool FInitialised;
};

class TClipboardScope {
 public:
  explicit TClipboardScope(HWND Owner) {
    // Another program may hold the clipboard for a moment.
    for (int Attempt = 0; Attempt < 20 && !FOpen; ++Attempt) {
      FOpen = OpenClipboard(Owner) != 0;
      if (!FOpen) Sleep(10);
    }
  }
  ~TClipboardScope() {
    if (FOpen) CloseClipboard();
  }
  TClipboardScope(const TClipboardScope&) = delete;
  TClipboardScope& operator=(const TClipboardScope&) = delete;
  bool IsOpen() const { return FOpen; }

 private:
  bool FOpen = false;
};

// The short (8.3) form of a path in the classic form; empty when the volume has none.
std::wstring ShortPathW(const std::string& Path) {
  const std::wstring Long = LongPathW(Path);
  std::wstring Short(Long.size() + 1, L'\0');
  const DWORD Length = GetShortPathNameW(Long.c_str(), Short.data(), static_cast<DWORD>(Short.size()));
  if (Length == 0 || Length >= Short.size()) return L"";
  Short.resize(Length);
  if (Short.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + Short.substr(7);
  if (Short.rfind(L"\\\\?\\", 0) == 0) return Short.substr(4);
  return Short;
}

// The shell's execute and file operations take no "\\?\" paths: a longer path goes with its folder
// in the short (8.3) form when that fits, so the name itself (what the recycle bin keeps, the extension
// the shell looks at) stays as it is; failing that wholly short; failing that as it is, and the shell
// fails quietly.
std::wstring ShellPathW(const std::string& Path) {
  const std::wstring Wide = Widen(Path);
  const auto Slash = Path.find_last_of('\\');
  if (Wide.size() < MAX_PATH || Slash == std::string::npos) return Wide;
  const std::wstring Folder = ShortPathW(Path.substr(0, Slash));
  const std::wstring Shortened = Folder + Widen(Path.substr(Slash));
  if (!Folder.empty() && Shortened.size() < MAX_PATH) return Shortened;
  const std::wstring Short = ShortPathW(Path);
  return !Short.empty() && Short.size() < MAX_PATH ? Short : Wide;
}

// The shell's file operation answers with codes of its own older than the system's (0x71 to 0x88, and
// 0x402), which the system's message table would misread.
std::string FileOperationErrorText(int Error) {
  switch (Error) {
    case 0x78: return SystemErrorText(ERROR_ACCESS_DENIED);
    case 0x79:
    case 0x81: return SystemErrorText(ERROR_FILENAME_EXCED_RANGE);
    case 0x7C: return SystemErrorText(ERROR_INVALID_NAME);
    default: break;
  }
  if ((Error >= 0x71 && Error <= 0x88) || Error == 0x402) {
    char Code[16];
    std::snprintf(Code, sizeof Code, "0x%X", static_cast<unsigned>(Error));
    return std::string("The shell could not move it to the recycle bin (error ") + Code + ").";
  }
  return SystemErrorText(static_cast<unsigned long>(Error));
}

}  // namespace

TWin32Shell::~TWin32Shell() {
  if (FClipboardOwner) DestroyWindow(FClipboardOwner);
}

void TWin32Shell::Execute(const TShellRequest& Request) {
  const TComScope Com;
  const std::wstring Verb = Widen(Request.Verb.value_or(""));
  const std::wstring File = ShellPathW(Request.File);
  const std::wstring Parameters = Widen(Request.Parameters);
  const std::wstring Directory = Widen(Request.Directory.value_or(""));
  ShellExecuteW(static_cast<HWND>(Request.Owner), Request.Verb ? Verb.c_str() : nullptr, File.c_str(),
                Parameters.c_str(), Request.Directory ? Directory.c_str() : nullptr, Request.ShowMode);
}

TShellResult TWin32Shell::Recycle(const std::string& Path, std::string& Reason) {
  // The operation's own code for "the user cancelled", older than the system's error codes.
  constexpr int CancelledByUser = 0x75;
  try {
    // The source is a list of names, each ended by a zero, the list by a second zero: the string's
    // own terminator follows the one added here.
    std::wstring Source = ShellPathW(Path);
    Source.push_back(L'\0');
    SHFILEOPSTRUCTW Operation{};
    Operation.wFunc = FO_DELETE;
    Operation.pFrom = Source.c_str();
    Operation.fFlags = FOF_ALLOWUNDO | FOF_SILENT;
    const int Error = SHFileOperationW(&Operation);
    if (Operation.fAnyOperationsAborted || Error == CancelledByUser || Error == ERROR_CANCELLED) return srDeclined;
    if (Error == 0) return srDone;
    Reason = FileOperationErrorText(Error);
  } catch (const std::exception& Failure) {
    Reason = Failure.what();
  }
  return srFailed;
}

bool TWin32Shell::SetClipboardText(const std::string& Text) {
  const std::wstring Wide = Widen(Text);
  const TClipboardScope Clipboard(ClipboardOwner());
  if (!Clipboard.IsOpen() || !EmptyClipboard()) return false;
  const SIZE_T Bytes = (Wide.size() + 1) * sizeof(wchar_t);
  const HGLOBAL Memory = GlobalAlloc(GMEM_MOVEABLE, Bytes);
  if (!Memory) return false;
  if (void* Target = GlobalLock(Memory)) {
    std::memcpy(Target, Wide.c_str(), Bytes);
    GlobalUnlock(Memory);
    // From here on the clipboard owns the memory.
    if (SetClipboardData(CF_UNICODETEXT, Memory)) return true;
  }
  GlobalFree(Memory);
  return false;
}

bool TWin32Shell::OpenWith(const std::string& Path, void* Owner) {
  const TComScope Com;
  const std::wstring File = ShellPathW(Path);
  OPENASINFO Info{};
  Info.pcszFile = File.c_str();
  Info.oaifInFlags = OAIF_ALLOW_REGISTRATION | OAIF_REGISTER_EXT | OAIF_EXEC;
  const HRESULT Result = SHOpenWithDialog(static_cast<HWND>(Owner), &Info);
  if (SUCCEEDED(Result) || Result == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return true;
  // A shell without the dialog may still have the verb that shows its own.
  SHELLEXECUTEINFOW Execute{};
  Execute.cbSize = sizeof Execute;
  Execute.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
  Execute.hwnd = static_cast<HWND>(Owner);
  Execute.lpVerb = L"openas";
  Execute.lpFile = File.c_str();
  Execute.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&Execute) != FALSE;
}

void TWin32Shell::ShowProperties(const std::vector<std::string>& Paths, void* Owner) {
  TShellMenu Menu(Paths, false);
  Menu.InvokeVerb(static_cast<HWND>(Owner), "properties");
}

HWND TWin32Shell::ClipboardOwner() {
  if (!FClipboardOwner)
    FClipboardOwner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  return FClipboardOwner;
}

TShell& PlatformShell() {
  static TWin32Shell Shell;
  return Shell;
}
