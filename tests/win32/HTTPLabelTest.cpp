// The link label against a real window: its cursor, hover looks, sound, hint and click.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

#include "win32/ToolkitTestSupport.h"
#include "win32/components/HTTPLabel.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/TestWindow.h"
#include "win32/toolkit/Application.h"

namespace reminder {
namespace {

using namespace reminder::testing;

class HTTPLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeToolkit();
    label.Create(parent.Handle(), 7, "Webseite öffnen", {10, 10, 150, 16});
    label.SoundPlayer = [this](const char* alias) {
      journal.push_back(std::string("sound ") + alias);
    };
    label.UrlOpener = [this](HWND owner, const std::string& url) {
      journal.push_back("open " + url);
      owners.push_back(owner);
    };
    label.OnClick = [this] { journal.push_back("click"); };
    label.OnGetFocus = [this] { journal.push_back("get"); };
    label.OnLooseFocus = [this] { journal.push_back("loose"); };
    label.OnGetFocusWindowActive = [this] { journal.push_back("get active"); };
    label.OnLooseFocusWindowActive = [this] { journal.push_back("loose active"); };
    label.OnGetFocusWindowInActive = [this] { journal.push_back("get inactive"); };
    label.OnLooseFocusWindowInActive = [this] { journal.push_back("loose inactive"); };
    label.SetFontColorNormal(RGB(0, 0, 200));
    label.SetFontColHighlightFocused(RGB(255, 255, 255));
    label.SetFontColHighlightNoneFocused(RGB(0, 200, 0));
    label.SetBGColorNormal(RGB(250, 250, 250));
    label.SetBGColorHighlight(RGB(0, 0, 128));
  }

