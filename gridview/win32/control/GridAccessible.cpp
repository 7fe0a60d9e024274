#include "gridview/win32/control/GridAccessible.h"

#include <oleacc.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {
class TGridAccessible;
// The object handed out for each grid (one user-interface thread: no locking).
std::map<TGridAccessibleHost*, TGridAccessible*>& Handed() {
  static std::map<TGridAccessibleHost*, TGridAccessible*> Objects;
  return Objects;
}

BSTR ToBSTR(const std::u16string& Text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(Text.data()), static_cast<UINT>(Text.size()));
}

// IUnknown of the objects handed to clients: counted references (one user-interface thread).
template <class TInterface>
class TComObject : public TInterface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Object) override {
    if (!Object) return E_POINTER;
    if (IsEqualIID(Id, IID_IUnknown) || Answers(Id)) {
      *Object = static_cast<TInterface*>(this);
      this->AddRef();
      return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG Left = --FReferences;
    if (Left == 0) delete this;
    return Left;
  }

 protected:
  virtual ~TComObject() = default;
  // The interfaces besides IUnknown the object is.
  virtual bool Answers(REFIID Id) const = 0;

 private:
  ULONG FReferences = 1;
};

// The selected rows handed to a client when there are several: their child numbers, in order.
class TChildEnumerator final : public TComObject<IEnumVARIANT> {
 public:
  explicit TChildEnumerator(std::vector<long> Children, std::size_t Position = 0)
      : FChildren(std::move(Children)), FPosition(Position) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG Count, VARIANT* Items, ULONG* Fetched) override {
    if (!Items) return E_POINTER;
    ULONG Done = 0;
    for (; Done < Count && FPosition < FChildren.size(); ++Done, ++FPosition) {
      VariantInit(&Items[Done]);
      Items[Done].vt = VT_I4;
      Items[Done].lVal = FChildren[FPosition];
    }
    if (Fetched) *Fetched = Done;
    return Done == Count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG Count) override {
    const std::size_t Left = FChildren.size() - FPosition;
    FPosition += std::min<std::size_t>(Count, Left);
    return Count <= Left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    FPosition = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** Copy) override {
    if (!Copy) return E_POINTER;
    *Copy = new TChildEnumerator(FChildren, FPosition);
    return S_OK;
  }

 private:
  bool Answers(REFIID Id) const override { return IsEqualIID(Id, IID_IEnumVARIANT); }

  std::vector<long> FChildren;
  std::size_t FPosition;
};

class TGridAccessible final : public TComObject<IAccessible> {
 public:
  explicit TGridAccessible(TGridAccessibleHost& Grid) : FGrid(&Grid) {}
  void Forget() { FGrid = nullptr; }

