#include "app/CommandLine.h"

TCommandLine ParseCommandLine(const std::vector<std::string>& Arguments) {
  TCommandLine Result;
  bool Options = true;
  for (const std::string& Argument : Arguments) {
    if (Options && Argument == "--") {
      Options = false;
    } else if (Options && Argument == NoSearchSwitch) {
      Result.Search = false;
    } else if (Options && (Argument == "--help" || Argument == "-h" || Argument == "/?")) {
      Result.Help = true;
    } else if (Options && Argument.size() > 2 && Argument.compare(0, 2, "--") == 0) {
      if (Result.Problem.empty()) Result.Problem = "Unknown option " + Argument;
    } else if (Result.Fields.size() == 3) {
      if (Result.Problem.empty()) Result.Problem = "Too many arguments: " + Argument;
    } else {
      Result.Fields.push_back(Argument);
    }
  }
  std::string Folder = Result.Field(0);
  if (!Folder.empty() && Folder.back() == '"') {
    Folder.pop_back();
    Result.Fields[0] = Folder;
  }
  return Result;
}

std::string CommandLineUsage() {
  return "Usage: torvane-search [--no-search] [FOLDER [NAME [TEXT]]]\n"
         "\n"
         "Opens the search window with FOLDER in \"Look in:\", NAME in \"Named:\" and TEXT in \"With text:\"; "
         "with a FOLDER the search starts at once. FOLDER may name several folders separated by \";\".\n"
         "\n"
         "--no-search\tfills the fields and waits in \"Named:\" without searching\n"
         "--help\tshows this text\n"
         "--\tends the options: a FOLDER that begins with \"--\" follows it";
}
