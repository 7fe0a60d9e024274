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

bool TScreen::RegisterCursor(TCursor Number, const std::string& ResourceName) {
  HCURSOR Cursor = LoadCursorW(GetModuleHandleW(nullptr), Widen(ResourceName).c_str());
  if (!Cursor) return false;
  FCursors[Number] = Cursor;
  return true;
}

RECT TScreen::WorkArea() const {
  RECT Area = {0, 0, Width(), Height()};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &Area, 0);
  return Area;
}
