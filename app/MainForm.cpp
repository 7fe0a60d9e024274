#include "app/MainForm.h"

#include "toolkit/Application.h"

namespace {
const char* const MainCaption = "Torvane Search";
}

TForm1::TForm1() {
  Name = "Form1";
  SetCaption(MainCaption);
  Position = poScreenCenter;
  MinWidth = 680;
  SetBounds(0, 0, 690, 543);
  Font().SetName("Tahoma");
  Font().SetSize(8);
}

void TForm1::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ClassName = L"TForm1";
}