  // IDispatch: clients use the interface directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* Count) override {
    if (Count) *Count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible: child 0 is the list, children 1..RowCount its rows.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** Parent) override {
    if (!Parent) return E_POINTER;
    *Parent = nullptr;
    if (!FGrid) return E_FAIL;
    return CreateStdAccessibleObject(FGrid->HostWindow().Handle(), OBJID_WINDOW, IID_IDispatch,
                                     reinterpret_cast<void**>(Parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* Count) override {
    if (!Count) return E_POINTER;
    *Count = FGrid ? FGrid->HostModel().RowCount() : 0;
    return FGrid ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** Child) override {
    // Rows are simple elements, answered through their child numbers.
    if (Child) *Child = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT Child, BSTR* Name) override {
    if (!Name) return E_POINTER;
    *Name = nullptr;
    const int Row = RowOf(Child);
    if (Row < -1) return E_INVALIDARG;
    *Name = ToBSTR(Row < 0 ? std::u16string() : RowText(Row));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* Value) override {
    if (Value) *Value = nullptr;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* Text) override {
    if (Text) *Text = nullptr;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT Child, VARIANT* Role) override {
    if (!Role) return E_POINTER;
    const int Row = RowOf(Child);
    if (Row < -1) return E_INVALIDARG;
    Role->vt = VT_I4;
    Role->lVal = Row < 0 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT Child, VARIANT* State) override {
    if (!State) return E_POINTER;
    const int Row = RowOf(Child);
    if (Row < -1) return E_INVALIDARG;
    const bool Focused = FGrid->HostFocused();
    long Flags = STATE_SYSTEM_FOCUSABLE;
    if (Row < 0) {
      if (Focused) Flags |= STATE_SYSTEM_FOCUSED;
      if (FGrid->HostModel().Options().Contains(goMultiSelect)) Flags |= STATE_SYSTEM_MULTISELECTABLE;
    } else {
      Flags |= STATE_SYSTEM_SELECTABLE;
      if (FGrid->HostModel().RowSelected(Row)) Flags |= STATE_SYSTEM_SELECTED;
      if (Row == FGrid->HostModel().CurrentRow() && Focused) Flags |= STATE_SYSTEM_FOCUSED;
      if (Row < FGrid->HostGeometry().TopRow() ||
          FGrid->HostGeometry().RowTop(Row) >= FGrid->HostGeometry().DataBottom())
        Flags |= STATE_SYSTEM_OFFSCREEN;
    }
    State->vt = VT_I4;
    State->lVal = Flags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* Help) override {
    if (Help) *Help = nullptr;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* File, VARIANT, long* Topic) override {
    if (File) *File = nullptr;
    if (Topic) *Topic = 0;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* Keys) override {
    if (Keys) *Keys = nullptr;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* Focus) override {
    if (!Focus) return E_POINTER;
    Focus->vt = VT_EMPTY;
    if (!FGrid) return E_FAIL;
    if (!FGrid->HostFocused()) return S_FALSE;
    Focus->vt = VT_I4;
    Focus->lVal = FGrid->HostModel().ValidRow(FGrid->HostModel().CurrentRow()) ? FGrid->HostModel().CurrentRow() + 1
                                                                               : CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* Selection) override {
    if (!Selection) return E_POINTER;
    Selection->vt = VT_EMPTY;
    if (!FGrid) return E_FAIL;
    const int Count = FGrid->HostModel().SelectedCount();
    if (Count <= 0) return S_FALSE;
    std::vector<long> Rows;
    Rows.reserve(static_cast<std::size_t>(Count));
    for (int Row = 0; Row < FGrid->HostModel().RowCount() && Rows.size() < static_cast<std::size_t>(Count); ++Row)
      if (FGrid->HostModel().RowSelected(Row)) Rows.push_back(Row + 1);
    if (Rows.empty()) return S_FALSE;
    // One selected row is named itself; several come as an enumeration of their child numbers.
    if (Rows.size() == 1) {
      Selection->vt = VT_I4;
      Selection->lVal = Rows.front();
    } else {
      Selection->vt = VT_UNKNOWN;
      Selection->punkVal = new TChildEnumerator(std::move(Rows));
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* Action) override {
    if (Action) *Action = nullptr;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long Flags, VARIANT Child) override {
    const int Row = RowOf(Child);
    if (Row < 0) return E_INVALIDARG;
    if (Flags & SELFLAG_TAKEFOCUS) FGrid->HostWindow().SetFocus();
    if (Flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS))
      FGrid->HostModel().SetCurrentCell(FGrid->HostModel().CurrentColumn(), Row, 0);
    if (Flags & SELFLAG_ADDSELECTION) FGrid->HostModel().SetRowSelected(Row, true);
    if (Flags & SELFLAG_REMOVESELECTION) FGrid->HostModel().SetRowSelected(Row, false);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* Left, long* Top, long* Width, long* Height, VARIANT Child) override {
    if (!Left || !Top || !Width || !Height) return E_POINTER;
    const int Row = RowOf(Child);
    if (Row < -1) return E_INVALIDARG;
    RECT R = FGrid->HostWindow().ClientRect();
    if (Row >= 0)
      R = RECT{0, FGrid->HostGeometry().RowTop(Row), FGrid->HostWindow().ClientWidth(),
               FGrid->HostGeometry().RowTop(Row) + FGrid->HostGeometry().RowExtent(Row)};
    const POINT Corner = FGrid->HostWindow().ClientToScreen(POINT{R.left, R.top});
    *Left = Corner.x, *Top = Corner.y, *Width = R.right - R.left, *Height = R.bottom - R.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long Direction, VARIANT Start, VARIANT* End) override {
    if (!End) return E_POINTER;
    End->vt = VT_EMPTY;
    const int Row = RowOf(Start);
    if (Row < -1) return E_INVALIDARG;
    int Target = -1;
    switch (Direction) {
      case NAVDIR_FIRSTCHILD: Target = Row < 0 ? 0 : -1; break;
      case NAVDIR_LASTCHILD: Target = Row < 0 ? FGrid->HostModel().RowCount() - 1 : -1; break;
      case NAVDIR_NEXT:
      case NAVDIR_DOWN: Target = Row >= 0 ? Row + 1 : -1; break;
      case NAVDIR_PREVIOUS:
      case NAVDIR_UP: Target = Row >= 0 ? Row - 1 : -1; break;
      default: break;
    }
    if (!FGrid->HostModel().ValidRow(Target)) return S_FALSE;
    End->vt = VT_I4;
    End->lVal = Target + 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long X, long Y, VARIANT* Child) override {
    if (!Child) return E_POINTER;
    Child->vt = VT_EMPTY;
    if (!FGrid) return E_FAIL;
    const POINT P = FGrid->HostWindow().ScreenToClient(POINT{X, Y});
    const RECT Client = FGrid->HostWindow().ClientRect();
    if (!PtInRect(&Client, P)) return S_FALSE;
    const int Row = FGrid->HostGeometry().RowAt(P.y);
    Child->vt = VT_I4;
    Child->lVal = Row >= 0 ? Row + 1 : CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  // -1 for the list itself, the row for a row's child number, -2 for anything else.
  int RowOf(const VARIANT& Child) const {
    if (!FGrid || Child.vt != VT_I4) return -2;
    if (Child.lVal == CHILDID_SELF) return -1;
    return Child.lVal >= 1 && Child.lVal <= FGrid->HostModel().RowCount() ? static_cast<int>(Child.lVal) - 1 : -2;
  }
  std::u16string RowText(int Row) {
    std::u16string Text;
    TColumns& Columns = FGrid->HostModel().Columns();
    for (int P = 0; P < Columns.Count(); ++P) {
      TCustomColumn* Column = Columns.DisplayItems(P);
      if (!Column->Visible()) continue;
      const std::u16string Cell = Column->FormatText(FGrid->HostModel().GetCellText(Column->Index(), Row));
      if (Cell.empty()) continue;
      if (!Text.empty()) Text += u", ";
      Text += Cell;
    }
    return Text;
  }

  bool Answers(REFIID Id) const override { return IsEqualIID(Id, IID_IDispatch) || IsEqualIID(Id, IID_IAccessible); }

  TGridAccessibleHost* FGrid;
};
}  // namespace

LRESULT GridAccessibleObject(TGridAccessibleHost& Grid, WPARAM WParam, LPARAM LParam) {
  if (static_cast<long>(LParam) != OBJID_CLIENT) return 0;
  TGridAccessible*& Object = Handed()[&Grid];
  if (!Object) Object = new TGridAccessible(Grid);
  return LresultFromObject(IID_IAccessible, WParam, Object);
}

void ForgetGridAccessible(TGridAccessibleHost& Grid) {
  const auto It = Handed().find(&Grid);
  if (It == Handed().end()) return;
  It->second->Forget();
  It->second->Release();
  Handed().erase(It);
}
