#include "find/FindOptions.h"

#include <cstddef>

namespace {

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// Blanks around a number are no part of it.
std::string Trimmed(const std::string& Text) {
  const std::size_t First = Text.find_first_not_of(" \t");
  if (First == std::string::npos) return std::string();
  return Text.substr(First, Text.find_last_not_of(" \t") - First + 1);
}

bool IsWholeNumber(const std::string& Text) {
  if (Text.empty()) return false;
  for (char C : Text)
    if (!IsDigit(C)) return false;
  return true;
}

// "YYYY-MM-DD", the year in four digits and month and day in one or two.
bool ParseIsoDate(const std::string& Text, TDateTime& Date) {
  int Parts[3] = {0, 0, 0};
  int Digits[3] = {0, 0, 0};
  int Part = 0;
  for (char C : Text) {
    if (C == '-') {
      if (++Part > 2) return false;
    } else if (IsDigit(C)) {
      Parts[Part] = Parts[Part] * 10 + (C - '0');
      if (++Digits[Part] > 4) return false;
    } else {
      return false;
    }
  }
  if (Part != 2 || Digits[0] != 4 || Digits[1] == 0 || Digits[1] > 2 || Digits[2] == 0 || Digits[2] > 2) return false;
  return TryEncodeDate(Parts[0], Parts[1], Parts[2], Date);
}

class TParser {
 public:
  TParser(const std::vector<std::string>& Arguments, const TFormatSettings& Settings, TFindOptions& Options)
      : FArguments(Arguments), FSettings(Settings), FOptions(Options) {}

  bool Parse(std::string& Error) {
    std::vector<std::string> Positional;
    bool OptionsEnded = false;
    for (FIndex = 0; FIndex < FArguments.size(); ++FIndex) {
      const std::string& Argument = FArguments[FIndex];
      // "-" alone is no option (a folder may be named so); "--" ends the options.
      if (OptionsEnded || Argument.size() < 2 || Argument[0] != '-') {
        Positional.push_back(Argument);
      } else if (Argument == "--") {
        OptionsEnded = true;
      } else if (Argument[1] == '-') {
        if (!LongOption(Argument)) break;
      } else if (!ShortOptions(Argument)) {
        break;
      }
    }
    if (!FError.empty()) {
      Error = FError;
      return false;
    }
    if (FOptions.Help || FOptions.Version) return true;
    if (FOptions.Format == ofCsv && FOptions.NulEnds) return Fail("-0 and --csv cannot be combined", Error);
    if (Positional.empty()) return Fail("missing FOLDER", Error);
    if (Positional.size() > 3) return Fail("too many arguments: '" + Positional[3] + "'", Error);
    FOptions.Folder = Positional[0];
    if (Positional.size() > 1) FOptions.Name = Positional[1];
    if (Positional.size() > 2) FOptions.Contains = Positional[2];
    return true;
  }

 private:
  bool Fail(const std::string& Message, std::string& Error) {
    Error = Message;
    return false;
  }
  bool SetError(const std::string& Message) {
    FError = Message;
    return false;
  }

  bool SetFormat(TOutputFormat Format, const char* Name) {
    if (FFormatName && FOptions.Format != Format)
      return SetError(std::string(FFormatName) + " and " + Name + " cannot be combined");
    FOptions.Format = Format;
    FFormatName = Name;
    return true;
  }

  // The value of an option: after "=" in the same argument, or the next argument.
  bool Value(const std::string& Option, const std::string* Inline, std::string& Result) {
    if (Inline) {
      Result = *Inline;
      return true;
    }
    if (FIndex + 1 >= FArguments.size()) return SetError("option " + Option + " needs a value");
    Result = FArguments[++FIndex];
    return true;
  }

  bool Kilobytes(const std::string& Option, const std::string* Inline, std::optional<std::uint64_t>& Result) {
    std::string Text;
    if (!Value(Option, Inline, Text)) return false;
    std::uint64_t Bytes = 0;
    if (!IsWholeNumber(Trimmed(Text)) || !ParseSizeLimit(Text, Bytes))
      return SetError(Option + " needs a whole number of KB, not '" + Text + "'");
    Result = Bytes;
    return true;
  }