  void Hover() { SendMessageA(label.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); }
  void Leave() { SendMessageA(label.Handle(), WM_MOUSELEAVE, 0, 0); }
  void Click() {
    SendMessageA(label.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(label.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  HCURSOR CursorShown() {
    SetCursor(nullptr);
    SendMessageA(label.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  }

  ActiveTestWindow parent;
  THTTPLabel label;
  std::vector<std::string> journal;
  std::vector<HWND> owners;
};

TEST(HTTPLabelDefaults, StartAsALinkWithoutUrl) {
  THTTPLabel label;
  EXPECT_EQ(label.Url(), "");
  EXPECT_FALSE(label.HighLightOnBlankURL());
  EXPECT_FALSE(label.ShowUrlAsHint());
  EXPECT_TRUE(label.PlaySoundOnFocus());
  EXPECT_TRUE(label.OpenUrlOnClick());
  EXPECT_EQ(label.BGColorNormal(), GetSysColor(COLOR_DESKTOP));
  EXPECT_EQ(label.BGColorHighlight(), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(label.FontColorNormal(), GetSysColor(COLOR_CAPTIONTEXT));
  EXPECT_EQ(label.FontColHighlightFocused(), GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(label.FontColHighlightNoneFocused(), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(label.FontStyleNormal(), 0);
  EXPECT_EQ(label.FontStyleHighlightFocused(), fsBold | fsUnderline);
  EXPECT_EQ(label.FontStyleHighlightNoneFocused(), fsUnderline);
}

TEST_F(HTTPLabelTest, HandCursorFromTheModuleOnlyWhileThereIsAUrl) {
  const HCURSOR hand = LoadCursorA(TApplication::Instance(), "HAND");
  ASSERT_NE(hand, nullptr);
  EXPECT_EQ(label.HandCursor(), hand);
  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  EXPECT_EQ(CursorShown(), arrow);
  label.SetUrl("http://example.org/");
  EXPECT_EQ(CursorShown(), hand);
  label.SetUrl("");
  EXPECT_EQ(CursorShown(), arrow);
}

BOOL CALLBACK FindToolTip(HWND window, LPARAM found) {
  char kind[64] = {};
  GetClassNameA(window, kind, sizeof kind);
  if (lstrcmpiA(kind, TOOLTIPS_CLASSA) == 0) *reinterpret_cast<HWND*>(found) = window;
  return TRUE;
}

TEST_F(HTTPLabelTest, UrlAsHintFollowsTheUrl) {
  label.SetUrl("http://a.example/");
  EXPECT_FALSE(label.ShowHint());
  label.SetShowUrlAsHint(true);
  EXPECT_TRUE(label.ShowHint());
  EXPECT_EQ(label.Hint(), "http://a.example/");
  label.SetUrl("https://example.org/?a=1&b=2");
  EXPECT_EQ(label.Hint(), "https://example.org/?a=1&b=2");
  // The tip draws an address's '&' as it is, not as the mark of an access key.
  HWND tip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindToolTip, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & TTS_NOPREFIX);
  label.SetShowUrlAsHint(false);
  EXPECT_FALSE(label.ShowHint());
}

TEST_F(HTTPLabelTest, HoverInTheActiveWindowPlaysTheSoundAndHighlights) {
  ASSERT_EQ(GetActiveWindow(), parent.Handle());
  label.SetUrl("http://example.org/");
  Hover();
  EXPECT_TRUE(label.Hovered());
  EXPECT_EQ(label.FontColor(), RGB(255, 255, 255));
  EXPECT_EQ(label.BackgroundColor(), RGB(0, 0, 128));
  EXPECT_EQ(label.FontStyle(), fsBold | fsUnderline);
  Hover();  // moving on within the label is no new entry
  Leave();
  EXPECT_FALSE(label.Hovered());
  EXPECT_EQ(label.FontColor(), RGB(0, 0, 200));
  EXPECT_EQ(label.BackgroundColor(), RGB(250, 250, 250));
  EXPECT_EQ(label.FontStyle(), 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"sound CCSelect", "get active", "get",
                                               "loose active", "loose"}));
}

TEST_F(HTTPLabelTest, HoverInAnInactiveWindowIsSilentAndKeepsTheBackground) {
  label.SetUrl("http://example.org/");
  ActiveTestWindow other;
  ASSERT_NE(GetActiveWindow(), parent.Handle());
  Hover();
  EXPECT_EQ(label.FontColor(), RGB(0, 200, 0));
  EXPECT_EQ(label.BackgroundColor(), RGB(250, 250, 250));
  EXPECT_EQ(label.FontStyle(), fsUnderline);
  // A colour changed while hovered shows at once.
  label.SetFontColHighlightNoneFocused(RGB(1, 2, 3));
  EXPECT_EQ(label.FontColor(), RGB(1, 2, 3));
  Leave();
  EXPECT_EQ(journal, (std::vector<std::string>{"get inactive", "get", "loose inactive", "loose"}));
}

TEST_F(HTTPLabelTest, WithoutUrlTheLookStaysButTheSoundPlays) {
  Hover();
  EXPECT_EQ(label.FontColor(), RGB(0, 0, 200));
  EXPECT_EQ(label.BackgroundColor(), RGB(250, 250, 250));
  EXPECT_EQ(journal.front(), "sound CCSelect");
  Leave();
  label.SetHighLightOnBlankURL(true);
  Hover();
  EXPECT_EQ(label.FontColor(), RGB(255, 255, 255));
}

TEST_F(HTTPLabelTest, ClickOpensTheUrlThenRaisesTheEvent) {
  Click();
  EXPECT_EQ(journal, std::vector<std::string>{"click"});
  journal.clear();
  label.SetUrl("http://example.org/");
  Click();
  EXPECT_EQ(journal, (std::vector<std::string>{"open http://example.org/", "click"}));
  EXPECT_EQ(owners, std::vector<HWND>{parent.Handle()});
  journal.clear();
  label.SetOpenUrlOnClick(false);
  Click();
  EXPECT_EQ(journal, std::vector<std::string>{"click"});
  // A press that ends outside the label is no click.
  journal.clear();
  SendMessageA(label.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(label.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 2));
  EXPECT_TRUE(journal.empty());
}

}  // namespace
}  // namespace reminder
