#include "platform/win32/SystemError.h"

#include <windows.h>

#include "platform/win32/WideText.h"

std::string SystemErrorText(unsigned long Error) {
  wchar_t* Buffer = nullptr;
  const DWORD Length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, Error, 0, reinterpret_cast<wchar_t*>(&Buffer), 0, nullptr);
  std::string Text = Length ? Narrow(std::wstring_view(Buffer, Length)) : "System error " + std::to_string(Error);
  if (Buffer) LocalFree(Buffer);
  while (!Text.empty() && (Text.back() == '\n' || Text.back() == '\r' || Text.back() == ' ')) Text.pop_back();
  return Text;
}
