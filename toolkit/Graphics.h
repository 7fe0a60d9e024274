#pragma once
// GDI drawing objects: fonts, pens and brushes whose handles are made on first use and remade after a
// change. A canvas that has one selected is told first, so a handle is never freed while selected.
#include <windows.h>

#include <functional>
#include <string>

#include "core/Color.h"
#include "toolkit/HandleGuards.h"

// Resolves a system colour to RGB; plain colours pass unchanged.
COLORREF ColorToRGB(TColor Color);

class TGraphicsObject {
 public:
  virtual ~TGraphicsObject() = default;
  // Called after every change, before the old handle is released.
  std::function<void()> OnChange;

 protected:
  void Changed();
  virtual void ReleaseHandle() = 0;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont : public TGraphicsObject {
 public:
  TFont() = default;
  TFont(const TFont& Other) { Assign(Other); }
  TFont& operator=(const TFont& Other) {
    Assign(Other);
    return *this;
  }
  ~TFont() override { ReleaseHandle(); }

  void Assign(const TFont& Source);
  bool SameAs(const TFont& Other) const;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Name);
  // Size in points; Height in pixels (negative: character height, as the platform counts it).
  int Size() const;
  void SetSize(int Points);
  int Height() const { return FHeight; }
  void SetHeight(int Pixels);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Style);
  TColor Color() const { return FColor; }
  void SetColor(TColor Color);  // text colour: no new handle needed
  HFONT Handle();
  // True while OnChange reports a change of the colour alone (the handle stays valid).
  bool ChangingColorOnly() const { return FChangingColorOnly; }

  static constexpr int PixelsPerInch = 96;

 private:
  void ReleaseHandle() override;
  std::string FName = "Tahoma";
  int FHeight = -11;  // 8 points at 96 pixels per inch
  TFontStyles FStyle = 0;
  TColor FColor = clWindowText;
  HFONT FHandle = nullptr;
  bool FChangingColorOnly = false;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmCopy, pmNot, pmXor, pmMask, pmMerge };

class TPen : public TGraphicsObject {
 public:
  ~TPen() override { ReleaseHandle(); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Color);
  int Width() const { return FWidth; }
  void SetWidth(int Width);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Style);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Mode) { FMode = Mode; }
  HPEN Handle();

 private:
  void ReleaseHandle() override;
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  HPEN FHandle = nullptr;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
 public:
  ~TBrush() override { ReleaseHandle(); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Color);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Style);
  HBRUSH Handle();

 private:
  void ReleaseHandle() override;
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  HBRUSH FHandle = nullptr;
};
