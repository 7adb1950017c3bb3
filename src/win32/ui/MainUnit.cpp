#include "win32/ui/MainUnit.h"

#include <windowsx.h>

#include <stdexcept>
#include <utility>

#include "core/ui/ListStatusText.h"
#include "core/ui/MainRules.h"
#include "win32/system/ModuleMode.h"
#include "win32/toolkit/Application.h"
#include "win32/toolkit/WindowTimer.h"
#include "win32/ui/AboutUnit.h"
#include "win32/ui/AddNotifyEventDlgUnit.h"
#include "win32/ui/CalendarWnd.h"
#include "win32/ui/MainImages.h"
#include "win32/ui/RemindFormUnit.h"

namespace reminder {

TMain* Main = nullptr;

namespace {

constexpr int kCoolBarId = 200;
constexpr int kToolBarId = 201;
constexpr int kListId = 202;
constexpr int kStatusBarId = 203;
constexpr char kCaption[] = "Zelto - Reminder";

}  // namespace

TMain::TMain(TMainServices services)
    : services_(std::move(services)), fs_(ModuleFormatSettings()), regIniFile_(services_.MsgBox) {
  if (!services_.MsgBox || !services_.File || !services_.Clock || !services_.DialUp ||
      !services_.Actions) {
    throw std::invalid_argument("Dem Hauptfenster fehlt ein Dienst.");
  }
}

TMain::~TMain() {
  if (Handle()) Destroy();
  if (Main == this) Main = nullptr;
}

void TMain::BeginClose() {
  closing_ = true;
  if (scheduler_) scheduler_->SetEnabled(false);
  // No sync may start any more, nor write the data file after the module has closed.
  if (sync_) sync_->Stop();
}

void TMain::ResumeScheduler() {
  if (!closing_) scheduler_->SetEnabled(true);
}

void TMain::CreateMain() {
  if (toolbarImages_.Count() == 0) {
    AddListImages(listImages_);
    AddToolbarImages(toolbarImages_);
  }
  TFormParams params;
  params.ClassName = "TMain";
  params.Caption = kCaption;
  params.ClientWidth = 572;
  params.ClientHeight = 194;
  mainMenu_ = BuildMenuBar(MainMenuItems(), toolbarImages_.Handle());
  params.Menu = mainMenu_;
  Create(params);
}

TReminder& TMain::Scheduler() {
  if (!scheduler_) throw std::logic_error("Das Hauptfenster ist nicht erstellt.");
  return *scheduler_;
}

void TMain::OnCreate() {
  SetMinTrackSize(580, 240);
  SetAccelerators(BuildAccelerators(MainMenuItems()));
  CreateControls();
  CreateMenus();

  // There is no task-bar button while the window is hidden in the tray.
  Application().HideTaskBarWindow();
  firstShow_ = true;
  SetCaption(kCaption);
  Application().SetTitle("Zelto - Reminder 1.0");
  SetWindowTextA(toolBar_.Handle(), kCaption);
  Application().SetShowMainForm(false);
  tray_.WindowShown(Visible());

  scheduler_ = std::make_unique<TReminder>(services_.DataFile, *services_.File, *services_.MsgBox,
                                           std::make_unique<TWindowTimer>(), *services_.Clock,
                                           *services_.DialUp);
  list_.Fill(*scheduler_);
  scheduler_->SetOnNotify(
      [this](TReminder& sender, TNotifyInfo& record) { ShowReminder(sender, record); });
  // Another program changed the file: the list follows it.
  scheduler_->SetOnReloaded([this] { RefillList(); });
  LVSelectItem();

  LoadPosition();

  Application().SetOnMessage([this](MSG& message) { return AppMessage(message); });

  settings_ = ReadMainSettings(regIniFile_, services_.RegistryArea);
  ApplySettings();
  scheduler_->SetEnabled(true);
  CreateSync();
}

void TMain::ApplySettings() {
  scheduler_->SetInterval(settings_.RefreshInterval);
  tray_.Apply(settings_);
  // The sync looks at the schedule as often as the due check runs.
  SetTimer(TMainSync::kTimerId, TimerPeriodMs(settings_.RefreshInterval));
}

void TMain::CreateControls() {
  coolBar_ = CreateToolBand(Handle(), kCoolBarId, kToolBarId, toolbarImages_.Handle(), toolBar_);
  list_.Create(Handle(), kListId, listImages_.Handle());

  statusBar_.Create(Handle(), kStatusBarId);
  statusBar_.SetParts({-1});
  statusBar_.SetPartText(kStatusReady);
  SIZE client = ClientSize();
  OnSize(client.cx, client.cy);
}

void TMain::CreateMenus() {
  listMenu_ = std::make_unique<TPopupMenu>(ListMenuItems(), toolbarImages_.Handle());
  tray_.Create(
      Handle(), toolbarImages_.Handle(), services_.ShellNotify, services_.ShellBalloon,
      [this] { TrayIconDblClick(); }, [this] { BringLastAlertForward(); });
}

void TMain::OnDestroy() {
  // A main window created after this one was released has installed its own.
  if (!Main || Main == this) Application().SetOnMessage(nullptr);
  SavePosition();
  // A sync under way must end before the window and the store it reports to are gone.
  sync_.reset();
  // The records go without a save: every change was written when it was made.
  if (scheduler_) scheduler_->SetOnNotify(nullptr);
  scheduler_.reset();
  list_.Clear();
  tray_.Remove();
}

void TMain::OnSize(int clientWidth, int clientHeight) {
  if (!list_.Handle()) return;
  SendMessageA(coolBar_, WM_SIZE, 0, 0);
  // The sync's part keeps its width at the right.
  if (sync_) ShowSyncStatus(sync_->StatusText());
  statusBar_.Resize();
  RECT coolRect = {};
  GetWindowRect(coolBar_, &coolRect);
  const int top = coolRect.bottom - coolRect.top;
  const int bottom = clientHeight - statusBar_.Height();
  list_.Layout({0, top, clientWidth, bottom > top ? bottom - top : 0});
}

void TMain::RunDueCheckNow() {
  // Switching on again checks at once and starts a full interval from now.
  if (!scheduler_ || !scheduler_->Enabled()) return;
  scheduler_->SetEnabled(false);
  scheduler_->SetEnabled(true);
}

bool TMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      if (!SysCommand(static_cast<unsigned>(wParam), wParam, lParam)) return false;
      result = 0;
      return true;
    case WM_REMINDERCLOSE:
      listHandlersAttached_ = false;
      // Once per window: a second "Beenden" before the host answered must not close the
      // window the host may have opened in the meantime.
      if (!closeRequested_) PostMessageA(hostWindow_, WM_REMINDERCLOSE, 0, 0);
      closeRequested_ = true;
      result = 1;
      return true;
    case WM_ENDSESSION:
      if (wParam) {
        BeginClose();
        SavePosition();
      }
      return false;
    case TMainSync::kDoneMessage:
      if (sync_) sync_->RunEnded();
      result = 0;
      return true;
    case WM_TIMECHANGE:
      RunDueCheckNow();
      return false;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND ||
          wParam == PBT_APMRESUMECRITICAL) {
        RunDueCheckNow();
      }
      result = TRUE;
      return true;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != list_.Handle()) return false;
      ContextMenu(lParam);
      result = 0;
      return true;
    default:
      return false;
  }
}

