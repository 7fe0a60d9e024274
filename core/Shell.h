#pragma once
// What the program asks of the desktop shell: run a request (open a document with its program, start
// a program, show a web page), move a file to the recycle bin, put text on the clipboard, let the user
// choose a program for a file, show the properties of files. The window's
// commands go through this interface, so tests substitute their own shell.
// Fails: nothing throws; Recycle reports a refusal or failure in its answer, SetClipboardText answers
// false, and Execute reports nothing.
#include <optional>
#include <string>
#include <vector>

// How a started program shows its window, as the platform numbers the modes.
enum TShowMode : int { smNormal = 1, smMaximized = 3, smShow = 5 };

// How a shell file operation ended.
enum TShellResult { srDone, srDeclined, srFailed };

// One request to the shell's execute operation. Texts are UTF-8.
struct TShellRequest {
  void* Owner = nullptr;                 // the window that owns what the shell shows; null for none
  std::optional<std::string> Verb;       // none: the shell's default verb
  std::string File;                      // document, program or web address
  std::string Parameters;                // for a program
  std::optional<std::string> Directory;  // none: no working folder given (differs from an empty one)
  int ShowMode = smNormal;

  bool operator==(const TShellRequest& Other) const {
    return Owner == Other.Owner && Verb == Other.Verb && File == Other.File && Parameters == Other.Parameters &&
           Directory == Other.Directory && ShowMode == Other.ShowMode;
  }
};

class TShell {
 public:
  virtual ~TShell() = default;
  // Hands the request over and returns; what the shell or the started program makes of it is not
  // reported (no program for the document, no browser, no network).
  virtual void Execute(const TShellRequest& Request) = 0;
  // One shell file operation that moves the file or folder at Path to the recycle bin, with the
  // shell's own confirmation and no progress window. Callers look at the disk for what is gone; the
  // answer tells a refusal of the user from a failure, whose Reason is the system's.
  virtual TShellResult Recycle(const std::string& Path, std::string& Reason) = 0;
  // Replaces the clipboard's contents with Text as Unicode text; false when the clipboard is busy.
  virtual bool SetClipboardText(const std::string& Text) = 0;
  // The shell's own choice of a program to open the file at Path with ("Open with"), owned by the window
  // Owner; false when the shell has none to offer.
  virtual bool OpenWith(const std::string& Path, void* Owner) {
    (void)Path;
    (void)Owner;
    return false;
  }
  // The shell's properties of the files and folders at Paths, one sheet for all of them.
  virtual void ShowProperties(const std::vector<std::string>& Paths, void* Owner) {
    (void)Paths;
    (void)Owner;
  }
};
