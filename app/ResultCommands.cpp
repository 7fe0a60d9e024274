#include "app/ResultCommands.h"

#include "app/ResultGrid.h"
#include "core/Exceptions.h"
#include "core/Text.h"
#include "gridview/GridModel.h"
#include "results/ResultCsv.h"
#include "results/ResultRows.h"

namespace {

constexpr const char* LineBreak = "\r\n";
constexpr const char* Utf8ByteOrderMark = "\xEF\xBB\xBF";

// The folder part of a path, its trailing backslash kept ('C:\Data\' of 'C:\Data\a.txt').
std::string FolderOf(const std::string& Path) {
  const auto Slash = Path.find_last_of('\\');
  return Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
}

}  // namespace

// The grid's data side.

TGridResultRows::TGridResultRows(TResultGrid& Results) : FResults(Results), FGrid(Results.Grid()) {}
int TGridResultRows::RowCount() { return FGrid.RowCount(); }
int TGridResultRows::CurrentRow() { return FGrid.CurrentRow(); }
bool TGridResultRows::RowSelected(int Row) { return FGrid.RowSelected(Row); }
void TGridResultRows::SetRowSelected(int Row, bool Selected) { FGrid.SetRowSelected(Row, Selected); }
int TGridResultRows::SelectedCount() { return FGrid.SelectedCount(); }
void TGridResultRows::DeleteRow(int Row) { FGrid.DeleteRow(Row); }
std::string TGridResultRows::CellText(int Column, int Row) { return Utf16ToUtf8(FGrid.GetCellText(Column, Row)); }
int TGridResultRows::ColumnByCaption(const std::string& Caption) {
  return FGrid.Columns().FindByCaption(Utf8ToUtf16(Caption));
}
TResultRows::TResult TGridResultRows::Result(int Row) {
  TResult Found;
  const TResultList& List = FResults.List();
  const std::uint32_t Item = FResults.ItemOf(Row);
  if (Item >= List.Count()) return Found;
  Found.Folder = Utf16ToUtf8(List.Folder(Item));
  Found.Name = Utf16ToUtf8(List.Name(Item));
  Found.Size = List.Size(Item);
  Found.Time = List.Time(Item);
  Found.IsFolder = List.IsFolder(Item);
  return Found;
}

void TGridResultRows::BeginUpdate() { FGrid.BeginUpdate(); }
void TGridResultRows::EndUpdate() { FGrid.EndUpdate(); }

// Paths of rows.

std::string TResultCommands::RowPath(int Row) {
  std::string Folder, Name;
  RowParts(Row, Folder, Name);
  return Folder + "\\" + Name;
}

std::string TResultCommands::CurrentPath() { return ValidRow(FRows.CurrentRow()) ? RowPath(FRows.CurrentRow()) : ""; }

void TResultCommands::RowParts(int Row, std::string& Folder, std::string& Name) {
  // Looked up each time: the columns may have been moved or renamed since.
  Folder = FRows.CellText(FRows.ColumnByCaption(ResultColumnCaptions[rcFolder]), Row);
  Name = FRows.CellText(FRows.ColumnByCaption(ResultColumnCaptions[rcName]), Row);
}

std::string TResultCommands::ActionPath(int Row) {
  if (!ValidRow(Row)) return "";
  std::string Folder, Name;
  RowParts(Row, Folder, Name);
  return Folder.empty() || Name.empty() ? "" : Folder + "\\" + Name;
}

bool TResultCommands::ValidRow(int Row) { return Row >= 0 && Row < FRows.RowCount(); }

std::vector<std::string> TResultCommands::SelectedPaths() {
  std::vector<std::string> Paths;
  if (FRows.SelectedCount() == 0) return Paths;
  for (int Row = 0; Row < FRows.RowCount(); ++Row) {
    if (!FRows.RowSelected(Row)) continue;
    std::string Path = ActionPath(Row);
    if (!Path.empty()) Paths.push_back(std::move(Path));
  }
  return Paths;
}

// Open and explore.

void TResultCommands::Open() {
  const std::string Path = ActionPath(FRows.CurrentRow());
  if (Path.empty()) return;
  TShellRequest Request;
  Request.Verb = "OPEN";
  Request.File = Path;
  Request.Directory = "";
  Request.ShowMode = smNormal;
  FShell.Execute(Request);
}

void TResultCommands::Explore() {
  TShellRequest Request;
  Request.Verb = "OPEN";
  Request.File = "explorer.exe";
  // The explorer takes a folder with its trailing backslash; with no current row it opens its default.
  Request.Parameters = "\"" + FolderOf(CurrentPath()) + "\"";
  Request.Directory = "";
  Request.ShowMode = smNormal;
  FShell.Execute(Request);
}

// Delete.

std::string TResultCommands::DeleteSubject(const std::vector<std::string>& Paths) {
  // The question names the row that will go, which need not be the current one.
  if (Paths.size() == 1) return Paths.front();
  return Paths.empty() ? std::string() : "the " + std::to_string(Paths.size()) + " selected files";
}

