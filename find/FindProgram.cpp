#include "find/FindProgram.h"

#include "core/FormatSettings.h"
#include "find/ConsoleSearch.h"
#include "masks/Masks.h"
#include "platform/Platform.h"
#include "search/SearchFolders.h"

namespace {

void ReportError(TConsole& Console, const std::string& Text) {
  Console.Err(std::string(FindProgramName) + ": " + Text + "\n");
}

// The run between loading and saving the cache; false when it failed. Closing is the closing text: the
// total size or the large-files note.
bool Search(const TFindOptions& Options, TSearchCache& Cache, TConsole& Console, TConsoleSearch& Output,
            std::string& Closing) {
  const TSearchCriteria Criteria = FindCriteria(Options);
  TFileSystem& Files = PlatformFileSystem();
  const TSearchFolders Folders = SplitSearchFolders(Criteria.Folder, Files);
  if (Folders.Folders.empty()) {
    ReportError(Console, std::string(FolderMissingText) + (Folders.Missing.empty() ? "" : ": " + Folders.Missing));
    return false;
  }
  try {
    TFolderListRun Run(Criteria, Folders.Folders, Cache, Files, PlatformClock());
    Output.Begin();
    Closing = OutcomeText(Run.Execute(Output, Output), FormatSettings());
  } catch (const EMaskError& Error) {
    ReportError(Console, MaskErrorText(Criteria.NameText, Error));
    return false;
  } catch (const std::exception& Error) {
    ReportError(Console, Error.what());
    return false;
  }
  Console.Flush();
  return true;
}

}  // namespace

int RunFind(const std::vector<std::string>& Arguments, TConsole& Console) {
  const TFormatSettings& Settings = FormatSettings();
  TFindOptions Options;
  std::string Problem;
  if (!ParseFindOptions(Arguments, Settings, Options, Problem)) {
    ReportError(Console, Problem + "\nTry '" + FindProgramName + " --help' for more information.");
    return fsError;
  }
  if (Options.Help || Options.Version) {
    Console.Out(Options.Help ? FindUsageText(Settings) : FindVersionText());
    return Console.Flush() ? fsFound : fsError;
  }

  WatchInterrupts();
  TFileSystem& Files = PlatformFileSystem();
  TSearchCache Cache(Files);
  // Finding the settings folder tries a write in it: --no-cache leaves the disk alone.
  const std::string CacheFile = Options.NoCache             ? std::string()
                                : Options.CacheFile.empty() ? TSearchCache::CacheFileName()
                                                            : Options.CacheFile;
  if (Options.NoCache) {
    Cache.StopRecording();
  } else {
    try {
      // Ctrl+C stops a long load at once; a cache read in part is never saved.
      if (!Cache.LoadCache(CacheFile, [] { return InterruptRequested(); })) ExitInterrupted();
    } catch (const std::exception& Error) {
      // Going on would replace a cache that could not be read with this run's paths alone.
      ReportError(Console, Error.what());
      return fsError;
    }
    // Saving would replace a file that is something else (a zero byte, a line that is no path).
    if (!Cache.Damage().empty()) {
      ReportError(Console, "'" + CacheFile + "' is not a search cache (" + Cache.Damage() + "); it was left as it is");
      return fsError;
    }
  }

  TConsoleSearch Output(Options, Console, Files.PathDelimiter(), Settings);
  std::string Closing;
  bool Ok = Search(Options, Cache, Console, Output, Closing);
  const bool Stopped = InterruptRequested();
  Console.SetStatusLine("");
  if (Console.OutFailed() && !Console.OutBroken()) {
    ReportError(Console, "cannot write the results: " + Console.OutErrorText());
    Ok = false;
  }
  // The closing text of the status bar; a reader that went away has seen all it wanted.
  if (Ok && !Options.Quiet && !Console.OutBroken() && !Closing.empty()) Console.Err(Closing + "\n");
  if (Stopped && !Options.Quiet) Console.Err(std::string(StoppedText) + "\n");

  if (!Options.NoCache) {
    HoldInterrupts(true);
    try {
      Cache.SaveCache(CacheFile);
    } catch (const std::exception& Error) {
      ReportError(Console, Error.what());
      Ok = false;
    }
    HoldInterrupts(false);
  }
  EndInterrupts();
  if (!Ok) return fsError;
  return Output.RowsFound() > 0 ? fsFound : fsNothingFound;
}
