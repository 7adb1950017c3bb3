// The form base class and the application object against real windows, driven by messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/ToolkitTestSupport.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/toolkit/Application.h"
#include "win32/toolkit/Controls.h"
#include "win32/toolkit/Form.h"

namespace reminder {
namespace {

using testing::BoxIcon;
using testing::FlushEvents;
using testing::MsgBoxCatcher;
using testing::PumpUntil;

constexpr UINT kProbe = WM_APP + 50;

class TestForm : public TForm {
 public:
  ~TestForm() override {
    if (deletions) ++*deletions;
  }

  void Make(HWND parent = nullptr, DWORD style = WS_OVERLAPPEDWINDOW) {
    TFormParams params;
    params.Caption = "Testformular";
    params.Style = style;
    params.ClientWidth = 300;
    params.ClientHeight = 200;
    params.Parent = parent;
    Create(params);
  }

  std::vector<std::string> events;
  std::vector<std::string>* journal = nullptr;  // outlives the form
  int* deletions = nullptr;
  HWND createdWindow = nullptr;
  SIZE lastSize = {0, 0};
  bool allowClose = true;
  std::function<void()> onCreate;
  std::function<void(int id)> onCommand;
  std::function<void(UINT_PTR id)> onTimer;

 protected:
  void OnCreate() override {
    createdWindow = Handle();
    Log("create");
    if (onCreate) onCreate();
  }
  void OnShow() override { Log("show"); }
  void OnCommand(int id, int code, HWND control) override {
    Log("command " + std::to_string(id) + " " + std::to_string(code) + (control ? " control" : ""));
    if (onCommand) onCommand(id);
  }
  LRESULT OnNotify(NMHDR* header) override {
    Log("notify " + std::to_string(header->idFrom));
    return 42;
  }
  void OnTimer(UINT_PTR id) override {
    Log("timer " + std::to_string(id));
    if (onTimer) onTimer(id);
  }
  bool OnClose() override {
    Log("close");
    return allowClose;
  }
  void OnDestroy() override { Log("destroy"); }
  void OnSize(int width, int height) override { lastSize = {width, height}; }
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message != kProbe) return false;
    Log("probe " + std::to_string(wParam));
    result = static_cast<LRESULT>(wParam + lParam);
    return true;
  }

 private:
  void Log(const std::string& event) {
    events.push_back(event);
    if (journal) journal->push_back(event);
  }
};

bool Contains(const std::vector<std::string>& events, const std::string& event) {
  for (const std::string& each : events) {
    if (each == event) return true;
  }
  return false;
}

class ToolkitFormTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::InitializeToolkit(); }
  void TearDown() override {
    Application().SetOnMessage(nullptr);
    Application().SetMainForm(nullptr);
    Application().SetShowMainForm(true);
    FlushEvents();
  }
};

TEST_F(ToolkitFormTest, HandlersReceiveTheirMessages) {
  TestForm form;
  form.Make();
  ASSERT_NE(form.Handle(), nullptr);
  EXPECT_EQ(form.createdWindow, form.Handle()) << "OnCreate runs once the window exists";
  EXPECT_EQ(TForm::FromHandle(form.Handle()), &form);
  EXPECT_EQ(form.ClientSize().cx, 300);
  EXPECT_EQ(form.ClientSize().cy, 200);

  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(17, BN_CLICKED),
               reinterpret_cast<LPARAM>(form.Handle()));
  NMHDR header = {form.Handle(), 5, NM_CLICK};
  EXPECT_EQ(SendMessageA(form.Handle(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header)), 42);
  EXPECT_EQ(SendMessageA(form.Handle(), kProbe, 3, 4), 7);
  form.SetClientSize(320, 240);
  EXPECT_EQ(form.lastSize.cx, 320);
  EXPECT_EQ(form.lastSize.cy, 240);
  form.Show();

  form.allowClose = false;
  SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(form.Visible()) << "OnClose said no";
  form.allowClose = true;
  SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.Visible());
  EXPECT_NE(form.Handle(), nullptr) << "closing hides a form that is not freed";

  form.Destroy();
  EXPECT_EQ(form.Handle(), nullptr);
  EXPECT_EQ(form.events,
            (std::vector<std::string>{"create", "command 17 0 control", "notify 5", "probe 3",
                                      "show", "close", "close", "destroy"}));
  EXPECT_EQ(TForm::FromHandle(GetDesktopWindow()), nullptr);
}

