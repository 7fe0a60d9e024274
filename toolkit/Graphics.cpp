#include "toolkit/Graphics.h"

#include "platform/win32/WideText.h"

COLORREF ColorToRGB(TColor Color) {
  if (IsSystemColor(Color)) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange();
  ReleaseHandle();
}

void TFont::Assign(const TFont& Source) {
  if (&Source == this) return;
  FName = Source.FName;
  FHeight = Source.FHeight;
  FStyle = Source.FStyle;
  FColor = Source.FColor;
  Changed();
}

bool TFont::SameAs(const TFont& Other) const {
  return FName == Other.FName && FHeight == Other.FHeight && FStyle == Other.FStyle && FColor == Other.FColor;
}

void TFont::SetName(const std::string& Name) {
  if (Name == FName) return;
  FName = Name;
  Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, PixelsPerInch); }

void TFont::SetSize(int Points) { SetHeight(-MulDiv(Points, PixelsPerInch, 72)); }

void TFont::SetHeight(int Pixels) {
  if (Pixels == FHeight) return;
  FHeight = Pixels;
  Changed();
}

void TFont::SetStyle(TFontStyles Style) {
  if (Style == FStyle) return;
  FStyle = Style;
  Changed();
}

void TFont::SetColor(TColor Color) {
  if (Color == FColor) return;
  FColor = Color;
  FChangingColorOnly = true;
  if (OnChange) OnChange();
  FChangingColorOnly = false;
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW Log = {};
    Log.lfHeight = FHeight;
    Log.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    Log.lfItalic = (FStyle & fsItalic) ? TRUE : FALSE;
    Log.lfUnderline = (FStyle & fsUnderline) ? TRUE : FALSE;
    Log.lfStrikeOut = (FStyle & fsStrikeOut) ? TRUE : FALSE;
    Log.lfCharSet = DEFAULT_CHARSET;
    Log.lfQuality = DEFAULT_QUALITY;
    const std::wstring Face = Widen(FName);
    lstrcpynW(Log.lfFaceName, Face.c_str(), LF_FACESIZE);
    FHandle = CreateFontIndirectW(&Log);
  }
  return FHandle;
}

void TFont::ReleaseHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TPen::SetColor(TColor Color) {
  if (Color == FColor) return;
  FColor = Color;
  Changed();
}

void TPen::SetWidth(int Width) {
  if (Width == FWidth) return;
  FWidth = Width;
  Changed();
}

void TPen::SetStyle(TPenStyle Style) {
  if (Style == FStyle) return;
  FStyle = Style;
  Changed();
}

HPEN TPen::Handle() {
  if (!FHandle) {
    static const int Styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle = CreatePen(Styles[FStyle], FWidth, ColorToRGB(FColor));
  }
  return FHandle;
}

void TPen::ReleaseHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TBrush::SetColor(TColor Color) {
  if (Color == FColor && FStyle == bsSolid) return;
  FColor = Color;
  FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Style) {
  if (Style == FStyle) return;
  FStyle = Style;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    if (FStyle == bsClear) {
      FHandle = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    } else {
      FHandle = CreateSolidBrush(ColorToRGB(FColor));
    }
  }
  return FHandle;
}

void TBrush::ReleaseHandle() {
  // Stock objects ignore DeleteObject, so the clear brush needs no special case.
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}
