#pragma once
// The grid as screen readers see it: a list whose items are the rows, each named by its cell
// texts in display order, the current row focused and selected rows marked. Handed out through
// WM_GETOBJECT.
#include <windows.h>

class TCustomGridViewControl;

// The answer to WM_GETOBJECT for the client area (0 for other objects: the platform answers them).
// The accessible object asks the grid afresh on every call, so it stays right as rows change; a
// client that outlives the grid gets errors, not a dangling grid.
LRESULT GridAccessibleObject(TCustomGridViewControl& Grid, WPARAM WParam, LPARAM LParam);
// The grid is going: accessible objects handed out for it forget it.
void ForgetGridAccessible(TCustomGridViewControl& Grid);
