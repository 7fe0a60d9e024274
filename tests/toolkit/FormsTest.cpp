#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "platform/win32/WideText.h"
#include "toolkit/Application.h"

TEST(FormsTest, MainWindowIsCentredWithItsCaptionSizeAndLimits) {
  Application().Initialize();
  TForm1 Form;
  Form.Show();
  wchar_t Caption[64] = L"";
  GetWindowTextW(Form.Handle(), Caption, 64);
  EXPECT_EQ(Narrow(Caption), "Torvane Search");
  RECT Window;
  GetWindowRect(Form.Handle(), &Window);
  EXPECT_EQ(Window.right - Window.left, 690);
  EXPECT_EQ(Window.bottom - Window.top, 543);
  const RECT Area = Screen().WorkArea();
  EXPECT_NEAR((Window.left + Window.right) / 2, (Area.left + Area.right) / 2, 1);
  EXPECT_NEAR((Window.top + Window.bottom) / 2, (Area.top + Area.bottom) / 2, 1);
  MINMAXINFO Limits = {};
  SendMessageW(Form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Limits));
  EXPECT_EQ(Limits.ptMinTrackSize.x, 680);
  EXPECT_EQ(Form.Font().Name(), "Tahoma");
  EXPECT_EQ(Form.Font().Size(), 8);
}

TEST(FormsTest, CloseQueryCanRefuse) {
  TForm Form;
  Form.SetBounds(0, 0, 200, 100);
  Form.Show();
  bool Allow = false;
  int Closes = 0;
  Form.OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = Allow; };
  Form.OnClose = [&](TObject*, TCloseAction&) { ++Closes; };
  SendMessageW(Form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Closes, 0);
  EXPECT_TRUE(IsWindowVisible(Form.Handle()));
  Allow = true;
  SendMessageW(Form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Closes, 1);
  EXPECT_FALSE(IsWindowVisible(Form.Handle()));  // not the main form: hidden
}
