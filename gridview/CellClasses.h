#pragma once
// The cells of the grid's store: one object per cell, typed by its column's cell kind. Every
// typed setter stores its value first and then tells its owner, which re-marks the sort as stale
// and reports the change.
#include <memory>
#include <string>
#include <string_view>

#include "core/DateTime.h"
#include "core/Object.h"
#include "gridview/GridTypes.h"
#include "gridview/SharedText.h"

class TCell;

// What a cell reports to, and asks of, the store that holds it.
class TCellOwner {
 public:
  // After the cell's value or colour changed.
  virtual void CellChanged(const TCell& Cell) = 0;
  // The stored form of a text cell's text in column ACol: a text repeated over many rows of a
  // column is kept once.
  virtual TSharedText ShareText(int ACol, std::u16string_view Text) = 0;

 protected:
  ~TCellOwner() = default;
};

class TCell {
 public:
  explicit TCell(TCellOwner& Owner);
  virtual ~TCell() = default;
  TCell(const TCell&) = delete;
  TCell& operator=(const TCell&) = delete;

  virtual bool GetAsBoolean() const = 0;
  virtual TDateTime GetAsDateTime() const = 0;
  virtual double GetAsFloat() const = 0;
  virtual int GetAsInteger() const = 0;
  virtual std::u16string GetAsText() const = 0;
  virtual void SetAsBoolean(bool Value);
  virtual void SetAsDateTime(TDateTime Value);
  virtual void SetAsFloat(double Value);
  virtual void SetAsInteger(int Value);
  virtual void SetAsText(const std::u16string& Value);

  TCellOwner& Owner() const { return *FOwner; }
  // The coordinates of the last lookup; rows move, so a cell learns where it is when fetched.
  int Col() const { return FCol; }
  int Row() const { return FRow; }
  void SetPosition(int ACol, int ARow) { FCol = ACol, FRow = ARow; }

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles FontStyle() const { return FFontStyle; }
  void SetFontStyle(TFontStyles Value) { FFontStyle = Value; }
  // Not owned: the value of object cells, or whatever the program hangs on a cell.
  TObject* Object() const { return FObject; }
  void SetObject(TObject* Value) { FObject = Value; }
  std::u16string Hint() const { return FHint ? *FHint : std::u16string(); }
  void SetHint(const std::u16string& Value);
  bool Initializing() const { return FInitializing; }
  void EndInitializing() { FInitializing = false; }

 protected:
  // Tells the store that the value or colour changed.
  void Changed();

 private:
  TCellOwner* FOwner;
  TObject* FObject = nullptr;
  std::unique_ptr<std::u16string> FHint;  // rare, so kept out of line
  TColor FColor = clBlack;
  int FCol = 0, FRow = 0;
  TFontStyles FFontStyle = 0;
  bool FInitializing = true;
};

// Text; the other getters convert it in the user's locale and raise EConvertError when it does not
// convert.
class TStringCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() const override;
  TDateTime GetAsDateTime() const override;
  double GetAsFloat() const override;
  int GetAsInteger() const override;
  std::u16string GetAsText() const override { return std::u16string(FValue.View()); }
  std::u16string_view Text() const { return FValue.View(); }
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(TDateTime Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  // Shares the text with an equal one recently stored in the same column (TCellOwner::ShareText).
  void SetAsText(const std::u16string& Value) override;

 private:
  TSharedText FValue;
};

class TIntegerCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() const override { return false; }
  TDateTime GetAsDateTime() const override { return 0; }
  double GetAsFloat() const override { return FValue; }
  int GetAsInteger() const override { return FValue; }
  std::u16string GetAsText() const override;
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(TDateTime Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  // Empty text gives 0; other text must be a whole number (EConvertError, value kept).
  void SetAsText(const std::u16string& Value) override;

 private:
  int FValue = 0;
};

class TFloatCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() const override { return false; }
  TDateTime GetAsDateTime() const override { return FValue; }
  double GetAsFloat() const override { return FValue; }
  int GetAsInteger() const override;
  std::u16string GetAsText() const override;
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(TDateTime Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  // The text must be a number, empty text included (EConvertError, value kept).
  void SetAsText(const std::u16string& Value) override;

 private:
  double FValue = 0;
};

class TDateTimeCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() const override { return false; }
  TDateTime GetAsDateTime() const override { return FValue; }
  double GetAsFloat() const override { return FValue; }
  int GetAsInteger() const override;
  std::u16string GetAsText() const override;
  void SetAsBoolean(bool Value) override;  // true or false alike: today's date
  void SetAsDateTime(TDateTime Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  // Never fails: empty or unreadable text gives 0.
  void SetAsText(const std::u16string& Value) override;

 private:
  TDateTime FValue = 0;
};

class TBooleanCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() const override { return FValue; }
  TDateTime GetAsDateTime() const override { return 0; }
  double GetAsFloat() const override { return 0; }
  int GetAsInteger() const override { return 0; }
  std::u16string GetAsText() const override;
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(TDateTime Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  // True exactly for the word true in any letter case.
  void SetAsText(const std::u16string& Value) override;

 private:
  bool FValue = false;
};

// Stores nothing: shows its row number, counted from 1.
class TIncrementCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() const override { return false; }
  TDateTime GetAsDateTime() const override { return 0; }
  double GetAsFloat() const override { return Row() + 1; }
  int GetAsInteger() const override { return Row() + 1; }
  std::u16string GetAsText() const override;
};
