#include "toolkit/Icon.h"
#include "platform/win32/WideText.h"

void TIcon::Release() {
  if (FHandle) DestroyIcon(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
}

bool TIcon::LoadFromResourceName(HINSTANCE Instance, const std::string& Name, int Size) {
  const std::wstring WideName = Widen(Name);
  HICON Loaded = static_cast<HICON>(LoadImageW(Instance, WideName.c_str(), IMAGE_ICON, Size, Size,
                                               Size ? 0 : LR_DEFAULTSIZE));
  if (!Loaded) return false;
  Release();
  FHandle = Loaded;
  ICONINFO Info = {};
  if (GetIconInfo(Loaded, &Info)) {
    BITMAP Mask = {};
    GetObjectW(Info.hbmMask, sizeof(Mask), &Mask);
    FWidth = Mask.bmWidth;
    FHeight = Info.hbmColor ? Mask.bmHeight : Mask.bmHeight / 2;  // a monochrome icon stacks mask and image
    if (Info.hbmColor) DeleteObject(Info.hbmColor);
    if (Info.hbmMask) DeleteObject(Info.hbmMask);
  }
  return true;
}

void TIcon::Assign(const TIcon& Source) {
  if (&Source == this) return;
  Release();
  if (Source.Empty()) return;
  FHandle = CopyIcon(Source.FHandle);
  if (FHandle) FWidth = Source.FWidth, FHeight = Source.FHeight;
}

void TIcon::Draw(TCanvas& Canvas, int X, int Y) const {
  if (FHandle) DrawIconEx(Canvas.Handle(), X, Y, FHandle, FWidth, FHeight, 0, nullptr, DI_NORMAL);
}
