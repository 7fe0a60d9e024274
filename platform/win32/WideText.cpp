#include "platform/win32/WideText.h"

#include <windows.h>

#include "core/Text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 code units");

std::wstring FromU16(std::u16string_view Text) { return std::wstring(Text.begin(), Text.end()); }

std::u16string ToU16(std::wstring_view Wide) { return std::u16string(Wide.begin(), Wide.end()); }

std::wstring Widen(std::string_view Utf8) { return FromU16(Utf8ToUtf16(Utf8)); }

std::string Narrow(std::wstring_view Wide) {
  std::string Result;
  NarrowInto(Wide, Result);
  return Result;
}

void NarrowInto(std::wstring_view Wide, std::string& Utf8) {
  Utf8.clear();
  // Plain ASCII names are the common case; convert them without a round trip through the general path.
  bool Ascii = true;
  for (wchar_t C : Wide)
    if (C >= 0x80) {
      Ascii = false;
      break;
    }
  if (Ascii) {
    Utf8.reserve(Wide.size());
    for (wchar_t C : Wide) Utf8 += static_cast<char>(C);
    return;
  }
  Utf8 = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(Wide.data()), Wide.size()));
}

namespace {

bool IsExtended(const std::wstring& Path) { return Path.rfind(L"\\\\?\\", 0) == 0; }

std::wstring FullPathW(const std::wstring& Path) {
  DWORD Needed = GetFullPathNameW(Path.c_str(), 0, nullptr, nullptr);
  if (Needed == 0) return Path;
  std::wstring Full(Needed, L'\0');
  Needed = GetFullPathNameW(Path.c_str(), Needed, Full.data(), nullptr);
  Full.resize(Needed);
  return Full;
}

std::wstring Extended(const std::wstring& Full) {
  if (Full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + Full.substr(2);
  return L"\\\\?\\" + Full;
}

std::wstring WithBackslashes(std::string_view Utf8Path) {
  std::wstring Path = Widen(Utf8Path);
  for (wchar_t& C : Path)
    if (C == L'/') C = L'\\';
  return Path;
}

}  // namespace

std::wstring LongPathW(std::string_view Utf8Path) {
  const std::wstring Path = WithBackslashes(Utf8Path);
  // Folders need room for an 8.3 name below them, hence the margin under MAX_PATH.
  if (Path.size() < MAX_PATH - 12 || IsExtended(Path)) return Path;
  return Extended(FullPathW(Path));
}

std::wstring ExtendedFolderW(std::string_view Utf8Folder) {
  std::wstring Folder = WithBackslashes(Utf8Folder);
  if (!IsExtended(Folder)) Folder = Extended(FullPathW(Folder + L"\\"));  // 'C:\' is the root, 'C:' is not
  while (Folder.size() > 4 && Folder.back() == L'\\') Folder.pop_back();
  return Folder;
}
