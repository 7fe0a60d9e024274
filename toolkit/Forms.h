#pragma once
// A top-level window: caption, placement, size limits and the close protocol.
#include "toolkit/Controls.h"

enum TPosition { poDesigned, poScreenCenter, poDesktopCenter };
enum TWindowState { wsNormal, wsMaximized };
enum TCloseAction { caNone, caHide, caFree };

class TForm;

// Whoever runs a form as the program's main window (the application): closing that form ends the
// program, and a form that goes tells its owner, which then forgets it.
class TMainFormOwner {
 public:
  virtual void MainFormClosed(TForm& Form) = 0;
  virtual void MainFormDestroyed(TForm& Form) = 0;

 protected:
  ~TMainFormOwner() = default;
};

class TForm : public TWinControl {
 public:
  TForm();
  ~TForm() override;

  TPosition Position = poDesigned;
  // How Show shows the window the first time.
  TWindowState WindowState = wsNormal;
  // Smallest size the user can drag the window to, at 96 pixels per inch (scaled with the window);
  // 0 means no limit.
  int MinWidth = 0, MinHeight = 0;

  // Shows the window, placing it first as Position asks.
  void Show();
  // Asks the window to close, as its close button does.
  void Close();

  // Escape pressed in the window where no control wants it (no drop-down or editor is open): true when
  // the window took it (a running task cancelled); otherwise the key goes on to the focused control.
  virtual bool EscapeKey() { return false; }

  std::function<void(TObject* Sender, bool& CanClose)> OnCloseQuery;
  std::function<void(TObject* Sender, TCloseAction& Action)> OnClose;
  TNotifyEvent OnShow;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // The window takes the density of its monitor as soon as it exists: the controls are scaled to it
  // and the window keeps its place and takes the scaled size.
  void CreateWnd() override;
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  virtual bool CloseQuery();
  void PlaceWindow();

 private:
  friend class TApplication;
  // The window moved to a monitor of another density (or the density changed): everything is scaled
  // to it and the window takes the place the system suggests.
  LRESULT WMDpiChanged(WPARAM WParam, LPARAM LParam);
  TMainFormOwner* FMainFormOwner = nullptr;  // set while this is the main form
};
