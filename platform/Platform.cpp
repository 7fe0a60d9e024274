#include "platform/Platform.h"

const TSettingsPlace& ProgramSettingsPlace() {
  static const TSettingsPlace Place = ChooseSettingsPlace(PlatformFileSystem(), ExecutableFolder(), UserDataFolder());
  return Place;
}

void InstallPlatformServices() {
  SetProgramClock(PlatformClock());
  SetFormatSettings(ReadPlatformFormatSettings());
  SetCollation(PlatformCollation());
  SetCodePage(PlatformCodePage());
}
