#include <gtest/gtest.h>

#include "search/ResultRows.h"
#include "tests/search/TestHost.h"

TEST(ResultRowsTest, FileTypeTable) {
  EXPECT_EQ(FileTypeName("EXE"), "Application");
  EXPECT_EQ(FileTypeName("DLL"), "Application Extension");
  EXPECT_EQ(FileTypeName("HTM"), "HTML Document");
  EXPECT_EQ(FileTypeName("HTML"), "HTML Document");
  EXPECT_EQ(FileTypeName("TXT"), "Text Document");
  EXPECT_EQ(FileTypeName("RTF"), "RTF Document");
  EXPECT_EQ(FileTypeName("WRI"), "WRI Document");
  EXPECT_EQ(FileTypeName("PNG"), "PNG Image");
  EXPECT_EQ(FileTypeName("WMF"), "WMF Image");
  EXPECT_EQ(FileTypeName("DIVX"), "DIVX Video");
  EXPECT_EQ(FileTypeName("ICO"), "Icon");
  EXPECT_EQ(FileTypeName("JS"), "Javascript File");
  EXPECT_EQ(FileTypeName("LNK"), "Shortcut File");
  EXPECT_EQ(FileTypeName("WAV"), "WAV Audio");
  EXPECT_EQ(FileTypeName("SWF"), "Flash Movie");
  EXPECT_EQ(FileTypeName("ZIP"), "ZIP File");
  EXPECT_EQ(FileTypeName(""), " File");
  EXPECT_EQ(FileTypeName("txt"), "txt File");  // the caller upper-cases
}

TEST(ResultRowsTest, SizeAndDateTexts) {
  EXPECT_EQ(SizeText(0), "0");
  EXPECT_EQ(SizeText(1023), "0");
  EXPECT_EQ(SizeText(1024), "1");
  EXPECT_EQ(SizeText(1234 * 1024 + 1023), "1234");
  EXPECT_EQ(SizeText(5ull << 30), "5242880");  // 5 GiB keeps its true size
  const TDateTime Time = EncodeDateTime(2026, 12, 17, 16, 39, 0, 0);
  EXPECT_EQ(DateText(Time, UnitedStatesFormatSettings()), "12/17/2026 4:39 PM");
  TFormatSettings German = UnitedStatesFormatSettings();
  German.ShortDateFormat = "dd.MM.yyyy";
  German.ShortTimeFormat = "HH:mm";
  EXPECT_EQ(DateText(Time, German), "17.12.2026 16:39");
}

TEST(ResultRowsTest, FileAndFolderRows) {
  TRecordingRows Rows;
  std::uint64_t Total = 7;
  TFileEntry File;
  File.Name = "photo.Jpg";
  File.Size = 2048;
  File.Attributes = faArchive;
  File.Time = EncodeDateTime(2026, 1, 2, 3, 4, 0, 0);
  AddResultRow(Rows, "C:\\Data", File, Total);
  TFileEntry Folder;
  Folder.Name = "notes.txt";
  Folder.Attributes = faDirectory;
  Folder.Time = File.Time;
  AddResultRow(Rows, "c:\\data", Folder, Total);
  File.Name = "archive.tar.gz";
  AddResultRow(Rows, "C:\\Data", File, Total);
  File.Name = "name.";
  AddResultRow(Rows, "C:\\Data", File, Total);
  File.Name = "README";
  AddResultRow(Rows, "C:\\Data", File, Total);

  ASSERT_EQ(Rows.RowCount(), 5);
  EXPECT_EQ(Rows.Rows[0],
            (std::vector<std::string>{"", "photo.Jpg", "2", "1/2/2026 3:04 AM", "C:\\Data", "JPG Image"}));
  // A folder: folder image, no size written, type "Folder" whatever its name, folder as passed.
  EXPECT_EQ(Rows.Rows[1], (std::vector<std::string>{"1", "notes.txt", "", "1/2/2026 3:04 AM", "c:\\data", "Folder"}));
  EXPECT_EQ(Rows.Rows[2][5], "GZ File");
  EXPECT_EQ(Rows.Rows[3][5], " File");
  EXPECT_EQ(Rows.Rows[4][5], " File");
  EXPECT_EQ(Total, 7u + 4 * 2048);  // files add their sizes, the folder nothing
}
