#pragma once
// A list of same-sized images (the platform's image list), drawn by index.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/Object.h"
#include "toolkit/Canvas.h"

class TBitmap;

class TImageList : public TObject {
 public:
  TImageList(int Width = 16, int Height = 16);
  ~TImageList() override;
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Count() const;
  HIMAGELIST Handle() const { return FHandle; }
  // Makes the list empty, for images of a new size.
  void SetSize(int Width, int Height);
  // Adds the bitmap's images (one per Width pixels) with MaskColor as transparent; answers the first index.
  int AddMasked(TBitmap& Bitmap, TColor MaskColor);
  // Adds the images of a bitmap resource with MaskColor as transparent. A strip drawn at another
  // height than the list's is drawn at the list's height first (its images keep their count).
  bool AddResource(HINSTANCE Instance, const std::string& Name, TColor MaskColor);
  void Clear();
  // Draws image Index (nothing for an index outside the list); disabled images are drawn greyed.
  void Draw(TCanvas& Canvas, int X, int Y, int Index, bool Enabled = true);

 private:
  int FWidth, FHeight;
  HIMAGELIST FHandle;
};
