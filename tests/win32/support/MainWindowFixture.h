// The main window over a scratch data file and registry area, for the tests of its list,
// its selection and its life as a tray program.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Fakes.h"
#include "core/common/DateTime.h"
#include "core/common/FormatDateTime.h"
#include "core/store/IOUnit.h"
#include "core/store/ReservedBlock.h"
#include "core/store/Snooze.h"
#include "core/ui/ReminderRows.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/store/Win32DataFile.h"
#include "win32/support/LayoutCheck.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/RecordingActions.h"
#include "win32/support/RegistryScratch.h"
#include "win32/support/TempDirectory.h"
#include "win32/support/TestServices.h"
#include "win32/system/LocaleFormat.h"
#include "win32/system/ModuleMode.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/ui/MainUnit.h"
#include "win32/ui/RemindFormUnit.h"

namespace reminder {

struct Prepared {
  TDateTime date;
  const char* text;
  uint8_t action;
  uint8_t repeat;
  bool done;
};

// The tray icon's records are kept instead of reaching the shell, and sounds are counted instead of
// played.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : registry_(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

  void SetUp() override { testing::InitializeToolkit(); }

  void TearDown() override {
    main_.reset();
    testing::FlushEvents();
  }

  void Prepare(const std::vector<Prepared>& records) {
    TWin32DataFile file;
    TWin32MsgBox box;
    TFileIO io(DataFile(), file, box);
    for (const Prepared& p : records) {
      TNotifyInfo values;
      values.NotifyKind = nkAtDate;
      values.NotifyDate = p.date;
      values.NotifyText = p.text;
      values.ActionKind = p.action;
      values.RepeatKind = p.repeat;
      TNotifyInfo* stored = io.Add(values);
      stored->Notified = p.done ? 1 : 0;
    }
    io.Save();
  }

  std::string DataFile() const { return dir_.File("Reminder.dat"); }
  std::string Area() const { return "\\" + registry_.Path(); }

  TMain& Create() {
    TMainServices services = testing::TestServices(DataFile(), Area(), actions_);
    services.ShellNotify = [this](DWORD message, TNotifyIconRecord&) {
      shellMessages_.push_back(message);
      return true;
    };
    services.PlaySoundAlias = [this](const char* alias) { sounds_.push_back(alias); };
    if (clock_) services.Clock = clock_;
    services.ShellBalloon = [this](const NOTIFYICONDATAA& record) {
      balloons_.push_back(std::string(record.szInfoTitle) + "|" + record.szInfo);
      return true;
    };
    main_ = std::make_unique<TMain>(std::move(services));
    main_->CreateMain();
    return *main_;
  }

  HWND List() const { return main_->LV().Handle(); }
  std::string Status() const { return main_->StatusBar().PartText(); }
  void Select(int index, bool on = true) {
    ListView_SetItemState(List(), index, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
  std::string Cell(int row, int column) const { return main_->LV().ItemText(row, column); }
  void ClickColumn(int column) {
    NMLISTVIEW info = {};
    info.hdr.hwndFrom = List();
    info.hdr.idFrom = GetDlgCtrlID(List());
    info.hdr.code = LVN_COLUMNCLICK;
    info.iItem = -1;
    info.iSubItem = column;
    SendMessageA(main_->Handle(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  }
  void Key(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 0);
    testing::FlushEvents();
  }
  static BOOL CALLBACK CountNote(HWND window, LPARAM counter) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == TRemindForm::kClassName && IsWindowVisible(window)) {
      ++*reinterpret_cast<int*>(counter);
    }
    return TRUE;
  }
  static BOOL CALLBACK FindNote(HWND window, LPARAM found) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != TRemindForm::kClassName || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  static HWND AnyNote() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindNote, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static int CountNotes() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountNote, reinterpret_cast<LPARAM>(&count));
    return count;
  }

  testing::TempDirectory dir_;
  testing::RegistryScratch registry_;
  testing::RecordingActions actions_;  // outlives the main window and its alerts
  std::unique_ptr<TMain> main_;
  std::vector<DWORD> shellMessages_;
  std::vector<std::string> sounds_;
  std::vector<std::string> balloons_;
  IClock* clock_ = nullptr;  // the machine's clock unless a test sets one
};

const TDateTime kFuture = EncodeDate(2099, 5, 17) + EncodeTime(10, 30, 0, 0);

}  // namespace reminder
