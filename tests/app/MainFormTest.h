#pragma once
// A main window over a temporary settings folder, with the general error report and the message box
// recorded instead of shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "app/MainForm.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Timer.h"

// A folder of the disk whose subfolders each take a while to open.
class TSlowListing : public TFolderListing {
 public:
  explicit TSlowListing(std::unique_ptr<TFolderListing> Listing) : FListing(std::move(Listing)) {}
  bool Next(TFileEntry& Entry) override { return FListing->Next(Entry); }
  bool ReadDetails(TFileEntry& Entry) override { return FListing->ReadDetails(Entry); }
  void EndListing() override { FListing->EndListing(); }
  std::unique_ptr<TFileReader> OpenFile(const std::string& Name) override { return FListing->OpenFile(Name); }
  std::unique_ptr<TFolderListing> OpenSubfolder(const std::string& Name) override {
    Sleep(30);
    return Slow(FListing->OpenSubfolder(Name));
  }
  static std::unique_ptr<TFolderListing> Slow(std::unique_ptr<TFolderListing> Listing) {
    return Listing ? std::make_unique<TSlowListing>(std::move(Listing)) : nullptr;
  }

 private:
  std::unique_ptr<TFolderListing> FListing;
};

// The disk, with every folder listing taking a while: a search over it lasts long enough for the
// window to handle messages in between, however fast the machine.
class TSlowFolders : public TFileSystem {
 public:
  char PathDelimiter() const override { return FDisk.PathDelimiter(); }
  void PathKey(std::string& Path) const override { FDisk.PathKey(Path); }
  std::string FullPath(const std::string& Path) override { return FDisk.FullPath(Path); }
  std::unique_ptr<TFolderListing> OpenFolder(const std::string& Folder) override {
    Sleep(30);
    return TSlowListing::Slow(FDisk.OpenFolder(Folder));
  }
  bool FindEntry(const std::string& Path, TFileEntry& Entry) override { return FDisk.FindEntry(Path, Entry); }
  bool ReadFile(const std::string& Path, std::size_t MaxBytes, std::string& Data, std::uint64_t* FileSize) override {
    return FDisk.ReadFile(Path, MaxBytes, Data, FileSize);
  }
  bool WriteFileAtomically(const std::string& Path, const std::string& Data) override {
    return FDisk.WriteFileAtomically(Path, Data);
  }
  bool FileExists(const std::string& Path) override { return FDisk.FileExists(Path); }
  bool DirectoryExists(const std::string& Path) override { return FDisk.DirectoryExists(Path); }
  bool RemoveFile(const std::string& Path) override { return FDisk.RemoveFile(Path); }
  std::string LastErrorText() override { return FDisk.LastErrorText(); }

 private:
  TFileSystem& FDisk = PlatformFileSystem();
};

// Runs Action once, from inside the window's message handling, as soon as Ready answers true.
class TWhenReady {
 public:
  TWhenReady(std::function<bool()> Ready, std::function<void()> Action) : FReady(Ready), FAction(Action) {
    FTimer.SetInterval(1);
    FTimer.OnTimer = [this](TObject*) {
      if (!FReady()) return;
      FTimer.SetEnabled(false);
      FAction();
    };
  }

 private:
  std::function<bool()> FReady;
  std::function<void()> FAction;
  TTimer FTimer;
};

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().Initialize();
    Application().OnException = [this](const std::exception& Error) { Errors.push_back(Error.what()); };
  }
  void TearDown() override {
    Form.reset();
    Application().OnException = nullptr;
  }
  // The window as started with these arguments (its settings in Settings).
  TForm1& Start(std::vector<std::string> Arguments = {}) {
    TMainFormSetup Setup;
    Setup.SettingsFolder = Settings.Path() + "\\";
    Setup.Arguments = std::move(Arguments);
    if (Clock) Setup.Clock = Clock;
    if (Shell) Setup.Shell = Shell;
    if (FileSystem) Setup.FileSystem = FileSystem;
    Form = std::make_unique<TForm1>(Setup);
    Form->OnShowMessage = [this](const std::string& Text) { Messages.push_back(Text); };
    Form->SetLeft(-2000);  // off the screen: showing a window there costs Wine less
    Form->HandleNeeded();
    return *Form;
  }
  // Lets the window work until Done answers true (or a few seconds have passed).
  bool PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds = 10000) {
    const DWORD Start = GetTickCount();
    while (!Done()) {
      if (GetTickCount() - Start > Milliseconds) return false;
      Application().ProcessMessages();
      Sleep(5);
    }
    return true;
  }
  std::vector<std::string> Names() {
    std::vector<std::string> Result;
    for (int Row = 0; Row < Form->flist.Model().RowCount(); ++Row)
      Result.push_back(Utf16ToUtf8(Form->flist.Model().GetCellText(1, Row)));
    std::sort(Result.begin(), Result.end());
    return Result;
  }

  TTempFolder Settings, Tree;
  TClock* Clock = nullptr;
  TShell* Shell = nullptr;
  TFileSystem* FileSystem = nullptr;
  TSlowFolders SlowDisk;
  std::unique_ptr<TForm1> Form;
  std::vector<std::string> Errors, Messages;
};