TEST_F(ToolkitFormTest, TimerTicksArriveAtOnTimer) {
  TestForm form;
  form.Make();
  form.onTimer = [&](UINT_PTR id) { form.KillTimer(id); };
  form.SetTimer(7, 10);
  ASSERT_TRUE(PumpUntil([&] { return !form.events.empty() && form.events.back() == "timer 7"; }));
  FlushEvents();
  EXPECT_EQ(form.events.back(), "timer 7") << "killed in its handler, it ticks once";
}

TEST_F(ToolkitFormTest, ExceptionsStopAtTheWindowProcedureAndAreShown) {
  MsgBoxCatcher catcher;
  TestForm form;
  form.Make();
  form.onCommand = [](int id) { throw std::runtime_error("Kaputt: " + std::to_string(id)); };
  form.onTimer = [&](UINT_PTR id) {
    form.KillTimer(id);
    throw 42;
  };

  SendMessageA(form.Handle(), WM_COMMAND, 17, 0);
  form.SetTimer(3, 10);
  ASSERT_TRUE(PumpUntil([&] { return catcher.Boxes().size() == 2; }));

  EXPECT_EQ(catcher.Boxes()[0].caption, "Fehler");
  EXPECT_EQ(catcher.Boxes()[0].text, "Kaputt: 17");
  EXPECT_EQ(catcher.Boxes()[0].icon, BoxIcon::Exclamation);
  EXPECT_EQ(catcher.Boxes()[1].text, "Unbekannter Fehler.");
  EXPECT_EQ(SendMessageA(form.Handle(), kProbe, 1, 1), 2) << "the form goes on working";
}

TEST_F(ToolkitFormTest, ExceptionInOnCreateFailsCreateAndLeavesNoWindow) {
  MsgBoxCatcher catcher;
  TestForm form;
  form.onCreate = [] { throw std::runtime_error("Keine Einstellungen"); };
  EXPECT_THROW(form.Make(), std::runtime_error);
  EXPECT_EQ(form.Handle(), nullptr);
  ASSERT_NE(form.createdWindow, nullptr);
  EXPECT_FALSE(IsWindow(form.createdWindow));
  EXPECT_TRUE(catcher.Boxes().empty()) << "the caller decides what to show";
}

