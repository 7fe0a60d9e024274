#include <windows.h>
#include <gtest/gtest.h>

#include "platform/win32/Shell.h"
#include "platform/win32/WideText.h"

TEST(Win32ShellTest, ClipboardTakesTextOutsideTheAnsiCodePage) {
  const std::string Text =
      "C:\\Donn\xC3\xA9"
      "es\\\xE6\x97\xA5\xE6\x9C\xAC.txt\r\nD:\\\xD0\x96.txt";
  ASSERT_TRUE(PlatformShell().SetClipboardText(Text));
  ASSERT_TRUE(OpenClipboard(nullptr));
  std::string Read;
  if (const HANDLE Data = GetClipboardData(CF_UNICODETEXT)) {
    Read = Narrow(static_cast<const wchar_t*>(GlobalLock(Data)));
    GlobalUnlock(Data);
  }
  CloseClipboard();
  EXPECT_EQ(Read, Text);
}
