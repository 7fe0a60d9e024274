// The shell's own menu and the data of a drag, built for files in one folder and in several.
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/ShellDrag.h"
#include "platform/win32/ShellMenu.h"
#include "platform/win32/WideText.h"
#include "tests/support/TempFolder.h"

namespace {

std::vector<std::string> FilesOf(IDataObject& Data) {
  FORMATETC Format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM Medium{};
  std::vector<std::string> Files;
  if (FAILED(Data.GetData(&Format, &Medium))) return Files;
  const auto Drop = static_cast<HDROP>(Medium.hGlobal);
  for (UINT I = 0, Count = DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0); I < Count; ++I) {
    wchar_t Name[MAX_PATH] = L"";
    DragQueryFileW(Drop, I, Name, MAX_PATH);
    Files.push_back(Narrow(Name));
  }
  ReleaseStgMedium(&Medium);
  return Files;
}

// The paths the "Shell IDList Array" names: its parent joined with each item.
std::vector<std::string> IdListPaths(IDataObject& Data) {
  FORMATETC Format{static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Shell IDList Array")), nullptr, DVASPECT_CONTENT,
                   -1, TYMED_HGLOBAL};
  STGMEDIUM Medium{};
  std::vector<std::string> Paths;
  if (FAILED(Data.GetData(&Format, &Medium))) return Paths;
  const auto* Array = static_cast<const CIDA*>(GlobalLock(Medium.hGlobal));
  const auto* Bytes = reinterpret_cast<const BYTE*>(Array);
  const auto Parent = reinterpret_cast<PCIDLIST_ABSOLUTE>(Bytes + Array->aoffset[0]);
  for (UINT I = 1; I <= Array->cidl; ++I) {
    PIDLIST_ABSOLUTE Full = ILCombine(Parent, reinterpret_cast<PCUIDLIST_RELATIVE>(Bytes + Array->aoffset[I]));
    wchar_t Path[MAX_PATH] = L"";
    SHGetPathFromIDListW(Full, Path);
    Paths.push_back(Narrow(Path));
    ILFree(Full);
  }
  GlobalUnlock(Medium.hGlobal);
  ReleaseStgMedium(&Medium);
  return Paths;
}

class ShellItemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Tree.WriteFile("one/a.txt", "a");
    Tree.WriteFile("one/b.txt", "b");
    Tree.WriteFile("two/c.txt", "c");
  }
  TOleScope Ole;
  TTempFolder Tree;
};

}  // namespace

TEST_F(ShellItemsTest, TheMenuOfASelectionHasPropertiesInOneFolderAndInSeveral) {
  TShellMenu Same({Tree.Path("one/a.txt"), Tree.Path("one/b.txt")}, false);
  ASSERT_TRUE(Same.Valid());
  EXPECT_EQ(Same.Folder(), Tree.Path("one"));
  EXPECT_NE(Same.CommandOf("properties"), 0u);
  EXPECT_EQ(Same.VerbOf(Same.CommandOf("properties")), "properties");
  EXPECT_EQ(Same.CommandOf("no-such-verb"), 0u);

  TShellMenu Spread({Tree.Path("one/a.txt"), Tree.Path("two/c.txt"), Tree.Path("gone.txt")}, true);
  ASSERT_TRUE(Spread.Valid());
  EXPECT_EQ(Spread.Folder(), "");
  EXPECT_NE(Spread.CommandOf("properties"), 0u);

  EXPECT_FALSE(TShellMenu({Tree.Path("gone.txt")}, false).Valid());
}

TEST_F(ShellItemsTest, TheDataOfADragNamesTheFilesInOrderInTheShellsFormats) {
  for (const std::vector<std::string>& Paths :
       {std::vector<std::string>{Tree.Path("one/b.txt"), Tree.Path("one/a.txt")},
        std::vector<std::string>{Tree.Path("two/c.txt"), Tree.Path("one/a.txt")}}) {
    const TShellItems Items(Paths);
    TComPtr<IDataObject> Data(CreateShellDataObject(Items));
    ASSERT_TRUE(Data);
    EXPECT_EQ(FilesOf(*Data.Get()), Paths);
    EXPECT_EQ(IdListPaths(*Data.Get()), Paths);
    // What a drop target stores is given back to it.
    FORMATETC Format{static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Performed DropEffect")), nullptr,
                     DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM Medium{};
    Medium.tymed = TYMED_HGLOBAL;
    Medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
    *static_cast<DWORD*>(GlobalLock(Medium.hGlobal)) = DROPEFFECT_MOVE;
    GlobalUnlock(Medium.hGlobal);
    ASSERT_EQ(Data->SetData(&Format, &Medium, TRUE), S_OK);
    STGMEDIUM Back{};
    ASSERT_EQ(Data->GetData(&Format, &Back), S_OK);
    EXPECT_EQ(*static_cast<DWORD*>(GlobalLock(Back.hGlobal)), static_cast<DWORD>(DROPEFFECT_MOVE));
    GlobalUnlock(Back.hGlobal);
    ReleaseStgMedium(&Back);
  }
}
