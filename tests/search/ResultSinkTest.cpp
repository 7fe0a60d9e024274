#include <gtest/gtest.h>

#include "search/ResultSink.h"
#include "tests/search/RecordingRows.h"

TEST(ResultSinkTest, FileAndFolderRows) {
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
