#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "win32/host/DLLSynchronizer.h"
#include "win32/support/MsgBoxCatcher.h"

namespace reminder {
namespace {

using testing::FlushEvents;

TEST(SyncHelper, CallsQueuedByOtherThreadsRunInOrderOnTheCreatingThread) {
  TSyncHelper helper;
  std::vector<int> order;
  std::vector<DWORD> threads;
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      helper.QueueCall([&, i] {
        order.push_back(i);
        threads.push_back(GetCurrentThreadId());
      });
    }
  });
  worker.join();
  // Nothing runs before this thread's loop dispatches the wake-up message.
  EXPECT_TRUE(order.empty());
  FlushEvents();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(threads, std::vector<DWORD>(3, GetCurrentThreadId()));
}

TEST(SyncHelper, AFailingCallStopsOnlyItselfAndACallMayQueueAnother) {
  TSyncHelper helper;
  std::vector<int> ran;
  helper.QueueCall([] { throw std::runtime_error("Fehler"); });
  helper.QueueCall([&] {
    ran.push_back(1);
    helper.QueueCall([&] { ran.push_back(2); });
  });
  FlushEvents();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

TEST(SyncHelper, TheWakeUpIsMessage1024ToAHiddenWindow) {
  TSyncHelper helper;
  ASSERT_TRUE(IsWindow(helper.Handle()));
  EXPECT_FALSE(IsWindowVisible(helper.Handle()));
  bool ran = false;
  helper.QueueCall([&] { ran = true; });
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, helper.Handle(), 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, 1024u);
  EXPECT_EQ(message.wParam, 0u);
  EXPECT_EQ(message.lParam, 0);
  EXPECT_FALSE(ran);
  DispatchMessageA(&message);
  EXPECT_TRUE(ran);
  // Other messages get the default handling.
  EXPECT_EQ(SendMessageA(helper.Handle(), WM_USER + 1, 0, 0), 0);
}

TEST(SyncHelper, TheModuleHelperExistsBetweenCreateAndDestroy) {
  EXPECT_EQ(SyncHelper(), nullptr);
  CreateSyncHelper();
  ASSERT_NE(SyncHelper(), nullptr);
  HWND window = SyncHelper()->Handle();
  DestroySyncHelper();
  EXPECT_EQ(SyncHelper(), nullptr);
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace reminder