bool TMain::PreTranslateMessage(MSG& message) {
  if (message.message == WM_KEYDOWN) {
    const bool inList = message.hwnd == list_.Handle();
    if (message.wParam == VK_ESCAPE && (inList || message.hwnd == Handle())) {
      mnuMinimizeClick();
      return true;
    }
    if (inList) {
      const bool selected = list_.SelectedCount() > 0;
      switch (message.wParam) {
        case VK_DELETE:
          if (selected) Lschen1Click();
          return selected;
        case VK_RETURN:
          if (selected) ndern1Click();
          return selected;
        case VK_INSERT:
          Hinzufgen1Click();
          return true;
        default:
          break;
      }
    }
  }
  return TForm::PreTranslateMessage(message);
}

void TMain::OnCommand(int id, int /*code*/, HWND /*control*/) {
  // A command chosen in a menu that closed with the module opens nothing any more.
  if (closing_ || (id != cmExit && BringModalToFront())) return;
  static const std::pair<int, void (TMain::*)()> kHandlers[] = {
      {cmExit, &TMain::Beenden1Click},           {cmAdd, &TMain::Hinzufgen1Click},
      {cmChange, &TMain::ndern1Click},           {cmDelete, &TMain::Lschen1Click},
      {cmSettings, &TMain::Einstellungen1Click}, {cmCalendar, &TMain::Kalender1Click},
      {cmMinimize, &TMain::mnuMinimizeClick},    {cmInfo, &TMain::Info1Click},
      {cmRestore, &TMain::mnuRestoreClick},      {cmSyncNow, &TMain::SyncNowClick},
  };
  for (const auto& [command, handler] : kHandlers) {
    if (command == id) return (this->*handler)();
  }
}

