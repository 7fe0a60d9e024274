#pragma once
// The grid as screen readers see it: a list whose items are the rows, each named by its cell
// texts in display order, the current row focused and selected rows marked. Handed out through
// WM_GETOBJECT.
#include <windows.h>

#include "gridview/GridGeometry.h"
#include "toolkit/Controls.h"

// What the accessible object reads and moves: the grid's window, rows, geometry and focus.
class TGridAccessibleHost {
 public:
  virtual TWinControl& HostWindow() = 0;
  virtual TGridModel& HostModel() = 0;
  virtual const TGridGeometry& HostGeometry() const = 0;
  virtual bool HostFocused() = 0;

 protected:
  ~TGridAccessibleHost() = default;
};

// The answer to WM_GETOBJECT for the client area (0 for other objects: the platform answers them).
// The accessible object asks the grid afresh on every call, so it stays right as rows change; a
// client that outlives the grid gets errors, not a dangling grid.
LRESULT GridAccessibleObject(TGridAccessibleHost& Grid, WPARAM WParam, LPARAM LParam);
// The grid is going: accessible objects handed out for it forget it.
void ForgetGridAccessible(TGridAccessibleHost& Grid);
