#include "gridview/win32/base/Themes.h"

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

bool TThemeServices::DrawOpaqueBackground(const std::wstring& ClassList, HDC DC, int Part, int State,
                                          const RECT& Rect) {
  const int Width = Rect.right - Rect.left, Height = Rect.bottom - Rect.top;
  if (Width <= 0 || Height <= 0 || Width > 4096 || Height > 256)
    return DrawBackground(ClassList, DC, Part, State, Rect);
  if (!Theme(ClassList)) return false;
  // Each entry holds a device context and a bitmap: a few dozen sizes cover a header.
  if (FParts.size() >= 64) FParts.clear();
  const TPartKey Key{ClassList, Part, State, Width, Height};
  auto Found = FParts.find(Key);
  if (Found == FParts.end()) {
    // A memory DC holding the drawn part; the deleter releases both.
    HDC Memory = CreateCompatibleDC(DC);
    HBITMAP Bitmap = CreateCompatibleBitmap(DC, Width, Height);
    HGDIOBJ Old = SelectObject(Memory, Bitmap);
    const RECT Local{0, 0, Width, Height};
    std::shared_ptr<void> Entry;
    if (DrawBackground(ClassList, Memory, Part, State, Local)) {
      Entry = std::shared_ptr<void>(Memory, [Bitmap, Old](void* Handle) {
        SelectObject(static_cast<HDC>(Handle), Old);
        DeleteObject(Bitmap);
        DeleteDC(static_cast<HDC>(Handle));
      });
    } else {
      SelectObject(Memory, Old);
      DeleteObject(Bitmap);
      DeleteDC(Memory);
    }
    Found = FParts.emplace(Key, Entry).first;
  }
  if (!Found->second) return false;
  return BitBlt(DC, Rect.left, Rect.top, Width, Height, static_cast<HDC>(Found->second.get()), 0, 0, SRCCOPY) != 0;
}

bool TThemeServices::DrawEdge(const std::wstring& ClassList, HDC DC, int Part, int State, const RECT& Rect, UINT Edge,
                              UINT Flags) {
  HANDLE Data = Theme(ClassList);
  if (!Data || !FDrawThemeEdge) return false;
  RECT Copy = Rect;
  return SUCCEEDED(FDrawThemeEdge(Data, DC, Part, State, &Copy, Edge, Flags, nullptr));
}

void TThemeServices::Reset() {
  FParts.clear();
  if (FCloseThemeData)
    for (auto& Entry : FThemes)
      if (Entry.second) FCloseThemeData(Entry.second);
  FThemes.clear();
}