void TResultCommands::DeleteSelected(bool Permanent) {
  // The paths are taken before anything happens: the shell's question and the confirmation pump
  // messages, and a running search may add rows meanwhile.
  const std::vector<std::string> Paths = SelectedPaths();
  const std::string Subject = DeleteSubject(Paths);
  if (Subject.empty()) return;
  std::vector<TFailure> Failures;
  if (Permanent) {
    if (!OnConfirm || !OnConfirm(ConfirmPrefix + Subject + ConfirmSuffix)) return;
    for (const std::string& Path : Paths) {
      if (FFileSystem.DirectoryExists(Path)) {
        Failures.push_back({Path, FolderNotDeletedText});
      } else if (!FFileSystem.RemoveFile(Path)) {
        Failures.push_back({Path, FFileSystem.LastErrorText()});
      }
    }
  } else {
    for (const std::string& Path : Paths) {
      std::string Reason;
      if (RecycleFile(Path, Reason) == srFailed) Failures.push_back({Path, Reason});
    }
  }
  RemoveVanishedRows();
  ReportFailures(Failures);
}

TShellResult TResultCommands::RecycleFile(const std::string& Path, std::string& Reason) {
  try {
    return FShell.Recycle(Path, Reason);
  } catch (const std::exception& Error) {
    Reason = Error.what();
    return srFailed;
  }
}

void TResultCommands::ReportFailures(const std::vector<TFailure>& Failures) {
  // A failure that left nothing behind (another program removed the file meanwhile) is no failure.
  std::string Text;
  std::size_t Named = 0, More = 0;
  for (const TFailure& Failure : Failures) {
    if (!ExistsOnDisk(Failure.Path)) continue;
    if (Named == ReportedFailures) {
      ++More;
      continue;
    }
    Text += "\n" + Failure.Path + (Failure.Reason.empty() ? "" : ": " + Failure.Reason);
    ++Named;
  }
  if (Named == 0 || !OnReport) return;
  if (More > 0) Text += "\nand " + std::to_string(More) + " more";
  OnReport(NotDeletedText + std::string("\n") + Text);
}

bool TResultCommands::ExistsOnDisk(const std::string& Path) {
  return FFileSystem.FileExists(Path) || FFileSystem.DirectoryExists(Path);
}

void TResultCommands::RemoveVanishedRows(bool Deselect) {
  // A row goes only when nothing is left at its path: a folder that a permanent delete cannot remove
  // is still a result.
  struct TUpdateScope {
    TResultRows& Rows;
    explicit TUpdateScope(TResultRows& Rows) : Rows(Rows) { Rows.BeginUpdate(); }
    ~TUpdateScope() { Rows.EndUpdate(); }
  } Update(FRows);
  for (int Row = 0; Row < FRows.RowCount();) {
    if (!FRows.RowSelected(Row)) {
      ++Row;
    } else if (!ExistsOnDisk(RowPath(Row))) {
      FRows.DeleteRow(Row);  // the next row takes this index
    } else {
      if (Deselect) FRows.SetRowSelected(Row, false);
      ++Row;
    }
  }
}

void TResultCommands::ForgetVanishedRows() { RemoveVanishedRows(false); }

// The shell's own commands.

std::vector<std::string> TResultCommands::ShellItemPaths() {
  std::vector<std::string> Paths = SelectedPaths();
  if (Paths.empty()) {
    std::string Current = ActionPath(FRows.CurrentRow());
    if (!Current.empty()) Paths.push_back(std::move(Current));
  }
  std::vector<std::string> Existing;
  for (std::string& Path : Paths)
    if (ExistsOnDisk(Path)) Existing.push_back(std::move(Path));
  return Existing;
}

void TResultCommands::OpenWith(void* Owner) {
  const std::string Path = ActionPath(FRows.CurrentRow());
  if (Path.empty() || !FFileSystem.FileExists(Path) || FShell.OpenWith(Path, Owner)) return;
  if (OnReport) OnReport(NoOpenWithText + Path + " with.");
}

void TResultCommands::ShowProperties(void* Owner) {
  const std::vector<std::string> Paths = ShellItemPaths();
  if (!Paths.empty()) FShell.ShowProperties(Paths, Owner);
}

// Copy and export.

std::string TResultCommands::SelectedPathsText() {
  std::vector<std::string> Paths = SelectedPaths();
  if (Paths.empty()) Paths.push_back(ActionPath(FRows.CurrentRow()));
  std::string Text;
  for (const std::string& Path : Paths) {
    if (!Text.empty()) Text += LineBreak;
    Text += Path;
  }
  return Text;
}

void TResultCommands::CopyPaths() {
  const std::string Text = SelectedPathsText();
  if (!Text.empty()) FShell.SetClipboardText(Text);
}

std::string TResultCommands::ResultsCsv() {
  std::string Csv = Utf8ByteOrderMark;
  Csv += ResultCsvHeader;
  for (int Row = 0; Row < FRows.RowCount(); ++Row) {
    const TResultRows::TResult Found = FRows.Result(Row);
    AppendResultCsv(Csv, Found.Folder, Found.Name, Found.Size, Found.Time, Found.IsFolder);
  }
  return Csv;
}

void TResultCommands::ExportResults(const std::string& FileName) {
  if (!FFileSystem.WriteFileAtomically(FileName, ResultsCsv()))
    throw EFileError("Cannot save the results to " + FileName + ": " + FFileSystem.LastErrorText());
}
