#include "gridview/win32/editors/EditorClasses.h"

#include <memory>

#include "gridview/Columns.h"
#include "gridview/win32/editors/CheckBoxEditor.h"
#include "gridview/win32/editors/NumericEditors.h"
#include "gridview/win32/editors/PopupEditors.h"

namespace {
template <class T>
void Register(const char* Name) {
  RegisterColumnElementClass(Name, [](TCustomColumn&) -> std::unique_ptr<TObject> { return std::make_unique<T>(); });
}
}  // namespace

void RegisterGridEditorClasses() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  Register<TTextualEditor>("TTextualEditor");
  Register<TCustomButtonCellEditor>("TCustomButtonCellEditor");
  Register<TComboBoxEditor>("TComboBoxEditor");
  Register<TDatePickerEditor>("TDatePickerEditor");
  Register<TNumericEditor>("TNumericEditor");
  Register<TSpinEditor>("TSpinEditor");
  Register<TCheckBoxEditor>("TCheckBoxEditor");
}
