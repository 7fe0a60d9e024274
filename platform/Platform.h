#pragma once
// The platform's implementations of the core's services, for the program's entry points (the window,
// torvane-find, the test and benchmark programs) to hand in: the core reaches none of them by itself.
// Fails: nothing here throws; ExecutableFolder and UserDataFolder may answer "./" and "".
#include <string>

#include "core/Clock.h"
#include "core/CodePage.h"
#include "core/Collation.h"
#include "core/FileSystem.h"
#include "core/FormatSettings.h"
#include "core/SettingsFolder.h"

// The platform's file system and clock, each one object shared by the whole program.
TFileSystem& PlatformFileSystem();
TClock& PlatformClock();
// The user's locale as the platform reports it now.
TFormatSettings ReadPlatformFormatSettings();
TCollation& PlatformCollation();
TCodePage& PlatformCodePage();

// The folder that holds the running executable, ending in the path delimiter.
std::string ExecutableFolder();
// The folder the platform keeps for the user's own program data on this machine (Windows: the local
// application data folder; elsewhere $XDG_DATA_HOME or ~/.local/share), ending in the path delimiter;
// empty when the platform names none.
std::string UserDataFolder();
// The program's settings place, decided at the first call from the two folders above.
const TSettingsPlace& ProgramSettingsPlace();

// Hands the platform's clock, locale settings, collation and code page to the core. Every entry point
// calls it once, first.
void InstallPlatformServices();
