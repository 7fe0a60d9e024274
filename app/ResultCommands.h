#pragma once
// The commands on the results grid's rows: open a result, open its folder, move the selected results
// to the recycle bin or delete them, copy their paths, export all rows. They read the rows through a
// small interface and reach the disk through the shell and file-system interfaces, so they run and
// are tested without a window.
#include <functional>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "core/FileSystem.h"
#include "core/Shell.h"

class TGridModel;
class TResultGrid;

// The results grid as the commands see it. Column indexes are the grid's column indexes; texts UTF-8.
class TResultRows {
 public:
  virtual ~TResultRows() = default;
  virtual int RowCount() = 0;
  // Never negative, but it may stand at or past RowCount once rows were cleared or deleted.
  virtual int CurrentRow() = 0;
  virtual bool RowSelected(int Row) = 0;
  virtual void SetRowSelected(int Row, bool Selected) = 0;
  virtual int SelectedCount() = 0;
  // Later rows move up by one.
  virtual void DeleteRow(int Row) = 0;
  virtual std::string CellText(int Column, int Row) = 0;
  // The last column with the header caption; 0 when none has it.
  virtual int ColumnByCaption(const std::string& Caption) = 0;
  // The found entry behind a row, as typed values (texts UTF-8).
  struct TResult {
    std::string Folder, Name;
    std::uint64_t Size = 0;
    TDateTime Time = 0;
    bool IsFolder = false;
  };
  virtual TResult Result(int Row) = 0;
  // Bracket around many row changes, so the grid repaints once.
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
};

// The rows of the results grid and the entries behind them.
class TGridResultRows : public TResultRows {
 public:
  explicit TGridResultRows(TResultGrid& Results);
  int RowCount() override;
  int CurrentRow() override;
  bool RowSelected(int Row) override;
  void SetRowSelected(int Row, bool Selected) override;
  int SelectedCount() override;
  void DeleteRow(int Row) override;
  std::string CellText(int Column, int Row) override;
  int ColumnByCaption(const std::string& Caption) override;
  TResult Result(int Row) override;
  void BeginUpdate() override;
  void EndUpdate() override;

 private:
  TResultGrid& FResults;
  TGridModel& FGrid;
};

class TResultCommands {
 public:
  // Asks the user a question with the answers Yes and Cancel; true for Yes.
  using TConfirmEvent = std::function<bool(const std::string& Question)>;

  TResultCommands(TResultRows& Rows, TShell& Shell, TFileSystem& FileSystem)
      : FRows(Rows), FShell(Shell), FFileSystem(FileSystem) {}

  // The row's "Folder" text, a backslash and its "Name" text.
  std::string RowPath(int Row);
  // RowPath of the current row; empty when there is no valid current row.
  std::string CurrentPath();

  // Opens the current row's file with the program the shell associates with it.
  void Open();
  // Opens the shell's explorer on the current row's folder.
  void Explore();
  // Moves the selected rows' files to the recycle bin (one shell operation each, the shell asks), or
  // deletes them after the user confirmed. Then every selected row whose path no longer exists on disk
  // leaves the grid and the others are deselected. What could not be removed (and was not kept by the
  // user's own answer to the shell) is reported once, through OnReport, with the reasons.
  void DeleteSelected(bool Permanent);
  // One shell file operation to the recycle bin; Reason says why it failed.
  TShellResult RecycleFile(const std::string& Path, std::string& Reason);

  // The selected rows' full paths, one per line (CR LF between them); the current row's when none is
  // selected.
  std::string SelectedPathsText();

  // What the shell is handed (a drag out, its own menu, "Properties"): the paths of the selected rows,
  // or of the current row when none is selected, in row order, those gone from the disk left out.
  std::vector<std::string> ShellItemPaths();
  // The shell's "Open with" for the current row's file (nothing for a folder or a file that is gone);
  // a shell that has none to offer is told through OnReport.
  void OpenWith(void* Owner);
  // The shell's properties of ShellItemPaths.
  void ShowProperties(void* Owner);
  // After the shell acted on the selected rows (a drag that moved them, a command of its menu): those
  // whose path no longer exists leave the grid, as after a delete; the others stay selected.
  void ForgetVanishedRows();
  // Puts SelectedPathsText on the clipboard; nothing when there is no path to copy.
  void CopyPaths();
  // All rows, in the grid's order, as the results' comma-separated values (the form torvane-find
  // --csv writes too), after the UTF-8 byte order mark that spreadsheet programs need to read a file
  // as UTF-8.
  std::string ResultsCsv();
  // Writes ResultsCsv to FileName; EFileError with the system's reason when it cannot.
  void ExportResults(const std::string& FileName);

  // The permanent delete's question; without a handler the answer is Cancel.
  TConfirmEvent OnConfirm;
  // Tells the user what a delete could not remove; without a handler nothing is told.
  std::function<void(const std::string& Text)> OnReport;

  // The confirmation's texts.
  static constexpr const char* ConfirmPrefix = "Are you sure you want to delete ";
  static constexpr const char* ConfirmSuffix = "?";
  // The report of what stayed: the heading, one line per path with its reason (at most
  // ReportedFailures of them), then how many more.
  static constexpr const char* NotDeletedText = "These could not be deleted:";
  static constexpr const char* FolderNotDeletedText =
      "A folder is deleted only by moving it to the recycle bin (Delete), never permanently.";
  static constexpr std::size_t ReportedFailures = 10;
  static constexpr const char* NoOpenWithText = "This system offers no choice of a program to open ";

 private:
  void RowParts(int Row, std::string& Folder, std::string& Name);
  // The path of a row that has both parts, else empty: "\" alone names the root of the current drive,
  // and a folder with an empty name the folder itself. Empty for a row that does not exist.
  std::string ActionPath(int Row);
  bool ValidRow(int Row);
  // The paths of the selected rows, in row order; rows without a complete path are left out.
  std::vector<std::string> SelectedPaths();
  // What the question names: one path, or "the N selected files"; empty when nothing is selected.
  std::string DeleteSubject(const std::vector<std::string>& Paths);
  bool ExistsOnDisk(const std::string& Path);
  // The selected rows whose path is gone leave the grid; Deselect deselects the others.
  void RemoveVanishedRows(bool Deselect = true);
  // A path that stayed, and why.
  struct TFailure {
    std::string Path;
    std::string Reason;
  };
  void ReportFailures(const std::vector<TFailure>& Failures);

  TResultRows& FRows;
  TShell& FShell;
  TFileSystem& FFileSystem;
};
