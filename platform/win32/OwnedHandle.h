#pragma once
// Owners of platform handles: a handle made on one line is released on every way out of the scope, an
// exception included. The kernel's handles are here; the window system's (GDI objects, DCs, menus)
// build on the same template in toolkit/HandleGuards.h.
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

// CloseHandle for handles that may hold INVALID_HANDLE_VALUE, as a failed CreateFileW leaves them.
inline BOOL CloseKernelHandle(HANDLE Handle) { return Handle == INVALID_HANDLE_VALUE ? FALSE : CloseHandle(Handle); }

// A kernel handle (file, event, thread), closed with CloseHandle; null and INVALID_HANDLE_VALUE both
// mean none.
class THandle : public TOwnedHandle<HANDLE, CloseKernelHandle> {
 public:
  using TOwnedHandle::TOwnedHandle;
  bool Valid() const { return Get() != nullptr && Get() != INVALID_HANDLE_VALUE; }
  // Closes the handle now; false when the system reports a failure (for a file, data it could not write).
  bool Close() { return CloseKernelHandle(Release()) != 0; }
};
