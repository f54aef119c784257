// The status picture as start-up prepares it.
#include "osd/Status.h"
#include "osd/tests/support/DisplayWorld.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusPicture, StartUpMakesTheFormAHiddenClickThroughPictureOfThePicturesSize) {
  osdtest::EnsureDisplayWorld();
  ASSERT_NE(StatusForm, nullptr);
  EXPECT_EQ(StatusForm->ClientWidth(), static_cast<int>(osdtest::StatusPictureWidth));
  EXPECT_EQ(StatusForm->ClientHeight(), static_cast<int>(osdtest::StatusPictureHeight));
  EXPECT_FALSE(IsWindowVisible(StatusForm->Handle()));
  const LONG_PTR exStyle = GetWindowLongPtrA(StatusForm->Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_TRUE(exStyle & WS_EX_TRANSPARENT);
  RECT bounds{};
  GetWindowRect(StatusForm->Handle(), &bounds);
  EXPECT_EQ(bounds.left, 255) << "the picture is shown where the form is";
  EXPECT_EQ(bounds.top, 138);
  const formkit::TBitmap& picture = StatusForm->Background->Picture();
  EXPECT_EQ(picture.PixelFormat(), formkit::pf32bit);
  EXPECT_EQ(picture.Width(), static_cast<int>(osdtest::StatusPictureWidth));
}

TEST(StatusForm, IsABorderlessTopMostToolWindowThatIsNeverActivated) {
  TStatusForm form(nullptr);
  EXPECT_EQ(form.Caption(), "StatusForm");
  EXPECT_EQ(form.ClientWidth(), 138);
  EXPECT_EQ(form.ClientHeight(), 136);
  EXPECT_EQ(form.Background->Left(), 16);
  EXPECT_EQ(form.Background->Top(), 16);
  EXPECT_EQ(form.Background->Width(), 57);
  EXPECT_EQ(form.Background->Height(), 49);
  const LONG_PTR exStyle = GetWindowLongPtrA(form.Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongPtrA(form.Handle(), GWL_STYLE) & WS_CAPTION);
}

}  // namespace
