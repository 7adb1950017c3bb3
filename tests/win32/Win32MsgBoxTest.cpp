// The real message box behind ShowMsgBox, read back from the window the system shows.
#include <gtest/gtest.h>

#include <vector>

#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/TestWindow.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {
namespace {

using testing::ActiveTestWindow;
using testing::BoxIcon;
using testing::MsgBoxCatcher;

struct KindCase {
  TMsgKind kind;
  const char* caption;
  BoxIcon icon;
};

TEST(Win32MsgBoxTest, KindGivesCaptionAndIconWhenNoCaptionIsGiven) {
  const std::vector<KindCase> cases = {
      {mkError, "Fehler", BoxIcon::Exclamation},
      {mkInformation, "Information", BoxIcon::Information},
      {mkQuestion, "Frage", BoxIcon::Question},
      {mkWarning, "Warnung", BoxIcon::Stop},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    MsgBoxCatcher catcher;
    EXPECT_EQ(ShowMsgBox("Der Text der Meldung.", "", c.kind, mbOK), IDOK);
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    const auto& box = catcher.Boxes()[0];
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.text, "Der Text der Meldung.");
    EXPECT_EQ(box.icon, c.icon);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  }
}

TEST(Win32MsgBoxTest, GivenCaptionReplacesTheKindsCaptionButKeepsItsIcon) {
  MsgBoxCatcher catcher;
  ShowMsgBox("Eintrag fehlt.", "Zelto - Reminder", mkError, mbOK);
  ShowMsgBox("Nicht möglich.", "Zelto - Reminder", mkWarning, mbOK);
  ASSERT_EQ(catcher.Boxes().size(), 2u);
  EXPECT_EQ(catcher.Boxes()[0].caption, "Zelto - Reminder");
  EXPECT_EQ(catcher.Boxes()[0].icon, BoxIcon::Exclamation);
  EXPECT_EQ(catcher.Boxes()[1].caption, "Zelto - Reminder");
  EXPECT_EQ(catcher.Boxes()[1].text, "Nicht möglich.");
  EXPECT_EQ(catcher.Boxes()[1].icon, BoxIcon::Stop);
}

struct LayoutCase {
  TMsgButtons layout;
  std::vector<int> buttons;
  int answer;
};

TEST(Win32MsgBoxTest, LayoutGivesTheButtonsAndTheAnswerComesBack) {
  const std::vector<LayoutCase> cases = {
      {mbAbortRetryIgnore, {IDABORT, IDRETRY, IDIGNORE}, IDIGNORE},
      {mbYesNo, {IDYES, IDNO}, IDNO},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.layout));
    MsgBoxCatcher catcher(c.answer);
    EXPECT_EQ(ShowMsgBox("Weiter?", "", mkConfirmation, c.layout), c.answer);
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].buttons, c.buttons);
    EXPECT_EQ(catcher.Boxes()[0].icon, BoxIcon::Question);
  }
}

TEST(Win32MsgBoxTest, BoxIsOwnedByTheActiveWindow) {
  ActiveTestWindow window;
  ASSERT_EQ(GetActiveWindow(), window.Handle());
  MsgBoxCatcher catcher;
  ShowMsgBox("Mit Besitzer.", "", mkInformation, mbOK);
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_EQ(catcher.Boxes()[0].owner, window.Handle());
  // The box disables its owner only while it is open.
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));
}

TEST(Win32MsgBoxTest, WithoutActiveWindowTheBoxHasNoOwnerAndComesToTheFront) {
  ASSERT_EQ(GetActiveWindow(), nullptr);
  MsgBoxCatcher catcher;
  ShowMsgBox("Ohne Besitzer.", "", mkError, mbOK);
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_EQ(catcher.Boxes()[0].owner, nullptr);
  EXPECT_TRUE(catcher.Boxes()[0].topmostOrForeground);
}

}  // namespace
}  // namespace reminder