TEST_F(ToolkitFormTest, ShowModalReturnsTheResultSetInsideItsLoopAndEnablesTheOwner) {
  TestForm owner;
  owner.Make();
  owner.Show();
  TestForm dialog;
  dialog.Make(owner.Handle(), WS_POPUP | WS_CAPTION | WS_SYSMENU);
  ASSERT_EQ(GetWindow(dialog.Handle(), GW_OWNER), owner.Handle());

  bool ownerEnabledInLoop = true;
  bool modalInLoop = false;
  dialog.onTimer = [&](UINT_PTR id) {
    dialog.KillTimer(id);
    ownerEnabledInLoop = IsWindowEnabled(owner.Handle()) != FALSE;
    modalInLoop = dialog.Modal();
    dialog.SetModalResult(IDOK);
  };
  dialog.SetTimer(1, 10);
  EXPECT_EQ(dialog.ShowModal(), IDOK);
  EXPECT_FALSE(ownerEnabledInLoop);
  EXPECT_TRUE(modalInLoop);
  EXPECT_FALSE(dialog.Modal());
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(dialog.Visible());

  // A command posted before the loop starts is handled inside it.
  dialog.onCommand = [&](int id) { dialog.SetModalResult(id); };
  PostMessageA(dialog.Handle(), WM_COMMAND, 1234, 0);
  EXPECT_EQ(dialog.ShowModal(), 1234);

  // The close box ends the loop with IDCANCEL and keeps the window for a later show.
  PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
  EXPECT_NE(dialog.Handle(), nullptr);

  // A window destroyed while it is shown ends the loop as cancelled.
  dialog.onTimer = [&](UINT_PTR) { dialog.Destroy(); };
  dialog.SetTimer(2, 10);
  EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(ToolkitFormTest, ReleaseDestroysAndDeletesOnlyWhenTheQueueIsProcessed) {
  std::vector<std::string> journal;
  int deletions = 0;
  auto* form = new TestForm;
  form->deletions = &deletions;
  form->journal = &journal;
  form->Make();
  HWND window = form->Handle();

  form->Release();
  form->Release();
  EXPECT_TRUE(IsWindow(window)) << "not at once";
  EXPECT_EQ(deletions, 0);
  FlushEvents();  // a loop that is not the module's, as the host's
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(deletions, 1);
  EXPECT_TRUE(Contains(journal, "destroy")) << "OnDestroy runs before the deletion";

  // The module's own loop processes the request as well.
  int ownDeletions = 0;
  auto* second = new TestForm;
  second->deletions = &ownDeletions;
  second->Make();
  second->Release();
  Application().ProcessMessages();
  EXPECT_EQ(ownDeletions, 1);

  // A form deleted before its request comes is not deleted again.
  int earlyDeletions = 0;
  auto* third = new TestForm;
  third->deletions = &earlyDeletions;
  third->Make();
  third->Release();
  delete third;
  FlushEvents();
  EXPECT_EQ(earlyDeletions, 1);
}

TEST_F(ToolkitFormTest, FreeFormsAreReleasedWhenClosedOrDestroyedWithTheirOwner) {
  int deletions = 0;
  auto* closed = new TestForm;
  closed->deletions = &deletions;
  closed->Make();
  closed->SetCloseAction(TCloseAction::Free);
  HWND closedWindow = closed->Handle();
  PostMessageA(closedWindow, WM_CLOSE, 0, 0);
  Application().ProcessMessages();
  EXPECT_FALSE(IsWindow(closedWindow));
  EXPECT_EQ(deletions, 1);

  std::vector<std::string> journal;
  TestForm owner;
  owner.Make();
  auto* owned = new TestForm;
  owned->deletions = &deletions;
  owned->journal = &journal;
  owned->Make(owner.Handle(), WS_POPUP | WS_CAPTION);
  owned->SetCloseAction(TCloseAction::Free);
  HWND ownedWindow = owned->Handle();
  owner.Destroy();
  EXPECT_FALSE(IsWindow(ownedWindow));
  EXPECT_EQ(deletions, 1) << "deleted later, not inside its own window procedure";
  FlushEvents();
  EXPECT_EQ(deletions, 2);
  EXPECT_TRUE(Contains(journal, "destroy"));
}

// A handler waits in the loop of a dialog, a message box and a menu of its form; releasing
// the form there ends that loop, and the form goes only once the handler has returned.
TEST_F(ToolkitFormTest, AFormReleasedUnderItsOwnHandlersLoopOutlivesTheHandler) {
  const std::vector<std::string> loops = {"dialog", "box", "menu"};
  for (const std::string& loop : loops) {
    int deletions = 0;
    std::vector<std::string> journal;
    auto* form = new TestForm;
    form->deletions = &deletions;
    form->Make();
    HWND window = form->Handle();
    form->onCommand = [&](int id) {
      if (id == 102) form->Release();
      if (id != 101) return;
      PostMessageA(window, WM_COMMAND, 102, 0);
      if (loop == "dialog") {
        TestForm dialog;
        dialog.Make(window, WS_POPUP | WS_CAPTION);
        journal.push_back("result " + std::to_string(dialog.ShowModal()));
      } else if (loop == "box") {
        journal.push_back("result " + std::to_string(MessageBoxA(window, "?", "", MB_OK)));
      } else {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 7, "Eintrag");
        SetForegroundWindow(window);
        journal.push_back("result " + std::to_string(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0,
                                                                    window, nullptr)));
        DestroyMenu(menu);
      }
      // Still alive here: the loop's end did not take the form with it.
      journal.push_back(IsWindow(form->Handle()) ? "window kept" : "window gone");
      journal.push_back("deletions " + std::to_string(deletions));
    };
    PostMessageA(window, WM_COMMAND, 101, 0);
    ASSERT_TRUE(PumpUntil([&] { return deletions == 1; })) << loop;
    const std::string cancelled = loop == "menu" ? "result 0" : "result 2";
    EXPECT_EQ(journal, (std::vector<std::string>{cancelled, "window kept", "deletions 0"})) << loop;
    EXPECT_FALSE(IsWindow(window));
  }
}

