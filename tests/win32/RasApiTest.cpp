// Remote access against the system's own "RASAPI32.dll", which lists no connections here.
#include <gtest/gtest.h>

#include "win32/dialup/RASAPI32.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/TestWindow.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {
namespace {

using testing::ActiveTestWindow;
using testing::BoxIcon;
using testing::MsgBoxCatcher;

TEST(RasApiTest, SystemLibraryOffersEveryEntryPointItself) {
  TRasApi32 api;
  EXPECT_TRUE(api.RasAvailable());
  EXPECT_TRUE(api.RasEntriesAvailable());
  EXPECT_FALSE(api.UsesFallbackLibrary());
  EXPECT_NE(api.RasEnumConnectionsA, nullptr);
  EXPECT_NE(api.RasHangUpA, nullptr);
  EXPECT_NE(api.RasRenameEntryA, nullptr);
  EXPECT_NE(api.RasSetEntryPropertiesA, nullptr);
}

TEST(RasApiTest, NoConnectionMeansNotConnectedAndHangUpReportsIt) {
  TRasApi32 api;
  TRasService ras(api);
  TWin32MsgBox box;
  TDialUpControl dialUp(ras, box);

  std::vector<uint32_t> handles{1, 2};
  EXPECT_TRUE(ras.EnumConnections(handles));
  EXPECT_TRUE(handles.empty());
  EXPECT_FALSE(dialUp.IsConnected());

  // The report has no owner even while one of the thread's windows is active.
  ActiveTestWindow window;
  MsgBoxCatcher catcher;
  dialUp.HangUpConnection();
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  const auto& shown = catcher.Boxes()[0];
  EXPECT_EQ(shown.text, "Es besteht derzeit keine DFÜ-Netzwerk Verbindung!");
  EXPECT_EQ(shown.caption, "Reminder Trennung einer DFÜ-Netzwerk Verbindung");
  EXPECT_EQ(shown.icon, BoxIcon::Stop);
  EXPECT_EQ(shown.owner, nullptr);
  EXPECT_EQ(shown.buttons, std::vector<int>{IDOK});
}

}  // namespace
}  // namespace reminder
