#include "gridview/win32/displays/Displays.h"

#include <algorithm>
#include <cmath>

#include "core/Conversions.h"
#include "core/FormatSettings.h"
#include "core/NumberFormat.h"
#include "core/Text.h"
#include "toolkit/ImageList.h"

namespace {
// Brush clear for the call, solid after it, so the cell background shows through.
struct TClearBrush {
  explicit TClearBrush(TCanvas& Canvas) : FCanvas(Canvas) { Canvas.Brush().SetStyle(bsClear); }
  ~TClearBrush() { FCanvas.Brush().SetStyle(bsSolid); }
  TCanvas& FCanvas;
};

// Margins past any cell's size are held there, so that a huge one cannot overflow the edges.
RECT Shrunk(const RECT& R, int By) {
  By = std::clamp(By, -(1 << 24), 1 << 24);
  return AdjustRECT(R, By, By, -By, -By);
}
}  // namespace

void TColumnDisplay::DrawText(std::u16string_view Text, const RECT& Rect) {
  TCustomColumn& C = Column();
  UINT Flags = DT_NOPREFIX;
  switch (C.Alignment()) {
    case taRightJustify: Flags |= DT_RIGHT; break;
    case taCenter: Flags |= DT_CENTER; break;
    default: Flags |= DT_LEFT; break;
  }
  switch (C.VerticalAlignment()) {
    case vaMiddle: Flags |= DT_VCENTER; break;
    case vaBottom: Flags |= DT_BOTTOM; break;
    default: Flags |= DT_TOP; break;
  }
  switch (C.WrapKind()) {
    case wkNone: Flags |= DT_SINGLELINE; break;
    case wkEllipsis: Flags |= DT_SINGLELINE | DT_END_ELLIPSIS; break;
    case wkWordWrap: Flags |= DT_WORDBREAK; break;
  }
  if (FCell.RightToLeft) Flags |= DT_RTLREADING;
  TClearBrush Clear(*FCell.Canvas);
  RECT R = Rect;
  FCell.Canvas->DrawText(Text, R, Flags);
}

void TColumnDisplay::DrawHintMark() {
  FCell.Canvas->Pen().SetColor(clRed);
  FCell.Canvas->Brush().SetColor(clRed);
  const RECT& R = FCell.CellRect;
  const int Size = FCell.Metrics.HintMarkSize();
  FCell.Canvas->Polygon({{R.right - 1 - Size, R.top}, {R.right - 1, R.top}, {R.right - 1, R.top + Size}});
}

void TTextualColumnDisplay::Paint() {
  std::u16string Text = TextValue;
  if (auto* Textual = dynamic_cast<TTextualColumn*>(&Column()))
    Text = Textual->TextBefore() + Text + Textual->TextAfter();
  DrawText(Text, ContentRect());
}

void TNumericColumnDisplay::Paint() {
  std::u16string Text;
  if (auto* Numeric = dynamic_cast<TNumericColumn*>(&Column()))
    Text = Numeric->TextBefore() + Numeric->FormatValue(FloatValue) + Numeric->TextAfter();
  else
    Text = Utf8ToUtf16(FloatToStr(FloatValue));
  DrawText(Text, ContentRect());
}

void TIncrementColumnDisplay::Paint() { DrawText(Utf8ToUtf16(std::to_string(IntegerValue)), ContentRect()); }

void TDateColumnDisplay::Paint() {
  auto* Date = dynamic_cast<TDateColumn*>(&Column());
  if (DateTimeValue == 0 && Date && Date->HideWhenEmpty())
    DrawText(Date->EmptyCaption(), ContentRect());
  else
    DrawText(Utf8ToUtf16(DateTimeToStr(DateTimeValue)), ContentRect());
}

void TImageColumnDisplay::Paint() {
  auto* ImageColumn = dynamic_cast<TImageColumn*>(&Column());
  auto* Images = ImageColumn ? dynamic_cast<TImageList*>(ImageColumn->Images()) : nullptr;
  if (!Images || IntegerValue < 0) return;
  const POINT P = AlignBox(Images->Width(), Images->Height(), Column().VerticalAlignment(), Column().Alignment(),
                           FCell.CellRect, FCell.Metrics.CellTextMargin());
  Images->Draw(*FCell.Canvas, P.x, P.y, IntegerValue, true);
}

