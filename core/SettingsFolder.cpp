#include "core/SettingsFolder.h"

#include "core/TemporaryName.h"

namespace {

std::string WithoutDelimiter(std::string Folder, char Delimiter) {
  while (Folder.size() > 1 && Folder.back() == Delimiter) Folder.pop_back();
  return Folder;
}

// Makes Folder and whichever of its parents are missing (a new home may have no ~/.local/share yet).
bool ForceFolder(TFileSystem& Files, const std::string& Folder) {
  if (Folder.empty() || Files.DirectoryExists(Folder)) return !Folder.empty();
  const std::size_t Parent = Folder.find_last_of(Files.PathDelimiter());
  if (Parent != std::string::npos && Parent > 0 && !ForceFolder(Files, Folder.substr(0, Parent))) return false;
  return Files.CreateFolder(Folder);
}

// The system's text for the last failure, to stand in brackets inside a sentence.
std::string ReasonText(TFileSystem& Files) {
  std::string Text = Files.LastErrorText();
  while (!Text.empty() && (Text.back() == '.' || Text.back() == ' ')) Text.pop_back();
  return Text;
}

// Saving a settings file writes a temporary file and renames it over the old one: the test does the
// same with a name of its own, then removes it. Permission bits would not tell (access lists, a
// read-only medium, a full disk); trying does. Reason receives the system's text on failure.
bool CanWriteIn(TFileSystem& Files, const std::string& Folder, std::string& Reason) {
  const std::string Probe = Folder + TemporaryNameFor("settings-test");
  if (!Files.WriteFileAtomically(Probe, std::string())) {
    Reason = ReasonText(Files);
    return false;
  }
  Files.RemoveFile(Probe);
  return true;
}

}  // namespace

TSettingsPlace ChooseSettingsPlace(TFileSystem& Files, const std::string& ExecutableFolder,
                                   const std::string& UserDataFolder) {
  const char Delimiter = Files.PathDelimiter();
  TSettingsPlace Place;
  std::string Reason;
  if (CanWriteIn(Files, ExecutableFolder, Reason)) {
    Place.Folder = ExecutableFolder;
    return Place;
  }
  Place.Problem = "Torvane Search cannot save its settings: the program's folder \"" +
                  WithoutDelimiter(ExecutableFolder, Delimiter) + "\" cannot be written (" + Reason + ")";
  Place.Folder = ExecutableFolder;
  if (UserDataFolder.empty()) {
    Place.Problem += ", and the system names no folder for the user's own data.";
  } else {
    const std::string UserFolder = UserDataFolder + SettingsFolderName;
    if (!ForceFolder(Files, UserFolder)) {
      Reason = ReasonText(Files);
    } else if (CanWriteIn(Files, UserFolder + Delimiter, Reason)) {
      Place.Folder = UserFolder + Delimiter;
      Place.Problem.clear();
      return Place;
    }
    if (Files.DirectoryExists(UserFolder)) Place.Folder = UserFolder + Delimiter;
    Place.Problem += ", nor can \"" + UserFolder + "\" (" + Reason + ").";
  }
  Place.Writable = false;
  Place.Problem +=
      "\n\nSearches work as usual, but what this run would save (the search cache, the histories, the "
      "window's layout) will not be kept.";
  return Place;
}
