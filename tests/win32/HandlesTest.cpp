// The handle owners close what they hold once, by its last owner: a moved-from owner and
// an owner handed its own handle again (as a form is its accelerators) leave it open.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

#include "win32/system/Handles.h"

namespace reminder {
namespace {

bool IsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(HandlesTest, OnlyTheLastOwnerClosesTheHandle) {
  const HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  {
    TKernelHandle last;
    {
      TKernelHandle first(event);
      first.reset(event);
      EXPECT_TRUE(IsOpen(event));
      last = std::move(first);
      EXPECT_FALSE(first);
    }
    EXPECT_TRUE(IsOpen(event));
    EXPECT_EQ(last.get(), event);
  }
  EXPECT_FALSE(IsOpen(event));
}

}  // namespace
}  // namespace reminder
