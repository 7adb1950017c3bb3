// A monkey drives the real module for a while, through this program as its host: it loads
// Reminder.dll, answers WM_REMINDERCLOSE with ZeltoReminderClose, and from a thread timer,
// which every loop of the thread dispatches (the module's dialogs, message boxes and menus
// included), it makes random moves: menu and tool-bar commands, list keys, the editor,
// settings, calendar and about dialogs, alerts and their error boxes, the tray icon, and the
// host's own close and create calls at any moment. Reminders fall due every few seconds.
//
// REMINDER_STRESS_SECONDS sets the length (60 s by default); REMINDER_STRESS_SEED replays
// a run whose seed a failure printed.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/common/DateTime.h"
#include "core/store/DataFileFormat.h"
#include "win32/components/TrayIco.h"
#include "win32/host/ProcessDriver.h"
#include "win32/host/RegistryRemover.h"
#include "win32/support/TempDirectory.h"
#include "win32/ui/AddNotifyEventDlgUnit.h"
#include "win32/ui/CfgDlgUnit.h"
#include "win32/ui/MainUnit.h"

namespace reminder {
namespace {

using TCreate = bool(__stdcall*)(DWORD, HWND);
using TClose = void(__stdcall*)();

const char kHostClass[] = "ReminderStressHost";
constexpr int kKept = 30;  // reminders the monkey never deletes
constexpr int kDueEverySeconds = 1;

unsigned EnvNumber(const char* name, unsigned fallback) {
  const char* value = std::getenv(name);
  return value && *value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : fallback;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK Collect(HWND window, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

// Top-level windows of this thread, visible or not; with a class, only those.
std::vector<HWND> ThreadWindows(const std::string& className = "") {
  std::vector<HWND> all;
  EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> found;
  for (HWND window : all) {
    if (className.empty() || ClassOf(window) == className) found.push_back(window);
  }
  return found;
}

// The classes of the module's message-only windows of this thread (timers, the
// application's own); the system's (COM's, after a shell call) are left out.
std::multiset<std::string> MessageOnlyWindows() {
  std::multiset<std::string> classes;
  for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
    const std::string name = ClassOf(window);
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId() &&
        name.rfind("Reminder", 0) == 0) {
      classes.insert(name);
    }
  }
  return classes;
}

std::string Text(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
  return text;
}

std::string RowText(HWND list, int row) {
  char buffer[512] = {};
  LVITEMA item = {};
  item.iSubItem = 1;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

void Click(HWND button) {
  if (button) PostMessageA(button, BM_CLICK, 0, 0);
}

TDateTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return EncodeDate(now.wYear, now.wMonth, now.wDay) +
         EncodeTime(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

TNotifyInfo Reminder(const std::string& text, uint8_t kind, TDateTime date, uint8_t action,
                     const std::string& param) {
  TNotifyInfo record;
  record.NotifyKind = kind;
  record.NotifyDate = date;
  record.NotifyText = text;
  record.ActionKind = action;
  record.ActionParam = param;
  record.RepeatKind = kind == nkNever ? rkNever : rkOnce;
  return record;
}

class Stress {
 public:
  Stress(unsigned seed, unsigned seconds) : random_(seed), seconds_(seconds) {}

  void Prepare() {
    DeleteRegistryTree(HKEY_CURRENT_USER, kRegistryArea);
    HKEY key = nullptr;
    const std::string options = std::string(kRegistryArea).substr(1) + "\\Options";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, options.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const DWORD interval = 1;
    RegSetValueExA(key, "RefreshInterval", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&interval),
                   sizeof interval);
    RegCloseKey(key);

    // Actions that fail here and so show their boxes; nothing is opened, started, hung up,
    // restarted or shut down.
    const struct {
      uint8_t action;
      const char* param;
    } actions[] = {{akNothing, ""},
                   {akWarning, ""},
                   {akProgram, "C:\\fehlt\\nirgends.exe"},
                   {akDocument, "C:\\fehlt\\brief.txt"},
                   {akHangUp, ""}};
    std::string bytes;
    for (int i = 0; i < kKept; ++i) {
      const std::string text = "Behalten-" + std::to_string(i);
      EncodeRecord(bytes, Reminder(text, nkNever, 45000, akNothing, ""));
      mustExist_.insert(text);
    }
    const TDateTime now = LocalNow();
    const int due = static_cast<int>(seconds_ / kDueEverySeconds) + 2;
    for (int i = 0; i < due; ++i) {
      const auto& a = actions[i % 5];
      const std::string text = "Fällig-" + std::to_string(i);
      EncodeRecord(bytes, Reminder(text, nkAtDate, now + (2.0 + kDueEverySeconds * i) / 86400,
                                   a.action, a.param));
      mustExist_.insert(text);
    }
    ASSERT_TRUE(testing::WriteWholeFile(dataFile_, bytes));
  }

  void Load() {
    ASSERT_TRUE(CopyFileA((testing::BuildDirectory() + "..\\Reminder.dll").c_str(),
                          (testing::BuildDirectory() + "Reminder.dll").c_str(), FALSE));
    module_ = LoadLibraryA((testing::BuildDirectory() + "Reminder.dll").c_str());
    ASSERT_NE(module_, nullptr);
    create_ = reinterpret_cast<TCreate>(
        reinterpret_cast<void*>(GetProcAddress(module_, "ZeltoReminderCreate")));
    close_ = reinterpret_cast<TClose>(
        reinterpret_cast<void*>(GetProcAddress(module_, "ZeltoReminderClose")));
    ASSERT_TRUE(create_ && close_);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
    host_ = CreateWindowExA(0, kHostClass, "Stress-Host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host_, nullptr);
  }

  // Opens and closes the module once, so that what stays loaded between a close and the
  // next create is there when the baseline is taken.
  void TakeBaseline() {
    ASSERT_TRUE(create_(0, host_));
    close_();
    Settle();
    baselineWindows_ = MessageOnlyWindows();
    baselineGdi_ = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    baselineUser_ = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  }

  void Run() {
    ASSERT_TRUE(create_(0, host_));
    self_ = this;
    const DWORD end = GetTickCount() + seconds_ * 1000;
    end_ = end;
    const UINT_PTR timer = SetTimer(nullptr, 0, 15, &MonkeyTimer);
    lastMoveAt_ = GetTickCount();
    mainThread_ = GetCurrentThreadId();
    std::thread watchdog([this] { Watch(); });
    MSG message;
    while (GetTickCount() < end && !failed_) {
      if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
          TranslateMessage(&message);
          DispatchMessageA(&message);
        }
      }
    }
    KillTimer(nullptr, timer);
    watchEnded_ = true;
    watchdog.join();
    self_ = nullptr;
    std::printf(
        "%u moves (%u inside a menu), %u boxes met, %u checks, %u closes asked by the module, "
        "%u by the host, %u creates\n",
        moves_.load(), inMenu_, boxes_, checks_, closeRequests_, hostCloses_, creates_);
    std::fflush(stdout);
  }

  void Finish() {
    close_();
    Settle();
    CheckDataFile();
    for (HWND window : ModuleWindows()) ADD_FAILURE() << "left after close: " << ClassOf(window);
    EXPECT_EQ(MessageOnlyWindows(), baselineWindows_);
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (baselineGdi_ == 0 || baselineUser_ == 0) {
      std::printf("The system counts no GDI and user objects; only windows were compared.\n");
    } else {
      std::printf("GDI objects %lu -> %lu, user objects %lu -> %lu\n", baselineGdi_, gdi,
                  baselineUser_, user);
      // A little slack for what the system caches on first use (fonts, brushes).
      EXPECT_LE(gdi, baselineGdi_ + 16);
      EXPECT_LE(user, baselineUser_ + 16);
    }
    DestroyWindow(host_);
    EXPECT_TRUE(FreeLibrary(module_));
    DeleteRegistryTree(HKEY_CURRENT_USER, kRegistryArea);
  }

  const std::string& DataFile() const { return dataFile_; }

 private:
  static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_REMINDERCLOSE && self_) {
      ++self_->closeRequests_;
      self_->close_();
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  static void CALLBACK MonkeyTimer(HWND, UINT, UINT_PTR, DWORD) {
    // A move that runs a loop of its own calls back in here; such calls are skipped.
    if (!self_ || self_->inMove_) return;
    // Time is up, but a loop of the module's own (a box it showed, a dialog a posted
    // command opened) still holds the thread: only undo, so that the run can end.
    if (GetTickCount() - self_->end_ < 0x80000000u) {
      self_->Unwind();
      return;
    }
    self_->inMove_ = true;
    self_->lastMoveAt_ = GetTickCount();
    self_->Move();
    self_->inMove_ = false;
  }

  // A module that stops the thread in a loop no move can end would hang the run: after a
  // minute without a move the watchdog says where it stands and ends the process, without
  // the orderly exit, which waits for the stopped thread.
  void Watch() {
    while (!watchEnded_) {
      Sleep(1000);
      if (GetTickCount() - lastMoveAt_ < 60000) continue;
      std::fprintf(stderr, "Stalled: no move for a minute after %u moves; the last was %d%s.\n",
                   moves_.load(), lastKind_.load(), inMove_ ? ", still running" : "");
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  }

  // Answers boxes, leaves menus and cancels dialogs, without a move that opens anything.
  void Unwind() {
    for (HWND box : ThreadWindows("#32770")) PostMessageA(box, WM_COMMAND, IDOK, 0);
    EndMenu();
    for (const char* dialog : {"ReminderAddNotifyEventDlg", "ReminderCfgDlg"}) {
      for (HWND window : ThreadWindows(dialog)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    for (const char* window : {"ReminderAboutDlg", "ReminderCalendarForm"}) {
      for (HWND open : ThreadWindows(window)) PostMessageA(open, WM_CLOSE, 0, 0);
    }
  }

  // Pumps, answering what is left open, until only the host's window is there.
  void Settle() {
    testing::WaitFor([&] {
      for (HWND box : ThreadWindows("#32770")) PostMessageA(box, WM_COMMAND, IDOK, 0);
      EndMenu();
      return ModuleWindows().empty();
    });
  }

  // The thread's top-level windows but the host's and the input method's that the system
  // keeps for every thread with windows.
  std::vector<HWND> ModuleWindows() const {
    std::vector<HWND> found;
    for (HWND window : ThreadWindows()) {
      if (window != host_ && ClassOf(window) != "IME") found.push_back(window);
    }
    return found;
  }

  unsigned Chance(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random_); }
  template <typename T>
  T Pick(const std::vector<T>& from) {
    return from[Chance(static_cast<unsigned>(from.size()))];
  }

  HWND Main() {
    const std::vector<HWND> mains = ThreadWindows("TMain");
    return mains.empty() ? nullptr : mains.back();
  }

  void Move() {
    ++moves_;
    ObserveEditor();
    if (moves_ % 100 == 0) CheckDataFile();
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE)) {
      // Inside the tray's menu: leave it, now and then with a command as a choice would.
      ++inMenu_;
      if (Chance(2) == 0 && Main()) {
        PostMessageA(Main(), WM_COMMAND,
                     Pick<UINT>({cmRestore, cmMinimize, cmSettings, cmAdd, cmExit}), 0);
      }
      EndMenu();
      return;
    }
    const int kind = static_cast<int>(Chance(20));
    lastKind_ = kind;
    switch (kind) {
      case 0:
      case 1:
      case 2:
        MainCommand();
        break;
      case 3:
      case 4:
        ListKey();
        break;
      case 5:
      case 6:
      case 7:
        Editor();
        break;
      case 8:
      case 9:
        OtherDialogs();
        break;
      case 10:
      case 11:
      case 12:
        Alerts();
        break;
      case 13:
      case 14:
        Boxes();
        break;
      case 15:
        Tray();
        break;
      case 16:
        if (Chance(4) == 0) {
          ++hostCloses_;
          close_();
        }
        break;
      case 17:
        if (!Main() || Chance(8) == 0) {
          ++creates_;
          if (!create_(0, host_)) Fail("ZeltoReminderCreate: 0");
        }
        break;
      default:
        break;
    }
  }

  void SelectRandomRow(HWND list, bool forDelete) {
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    if (rows == 0) return;
    const int row = static_cast<int>(Chance(static_cast<unsigned>(rows)));
    const std::string text = RowText(list, row);
    // The kept and the due reminders are never deleted.
    if (forDelete && text.rfind("Stress-", 0) != 0) return;
    if (forDelete) mustExist_.erase(text);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }

  void MainCommand() {
    HWND main = Main();
    if (!main) return;
    const UINT command = Chance(30) == 0 ? UINT{cmExit}
                                         : Pick<UINT>({cmAdd, cmChange, cmDelete, cmSettings,
                                                       cmCalendar, cmInfo, cmMinimize, cmRestore});
    if (command == cmChange || command == cmDelete) {
      SelectRandomRow(testing::ChildOfClass(main, "SysListView32"), command == cmDelete);
    }
    PostMessageA(main, WM_COMMAND, command, 0);
  }

  void ListKey() {
    HWND main = Main();
    if (!main) return;
    HWND list = testing::ChildOfClass(main, "SysListView32");
    const WPARAM key = Pick<WPARAM>({VK_INSERT, VK_RETURN, VK_DELETE, VK_ESCAPE});
    SelectRandomRow(list, key == VK_DELETE);
    PostMessageA(list, WM_KEYDOWN, key, 0);
  }

  // An add confirmed with OK must be in the file from then on: the editor is gone by the
  // next move when OK took it, since the posted click comes before the next timer tick.
  void ObserveEditor() {
    if (pendingAdd_.empty()) return;
    if (!IsWindow(pendingEditor_)) mustExist_.insert(pendingAdd_);
    pendingAdd_.clear();
  }

  void Editor() {
    const std::vector<HWND> editors = ThreadWindows("ReminderAddNotifyEventDlg");
    if (editors.empty()) return;
    HWND editor = editors.back();
    switch (Chance(6)) {
      case 0:
      case 1: {
        HWND text = testing::ChildWithId(editor, TAddNotifyEventDlg::kNotText);
        // Only a new reminder gets a text of the monkey's; a change keeps the record's.
        if (text && Text(text).empty()) {
          const std::string added = "Stress-" + std::to_string(++added_);
          SendMessageA(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(added.c_str()));
          pendingAdd_ = added;
          pendingEditor_ = editor;
        }
        Click(testing::ChildWithId(editor, TAddNotifyEventDlg::kOKBtn));
        break;
      }
      case 2:
        Click(testing::ChildWithId(
            editor, Pick<int>({TAddNotifyEventDlg::kNotRB1, TAddNotifyEventDlg::kNotRB2,
                               TAddNotifyEventDlg::kNotRB3, TAddNotifyEventDlg::kRepOncePerDay,
                               TAddNotifyEventDlg::kRepOnce})));
        break;
      case 3:
        PostMessageA(editor, WM_CLOSE, 0, 0);
        break;
      default:
        Click(testing::ChildWithId(editor, IDCANCEL));
        break;
    }
  }

  void OtherDialogs() {
    for (HWND settings : ThreadWindows("ReminderCfgDlg")) {
      Click(testing::ChildWithId(settings, Chance(2) ? int{TCfgDlg::kOKBtn} : IDCANCEL));
    }
    for (HWND about : ThreadWindows("ReminderAboutDlg")) {
      if (Chance(2)) PostMessageA(about, WM_CLOSE, 0, 0);
    }
    for (HWND calendar : ThreadWindows("ReminderCalendarForm")) {
      if (Chance(3) == 0) PostMessageA(calendar, WM_CLOSE, 0, 0);
    }
  }

  void Alerts() {
    const std::vector<HWND> alerts = ThreadWindows("ReminderRemindForm");
    if (alerts.empty()) return;
    HWND alert = Pick(alerts);
    if (Chance(2) == 0) {
      // A click on the action's link carries it out at once.
      if (HWND link = testing::ChildOfClass(alert, "ReminderHTTPLabel")) {
        PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
      }
    } else {
      Click(testing::ChildWithId(alert, IDCANCEL));
    }
  }

  void Boxes() {
    for (HWND box : ThreadWindows("#32770")) {
      ++boxes_;
      HWND owner = GetWindow(box, GW_OWNER);
      if (Chance(3) == 0 && owner && ClassOf(owner) == "ReminderRemindForm") {
        // The alert goes while its box is open, as when the module closes.
        PostMessageA(owner, WM_CLOSE, 0, 0);
      } else {
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
    }
  }

  void Tray() {
    const std::vector<HWND> trays = ThreadWindows("ReminderTrayIcon");
    if (trays.empty()) return;
    const LPARAM mouse = Chance(2) ? WM_LBUTTONDBLCLK : WM_RBUTTONDOWN;
    PostMessageA(trays.back(), WM_TRAYICONNOTIFY, 0, mouse);
  }

  void CheckDataFile() {
    ++checks_;
    std::string bytes;
    if (!testing::ReadWholeFile(dataFile_, bytes)) return Fail("Reminder.dat unreadable");
    std::vector<TNotifyInfo> records;
    DecodeRecords(bytes, [&]() -> TNotifyInfo& { return records.emplace_back(); });
    std::string again;
    std::set<std::string> texts;
    for (const TNotifyInfo& record : records) {
      EncodeRecord(again, record);
      texts.insert(record.NotifyText);
    }
    if (again != bytes) return Fail("Reminder.dat does not decode into whole records");
    for (const std::string& text : mustExist_) {
      if (!texts.count(text)) return Fail("lost: " + text);
    }
  }

  void Fail(const std::string& what) {
    ADD_FAILURE() << what << " (after " << moves_ << " moves)";
    failed_ = true;
  }

  static Stress* self_;
  std::mt19937 random_;
  unsigned seconds_;
  std::string dataFile_ = testing::BuildDirectory() + "Reminder.dat";
  HMODULE module_ = nullptr;
  TCreate create_ = nullptr;
  TClose close_ = nullptr;
  HWND host_ = nullptr;
  std::atomic<bool> inMove_{false};
  std::atomic<bool> watchEnded_{false};
  std::atomic<DWORD> lastMoveAt_{0};
  DWORD end_ = 0;
  std::atomic<int> lastKind_{-1};
  DWORD mainThread_ = 0;
  bool failed_ = false;
  std::set<std::string> mustExist_;
  std::string pendingAdd_;
  HWND pendingEditor_ = nullptr;
  unsigned added_ = 0;
  std::atomic<unsigned> moves_{0};
  unsigned checks_ = 0;
  unsigned closeRequests_ = 0;
  unsigned hostCloses_ = 0;
  unsigned creates_ = 0;
  unsigned inMenu_ = 0;
  unsigned boxes_ = 0;
  std::multiset<std::string> baselineWindows_;
  DWORD baselineGdi_ = 0;
  DWORD baselineUser_ = 0;
};

Stress* Stress::self_ = nullptr;

TEST(Stress, TheModuleSurvivesAMonkeyAndLosesNothing) {
  const unsigned seed = EnvNumber("REMINDER_STRESS_SEED", GetTickCount());
  const unsigned seconds = EnvNumber("REMINDER_STRESS_SECONDS", 60);
  std::printf("Seed %u (REMINDER_STRESS_SEED=%u replays this run), %u s\n", seed, seed, seconds);
  std::fflush(stdout);
  ::testing::Test::RecordProperty("seed", static_cast<int>(seed));
  Stress stress(seed, seconds);
  ASSERT_NO_FATAL_FAILURE(stress.Prepare());
  ASSERT_NO_FATAL_FAILURE(stress.Load());
  ASSERT_NO_FATAL_FAILURE(stress.TakeBaseline());
  stress.Run();
  stress.Finish();
}

}  // namespace
}  // namespace reminder
