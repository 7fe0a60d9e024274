#pragma once
// The window's command line: up to three fields (the folder for "Look in:", the name for "Named:", the
// text for "With text:") and two switches. A folder starts a search half a second after the window
// opens, unless --no-search says to fill the fields only (Explorer's "Search with Torvane Search" does
// so). Portable; nothing here fails: a bad command line comes back with its Problem set.
#include <string>
#include <vector>

inline constexpr const char* NoSearchSwitch = "--no-search";

struct TCommandLine {
  // Folder, name, text, as given; an empty one leaves its field as it is.
  std::vector<std::string> Fields;
  bool Search = true;   // a folder given starts a search
  bool Help = false;    // --help, -h or /?: the usage, and nothing else
  std::string Problem;  // an option the program does not know, or a fourth field
  // The field at Index, or empty.
  std::string Field(std::size_t Index) const { return Index < Fields.size() ? Fields[Index] : std::string(); }
  bool StartsSearch() const { return Search && !Field(0).empty(); }
};

// Arguments are those after the program's name. Options come anywhere; "--" ends them, so that a
// folder may begin with "--". A folder that ends in a double quote has it dropped: no Windows path holds
// one, and a quoted drive root ("C:\") reaches the program as 'C:"'.
TCommandLine ParseCommandLine(const std::vector<std::string>& Arguments);

// What --help shows.
std::string CommandLineUsage();
