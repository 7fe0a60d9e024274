#pragma once
// Owners of platform handles, one small class per kind: a handle made on one line is released on
// every way out of the scope, an exception included. GDI objects, DCs, selections, regions, bitmaps
// and kernel events all go through these (the kernel's own, which the platform layer shares, come
// from platform/win32/OwnedHandle.h).
#include <windows.h>

#include "platform/win32/OwnedHandle.h"

// Any GDI object (bitmap, region, brush, pen, font), deleted with DeleteObject.
template <typename THandleType>
using TGdiHandle = TOwnedHandle<THandleType, DeleteObject>;

using TBitmapHandle = TGdiHandle<HBITMAP>;
using TRegionHandle = TGdiHandle<HRGN>;
using TBrushHandle = TGdiHandle<HBRUSH>;

// A window's DC from GetDC (or GetWindowDC; null: the screen's), given back with ReleaseDC.
class TDCGuard {
 public:
  explicit TDCGuard(HWND Window, bool WholeWindow = false)
      : FWindow(Window), FDC(WholeWindow ? GetWindowDC(Window) : GetDC(Window)) {}
  ~TDCGuard() {
    if (FDC) ReleaseDC(FWindow, FDC);
  }
  TDCGuard(const TDCGuard&) = delete;
  TDCGuard& operator=(const TDCGuard&) = delete;
  HDC Get() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

// A memory DC compatible with another (or the screen), deleted with DeleteDC.
class TMemoryDC : public TOwnedHandle<HDC, DeleteDC> {
 public:
  explicit TMemoryDC(HDC Compatible = nullptr) : TOwnedHandle(CreateCompatibleDC(Compatible)) {}
};

// An object selected into a DC; the DC's previous object goes back in at the end of the scope.
// Declare it after the guard of the object it selects, so that it is undone first.
class TSelectedObject {
 public:
  TSelectedObject(HDC DC, HGDIOBJ Object) : FDC(DC), FOld(DC && Object ? SelectObject(DC, Object) : nullptr) {}
  ~TSelectedObject() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TSelectedObject(const TSelectedObject&) = delete;
  TSelectedObject& operator=(const TSelectedObject&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// BeginPaint and EndPaint.
class TPaintDC {
 public:
  explicit TPaintDC(HWND Window) : FWindow(Window) { FDC = BeginPaint(Window, &FPaint); }
  ~TPaintDC() { EndPaint(FWindow, &FPaint); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return FDC; }
  const RECT& UpdateRect() const { return FPaint.rcPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint = {};
  HDC FDC = nullptr;
};

// A kernel event, closed with CloseHandle.
class TEventHandle : public THandle {
 public:
  TEventHandle(bool ManualReset, bool Signalled)
      : THandle(CreateEventW(nullptr, ManualReset ? TRUE : FALSE, Signalled ? TRUE : FALSE, nullptr)) {}
};
