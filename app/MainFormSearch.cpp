// The main window's controls as a search sees them: the criteria, the run state in the search button,
// the status bar, the progress bar, the pump. The search's rules are TWindowSearch's.
#include "app/MainForm.h"
#include "platform/win32/WideText.h"
#include "toolkit/Application.h"

void TForm1::Button1Click(TObject*) { FSearch.StartOrCancel(Results()); }

TSearchCriteria TForm1::Criteria() {
  TSearchCriteria Result;
  Result.Folder = path.Text();
  Result.NameText = SearchNameText(search.Text());
  Result.ContentText = contains.Text();
  if (sc_size.Checked()) ApplySizeField(Result, edit1.Text(), sztp.ItemIndex() == 0);
  if (sc_modified.Checked()) Result.Modified = TDayRange{stdate.Date(), nddate.Date()};
  return Result;
}

void TForm1::ShowNameText(const std::string& Text) {
  if (search.Text() != Text) search.SetText(Text);
}

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

TRunState TForm1::RunState() {
  if (Button1.Tag < 1) return rsIdle;
  return Button1.Enabled() ? rsRunning : rsCancelling;
}

void TForm1::SetRunState(TRunState State) {
  switch (State) {
    case rsIdle:
      Button1.SetCaption(SearchCaption);
      Button1.Tag = 0;
      Button1.SetEnabled(true);
      break;
    case rsRunning:
      Button1.SetCaption(CancelCaption);
      Button1.Tag = 1;
      break;
    case rsCancelling: Button1.SetEnabled(false); break;
  }
}

void TForm1::ChangeProgress(TProgressChange Change, int Position) {
  switch (Change) {
    case pcShow: prg.SetVisible(true); break;
    case pcMoveTo: prg.SetPosition(Position); break;
    case pcStep: prg.StepIt(); break;
  }
}

void TForm1::RunEnded(bool Completed) {
  FResults.SortAsChosen();
  if (Completed) UpdateHistories(search.Text(), path.Text());
  Screen().SetCursor(crDefault);
  prg.SetVisible(false);
  if (Completed) flist.Invalidate();
}

void TForm1::ProcessMessages() { Application().ProcessMessagesOnBudget(PumpBudget); }
