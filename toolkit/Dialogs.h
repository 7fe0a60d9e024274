#pragma once
// The system's standard dialogs the program shows: a question answered Yes or Cancel, and the dialog
// that asks where to save a file.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Asks Text under Caption with the buttons Yes and Cancel and a warning icon; true for Yes. Closing
// the box or pressing Esc answers Cancel. Modal to Owner.
bool AskYesCancel(HWND Owner, const std::string& Caption, const std::string& Text);

// One entry of a save dialog's file types: the text shown and its patterns ("*.csv").
using TFileFilter = std::pair<std::string, std::string>;

// The system's save dialog. FileName proposes a name and receives the path chosen, of any length;
// the dialog asks before an existing file is replaced, and a name typed without an extension gets
// DefaultExtension. False when the user cancels.
bool PromptForSaveFileName(HWND Owner, const std::string& Title, const std::vector<TFileFilter>& Filters,
                           const std::string& DefaultExtension, std::string& FileName);
