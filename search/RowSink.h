#pragma once
// What the search needs of the results grid: rows appended at the end and written cell by cell.
#include <string>

class TRowSink {
 public:
  virtual ~TRowSink() = default;
  // Update bracket: a nesting counter; the grid repaints when it returns to zero.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  virtual void ClearRows() = 0;
  // Appends Count empty rows (cells 0) at the end.
  virtual void AddRows(int Count) = 0;
  virtual int RowCount() const = 0;
  // Text is UTF-8; the grid converts it at its boundary.
  virtual void SetCellText(int Column, int Row, const std::string& Text) = 0;
};
