#pragma once
// Owners of platform handles, one small class per kind: a handle made on one line is released on
// every way out of the scope, an exception included. GDI objects, DCs, selections, regions, bitmaps
// and kernel events all go through these.
#include <windows.h>

// A handle released with Free (DeleteObject, DeleteDC, CloseHandle, DestroyMenu, ...) at the end of
// its owner's life; it can be handed on (moved) or let go (Release).
template <typename THandleType, auto Free>
class TOwnedHandle {
 public:
  explicit TOwnedHandle(THandleType Handle = nullptr) : FHandle(Handle) {}
  ~TOwnedHandle() { Reset(); }
  TOwnedHandle(const TOwnedHandle&) = delete;
  TOwnedHandle& operator=(const TOwnedHandle&) = delete;
  TOwnedHandle(TOwnedHandle&& Other) noexcept : FHandle(Other.Release()) {}
  TOwnedHandle& operator=(TOwnedHandle&& Other) noexcept {
    Reset(Other.Release());
    return *this;
  }
  THandleType Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  THandleType Release() {
    THandleType Handle = FHandle;
    FHandle = nullptr;
    return Handle;
  }
  void Reset(THandleType Handle = nullptr) {
    if (FHandle) Free(FHandle);
    FHandle = Handle;
  }

 private:
  THandleType FHandle;
};

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
class TEventHandle : public TOwnedHandle<HANDLE, CloseHandle> {
 public:
  TEventHandle(bool ManualReset, bool Signalled)
      : TOwnedHandle(CreateEventW(nullptr, ManualReset ? TRUE : FALSE, Signalled ? TRUE : FALSE, nullptr)) {}
};