  bool Date(const std::string& Option, const std::string* Inline, TDateTime& Result) {
    std::string Text;
    if (!Value(Option, Inline, Text)) return false;
    if (!ParseDateArgument(Text, FSettings, Result))
      return SetError(Option + ": '" + Text + "' is not a date (" +
                      FormatDateTimePicture(FSettings.ShortDateFormat, EncodeDate(2024, 5, 31), FSettings) +
                      " or 2024-05-31)");
    return true;
  }

  bool Flag(const std::string& Option, const std::string* Inline, bool& Target) {
    if (Inline) return SetError("option " + Option + " takes no value");
    Target = true;
    return true;
  }

  bool LongOption(const std::string& Argument) {
    const std::size_t Equals = Argument.find('=');
    const std::string Option = Argument.substr(0, Equals);
    const std::string InlineText = Equals == std::string::npos ? std::string() : Argument.substr(Equals + 1);
    const std::string* Inline = Equals == std::string::npos ? nullptr : &InlineText;
    if (Option == "--help") return Flag(Option, Inline, FOptions.Help);
    if (Option == "--version") return Flag(Option, Inline, FOptions.Version);
    if (Option == "--null") return Flag(Option, Inline, FOptions.NulEnds);
    if (Option == "--quiet") return Flag(Option, Inline, FOptions.Quiet);
    if (Option == "--no-cache") return Flag(Option, Inline, FOptions.NoCache);
    if (Option == "--long") return !Inline ? SetFormat(ofLong, "--long") : SetError("option --long takes no value");
    if (Option == "--csv") return !Inline ? SetFormat(ofCsv, "--csv") : SetError("option --csv takes no value");
    if (Option == "--at-least") return Kilobytes(Option, Inline, FOptions.AtLeast);
    if (Option == "--at-most") return Kilobytes(Option, Inline, FOptions.AtMost);
    if (Option == "--cache") {
      if (!Value(Option, Inline, FOptions.CacheFile)) return false;
      if (FOptions.CacheFile.empty()) return SetError("option --cache needs a file name");
      return true;
    }
    if (Option == "--modified") {
      // Two values: FROM (maybe after "=") and TO.
      FOptions.Modified = true;
      if (!Date(Option, Inline, FOptions.ModifiedFrom) || !Date(Option, nullptr, FOptions.ModifiedTo)) return false;
      if (FOptions.ModifiedFrom > FOptions.ModifiedTo)
        return SetError("--modified: the first date is after the second");
      return true;
    }
    return SetError("unknown option '" + Option + "'");
  }

  // Letters may be grouped: "-0l".
  bool ShortOptions(const std::string& Argument) {
    for (std::size_t I = 1; I < Argument.size(); ++I) {
      switch (Argument[I]) {
        case '0': FOptions.NulEnds = true; break;
        case 'l':
          if (!SetFormat(ofLong, "--long")) return false;
          break;
        case 'q': FOptions.Quiet = true; break;
        case 'h': FOptions.Help = true; break;
        default: return SetError("unknown option '-" + std::string(1, Argument[I]) + "'");
      }
    }
    return true;
  }

  const std::vector<std::string>& FArguments;
  const TFormatSettings& FSettings;
  TFindOptions& FOptions;
  std::size_t FIndex = 0;
  const char* FFormatName = nullptr;
  std::string FError;
};

}  // namespace

TSearchCriteria FindCriteria(const TFindOptions& Options) {
  TSearchCriteria Criteria;
  Criteria.Folder = Options.Folder;
  Criteria.NameText = SearchNameText(Options.Name);
  Criteria.ContentText = Options.Contains;
  Criteria.MinimumSize = Options.AtLeast;
  Criteria.MaximumSize = Options.AtMost;
  if (Options.Modified) Criteria.Modified = TDayRange{Options.ModifiedFrom, Options.ModifiedTo};
  Criteria.RowsNeedDetails = Options.Format != ofPath;
  return Criteria;
}

bool ParseDateArgument(const std::string& Text, const TFormatSettings& Settings, TDateTime& Date) {
  const std::string Value = Trimmed(Text);
  if (ParseIsoDate(Value, Date)) return true;
  TDateTime Parsed = 0;
  // A time alone is no date.
  if (!TryStrToDateTime(Value, Parsed, Settings) || DateOf(Parsed) == 0.0) return false;
  Date = DateOf(Parsed);
  return true;
}

