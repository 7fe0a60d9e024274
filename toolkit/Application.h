#pragma once
// The application: message loop, pending-message pump, the general error report, and the screen's
// cursor state.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/Exceptions.h"
#include "toolkit/Controls.h"

class TForm;
class TActionList;

class TApplication {
 public:
  // Common controls, OLE-free start; call once before making windows.
  void Initialize();
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Title) { FTitle = Title; }
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

  // The general error report: the exception's message in a message box titled with the application
  // title; the program goes on. Tests replace OnException to record errors instead.
  void HandleException(const std::exception& Error);
  std::function<void(const std::exception&)> OnException;

  // Action lists whose shortcuts the message loop looks for (TActionList registers itself).
  void AddActionList(TActionList* List);
  void RemoveActionList(TActionList* List);

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

  std::string FTitle;
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  DWORD FLastPump = 0;
  std::vector<TActionList*> FActionLists;
};

TApplication& Application();

// The screen-wide cursor (crHourGlass while working) and the cursors the program registered.
class TScreen {
 public:
  TCursor Cursor() const { return FCursor; }
  // Takes effect at once, over every control's own cursor, until set back to crDefault.
  void SetCursor(TCursor Cursor);
  HCURSOR CursorHandle(TCursor Cursor);
  // Registers a cursor resource of the executable under a positive number; false when it is missing.
  bool RegisterCursor(TCursor Number, const std::string& ResourceName);
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  RECT WorkArea() const;

 private:
  TCursor FCursor = crDefault;
  std::map<TCursor, HCURSOR> FCursors;
};

TScreen& Screen();
