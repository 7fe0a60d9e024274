#pragma once
// Plays the user in front of a modal dialog: from another thread, waits for a dialog box shown by the
// thread that made this object, notes its texts and presses one of its buttons (a real click, so the
// dialog closes as it would for the user).
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/win32/WideText.h"

class TDialogAnswerer {
 public:
  // Button: IDYES, IDOK, IDCANCEL, ... Fill, when given, runs on the dialog first (to type a name).
  // Dialogs are answered until the object goes away.
  explicit TDialogAnswerer(int Button, std::function<void(HWND Dialog)> Fill = nullptr)
      : FButton(Button), FFill(std::move(Fill)), FThreadId(GetCurrentThreadId()), FThread([this] { Run(); }) {}
  ~TDialogAnswerer() {
    FStop = true;
    FThread.join();
  }
  TDialogAnswerer(const TDialogAnswerer&) = delete;
  TDialogAnswerer& operator=(const TDialogAnswerer&) = delete;

  int Answered() const { return FAnswered; }
  // The texts of the last dialog answered, one line per control with text.
  std::string Texts() const {
    std::lock_guard<std::mutex> Lock(FMutex);
    return FTexts;
  }

 private:
  static BOOL CALLBACK FindDialog(HWND Window, LPARAM Found) {
    wchar_t Class[16] = L"";
    GetClassNameW(Window, Class, 16);
    if (std::wstring(Class) != L"#32770" || !IsWindowVisible(Window)) return TRUE;
    *reinterpret_cast<HWND*>(Found) = Window;
    return FALSE;
  }
  static BOOL CALLBACK ReadText(HWND Child, LPARAM Texts) {
    wchar_t Text[1024] = L"";
    if (GetWindowTextW(Child, Text, 1024) > 0) *reinterpret_cast<std::string*>(Texts) += Narrow(Text) + "\n";
    return TRUE;
  }
  void Run() {
    HWND Answered = nullptr;
    while (!FStop) {
      HWND Dialog = nullptr;
      EnumThreadWindows(FThreadId, &FindDialog, reinterpret_cast<LPARAM>(&Dialog));
      HWND Button = Dialog ? GetDlgItem(Dialog, FButton) : nullptr;
      if (Dialog && Dialog != Answered && Button && IsWindowEnabled(Button)) {
        std::string Texts;
        EnumChildWindows(Dialog, &ReadText, reinterpret_cast<LPARAM>(&Texts));
        {
          std::lock_guard<std::mutex> Lock(FMutex);
          FTexts = Texts;
        }
        Answered = Dialog;
        if (FFill) FFill(Dialog);
        ++FAnswered;
        PostMessageW(Dialog, WM_COMMAND, MAKEWPARAM(FButton, BN_CLICKED), reinterpret_cast<LPARAM>(Button));
      }
      Sleep(20);
    }
  }

  int FButton;
  std::function<void(HWND)> FFill;
  DWORD FThreadId;
  std::atomic<bool> FStop{false};
  std::atomic<int> FAnswered{0};
  mutable std::mutex FMutex;
  std::string FTexts;
  std::thread FThread;
};
