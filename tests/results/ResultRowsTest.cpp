#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "results/ResultRows.h"

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

TEST(ResultRowsTest, TheTypeIsNamedByTheUpperCasedTextAfterTheLastDot) {
  std::string Extension = "left over";
  TypeExtensionOf("archive.tar.Gz", Extension);
  EXPECT_EQ(Extension, "GZ");
  TypeExtensionOf("README", Extension);
  EXPECT_EQ(Extension, "");
  TypeExtensionOf("name.", Extension);
  EXPECT_EQ(Extension, "");
  EXPECT_EQ(ResultTypeName("photo.jpg", false), "JPG Image");
  EXPECT_EQ(ResultTypeName("photo.jpg", true), "Folder");
}
