#pragma once
// The application: its main form, the message loop, the pending-message pump and the keyboard
// interface of dialog boxes. The error report and the screen are units of their own, offered here too.
#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/ErrorReport.h"
#include "toolkit/Forms.h"
#include "toolkit/Screen.h"

class TApplication : private TMainFormOwner {
 public:
  // Common controls, awareness of each monitor's density, OLE-free start; call once before making
  // windows.
  void Initialize();
  const std::string& Title() const { return FTitle; }
  // Also the caption of the error report's message box.
  void SetTitle(const std::string& Title);
  HINSTANCE Instance() const { return GetModuleHandleW(nullptr); }

  // Shows the main form and runs the message loop until it closes or Terminate is called.
  void Run(TForm& MainForm);
  TForm* MainForm() const { return FMainForm; }
  // Dispatches every message waiting in the queue, then returns.
  void ProcessMessages();
  // ProcessMessages when at least Budget milliseconds have passed since the last pump. Each queue
  // check is a round trip to the window server (costly under Wine); a loop that would pump after
  // every step of its work stays just as responsive this way.
  void ProcessMessagesOnBudget(unsigned Budget);
  // Handles one message (waiting for it when Wait); false once the loop should end.
  bool HandleMessage(bool Wait = true);
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // The general error report (ErrorReport()): the exception's message in a message box titled with
  // the application title; the program goes on. Tests replace OnException to record errors instead.
  void HandleException(const std::exception& Error) { ErrorReport().Show(Error); }
  std::function<void(const std::exception&)>& OnException = ErrorReport().OnException;

  // The keyboard interface of dialog boxes, for a message taken from the queue: Tab and Shift+Tab
  // move the focus, Alt with a letter runs the control that has it as accelerator, action shortcuts
  // run their action, Escape goes to the window (TForm::EscapeKey). True when the message was used up.
  bool IsDialogKey(MSG& Message);

 private:
  bool ProcessMessage(MSG& Message);
  bool TabKey(MSG& Message);
  bool EscapeKey(MSG& Message);
  bool AcceleratorKey(MSG& Message);
  bool ShortCutKey(MSG& Message);
  void SetMainForm(TForm* Form);
  void MainFormClosed(TForm& Form) override;
  void MainFormDestroyed(TForm& Form) override;

  std::string FTitle;
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  DWORD FLastPump = 0;
};

TApplication& Application();
