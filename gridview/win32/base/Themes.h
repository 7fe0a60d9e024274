#pragma once
// The platform's visual styles, looked up in the theme library at first use. Without the library
// (or with theming switched off) nothing is themed and the classic drawing is used.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

class TThemeServices {
 public:
  static TThemeServices& Instance();

  // Themes are active for this application (library present, a theme active and applied to us).
  // A failure inside the check raises "Error in Themes".
  bool ThemesActive();
  // Theme data of a window class ("HEADER", "BUTTON", "LISTVIEW"), kept until the theme changes;
  // null when none can be had.
  HANDLE Theme(const std::wstring& ClassList);
  // Draw a part; false when nothing was drawn (the caller then draws classically).
  bool DrawBackground(const std::wstring& ClassList, HDC DC, int Part, int State, const RECT& Rect);
  // The same for parts that cover their whole rectangle (header items): each size is drawn once
  // and copied after that, as drawing a themed part is slow on some platforms.
  bool DrawOpaqueBackground(const std::wstring& ClassList, HDC DC, int Part, int State, const RECT& Rect);
  bool DrawEdge(const std::wstring& ClassList, HDC DC, int Part, int State, const RECT& Rect, UINT Edge, UINT Flags);
  // Forgets the opened theme data (after WM_THEMECHANGED).
  void Reset();

  // Tests of the classic paths turn theming off for the whole process.
  void SetSuppressed(bool Value) { FSuppressed = Value; }
  bool Suppressed() const { return FSuppressed; }

  ~TThemeServices();

 private:
  TThemeServices() = default;
  bool Load();

  using TOpenThemeData = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using TCloseThemeData = HRESULT(WINAPI*)(HANDLE);
  using TDrawThemeBackground = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
  using TDrawThemeEdge = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, UINT, UINT, RECT*);
  using TIsThemeActive = BOOL(WINAPI*)();
  using TIsAppThemed = BOOL(WINAPI*)();

  bool FTried = false, FSuppressed = false;
  HMODULE FLibrary = nullptr;
  TOpenThemeData FOpenThemeData = nullptr;
  TCloseThemeData FCloseThemeData = nullptr;
  TDrawThemeBackground FDrawThemeBackground = nullptr;
  TDrawThemeEdge FDrawThemeEdge = nullptr;
  TIsThemeActive FIsThemeActive = nullptr;
  TIsAppThemed FIsAppThemed = nullptr;
  std::map<std::wstring, HANDLE> FThemes;
  using TPartKey = std::tuple<std::wstring, int, int, int, int>;  // class, part, state, width, height
  std::map<TPartKey, std::shared_ptr<void>> FParts;               // memory DC with its bitmap
};

TThemeServices& ThemeServices();