LRESULT TMain::OnNotify(NMHDR* header) {
  if (TToolBar::SupplyInfoTip(header)) return 0;
  if (header->hwndFrom != list_.Handle()) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOA:
      list_.SupplyRow(*reinterpret_cast<NMLVDISPINFOA*>(header));
      return 0;
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
    case NM_CLICK:
      if (listHandlersAttached_ && !list_.Restoring()) LVSelectItem();
      return 0;
    case NM_DBLCLK:
      if (listHandlersAttached_ && list_.SelectedCount() > 0) ndern1Click();
      return 0;
    case NM_KILLFOCUS:
      if (listHandlersAttached_) statusBar_.SetPartText(kStatusReady);
      return 0;
    case LVN_COLUMNCLICK:
      if (listHandlersAttached_) LVColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return 0;
    default:
      return 0;
  }
}

void TMain::ContextMenu(LPARAM lParam) {
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (point.x == -1 && point.y == -1) {
    point = {0, 0};
    ClientToScreen(list_.Handle(), &point);
  }
  LVPopupMenuPopup();
  listMenu_->Track(Handle(), point);
}

void TMain::LVPopupMenuPopup() {
  const bool selected = SelectionCommandsEnabled(list_.SelectedCount());
  listMenu_->Enable(cmAdd, true);
  listMenu_->Enable(cmChange, selected);
  listMenu_->Enable(cmDelete, selected);
}

void TMain::LVSelectItem() {
  const TNotifyInfo* record = list_.FirstSelected();
  const bool selected = SelectionCommandsEnabled(record ? 1 : 0);
  toolBar_.SetButtonEnabled(cmChange, selected);
  toolBar_.SetButtonEnabled(cmDelete, selected);
  EnableMenuCommand(mainMenu_, cmChange, selected);
  EnableMenuCommand(mainMenu_, cmDelete, selected);
  if (const auto text = SelectionStatusText(record, fs_)) statusBar_.SetPartText(*text);
}

void TMain::LVColumnClick(int column) {
  list_.ColumnClick(column);
  LVSelectItem();
}

void TMain::Lschen1Click() {
  const std::vector<const TNotifyInfo*> records = list_.SelectedRecords();
  if (records.empty()) return;
  scheduler_->SetEnabled(false);
  list_.Remove(records);
  // One save for all; should it take in another program's changes, the list is refilled.
  scheduler_->DeleteAll(records);
  statusBar_.SetPartText("");
  LVSelectItem();
  if (sync_) sync_->ChangeMade();
  ResumeScheduler();
}

TNotifyInfo* TMain::AddReminder(const TNotifyInfo& values) {
  TNotifyInfo* stored = scheduler_->Add(values);
  if (stored) list_.Added(*stored);
  LVSelectItem();
  if (stored && sync_) sync_->ChangeMade();
  return stored;
}

