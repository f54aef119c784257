// Decoding the display's pictures through the real pngio.dll beside the tests.
#include "osd/PngReader.h"
#include "osd/tests/support/PictureFiles.h"

#include "formkit/Application.h"
#include "formkit/Bitmap.h"
#include "formkit/Exception.h"
#include "formkit/FileStream.h"
#include "pngio/pngio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Row(const formkit::TBitmap& bitmap, int row) {
  const uint8_t* line = bitmap.ScanLine(row);
  return std::vector<uint8_t>(line, line + bitmap.Width() * bitmap.BytesPerPixel());
}

std::string TestPicture(const std::string& name) { return ResourceFolder() + "test-" + name; }

TEST(ResourceFolder, IsTheProgramsFolderWithResource) {
  const std::string program = formkit::Application()->ExeName();
  EXPECT_EQ(ResourceFolder(), program.substr(0, program.rfind('\\') + 1) + "Resource\\");
  EXPECT_EQ(ProgramFolder(), program.substr(0, program.rfind('\\') + 1));
}

TEST(LoadPng, GivesThirtyTwoBitRowsInBlueGreenRedOrderWithBlackInvisiblePixels) {
  const struct {
    const char* name;
    uint32_t colorType;
    std::vector<uint8_t> samples;  // 2 x 1
    std::vector<uint8_t> expected;
  } cases[] = {
      {"RGBA", kPngColorTypeRgba, {10, 20, 30, 128, 10, 20, 30, 0}, {30, 20, 10, 128, 0, 0, 0, 0}},
      {"RGB gets alpha 255", kPngColorTypeRgb, {10, 20, 30, 200, 100, 0}, {30, 20, 10, 255, 0, 100, 200, 255}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = TestPicture("type" + std::to_string(c.colorType) + ".png");
    osdtest::WritePng(path, 2, 1, c.colorType, c.samples);
    formkit::TBitmap bitmap;
    LoadPng(path, bitmap);
    EXPECT_EQ(bitmap.PixelFormat(), formkit::pf32bit);
    ASSERT_EQ(bitmap.Width(), 2);
    ASSERT_EQ(bitmap.Height(), 1);
    EXPECT_EQ(Row(bitmap, 0), c.expected);
  }
}

TEST(ReadPng, KeepsATwentyFourBitBitmapAtTwentyFourBitsAndDropsTheAlpha) {
  const std::string path = TestPicture("rgba24.png");
  osdtest::WritePng(path, 2, 2, kPngColorTypeRgba, {1, 2, 3, 0, 4, 5, 6, 255, 7, 8, 9, 9, 10, 11, 12, 0});
  formkit::TBitmap bitmap;
  bitmap.SetPixelFormat(formkit::pf24bit);
  formkit::TFileStream stream(path, formkit::fmOpenRead);
  ASSERT_TRUE(ReadPng(stream, bitmap));
  EXPECT_EQ(bitmap.PixelFormat(), formkit::pf24bit);
  ASSERT_EQ(bitmap.Width(), 2);
  ASSERT_EQ(bitmap.Height(), 2);
  // Only 32-bit bitmaps black out invisible pixels: here the colours stay.
  EXPECT_EQ(Row(bitmap, 0), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
  EXPECT_EQ(Row(bitmap, 1), (std::vector<uint8_t>{9, 8, 7, 12, 11, 10}));
}

TEST(LoadPng, DataTheLibraryRejectsLeavesTheBitmapAsItWas) {
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"not a PNG", "this is no picture"},
      {"empty file", ""},
      {"cut-off PNG", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = TestPicture("bad.png");
    osdtest::WriteFileBytes(path, c.bytes);
    formkit::TBitmap bitmap;
    bitmap.SetSize(7, 5);
    bitmap.ScanLine(0)[0] = 99;
    LoadPng(path, bitmap);
    EXPECT_EQ(bitmap.Width(), 7);
    EXPECT_EQ(bitmap.Height(), 5);
    EXPECT_EQ(bitmap.PixelFormat(), formkit::pf32bit);
    EXPECT_EQ(bitmap.ScanLine(0)[0], 99);
  }
}

TEST(LoadPng, AMissingFileRaisesTheFileOpenErrorWithItsPath) {
  const std::string path = ResourceFolder() + "no-such-picture.png";
  formkit::TBitmap bitmap;
  try {
    LoadPng(path, bitmap);
    FAIL() << "no error";
  } catch (const formkit::EFOpenError& error) {
    EXPECT_EQ(error.Message(), "Cannot open file " + path);
  }
}

}  // namespace
