// Without pngio.dll beside the program, decoding a picture raises the framework's
// error naming the library's full path, which start-up shows before it ends.
#include "osd/PngReader.h"
#include "osd/tests/support/PictureFiles.h"

#include "formkit/Bitmap.h"
#include "formkit/Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(PngLibrary, AMissingLibraryIsReportedWithItsFullPathAtEveryAttempt) {
  const std::string library = ProgramFolder() + "pngio.dll";
  ASSERT_EQ(GetFileAttributesA(library.c_str()), INVALID_FILE_ATTRIBUTES) << library << " must not exist here";
  const std::string picture = ResourceFolder() + "picture.png";
  osdtest::WriteFileBytes(picture, "not decoded anyway");
  for (int attempt = 1; attempt <= 2; ++attempt) {
    SCOPED_TRACE(attempt);
    formkit::TBitmap bitmap;
    try {
      LoadPng(picture, bitmap);
      FAIL() << "no error";
    } catch (const formkit::EFOpenError&) {
      FAIL() << "the picture was there: the library is what is missing";
    } catch (const formkit::Exception& error) {
      EXPECT_NE(error.Message().find(library), std::string::npos) << error.Message();
    }
  }
}

}  // namespace
