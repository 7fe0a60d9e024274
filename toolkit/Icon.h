#pragma once
// An icon of one size, owned: loaded from the executable's resources or copied from another icon.
#include <windows.h>

#include <string>

#include "toolkit/Canvas.h"

class TIcon {
 public:
  TIcon() = default;
  ~TIcon() { Release(); }
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;

  bool Empty() const { return FHandle == nullptr; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  HICON Handle() const { return FHandle; }
  // The icon resource Name at Size x Size pixels (0: the system's large icon size), or an .ico file kept
  // as RCDATA under that name; false when there is neither.
  bool LoadFromResourceName(HINSTANCE Instance, const std::string& Name, int Size = 0);
  // A copy of Source (or nothing when it is empty).
  void Assign(const TIcon& Source);
  void Clear() { Release(); }
  void Draw(TCanvas& Canvas, int X, int Y) const;

 private:
  void Release();
  HICON FHandle = nullptr;
  int FWidth = 0, FHeight = 0;
};
