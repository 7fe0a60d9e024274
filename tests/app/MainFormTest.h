#pragma once
// A main window over a temporary settings folder, with the general error report and the message box
// recorded instead of shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "app/MainForm.h"
#include "core/Text.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Timer.h"

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
    for (int Row = 0; Row < Form->flist.RowCount(); ++Row)
      Result.push_back(Utf16ToUtf8(Form->flist.GetCellText(1, Row)));
    std::sort(Result.begin(), Result.end());
    return Result;
  }

  TTempFolder Settings, Tree;
  TClock* Clock = nullptr;
  std::unique_ptr<TForm1> Form;
  std::vector<std::string> Errors, Messages;
};
