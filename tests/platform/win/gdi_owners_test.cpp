// The scoped GDI selection against the real GDI under Wine: what a context
// had selected before is back once the owner goes, so the bitmap can be
// handed to an image list or deleted.
#include <gtest/gtest.h>

#include "platform/win32/handles.h"

namespace {

using namespace platform::win32;

TEST(SelectedObject, SelectsForItsScopeAndPutsThePreviousObjectBack) {
  const WindowDc screen;
  ASSERT_TRUE(screen);
  const UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  const UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), 16, 16));
  ASSERT_TRUE(dc && bitmap);
  const HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
  ASSERT_NE(before, bitmap.get());
  {
    const SelectedObject drawn(dc.get(), bitmap.get());
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    // Nothing to select leaves the selection as it is, and puts nothing back.
    { const SelectedObject none(dc.get(), nullptr); }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
  }
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), before);
}

}  // namespace
