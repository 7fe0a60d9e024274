#include "toolkit/Screen.h"

#include "platform/win32/WideText.h"

TScreen& Screen() {
  static TScreen Instance;
  return Instance;
}

void TScreen::SetCursor(TCursor Cursor) {
  FCursor = Cursor;
  ::SetCursor(CursorHandle(Cursor == crDefault ? crArrow : Cursor));
}

HCURSOR TScreen::CursorHandle(TCursor Cursor) {
  if (Cursor > 0) {
    const auto Found = FCursors.find(Cursor);
    return Found != FCursors.end() ? Found->second : LoadCursorW(nullptr, IDC_ARROW);
  }
  LPCWSTR Shape = IDC_ARROW;
  switch (Cursor) {
    case crNone: return nullptr;
    case crCross: Shape = IDC_CROSS; break;
    case crIBeam: Shape = IDC_IBEAM; break;
    case crSizeNESW: Shape = IDC_SIZENESW; break;
    case crSizeNS: Shape = IDC_SIZENS; break;
    case crSizeNWSE: Shape = IDC_SIZENWSE; break;
    case crSizeWE: Shape = IDC_SIZEWE; break;
    case crUpArrow: Shape = IDC_UPARROW; break;
    case crHourGlass: Shape = IDC_WAIT; break;
    case crNo: Shape = IDC_NO; break;
    case crAppStart: Shape = IDC_APPSTARTING; break;
    case crHelp: Shape = IDC_HELP; break;
    case crHandPoint: Shape = IDC_HAND; break;
    case crSizeAll: Shape = IDC_SIZEALL; break;
    default: break;
  }
  return LoadCursorW(nullptr, Shape);
}

HCURSOR TScreen::LoadCursorAt(const std::string& ResourceName, int PPI) {
  HCURSOR& Cursor = FLoaded[{ResourceName, PPI}];
  if (Cursor) return Cursor;
  const std::wstring Name = Widen(ResourceName);
  if (PPI == 96) {
    Cursor = LoadCursorW(GetModuleHandleW(nullptr), Name.c_str());
  } else {
    // The resource's image nearest the size is taken (the cursor files carry 32, 48 and 64 pixels,
    // each with its own hot spot), stretched by the system when none matches.
    const int Size = MulDiv(32, PPI, 96);
    Cursor = static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr), Name.c_str(), IMAGE_CURSOR, Size, Size, 0));
  }
  return Cursor;
}

bool TScreen::RegisterCursor(TCursor Number, const std::string& ResourceName) {
  HCURSOR Cursor = LoadCursorAt(ResourceName, FPixelsPerInch);
  if (!Cursor) return false;
  FCursors[Number] = Cursor;
  FCursorNames[Number] = ResourceName;
  return true;
}

void TScreen::SetPixelsPerInch(int PPI) {
  if (PPI <= 0 || PPI == FPixelsPerInch) return;
  FPixelsPerInch = PPI;
  for (const auto& [Number, Name] : FCursorNames)
    if (HCURSOR Cursor = LoadCursorAt(Name, PPI)) FCursors[Number] = Cursor;
}

RECT TScreen::WorkArea() const {
  RECT Area = {0, 0, Width(), Height()};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &Area, 0);
  return Area;
}
