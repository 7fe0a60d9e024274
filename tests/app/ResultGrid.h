#pragma once
// The results grid's data side as the window has it: the six result columns reading the entries a
// search hands over.
#include <cstdint>
#include <string>

#include "app/ResultGrid.h"
#include "core/FormatSettings.h"
#include "gridview/GridModel.h"
#include "results/ResultRows.h"

class TTestResultGrid : public TGridModel {
 public:
  TTestResultGrid() { SetOptions(Options() + TGridOptions{goMultiSelect, goSelectFullRow}); }

  // One row as a search lists the entry Name found in Folder.
  void AddResult(const std::string& Folder, const std::string& Name, std::uint64_t Size, bool IsFolder) {
    TFileEntry Entry;
    Entry.Name = Name;
    Entry.Size = Size;
    Entry.Attributes = IsFolder ? faDirectory : faArchive;
    Entry.Time = 45000.5;
    Results.Add(Folder, Entry);
  }

 private:
  TFormatSettings FSettings = UnitedStatesFormatSettings();

 public:
  TResultGrid Results{*this, FSettings};
};
