#include "platform/win32/ShellDrag.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <memory>

#include "platform/win32/ShellItems.h"
#include "platform/win32/WideText.h"

namespace {

// Memory of Size bytes filled by Fill, as clipboard data hands it over; null when there is none.
template <typename TFill>
HGLOBAL GlobalData(std::size_t Size, const TFill& Fill) {
  HGLOBAL Memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, Size);
  if (!Memory) return nullptr;
  auto* Bytes = static_cast<unsigned char*>(GlobalLock(Memory));
  if (!Bytes) {
    GlobalFree(Memory);
    return nullptr;
  }
  Fill(Bytes);
  GlobalUnlock(Memory);
  return Memory;
}

// CF_HDROP: a DROPFILES header, then every path and a NUL after each, then one more NUL.
HGLOBAL FileList(const std::vector<std::string>& Paths) {
  std::wstring Names;
  for (const std::string& Path : Paths) Names += Widen(Path) + L'\0';
  Names += L'\0';
  return GlobalData(sizeof(DROPFILES) + Names.size() * sizeof(wchar_t), [&](unsigned char* Bytes) {
    auto* Header = reinterpret_cast<DROPFILES*>(Bytes);
    Header->pFiles = sizeof(DROPFILES);
    Header->fWide = TRUE;
    std::memcpy(Bytes + sizeof(DROPFILES), Names.data(), Names.size() * sizeof(wchar_t));
  });
}

// "Shell IDList Array": the count, the offsets of the parent and of each item, then the lists.
HGLOBAL IdListArray(const TShellItems& Items) {
  const std::vector<PCUITEMID_CHILD> Children = Items.Children();
  static const USHORT Desktop = 0;  // an empty list names the desktop
  const auto* Parent = Items.ParentId() ? reinterpret_cast<const unsigned char*>(Items.ParentId())
                                        : reinterpret_cast<const unsigned char*>(&Desktop);
  const UINT ParentSize = Items.ParentId() ? ILGetSize(Items.ParentId()) : sizeof Desktop;
  const std::size_t Header = sizeof(UINT) * (Children.size() + 2);
  std::size_t Size = Header + ParentSize;
  for (PCUITEMID_CHILD Child : Children) Size += ILGetSize(Child);
  return GlobalData(Size, [&](unsigned char* Bytes) {
    auto* Offsets = reinterpret_cast<UINT*>(Bytes);
    Offsets[0] = static_cast<UINT>(Children.size());
    std::size_t At = Header;
    Offsets[1] = static_cast<UINT>(At);
    std::memcpy(Bytes + At, Parent, ParentSize);
    At += ParentSize;
    for (std::size_t I = 0; I < Children.size(); ++I) {
      const UINT ChildSize = ILGetSize(Children[I]);
      Offsets[I + 2] = static_cast<UINT>(At);
      std::memcpy(Bytes + At, Children[I], ChildSize);
      At += ChildSize;
    }
  });
}

HGLOBAL FirstName(const TShellItems& Items) {
  const std::wstring Name = Widen(Items.Paths().front());
  return GlobalData((Name.size() + 1) * sizeof(wchar_t),
                    [&](unsigned char* Bytes) { std::memcpy(Bytes, Name.c_str(), Name.size() * sizeof(wchar_t)); });
}

class TShellDataObject final : public IDataObject {
 public:
  explicit TShellDataObject(const TShellItems& Items)
      : FFiles(FileList(Items.Paths())), FIdLists(IdListArray(Items)), FName(FirstName(Items)) {
    FFormats = {Format(CF_HDROP), Format(RegisterClipboardFormatW(L"Shell IDList Array")),
                Format(RegisterClipboardFormatW(L"FileNameW"))};
  }
  ~TShellDataObject() {
    for (HGLOBAL Memory : {FFiles, FIdLists, FName})
      if (Memory) GlobalFree(Memory);
    for (TStored& Stored : FStored) ReleaseStgMedium(&Stored.Medium);
  }
  TShellDataObject(const TShellDataObject&) = delete;
  TShellDataObject& operator=(const TShellDataObject&) = delete;
  bool Complete() const { return FFiles && FIdLists && FName; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Object) override {
    if (!Object) return E_POINTER;
    *Object = Id == __uuidof(IUnknown) || Id == __uuidof(IDataObject) ? this : nullptr;
    if (!*Object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&FReferences)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG Left = InterlockedDecrement(&FReferences);
    if (Left == 0) delete this;
    return static_cast<ULONG>(Left);
  }