bool ParseFindOptions(const std::vector<std::string>& Arguments, const TFormatSettings& Settings, TFindOptions& Options,
                      std::string& Error) {
  Options = TFindOptions();
  return TParser(Arguments, Settings, Options).Parse(Error);
}

std::string FindUsageText(const TFormatSettings& Settings) {
  const std::string Example = FormatDateTimePicture(Settings.ShortDateFormat, EncodeDate(2024, 5, 31), Settings);
  return "Usage: torvane-find [OPTION]... FOLDER [NAME [TEXT]]\n"
         "Lists the files and folders in FOLDER and below it whose name matches NAME and, when TEXT is\n"
         "given, the files that contain TEXT. Paths met before, by this program or by Torvane Search, are\n"
         "listed at once from the search cache; the walk of the disk then adds the rest.\n"
         "FOLDER may name several folders separated by ';' ('C:\\Data;D:\\Archive'), searched one after\n"
         "the other into one list; a FOLDER that exists as it is typed is one folder.\n"
         "\n"
         "NAME is a mask; letters match in either case, in every script (as Windows compares names):\n"
         "  *  any run of characters        ?  any one character\n"
         "  [a-z]  one character of a range  [!a-z]  one character outside it\n"
         "  (abc)  one of a set              (!abc)  one character not in it\n"
         "  !c  any one character but c      #c  the character c itself\n"
         "  A NAME without * or ? matches the names that contain it; no NAME matches every name.\n"
         "TEXT is found in files of less than 300,000 bytes, letters in either case: a file that starts\n"
         "with a UTF-16 byte order mark is read whole as UTF-16, any other up to its first zero byte as\n"
         "UTF-8 (bytes that are no UTF-8 match with A to Z folded only); folders never contain it.\n"
         "\n"
         "Criteria:\n"
         "  --at-least KB         files of at least KB kilobytes\n"
         "  --at-most KB          files of at most KB kilobytes (folders count as 0)\n"
         "  --modified FROM TO    modified from the start of day FROM to the end of day TO; dates as\n"
         "                        2024-05-31 or " +
         Example +
         "\n"
         "Output (one result per line):\n"
         "                        the full path (the default)\n"
         "  -l, --long            the six columns of the results grid, tab-separated: image (0 file,\n"
         "                        1 folder), Name, Size, Modified, Folder, Type\n"
         "      --csv             Name, Size (bytes), Modified (ISO 8601), Folder, Type as comma-separated\n"
         "                        values with a header line, as the window's Export Results writes them\n"
         "  -0, --null            end every result with a NUL byte instead of a line break (xargs -0)\n"
         "  -q, --quiet           no progress line and no closing total on stderr; errors only\n"
         "Cache:\n"
         "      --cache FILE      use FILE as the search cache (default: the search.cache Torvane Search\n"
         "                        uses: beside the program when its folder can be written, else in\n"
         "                        the folder \"Torvane Search\" in the user's data folder); a file that\n"
         "                        is no search cache (a zero byte, a line that is no full path) is left\n"
         "                        alone, with exit status 2\n"
         "      --no-cache        neither read nor write a cache\n"
         "  -h, --help            show this help and exit\n"
         "      --version         show the version and exit\n"
         "\n"
         "On a terminal, stderr shows a progress line while the search runs; at the end it shows the\n"
         "total size of the files found, or a note that larger files were not searched for TEXT.\n"
         "Sizes and times are read only where something needs them (--long, --csv, a size or date\n"
         "criterion, TEXT): a plain list of paths without TEXT reads none, and so shows no total.\n"
         "Ctrl+C stops the search cleanly: the results so far stay listed, the cache is saved, and\n"
         "a closing note says that the list is incomplete.\n"
         "\n"
         "Exit status: 0 if something was found, 1 if nothing was, 2 on an error, 130 when stopped by\n"
         "Ctrl+C.\n";
}

std::string FindVersionText() { return "torvane-find (Torvane Search) " TORVANE_VERSION "\n"; }
