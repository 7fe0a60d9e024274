#pragma once
// Where the program keeps its settings files ("search.cache", "kestrix.ini", "kestrixfolders.ini",
// "kestrixlayout.ini"): beside the executable when that folder can be written (a portable copy), otherwise in a folder
// of the program's own name in the user's data folder (an installed copy under Program Files, which an ordinary user
// cannot write). The window and torvane-find decide it the same way, once per run.
// Fails: never throws; a place that cannot be written is reported in the answer.
#include <string>

#include "core/FileSystem.h"

// The folder made in the user's data folder.
inline constexpr const char* SettingsFolderName = "Torvane Search";

struct TSettingsPlace {
  std::string Folder;    // ends in the path delimiter
  bool Writable = true;  // false when neither place can be written
  std::string Problem;   // when not writable: what the user is told, naming both places and why
};

// Tries the executable's folder, then the settings folder in UserDataFolder (made when missing, with
// any missing parents); both end in the path delimiter, and UserDataFolder is empty when the platform
// names none. A folder counts as writable when a file can be made, renamed and removed in it, as
// saving a settings file does. When neither can be written, the settings are read from the user's
// folder if it exists, else from the executable's.
TSettingsPlace ChooseSettingsPlace(TFileSystem& Files, const std::string& ExecutableFolder,
                                   const std::string& UserDataFolder);