  // IDataObject
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* Wanted, STGMEDIUM* Medium) override {
    if (!Wanted || !Medium) return E_INVALIDARG;
    *Medium = STGMEDIUM{};
    if (const TStored* Stored = Find(*Wanted)) {
      // Lent, not copied: releasing it releases the reference to this object.
      *Medium = Stored->Medium;
      Medium->pUnkForRelease = this;
      AddRef();
      return S_OK;
    }
    const HGLOBAL Own = OwnData(*Wanted);
    if (!Own) return DV_E_FORMATETC;
    const SIZE_T Size = GlobalSize(Own);
    HGLOBAL Copy = GlobalData(Size, [&](unsigned char* Bytes) {
      std::memcpy(Bytes, GlobalLock(Own), Size);
      GlobalUnlock(Own);
    });
    if (!Copy) return E_OUTOFMEMORY;
    Medium->tymed = TYMED_HGLOBAL;
    Medium->hGlobal = Copy;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* Wanted) override {
    if (!Wanted) return E_INVALIDARG;
    return Find(*Wanted) || OwnData(*Wanted) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* Out) override {
    if (Out) Out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* Format, STGMEDIUM* Medium, BOOL Release) override {
    if (!Format || !Medium) return E_INVALIDARG;
    // Only what the target hands over for good is kept: a copy of a medium of another kind could not
    // be made safely.
    if (!Release) return E_NOTIMPL;
    for (auto It = FStored.begin(); It != FStored.end(); ++It)
      if (It->Format.cfFormat == Format->cfFormat) {
        ReleaseStgMedium(&It->Medium);
        FStored.erase(It);
        break;
      }
    FStored.push_back({*Format, *Medium});
    FStored.back().Format.ptd = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) override {
    if (!Enum) return E_INVALIDARG;
    *Enum = nullptr;
    if (Direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> All = FFormats;
    for (const TStored& Stored : FStored) All.push_back(Stored.Format);
    return SHCreateStdEnumFmtEtc(static_cast<UINT>(All.size()), All.data(), Enum);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  struct TStored {
    FORMATETC Format;
    STGMEDIUM Medium;
  };
  static FORMATETC Format(CLIPFORMAT Id) { return FORMATETC{Id, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }
  const TStored* Find(const FORMATETC& Wanted) const {
    for (const TStored& Stored : FStored)
      if (Stored.Format.cfFormat == Wanted.cfFormat && (Stored.Format.tymed & Wanted.tymed)) return &Stored;
    return nullptr;
  }
  HGLOBAL OwnData(const FORMATETC& Wanted) const {
    if (!(Wanted.tymed & TYMED_HGLOBAL) || Wanted.dwAspect != DVASPECT_CONTENT) return nullptr;
    if (Wanted.cfFormat == FFormats[0].cfFormat) return FFiles;
    if (Wanted.cfFormat == FFormats[1].cfFormat) return FIdLists;
    if (Wanted.cfFormat == FFormats[2].cfFormat) return FName;
    return nullptr;
  }

  LONG FReferences = 1;
  HGLOBAL FFiles, FIdLists, FName;
  std::vector<FORMATETC> FFormats;
  std::vector<TStored> FStored;
};

// The drag goes on while the button that started it is held; Escape or the other button cancels it.
class TDropSource final : public IDropSource {
 public:
  explicit TDropSource(int Button) : FButton(Button == 1 ? MK_RBUTTON : MK_LBUTTON) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Object) override {
    if (!Object) return E_POINTER;
    *Object = Id == __uuidof(IUnknown) || Id == __uuidof(IDropSource) ? this : nullptr;
    if (!*Object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  // Lives on the stack of the drag, which outlasts every reference the drag takes.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL Escape, DWORD Keys) override {
    const DWORD Other = (MK_LBUTTON | MK_RBUTTON) & ~FButton;
    if (Escape || (Keys & Other)) return DRAGDROP_S_CANCEL;
    return (Keys & FButton) ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  DWORD FButton;
};

}  // namespace

IDataObject* CreateShellDataObject(const TShellItems& Items) {
  if (Items.Empty()) return nullptr;
  auto* Data = new TShellDataObject(Items);
  if (!Data->Complete()) {
    Data->Release();
    return nullptr;
  }
  return Data;
}

TDragOutcome DragFilesOut(HWND Window, const std::vector<std::string>& Paths, int Button) {
  std::vector<std::string> Existing;
  for (const std::string& Path : Paths)
    if (GetFileAttributesW(LongPathW(Path).c_str()) != INVALID_FILE_ATTRIBUTES) Existing.push_back(Path);
  if (Existing.empty()) return doCancelled;
  TOleScope Ole;
  const TShellItems Items(Existing);
  TComPtr<IDataObject> Data(CreateShellDataObject(Items));
  if (!Data) return doCancelled;
  TDropSource Source(Button);
  DWORD Effect = DROPEFFECT_NONE;
  // The shell's own drag: with the picture of the items where the system draws one.
  const HRESULT Result =
      SHDoDragDrop(Window, Data.Get(), &Source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &Effect);
  if (Result != DRAGDROP_S_DROP) return doCancelled;
  if (Effect & DROPEFFECT_MOVE) return doMoved;
  if (Effect & DROPEFFECT_LINK) return doLinked;
  return Effect & DROPEFFECT_COPY ? doCopied : doCancelled;
}