void TProgressColumnDisplay::Paint() {
  auto* Progress = dynamic_cast<TProgressColumn*>(&Column());
  if (!Progress || (FloatValue == 0 && Progress->HideWhenEmpty())) return;
  // A column without a range shows an empty bar.
  const double Percent = Progress->Max() == 0 ? 0.0 : TCalcProvider::Percent(Progress->Max(), FloatValue);
  RECT Frame = Shrunk(FCell.CellRect, Progress->Margin());
  if (Progress->ShowText()) {
    DrawText(Utf8ToUtf16(FormatFloat("0", Percent)) + u"%", ContentRect());
    Frame.left += FCell.Metrics.ProgressTextWidth();
  }
  TCanvas& C = *FCell.Canvas;
  if (Progress->Transparent()) {
    C.Brush().SetColor(Progress->BorderColor());
    C.FrameRect(Frame);
  } else {
    C.Pen().SetColor(Progress->BorderColor());
    C.Brush().SetColor(Progress->Color());
    C.Rectangle(Frame);
  }
  const int Inset = FCell.Metrics.ProgressBarInset();
  RECT Bar = Shrunk(Frame, Inset);
  double Filled = std::nearbyint((Bar.right - Bar.left) * Percent / 100.0);
  if (std::isnan(Filled)) Filled = 0;  // a value that is not a number fills nothing
  Bar.right = static_cast<int>(std::min<double>(Bar.left + std::max(Filled, 0.0), Frame.right - Inset));
  if (Bar.right <= Bar.left || Bar.bottom <= Bar.top) return;
  switch (Progress->ProgressStyle()) {
    case TProgressStyle::psSolid:
      C.Brush().SetColor(Progress->ProgressColor());
      C.FillRect(Bar);
      break;
    case TProgressStyle::psGradient:
      TGraphicsProvider::HorizontalGradient(C, Bar, Progress->ProgressColor(), Progress->Color());
      break;
    case TProgressStyle::psCylinder:
      TGraphicsProvider::VerticalGradient(C, Bar, Progress->ProgressColor(), Progress->Color());
      break;
  }
}

void TRateColumnDisplay::Paint() {
  auto* Rate = dynamic_cast<TRateColumn*>(&Column());
  if (!Rate || (IntegerValue == 0 && Rate->HideWhenEmpty())) return;
  const TGlyph& Full = Rate->Glyph();
  if (Full.Empty() || Rate->Max() <= 0) return;
  // A very large Max must neither overflow the row's width nor draw glyphs nobody can see.
  const long long RowWidth = static_cast<long long>(Full.Width) * Rate->Max();
  const POINT P = AlignBox(static_cast<int>(std::min<long long>(RowWidth, 1 << 28)), Full.Height,
                           Column().VerticalAlignment(), Column().Alignment(), FCell.CellRect, 0);
  int First = 1;
  if (P.x + Full.Width < FCell.CellRect.left) First = (FCell.CellRect.left - P.x) / Full.Width;  // the first that shows
  for (int I = std::max(1, First); I <= Rate->Max(); ++I) {
    const long long X = P.x + static_cast<long long>(I - 1) * Full.Width;
    if (X >= FCell.CellRect.right) break;
    const TGlyph& Glyph = I <= IntegerValue ? Full : Rate->EmptyGlyph();
    if (Glyph.Empty()) continue;
    TGlyphBitmap& Cache = I <= IntegerValue ? FFull : FEmpty;
    if (Rate->Transparent() && !Glyph.HasAlpha())
      FCell.Canvas->DrawTransparent(static_cast<int>(X), P.y, Cache.For(Glyph), Glyph.Pixel(0, Glyph.Height - 1));
    else
      Cache.Draw(*FCell.Canvas, static_cast<int>(X), P.y, Glyph);
  }
}

