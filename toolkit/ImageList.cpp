#include "toolkit/ImageList.h"

#include "toolkit/Bitmap.h"

TImageList::TImageList(int Width, int Height)
    : FWidth(Width), FHeight(Height), FHandle(ImageList_Create(Width, Height, ILC_COLOR32 | ILC_MASK, 4, 4)) {}

TImageList::~TImageList() {
  if (FHandle) ImageList_Destroy(FHandle);
}

void TImageList::SetSize(int Width, int Height) {
  if (Width == FWidth && Height == FHeight) {
    Clear();
    return;
  }
  HIMAGELIST List = ImageList_Create(Width, Height, ILC_COLOR32 | ILC_MASK, 4, 4);
  if (!List) return;
  if (FHandle) ImageList_Destroy(FHandle);
  FHandle = List;
  FWidth = Width;
  FHeight = Height;
}

int TImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

int TImageList::AddMasked(TBitmap& Bitmap, TColor MaskColor) {
  // Without alpha the image list cuts the images out with the mask colour; it also blackens those pixels
  // of the bitmap it is given, so it gets a copy.
  HBITMAP Copy = Bitmap.CopyHandle(false);
  if (!Copy) return -1;
  const int First = ImageList_AddMasked(FHandle, Copy, ColorToRGB(MaskColor));
  DeleteObject(Copy);
  return First;
}

bool TImageList::AddResource(HINSTANCE Instance, const std::string& Name, TColor MaskColor) {
  TBitmap Bitmap;
  if (!Bitmap.LoadFromResourceName(Instance, Name)) return false;
  if (Bitmap.Height() == FHeight) return AddMasked(Bitmap, MaskColor) >= 0;
  TBitmap Scaled;
  ResampleBitmap(Bitmap, MulDiv(Bitmap.Width(), FHeight, Bitmap.Height()), FHeight, Scaled, MaskColor);
  return AddMasked(Scaled, MaskColor) >= 0;
}

void TImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
}

void TImageList::Draw(TCanvas& Canvas, int X, int Y, int Index, bool Enabled) {
  if (Index < 0 || Index >= Count()) return;
  IMAGELISTDRAWPARAMS Params = {};
  Params.cbSize = sizeof(Params);
  Params.himl = FHandle;
  Params.i = Index;
  Params.hdcDst = Canvas.Handle();
  Params.x = X;
  Params.y = Y;
  Params.rgbBk = CLR_NONE;
  Params.rgbFg = CLR_DEFAULT;
  Params.fStyle = ILD_TRANSPARENT;
  Params.fState = Enabled ? ILS_NORMAL : ILS_SATURATE;
  ImageList_DrawIndirect(&Params);
}
