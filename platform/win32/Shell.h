#pragma once
// The Windows shell behind the program's shell interface: ShellExecuteW, SHFileOperationW, the
// clipboard, the "Open with" dialog and the shell menu's properties, all with UTF-16 text, so names
// outside the ANSI code page work.
#include "core/Shell.h"

struct HWND__;

class TWin32Shell : public TShell {
 public:
  TWin32Shell() = default;
  ~TWin32Shell() override;
  TWin32Shell(const TWin32Shell&) = delete;
  TWin32Shell& operator=(const TWin32Shell&) = delete;

  // A path too long for the shell (the file of a request, a file to recycle) is handed over in its
  // short (8.3) form when the volume has one; parameters go as they are.
  void Execute(const TShellRequest& Request) override;
  TShellResult Recycle(const std::string& Path, std::string& Reason) override;
  bool SetClipboardText(const std::string& Text) override;
  // The system's "Open with" dialog, which opens the file with the program chosen.
  bool OpenWith(const std::string& Path, void* Owner) override;
  // The "properties" command of the items' shell menu.
  void ShowProperties(const std::vector<std::string>& Paths, void* Owner) override;

 private:
  // The clipboard's owner: setting data needs a window, and the program's windows may be gone.
  HWND__* ClipboardOwner();
  HWND__* FClipboardOwner = nullptr;
};

// The shell shared by the whole program (its clipboard window belongs to the first thread that copies).
TShell& PlatformShell();