void TCheckBoxColumnDisplay::DrawCheck(const RECT& Rect, bool Checked, bool Pressed, bool Hot) {
  TGraphicsProvider::DrawCheckBox(FCell.Window, *FCell.Canvas, Hot, Pressed, Checked, Column().VerticalAlignment(),
                                  Column().Alignment(), Rect, FCell.Themed);
}

void TCheckBoxColumnDisplay::Paint() { DrawCheck(FCell.CellRect, BooleanValue, false, false); }

void TGraphicColumnDisplay::Paint() {
  auto* GraphicColumn = dynamic_cast<TGraphicColumn*>(&Column());
  if (!GraphicColumn) return;
  const RECT Area = Shrunk(FCell.CellRect, GraphicColumn->Margin());
  TCanvas& C = *FCell.Canvas;
  C.Brush().SetColor(FCell.Selected ? clHighlightText : clBtnFace);
  // Frames further out than the cell is large are all clipped away: they are not drawn.
  const int Frames = std::min(GraphicColumn->BorderWidth(), std::max(int(FCell.CellRect.right - FCell.CellRect.left),
                                                                     int(FCell.CellRect.bottom - FCell.CellRect.top)));
  for (int I = 1; I <= Frames; ++I) C.FrameRect(Shrunk(Area, -I));
  // The cell's object says what it shows: a bitmap, a picture of any format, a TPicture's graphic.
  TBitmap* Picture = ObjectValue ? ObjectValue->PictureBitmap() : nullptr;
  if (!Picture) return;
  const int AreaW = Area.right - Area.left, AreaH = Area.bottom - Area.top;
  if (AreaW <= 0 || AreaH <= 0) return;
  RECT Target = Area;
  if (!GraphicColumn->Strecht()) {
    const double Scale = std::min(double(AreaW) / Picture->Width(), double(AreaH) / Picture->Height());
    const int W = std::max(1, int(std::lround(Picture->Width() * Scale)));
    const int H = std::max(1, int(std::lround(Picture->Height() * Scale)));
    Target.left = Area.left + AreaW / 2 - W / 2;
    Target.top = Area.top + AreaH / 2 - H / 2;
    Target.right = Target.left + W;
    Target.bottom = Target.top + H;
  }
  TDrawProvider::DrawGraphic(C, Target, *Picture);
}

// HTML subset.

void THtmlColumnDisplay::WriteText(std::u16string_view Run) {
  FCell.Canvas->TextOut(FPenX, FPenY, Run);
  const SIZE Size = FCell.Canvas->TextExtent(Run);
  FPenX += Size.cx;
  FLineHeight = std::max(FLineHeight, int(Size.cy));
}

void THtmlColumnDisplay::ApplyTag(const THtmlTag& Tag) {
  const std::string Name = AsciiLowerCase(Utf16ToUtf8(Tag.Name));
  const int Step = Tag.Closing ? -1 : 1;
  TFont& Font = FCell.Canvas->Font();
  auto SetStyle = [&Font](TFontStyles Bit, bool On) {
    const TFontStyles Style = On ? (Font.Style() | Bit) : (Font.Style() & ~Bit);
    if (Style != Font.Style()) Font.SetStyle(Style);
  };
  if (Name == "b") {
    FBold += Step;
    SetStyle(fsBold, FBold >= 1);
  } else if (Name == "i") {
    FItalic += Step;
    SetStyle(fsItalic, FItalic >= 1);
  } else if (Name == "u") {
    FUnderline += Step;
    SetStyle(fsUnderline, FUnderline >= 1);
  } else if (Name == "a") {
    FAnchor += Step;
    SetStyle(fsUnderline, FAnchor >= 1);
    Font.SetColor(FAnchor >= 1 ? clBlue : clWindowText);
  } else if (Name == "br") {
    FPenX = FCell.CellRect.left + FCell.Metrics.CellTextMargin();
    FPenY += FLineHeight;
    FLineHeight = 0;
  } else if (Name == "font") {
    FFont += Step;
    for (const auto& [Key, Value] : Tag.Attributes) {
      const std::string Attribute = AsciiLowerCase(Utf16ToUtf8(Key));
      const std::string Text = Utf16ToUtf8(Value);
      if (Attribute == "color") {
        // An unreadable colour keeps the one in force rather than painting in "no colour".
        const TColor Color = FCell.CurrentCell ? FCell.HighlightedTextColor : HtmlToColor(Text);
        if (Color != clNone) Font.SetColor(Color);
      } else if (Attribute == "name") {
        if (!Text.empty()) Font.SetName(Text);
      } else if (Attribute == "size") {
        int Points = 0;
        // A size that is not a whole number changes nothing; beyond a thousand points no glyph
        // could show in a cell, and the font stops growing there.
        if (TryStrToInt(Text, Points)) Font.SetSize(std::clamp(Points, -1000, 1000));
      }
    }
  }
}

