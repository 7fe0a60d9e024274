#include "gridview/win32/Themes.h"

#include "core/Exceptions.h"

TThemeServices& TThemeServices::Instance() {
  static TThemeServices Services;
  return Services;
}

TThemeServices& ThemeServices() { return TThemeServices::Instance(); }

TThemeServices::~TThemeServices() {
  Reset();
  if (FLibrary) FreeLibrary(FLibrary);
}

template <class T>
static void Lookup(HMODULE Library, const char* Name, T& Function) {
  Function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(Library, Name)));
}

bool TThemeServices::Load() {
  if (FTried) return FLibrary != nullptr;
  FTried = true;
  FLibrary = LoadLibraryW(L"uxtheme.dll");
  if (!FLibrary) return false;
  Lookup(FLibrary, "OpenThemeData", FOpenThemeData);
  Lookup(FLibrary, "CloseThemeData", FCloseThemeData);
  Lookup(FLibrary, "DrawThemeBackground", FDrawThemeBackground);
  Lookup(FLibrary, "DrawThemeEdge", FDrawThemeEdge);
  Lookup(FLibrary, "IsThemeActive", FIsThemeActive);
  Lookup(FLibrary, "IsAppThemed", FIsAppThemed);
  if (!FOpenThemeData || !FCloseThemeData || !FDrawThemeBackground || !FIsThemeActive || !FIsAppThemed) {
    FreeLibrary(FLibrary);
    FLibrary = nullptr;
  }
  return FLibrary != nullptr;
}

bool TThemeServices::ThemesActive() {
  if (FSuppressed || !Load()) return false;
  try {
    return FIsThemeActive() && FIsAppThemed();
  } catch (...) {
    throw Exception("Error in Themes");
  }
}

HANDLE TThemeServices::Theme(const std::wstring& ClassList) {
  if (!ThemesActive()) return nullptr;
  const auto Found = FThemes.find(ClassList);
  if (Found != FThemes.end()) return Found->second;
  HANDLE Theme = FOpenThemeData(nullptr, ClassList.c_str());
  FThemes[ClassList] = Theme;  // a failed open is remembered too, not retried per cell
  return Theme;
}

bool TThemeServices::DrawBackground(const std::wstring& ClassList, HDC DC, int Part, int State, const RECT& Rect) {
  HANDLE Data = Theme(ClassList);
  return Data && SUCCEEDED(FDrawThemeBackground(Data, DC, Part, State, &Rect, nullptr));
}

bool TThemeServices::DrawEdge(const std::wstring& ClassList, HDC DC, int Part, int State, const RECT& Rect, UINT Edge,
                              UINT Flags) {
  HANDLE Data = Theme(ClassList);
  if (!Data || !FDrawThemeEdge) return false;
  RECT Copy = Rect;
  return SUCCEEDED(FDrawThemeEdge(Data, DC, Part, State, &Copy, Edge, Flags, nullptr));
}

void TThemeServices::Reset() {
  if (FCloseThemeData)
    for (auto& Entry : FThemes)
      if (Entry.second) FCloseThemeData(Entry.second);
  FThemes.clear();
}
