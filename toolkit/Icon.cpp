#include "toolkit/Icon.h"

#include <cstdlib>
#include <cstring>

#include "platform/win32/WideText.h"

namespace {

// An icon kept as the bytes of an .ico file (an RCDATA resource): the image nearest Size is made into
// an icon. Icon resources of several resource scripts would share the numbers of their images, so
// scripts other than the program's own carry their icons this way.
HICON IconFromFileResource(HINSTANCE Instance, const std::wstring& Name, int Size) {
  HRSRC Resource = FindResourceW(Instance, Name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!Resource) return nullptr;
  HGLOBAL Loaded = LoadResource(Instance, Resource);
  const auto* Bytes = static_cast<const BYTE*>(LockResource(Loaded));
  const DWORD Length = SizeofResource(Instance, Resource);
  if (!Bytes || Length < 6) return nullptr;
  WORD Reserved, Type, Count;
  std::memcpy(&Reserved, Bytes, 2);
  std::memcpy(&Type, Bytes + 2, 2);
  std::memcpy(&Count, Bytes + 4, 2);
  if (Reserved != 0 || Type != 1 || Length < 6u + 16u * Count) return nullptr;
  const int Wanted = Size > 0 ? Size : GetSystemMetrics(SM_CXICON);
  int Best = -1, BestDistance = 1 << 30;
  DWORD BestOffset = 0, BestBytes = 0;
  for (int I = 0; I < Count; ++I) {
    const BYTE* Entry = Bytes + 6 + 16 * I;
    const int Width = Entry[0] ? Entry[0] : 256;
    DWORD ImageBytes, Offset;
    std::memcpy(&ImageBytes, Entry + 8, 4);
    std::memcpy(&Offset, Entry + 12, 4);
    if (Offset > Length || ImageBytes > Length - Offset) continue;
    const int Distance = std::abs(Width - Wanted);
    if (Distance < BestDistance) Best = I, BestDistance = Distance, BestOffset = Offset, BestBytes = ImageBytes;
  }
  if (Best < 0) return nullptr;
  return CreateIconFromResourceEx(const_cast<BYTE*>(Bytes + BestOffset), BestBytes, TRUE, 0x00030000, Size, Size,
                                  LR_DEFAULTCOLOR);
}

}  // namespace

void TIcon::Release() {
  if (FHandle) DestroyIcon(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
}

bool TIcon::LoadFromResourceName(HINSTANCE Instance, const std::string& Name, int Size) {
  const std::wstring WideName = Widen(Name);
  HICON Loaded =
      static_cast<HICON>(LoadImageW(Instance, WideName.c_str(), IMAGE_ICON, Size, Size, Size ? 0 : LR_DEFAULTSIZE));
  if (!Loaded) Loaded = IconFromFileResource(Instance, WideName, Size);
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
