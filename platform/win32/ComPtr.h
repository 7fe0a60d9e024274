#pragma once
// Owners of what COM and the shell hand out: an interface pointer released at the end of its owner's
// life, and the scope of OLE on the calling thread (drags, the clipboard and shell menus need it).
#include <objbase.h>
#include <ole2.h>

template <typename TInterface>
class TComPtr {
 public:
  TComPtr() = default;
  // Takes over a reference the caller holds.
  explicit TComPtr(TInterface* Pointer) : FPointer(Pointer) {}
  ~TComPtr() { Reset(); }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  TComPtr(TComPtr&& Other) noexcept : FPointer(Other.FPointer) { Other.FPointer = nullptr; }
  TComPtr& operator=(TComPtr&& Other) noexcept {
    if (this != &Other) {
      Reset();
      FPointer = Other.FPointer;
      Other.FPointer = nullptr;
    }
    return *this;
  }
  TInterface* Get() const { return FPointer; }
  TInterface* operator->() const { return FPointer; }
  explicit operator bool() const { return FPointer != nullptr; }
  // For calls that hand out a new reference: the old one is released first.
  TInterface** Receive() {
    Reset();
    return &FPointer;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
  void Reset() {
    if (FPointer) FPointer->Release();
    FPointer = nullptr;
  }
  // The same object through another interface; empty when it has none.
  template <typename TOther>
  TComPtr<TOther> As() const {
    TComPtr<TOther> Other;
    if (FPointer) FPointer->QueryInterface(__uuidof(TOther), Other.ReceiveVoid());
    return Other;
  }

 private:
  TInterface* FPointer = nullptr;
};

// OLE on this thread for the length of a scope; a thread that has it already keeps it as it is.
class TOleScope {
 public:
  TOleScope() : FInitialised(SUCCEEDED(OleInitialize(nullptr))) {}
  ~TOleScope() {
    if (FInitialised) OleUninitialize();
  }
  TOleScope(const TOleScope&) = delete;
  TOleScope& operator=(const TOleScope&) = delete;

 private:
  bool FInitialised;
};
