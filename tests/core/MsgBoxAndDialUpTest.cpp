#include <gtest/gtest.h>

#include "core/Fakes.h"
#include "core/dialup/HangupUnit.h"
#include "core/host/WMsgBox.h"

namespace reminder {
namespace {

using testing::FakeMsgBox;

TEST(MsgBox, KindsGiveCaptionAndIconAndTheBoxComesToTheForeground) {
  EXPECT_EQ(MsgBoxStyle(mkError, mbOK), 0x10030u);
  EXPECT_EQ(MsgBoxStyle(mkInformation, mbOK), 0x10040u);
  EXPECT_EQ(MsgBoxStyle(mkQuestion, mbOK), 0x10020u);
  EXPECT_EQ(MsgBoxStyle(mkWarning, mbOK), 0x10010u);
  EXPECT_EQ(MsgBoxStyle(mkConfirmation, mbOK), 0x10020u);
  EXPECT_EQ(MsgBoxStyle(static_cast<TMsgKind>(9), mbOK), 0x10000u);
  EXPECT_EQ(MsgBoxCaption(mkError, ""), "Fehler");
  EXPECT_EQ(MsgBoxCaption(mkInformation, ""), "Information");
  EXPECT_EQ(MsgBoxCaption(mkQuestion, ""), "Frage");
  EXPECT_EQ(MsgBoxCaption(mkWarning, ""), "Warnung");
  EXPECT_EQ(MsgBoxCaption(mkConfirmation, ""), "Bestätigung");
  EXPECT_EQ(MsgBoxCaption(static_cast<TMsgKind>(9), ""), "");
  EXPECT_EQ(MsgBoxCaption(mkWarning, "Zelto - Reminder"), "Zelto - Reminder");
}

TEST(MsgBox, ButtonLayoutsAddTheirStyleValues) {
  EXPECT_EQ(MsgBoxStyle(mkError, mbAbortRetryIgnore) & 0xF, 2u);
  EXPECT_EQ(MsgBoxStyle(mkError, mbOKCancel) & 0xF, 1u);
  EXPECT_EQ(MsgBoxStyle(mkError, mbRetryCancel) & 0xF, 5u);
  EXPECT_EQ(MsgBoxStyle(mkError, mbYesNo) & 0xF, 4u);
  EXPECT_EQ(MsgBoxStyle(mkError, mbYesNoCancel) & 0xF, 3u);
  EXPECT_EQ(MsgBoxStyle(mkError, mbOKCancel | mbYesNo) & 0xF, 5u);
}

TEST(MsgBox, ShowMsgBoxIsOwnedByTheActiveWindow) {
  FakeMsgBox box;
  EXPECT_EQ(ShowMsgBox(box, "Text", "", mkWarning, mbOK), 1);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].caption, "Warnung");
  EXPECT_EQ(box.shown[0].style, 0x10010u);
  EXPECT_EQ(box.shown[0].owner, TMsgOwner::ActiveWindow);
}

class FakeRas : public IRasService {
 public:
  bool EnumConnections(std::vector<uint32_t>& handles) override {
    handles = connections;
    return listingWorks;
  }
  bool HangUp(uint32_t handle) override {
    hungUp.push_back(handle);
    return hangUpWorks;
  }
  std::vector<uint32_t> connections;
  bool listingWorks = true;
  bool hangUpWorks = true;
  std::vector<uint32_t> hungUp;
};

class DialUpTest : public ::testing::Test {
 protected:
  void ExpectOneBox(const std::string& text, TMsgOwner owner = TMsgOwner::None) {
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, text);
    EXPECT_EQ(box.shown[0].caption, "Reminder Trennung einer DFÜ-Netzwerk Verbindung");
    EXPECT_EQ(box.shown[0].style, kMbIconStop | kMbOk);
    EXPECT_TRUE(box.shown[0].owner == owner);
  }
  FakeRas ras;
  FakeMsgBox box;
  TDialUpControl control{ras, box};
};

TEST_F(DialUpTest, NoConnection) {
  EXPECT_FALSE(control.IsConnected());
  control.HangUpConnection();
  ExpectOneBox("Es besteht derzeit keine DFÜ-Netzwerk Verbindung!");
  EXPECT_TRUE(ras.hungUp.empty());
}

TEST_F(DialUpTest, AFailedListingCountsAsNoConnection) {
  ras.connections = {5};
  ras.listingWorks = false;
  EXPECT_FALSE(control.IsConnected());
  control.HangUpConnection();
  ExpectOneBox("Es besteht derzeit keine DFÜ-Netzwerk Verbindung!");
}

TEST_F(DialUpTest, OnlyTheFirstConnectionIsHungUpSilently) {
  ras.connections = {0x111, 0x222};
  EXPECT_TRUE(control.IsConnected());
  control.HangUpConnection();
  EXPECT_EQ(ras.hungUp, std::vector<uint32_t>{0x111});
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(DialUpTest, ARefusedHangUpIsReported) {
  ras.connections = {7};
  ras.hangUpWorks = false;
  control.HangUpConnection();
  ExpectOneBox("Konnte Verbindung nicht trennen!");
}

TEST_F(DialUpTest, TheReportBelongsToTheWindowThatAskedForTheHangUp) {
  int alert = 0;
  control.HangUpConnection(&alert);
  ExpectOneBox("Es besteht derzeit keine DFÜ-Netzwerk Verbindung!", TMsgOwner::Window(&alert));
}

}  // namespace
}  // namespace reminder