void TMain::ChangeReminder(TNotifyInfo& record, const TNotifyInfo& values) {
  record = ChangedCopy(record, values);
  list_.Changed(record);
  scheduler_->Save();
  LVSelectItem();
  if (sync_) sync_->ChangeMade();
}

bool TMain::Edit(const TNotifyInfo* record, TNotifyInfo& values) {
  TAddNotifyEventDlg dialog(*services_.Clock, *services_.MsgBox);
  dialog.CreateFor(Handle(), toolbarImages_.Handle());
  if (record) dialog.Fill(*record);
  if (dialog.ShowModal() != IDOK) return false;
  values = dialog.ToNotifyInfo();
  return true;
}

void TMain::Hinzufgen1Click() {
  scheduler_->SetEnabled(false);
  TNotifyInfo values;
  if (Edit(nullptr, values)) AddReminder(values);
  ResumeScheduler();
}

void TMain::ndern1Click() {
  TNotifyInfo* record = list_.FirstSelected();
  if (!record) return;
  const uint64_t serial = scheduler_->SerialOf(record);
  scheduler_->SetEnabled(false);
  TNotifyInfo values;
  const bool confirmed = Edit(record, values);
  // While the editor was open, another program may have deleted the record.
  if (confirmed && scheduler_->SerialOf(record) != serial) {
    ShowMsgBox(*services_.MsgBox,
               "Ein anderes Programm hat diese Erinnerung inzwischen gelöscht; Ihre Änderung "
               "wurde verworfen.",
               "", mkWarning, mbOK);
  } else if (confirmed) {
    ChangeReminder(*record, values);
  }
  ResumeScheduler();
}

void TMain::Einstellungen1Click() {
  TSyncChoice sync{sync_->Settings(), false};
  if (!EditMainSettings(Handle(), regIniFile_, services_.RegistryArea, *services_.MsgBox,
                        services_.RunEntryPlace, settings_, sync)) {
    return;
  }
  // The module may have begun to close while the dialog was open.
  if (closing_ || !sync_) return;
  ApplySettings();
  sync_->SetSettings(sync.Settings, settings_.RefreshInterval);
  if (sync.SyncNow) {
    sync_->SyncNow();
  } else {
    sync_->DueCheck();
  }
}

void TMain::Kalender1Click() {
  TCalendarForm::Open(Handle());
}

void TMain::Info1Click() {
  TAboutDlg::Execute(Handle(), LibraryMode(), compileInfo_);
}

void TMain::Beenden1Click() {
  if (LibraryMode()) {
    // Handled after the current button or menu action has returned.
    PostMessageA(Handle(), WM_REMINDERCLOSE, 0, 0);
  } else {
    // Cancels an open dialog of the window, then ends the program.
    BeginClose();
    Release();
  }
}

void TMain::ShowReminder(TReminder& sender, TNotifyInfo& record) {
  TRemindFormContext context;
  context.Store = &sender;
  context.Actions = services_.Actions;
  context.MsgBox = services_.MsgBox;
  context.Clock = services_.Clock;
  context.Format = fs_;
  context.Owner = Handle();
  context.OnUpdateImage = [this](TNotifyInfo* fired) { UpdateReminderImage(fired); };
  context.OnRescheduled = [this] { RefillList(); };
  lastAlert_ = reminder::ShowReminder(context, record)->Handle();
  tray_.ShowFired(settings_, record);
  LVSelectItem();
}

void TMain::BringLastAlertForward() {
  // The alert may have been closed before its balloon was clicked.
  if (!IsWindow(lastAlert_)) return;
  ShowWindow(lastAlert_, SW_SHOWNORMAL);
  SetForegroundWindow(lastAlert_);
}

void TMain::UpdateReminderImage(TNotifyInfo* record) {
  list_.ImageChanged(*record);
  // A selected record's status may have changed with it, to a snooze for instance.
  LVSelectItem();
}

void TMain::RefillList() {
  list_.Refill(*scheduler_);
  LVSelectItem();
}

}  // namespace reminder