void THtmlColumnDisplay::Paint() {
  TClearBrush Clear(*FCell.Canvas);
  FCell.Canvas->SetTextTransparent(true);
  FPenX = FCell.CellRect.left + FCell.Metrics.CellTextMargin();
  FPenY = FCell.CellRect.top + 1;
  FLineHeight = 0;
  ReadHtmlText(
      TextValue, [this](std::u16string_view Run) { WriteText(Run); }, [this](const THtmlTag& Tag) { ApplyTag(Tag); });
}

// Check box play.

RECT TCheckBoxColumnPlay::CheckArea() const {
  const RECT Cell{-1, -1, CellRect.right - CellRect.left + 1, CellRect.bottom - CellRect.top + 1};
  return TGraphicsProvider::CheckBoxRect(Column().VerticalAlignment(), Column().Alignment(), Cell, Themed);
}

void TCheckBoxColumnPlay::Toggle() {
  BooleanValue = !BooleanValue;
  TextValue = BooleanValue ? u"True" : u"False";
  if (OnChange) OnChange(this);
}

bool TCheckBoxColumnPlay::MouseDown(int X, int Y) {
  const RECT Area = CheckArea();
  const POINT P{X - CellRect.left, Y - CellRect.top};
  if (!PtInRect(&Area, P)) return false;
  Toggle();
  return true;
}

bool TCheckBoxColumnPlay::KeyPress(char16_t Key) {
  if (Key != u' ') return false;
  Toggle();
  return true;
}

void RegisterGridDisplayClasses() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  auto Register = [](const char* Name, auto Make) { RegisterColumnElementClass(Name, Make); };
  Register("TTextualColumnDisplay", [](TCustomColumn& C) { return std::make_unique<TTextualColumnDisplay>(C); });
  Register("TNumericColumnDisplay", [](TCustomColumn& C) { return std::make_unique<TNumericColumnDisplay>(C); });
  Register("TIncrementColumnDisplay", [](TCustomColumn& C) { return std::make_unique<TIncrementColumnDisplay>(C); });
  Register("TDateColumnDisplay", [](TCustomColumn& C) { return std::make_unique<TDateColumnDisplay>(C); });
  Register("TImageColumnDisplay", [](TCustomColumn& C) { return std::make_unique<TImageColumnDisplay>(C); });
  Register("TProgressColumnDisplay", [](TCustomColumn& C) { return std::make_unique<TProgressColumnDisplay>(C); });
  Register("TRateColumnDisplay", [](TCustomColumn& C) { return std::make_unique<TRateColumnDisplay>(C); });
  Register("TCheckBoxColumnDisplay", [](TCustomColumn& C) { return std::make_unique<TCheckBoxColumnDisplay>(C); });
  Register("TGraphicColumnDisplay", [](TCustomColumn& C) { return std::make_unique<TGraphicColumnDisplay>(C); });
  Register("THtmlColumnDisplay", [](TCustomColumn& C) { return std::make_unique<THtmlColumnDisplay>(C); });
  Register("TCheckBoxColumnPlay", [](TCustomColumn& C) { return std::make_unique<TCheckBoxColumnPlay>(C); });
}
