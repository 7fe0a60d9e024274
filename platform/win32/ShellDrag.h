#pragma once
// Files and folders dragged out of the program, as a drag out of the shell's own windows hands them:
// the file list (CF_HDROP), the shell's item identifier list ("Shell IDList Array") and the first one's
// name ("FileNameW"), offering copy, move and link. The drop target picks the effect, with the keys as
// in a drag out of Explorer. Whatever the target stores on the data (the effect it performed, a drag
// image) is kept for it. The data offers no asynchronous transfer: a target that moves or copies the
// files does so before its drop returns, so the disk tells the caller what was moved away.
// Fails: nothing throws; a drag that could not start ends as one that was cancelled.
#include <string>
#include <vector>

struct HWND__;
struct IDataObject;

class TShellItems;

// The data of a drag of Items (those the shell could name); a new reference, null when there are none.
IDataObject* CreateShellDataObject(const TShellItems& Items);

enum TDragOutcome { doCancelled, doCopied, doMoved, doLinked };

// A drag from Source (whose look the shell may take for the drag's picture) of the files and folders at
// Paths, with the mouse button Button (0 left, 1 right) held. Paths that do not exist are left out; with
// none left nothing happens. Returns once the drop or the cancel is over.
TDragOutcome DragFilesOut(HWND__* Source, const std::vector<std::string>& Paths, int Button = 0);