TEST_F(ToolkitFormTest, DialogKeysWorkInTheModulesLoopAndInAHostsLoop) {
  TestForm form;
  TButton buttons[3];
  form.onCreate = [&] {
    for (int i = 0; i < 3; ++i) {
      buttons[i].Create(form.Handle(), 11 + i, "Knopf", {10, 10 + 30 * i, 80, 25});
    }
  };
  form.Make();
  form.SetDialogKeys(true);
  form.SetDefaultButton(13);
  form.Show();
  SetForegroundWindow(form.Handle());
  buttons[0].SetFocus();
  ASSERT_EQ(GetFocus(), buttons[0].Handle());

  PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  Application().ProcessMessages();
  EXPECT_EQ(GetFocus(), buttons[1].Handle()) << "one step, not two";
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  FlushEvents();
  EXPECT_EQ(GetFocus(), buttons[2].Handle());

  PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  FlushEvents();
  EXPECT_TRUE(Contains(form.events, "command 2 0")) << "Escape sends IDCANCEL";
  PostMessageA(buttons[0].Handle(), WM_KEYDOWN, VK_RETURN, 0);
  Application().ProcessMessages();
  EXPECT_TRUE(Contains(form.events, "command 13 0 control")) << "Enter presses the default";

  // The focus comes back to where it was when the form is activated again.
  buttons[1].SetFocus();
  SendMessageA(form.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(form.Handle());
  SendMessageA(form.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), buttons[1].Handle());
}

TEST_F(ToolkitFormTest, HookSeesWhatProcessMessagesTakesAndLeavesQuitToTheOuterLoop) {
  TestForm form;
  form.Make();
  std::vector<WPARAM> seen;
  Application().SetOnMessage([&](MSG& message) {
    if (message.message != kProbe) return false;
    seen.push_back(message.wParam);
    return message.wParam == 1;  // handled: not dispatched
  });
  PostMessageA(form.Handle(), kProbe, 1, 0);
  PostMessageA(form.Handle(), kProbe, 2, 0);
  Application().ProcessMessages();
  EXPECT_EQ(seen, (std::vector<WPARAM>{1, 2}));
  EXPECT_EQ(form.events, (std::vector<std::string>{"create", "probe 2"}));

  PostQuitMessage(5);
  Application().ProcessMessages();
  EXPECT_TRUE(Application().Terminated());
  MSG quit;
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 5u);
}

bool g_guardFired = false;

// Ends a Run that would otherwise hang the test program.
void CALLBACK RunGuard(HWND, UINT, UINT_PTR, DWORD) {
  g_guardFired = true;
  Application().Terminate();
}

TEST_F(ToolkitFormTest, RunShowsTheMainFormAndEndsWithTerminateOrWithTheMainForm) {
  g_guardFired = false;
  const UINT_PTR guard = SetTimer(nullptr, 0, 10000, &RunGuard);

  TestForm form;
  form.Make();
  std::vector<WPARAM> seen;
  Application().SetOnMessage([&](MSG& message) {
    if (message.message == kProbe) seen.push_back(message.wParam);
    return false;
  });
  form.onCommand = [&](int) { Application().Terminate(); };
  PostMessageA(form.Handle(), kProbe, 1, 0);
  PostMessageA(form.Handle(), WM_COMMAND, 1, 0);
  Application().SetShowMainForm(false);
  Application().Run();
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(seen, std::vector<WPARAM>{1});
  EXPECT_FALSE(form.Visible()) << "no main form was set";
  MSG left;
  EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "Run takes its quit";

  Application().SetMainForm(&form);
  Application().SetShowMainForm(true);
  bool visibleInRun = false;
  form.onCommand = [&](int) {
    visibleInRun = form.Visible();
    form.Destroy();
  };
  PostMessageA(form.Handle(), WM_COMMAND, 2, 0);
  Application().Run();
  EXPECT_TRUE(visibleInRun);
  EXPECT_EQ(form.Handle(), nullptr);

  KillTimer(nullptr, guard);
  EXPECT_FALSE(g_guardFired);
}

TEST_F(ToolkitFormTest, TaskBarWindowOwnsTopLevelFormsAndCanBeShown) {
  HWND taskBar = Application().TaskBarWindow();
  ASSERT_NE(taskBar, nullptr);
  TestForm form;
  form.Make();
  EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), taskBar);

  Application().SetTitle("Testtitel 1.0");
  char text[64] = {};
  GetWindowTextA(taskBar, text, sizeof text);
  EXPECT_STREQ(text, "Testtitel 1.0");
  Application().ShowTaskBarWindow();
  EXPECT_TRUE(IsWindowVisible(taskBar));
  Application().HideTaskBarWindow();
  EXPECT_FALSE(IsWindowVisible(taskBar));
}

}  // namespace
}  // namespace reminder
