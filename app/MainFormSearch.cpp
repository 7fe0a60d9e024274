// The main window as the search run's host: the search button, the status bar, the grid, the pump.
#include "app/MainForm.h"
#include "core/Text.h"
#include "platform/win32/WideText.h"
#include "search/SearchRun.h"
#include "toolkit/Application.h"

void TForm1::Button1Click(TObject*) { TSearchRun::Button1Click(*this, FCache); }

void TForm1::ShowMessage(const std::string& Text) {
  if (OnShowMessage) {
    OnShowMessage(Text);
    return;
  }
  MessageBoxW(HandleAllocated() ? Handle() : nullptr, Widen(Text).c_str(), Widen(Application().Title()).c_str(), MB_OK);
}

void TForm1::SetStatus(const std::string& Text, int Panel) {
  StatusBar1.SetPanelText(Panel, Text);
  Application().ProcessMessages();
}

void TForm1::SetBusyCursor(bool Busy) { Screen().SetCursor(Busy ? crHourGlass : crDefault); }

void TForm1::ProcessMessages() { Application().ProcessMessagesOnBudget(PumpBudget); }
