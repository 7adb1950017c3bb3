#include "win32/ui/MainUnit.h"

#include <mmsystem.h>
#include <windowsx.h>

#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/common/FormatDateTime.h"
#include "core/store/DataFile.h"
#include "core/ui/CfgDlgRules.h"
#include "core/ui/ListStatusText.h"
#include "core/ui/MainRules.h"
#include "win32/system/ModuleMode.h"
#include "win32/toolkit/Application.h"
#include "win32/toolkit/WindowTimer.h"
#include "win32/ui/AboutUnit.h"
#include "win32/ui/AddNotifyEventDlgUnit.h"
#include "win32/ui/CalendarWnd.h"
#include "win32/ui/CfgDlgUnit.h"
#include "win32/ui/MainImages.h"
#include "win32/ui/MainPosition.h"
#include "win32/ui/RemindFormUnit.h"

namespace reminder {

TMain* Main = nullptr;

namespace {

constexpr int kCoolBarId = 200;
constexpr int kToolBarId = 201;
constexpr int kListId = 202;
constexpr int kStatusBarId = 203;
constexpr char kCaption[] = "Zelto - Reminder";
constexpr int kTrayIconId = 57;

std::vector<TMenuItem> MainMenuItems() {
  return {
      TMenuItem::SubMenu("&Datei", {{"Einstellungen...", cmSettings, "", 7},
                                    TMenuItem::Separator(),
                                    {"Kalender...", cmCalendar},
                                    TMenuItem::Separator(),
                                    {"Beenden", cmExit, "Alt+F4", 0}}),
      TMenuItem::SubMenu("&Erinnerung", {{"Hinzufügen...", cmAdd, "Strg+A", 1},
                                         {"Ändern...", cmChange, "Strg+E", 2},
                                         {"Löschen", cmDelete, "Strg+D", 3}}),
      TMenuItem::SubMenu("&Ansicht", {{"Minimieren", cmMinimize, "F3", 6}}),
      TMenuItem::SubMenu("&?", {{"Info...", cmInfo, "", 4}}),
  };
}

std::vector<TMenuItem> TrayMenuItems() {
  return {{"Anzeigen", cmRestore, "", 5},
          {"Minimieren", cmMinimize, "", 6},
          {"Einstellungen...", cmSettings, "", 7},
          TMenuItem::Separator(),
          {"Erinnerung hinzufügen...", cmAdd, "", 1},
          TMenuItem::Separator(),
          {"Beenden", cmExit, "", 0}};
}

std::vector<TMenuItem> ListMenuItems() {
  return {{"Hinzufügen", cmAdd, "", 1}, {"Ändern", cmChange, "", 2}, {"Löschen", cmDelete, "", 3}};
}

const std::string& RowText(const TListRow& row, int column) {
  switch (column) {
    case 0:
      return row.Caption;
    case 1:
      return row.Text;
    case 2:
      return row.Action;
    default:
      return row.Repeat;
  }
}

std::string DirectoryWithSeparator(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

TMain::TMain(std::string dataFile)
    : dataFile_(std::move(dataFile)),
      fs_(ModuleFormatSettings()),
      playSound_([](const char* alias) {
        PlaySoundA(alias, nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
      }) {}

TMain::~TMain() {
  if (Handle()) Destroy();
  if (Main == this) Main = nullptr;
}

void TMain::BeginClose() {
  closing_ = true;
  if (scheduler_) scheduler_->SetEnabled(false);
}

void TMain::ResumeScheduler() {
  if (!closing_) scheduler_->SetEnabled(true);
}

// While a dialog or box of the main window is open, the window is disabled; commands from
// the tray then bring that dialog to the front instead of opening another one.
bool TMain::BringModalToFront() {
  if (IsWindowEnabled(Handle())) return false;
  HWND popup = GetLastActivePopup(Handle());
  if (popup && popup != Handle()) SetForegroundWindow(popup);
  return true;
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
  SetTrayMenuState();

  scheduler_ = std::make_unique<TReminder>(dataFile_, file_, msgBox_,
                                           std::make_unique<TWindowTimer>(), clock_, dialUp_);
  scheduler_->FillListView(rows_, fs_);
  ShowRows();
  scheduler_->SetOnNotify(
      [this](TReminder& sender, TNotifyInfo& record) { ShowReminder(sender, record); });
  // Another program changed the file: the list follows it.
  scheduler_->SetOnReloaded([this] { RefillList(); });
  LVSelectItem();

  LoadPosition();

  Application().SetOnMessage([this](MSG& message) { return AppMessage(message); });

  ReadSettings();
  scheduler_->SetInterval(refreshInterval_);
  trayIcon_->SetInterval(static_cast<int32_t>(TimerPeriodMs(refreshInterval_)));
  scheduler_->SetEnabled(true);

  trayIcon_->SetToolTip(kCaption);
  trayIcon_->SetActive(true);
  trayIcon_->SetAnimate(animateIcon_);
}

void TMain::CreateControls() {
  coolBar_ = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, "",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                 RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER,
                             0, 0, 0, 0, Handle(), reinterpret_cast<HMENU>(kCoolBarId),
                             TApplication::Instance(), nullptr);
  if (!coolBar_) throw std::runtime_error("Die Werkzeugleiste kann nicht erstellt werden.");
  toolBar_.Create(
      coolBar_, kToolBarId,
      TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN);
  toolBar_.SetImageList(toolbarImages_.Handle());
  toolBar_.AddButton(cmExit, 0, "Beenden");
  toolBar_.AddSeparator();
  toolBar_.AddButton(cmAdd, 1, "Erinnerung hinzufügen");
  toolBar_.AddButton(cmChange, 2, "Erinnerung ändern");
  toolBar_.AddButton(cmDelete, 3, "Erinnerung löschen");
  SIZE size = {};
  toolBar_.Send(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  REBARBANDINFOA band = {};
  band.cbSize = REBARBANDINFOA_V3_SIZE;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
  band.fStyle = RBBS_CHILDEDGE;
  band.hwndChild = toolBar_.Handle();
  band.cxMinChild = size.cx;
  band.cyMinChild = size.cy;
  band.cx = size.cx;
  SendMessageA(coolBar_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));

  // Rows live in rows_; the control asks for what it paints, which keeps filling and
  // sorting thousands of rows fast.
  lv_.Create(Handle(), kListId, {0, 0, 100, 100},
             LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | WS_TABSTOP,
             LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT);
  lv_.SetSmallImages(listImages_.Handle());
  lv_.AddColumn("Termin", 130);
  lv_.AddColumn("Erinnern an...", 200);
  lv_.AddColumn("Aktion", 130);
  lv_.AddColumn("Wie oft?", 90);

  statusBar_.Create(Handle(), kStatusBarId);
  statusBar_.SetParts({-1});
  statusBar_.SetPartText(kStatusReady);
  SIZE client = ClientSize();
  OnSize(client.cx, client.cy);
}

void TMain::CreateMenus() {
  trayMenu_ = std::make_unique<TPopupMenu>(TrayMenuItems(), toolbarImages_.Handle());
  listMenu_ = std::make_unique<TPopupMenu>(ListMenuItems(), toolbarImages_.Handle());
  trayIcon_ = std::make_unique<TTrayIcon95>(shellNotify_);
  trayIcon_->SetIconID(kTrayIconId);
  trayIcon_->SetShowIcon(-1);
  trayIcon_->SetPopupMenu(trayMenu_->Handle());
  trayIcon_->SetAppWindow(Handle());
  trayIcon_->OnDblClick = [this](TTrayIcon95&) { TrayIconDblClick(); };
  HICON rest = MakeTrayIcon(0);
  HICON other = MakeTrayIcon(1);
  trayIcon_->SetDefaultIcon(rest);
  trayIcon_->SetIcon(1, other);
  DestroyIcon(rest);
  DestroyIcon(other);
}

void TMain::ReadSettings() {
  regIniFile_.SetArea(registryArea_);
  regIniFile_.SetSection("Options");
  const bool animate = regIniFile_.ReadBool("AnimateIcon", false);
  animateIcon_ = AnimateIconSetting(animate, regIniFile_.ErrorCode());
  regIniFile_.WriteString("ProgramPath", DirectoryWithSeparator(ExecutablePath()));
  const int32_t interval = regIniFile_.ReadInteger("RefreshInterval", 0);
  refreshInterval_ = RefreshIntervalSetting(interval, regIniFile_.ErrorCode());
}

void TMain::LoadPosition() {
  LoadMainPosition(Handle(), registryArea_);
}

void TMain::SavePosition() {
  SaveMainPosition(Handle(), registryArea_);
}

void TMain::OnShow() {
  if (firstShow_) {
    firstShow_ = false;
    LoadPosition();
  }
  trayMenu_->Enable(cmRestore, false);
  trayMenu_->Enable(cmMinimize, true);
}

void TMain::OnDestroy() {
  // A main window created after this one was released has installed its own.
  if (!Main || Main == this) Application().SetOnMessage(nullptr);
  SavePosition();
  // The records go without a save: every change was written when it was made.
  if (scheduler_) scheduler_->SetOnNotify(nullptr);
  scheduler_.reset();
  rows_.ClearItems();
  trayIcon_.reset();
}

void TMain::OnSize(int clientWidth, int clientHeight) {
  if (!lv_.Handle()) return;
  SendMessageA(coolBar_, WM_SIZE, 0, 0);
  statusBar_.Resize();
  RECT coolRect = {};
  GetWindowRect(coolBar_, &coolRect);
  const int top = coolRect.bottom - coolRect.top;
  const int bottom = clientHeight - statusBar_.Height();
  lv_.SetBounds({0, top, clientWidth, bottom > top ? bottom - top : 0});
  // The text column takes what the others leave.
  const int text = clientWidth - 130 - 130 - 90 - GetSystemMetrics(SM_CXVSCROLL) - 4;
  lv_.Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(text > 100 ? text : 100, 0));
}

void TMain::SetTrayMenuState() {
  const TTrayMenuState state = TrayMenuState(Visible());
  trayMenu_->Enable(cmRestore, state.Restore);
  trayMenu_->Enable(cmMinimize, state.Minimize);
}

void TMain::HideToTray() {
  SavePosition();
  if (playSound_) playSound_("Minimize");
  trayMenu_->Enable(cmRestore, true);
  trayMenu_->Enable(cmMinimize, false);
  Hide();
  Application().HideTaskBarWindow();
}

bool TMain::ShowFirstTime() {
  if (Application().ShowMainForm()) return false;
  Application().SetShowMainForm(true);
  Application().ShowTaskBarWindow();
  Show();
  return true;
}

// Close becomes minimise, minimise hides to the tray; true when the default handling is
// to be skipped.
bool TMain::SysCommand(unsigned command, WPARAM wParam, LPARAM lParam) {
  switch (SysCommandAction(command)) {
    case TSysCommandAction::HideToTray:
      HideToTray();
      return true;
    case TSysCommandAction::Restore:
      DefWindowProcA(Handle(), WM_SYSCOMMAND, wParam, lParam);
      ShowFirstTime();
      trayMenu_->Enable(cmRestore, false);
      trayMenu_->Enable(cmMinimize, true);
      return true;
    default:
      return false;
  }
}

bool TMain::AppMessage(MSG& message) {
  if (message.message != WM_SYSCOMMAND || message.hwnd != Handle()) return false;
  switch (SysCommandAction(static_cast<unsigned>(message.wParam))) {
    case TSysCommandAction::HideToTray:
      HideToTray();
      return true;
    case TSysCommandAction::Restore:
      ShowFirstTime();
      trayMenu_->Enable(cmRestore, false);
      trayMenu_->Enable(cmMinimize, true);
      return false;
    default:
      return false;
  }
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
      if (reinterpret_cast<HWND>(wParam) != lv_.Handle()) return false;
      ContextMenu(lParam);
      result = 0;
      return true;
    default:
      return false;
  }
}

bool TMain::PreTranslateMessage(MSG& message) {
  if (message.message == WM_KEYDOWN) {
    const bool inList = message.hwnd == lv_.Handle();
    if (message.wParam == VK_ESCAPE && (inList || message.hwnd == Handle())) {
      mnuMinimizeClick();
      return true;
    }
    if (inList) {
      const bool selected = lv_.SelectedCount() > 0;
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
  switch (id) {
    case cmExit:
      Beenden1Click();
      break;
    case cmAdd:
      Hinzufgen1Click();
      break;
    case cmChange:
      ndern1Click();
      break;
    case cmDelete:
      Lschen1Click();
      break;
    case cmSettings:
      Einstellungen1Click();
      break;
    case cmCalendar:
      Kalender1Click();
      break;
    case cmMinimize:
      mnuMinimizeClick();
      break;
    case cmInfo:
      Info1Click();
      break;
    case cmRestore:
      mnuRestoreClick();
      break;
    default:
      break;
  }
}

LRESULT TMain::OnNotify(NMHDR* header) {
  if (TToolBar::SupplyInfoTip(header)) return 0;
  if (header->hwndFrom != lv_.Handle()) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOA:
      return SupplyRow(*reinterpret_cast<NMLVDISPINFOA*>(header));
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
    case NM_CLICK:
      if (listHandlersAttached_) LVSelectItem();
      return 0;
    case NM_DBLCLK:
      if (listHandlersAttached_ && lv_.SelectedCount() > 0) ndern1Click();
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

LRESULT TMain::SupplyRow(NMLVDISPINFOA& info) {
  if (info.item.iItem < 0 || static_cast<size_t>(info.item.iItem) >= rows_.Count()) return 0;
  const TListRow& row = rows_.Row(static_cast<size_t>(info.item.iItem));
  if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
    lstrcpynA(info.item.pszText, RowText(row, info.item.iSubItem).c_str(), info.item.cchTextMax);
  }
  if (info.item.mask & LVIF_IMAGE) info.item.iImage = row.ImageIndex;
  return 0;
}

void TMain::ContextMenu(LPARAM lParam) {
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (point.x == -1 && point.y == -1) {
    point = {0, 0};
    ClientToScreen(lv_.Handle(), &point);
  }
  LVPopupMenuPopup();
  listMenu_->Track(Handle(), point);
}

void TMain::LVPopupMenuPopup() {
  const bool selected = SelectionCommandsEnabled(lv_.SelectedCount());
  listMenu_->Enable(cmAdd, true);
  listMenu_->Enable(cmChange, selected);
  listMenu_->Enable(cmDelete, selected);
}

void TMain::LVSelectItem() {
  const int first = lv_.FirstSelected();
  const bool selected = SelectionCommandsEnabled(first >= 0 ? 1 : 0);
  toolBar_.SetButtonEnabled(cmChange, selected);
  toolBar_.SetButtonEnabled(cmDelete, selected);
  EnableMenuCommand(mainMenu_, cmChange, selected);
  EnableMenuCommand(mainMenu_, cmDelete, selected);
  const TNotifyInfo* record =
      first >= 0 && static_cast<size_t>(first) < rows_.Count() ? rows_.Row(first).Data : nullptr;
  if (const auto text = SelectionStatusText(record, fs_)) statusBar_.SetPartText(*text);
}

std::vector<int> TMain::SelectedIndexes() const {
  std::vector<int> indexes;
  for (int i = lv_.FirstSelected(); i >= 0; i = lv_.NextSelected(i)) indexes.push_back(i);
  return indexes;
}

void TMain::ShowRows() {
  lv_.SetSelected(-1, false);
  lv_.Send(LVM_SETITEMCOUNT, rows_.Count(), 0);
  InvalidateRect(lv_.Handle(), nullptr, TRUE);
}

void TMain::SelectRows(const std::vector<const TNotifyInfo*>& records) {
  lv_.SetSelected(-1, false);
  if (records.empty()) return;
  std::unordered_map<const TNotifyInfo*, int> index;
  index.reserve(rows_.Count());
  for (size_t i = 0; i < rows_.Count(); ++i) index.emplace(rows_.Row(i).Data, static_cast<int>(i));
  for (const TNotifyInfo* record : records) {
    const auto found = index.find(record);
    if (found != index.end()) lv_.SetSelected(found->second, true);
  }
}

std::string TMain::LocaleSortKey(const std::string& text) {
  // The key orders as CompareStringA orders the texts; it ends in a zero byte.
  const int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(),
                                static_cast<int>(text.size()), nullptr, 0);
  std::string key(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(), static_cast<int>(text.size()),
                 key.data(), size);
  }
  return key;
}

void TMain::LVColumnClick(int column) {
  // The selection stays with its records, not with the row positions.
  std::vector<const TNotifyInfo*> selected;
  for (int i : SelectedIndexes()) selected.push_back(rows_.Row(i).Data);
  rows_.SortByColumn(column, &TMain::LocaleSortKey, fs_);
  SelectRows(selected);
  InvalidateRect(lv_.Handle(), nullptr, TRUE);
}

void TMain::Lschen1Click() {
  const std::vector<int> indexes = SelectedIndexes();
  if (indexes.empty()) return;
  scheduler_->SetEnabled(false);
  lv_.SetRedraw(false);
  std::vector<const TNotifyInfo*> records;
  for (int i : indexes) records.push_back(rows_.Row(i).Data);
  lv_.SetSelected(-1, false);
  for (const TNotifyInfo* record : records) {
    const int row = rows_.Find(record);
    if (row >= 0) rows_.Remove(static_cast<size_t>(row));
  }
  // One save for all; should it take in another program's changes, the list is refilled.
  scheduler_->DeleteAll(records);
  lv_.Send(LVM_SETITEMCOUNT, rows_.Count(), 0);
  lv_.SetRedraw(true);
  statusBar_.SetPartText("");
  LVSelectItem();
  ResumeScheduler();
}

TNotifyInfo* TMain::AddReminder(const TNotifyInfo& values) {
  TNotifyInfo* stored = scheduler_->Add(values);
  // A save that took in another program's changes has refilled the list already.
  if (stored && rows_.Find(stored) < 0) {
    TListRow row = MakeListRow(*stored, fs_);
    row.ImageIndex = kImagePending;
    rows_.AddItem(row);
    lv_.Send(LVM_SETITEMCOUNT, rows_.Count(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  }
  LVSelectItem();
  return stored;
}

void TMain::ChangeReminder(TNotifyInfo& record, const TNotifyInfo& values) {
  TNotifyInfo copy = EditableCopy(values);
  const int row = rows_.Find(&record);
  record = copy;
  if (row >= 0) {
    rows_.Row(static_cast<size_t>(row)) = MakeListRow(record, fs_);
    rows_.Row(static_cast<size_t>(row)).ImageIndex = kImagePending;
    lv_.Send(LVM_REDRAWITEMS, row, row);
  }
  scheduler_->Save();
  LVSelectItem();
}

void TMain::Hinzufgen1Click() {
  scheduler_->SetEnabled(false);
  {
    TAddNotifyEventDlg dialog(clock_, msgBox_);
    dialog.CreateFor(Handle(), toolbarImages_.Handle());
    if (dialog.ShowModal() == IDOK) AddReminder(dialog.ToNotifyInfo());
  }
  ResumeScheduler();
}

void TMain::ndern1Click() {
  const int selected = lv_.FirstSelected();
  if (selected < 0) return;
  TNotifyInfo* record = rows_.Row(static_cast<size_t>(selected)).Data;
  const uint64_t serial = scheduler_->SerialOf(record);
  scheduler_->SetEnabled(false);
  {
    TAddNotifyEventDlg dialog(clock_, msgBox_);
    dialog.CreateFor(Handle(), toolbarImages_.Handle());
    dialog.Fill(*record);
    const bool confirmed = dialog.ShowModal() == IDOK;
    // While the editor was open, another program may have deleted the record.
    if (confirmed && scheduler_->SerialOf(record) != serial) {
      ShowMsgBox(msgBox_,
                 "Ein anderes Programm hat diese Erinnerung inzwischen gelöscht; Ihre Änderung "
                 "wurde verworfen.",
                 "", mkWarning, mbOK);
    } else if (confirmed) {
      ChangeReminder(*record, dialog.ToNotifyInfo());
    }
  }
  ResumeScheduler();
}

void TMain::Einstellungen1Click() {
  const bool library = LibraryMode();
  const TAutoStart autoStart(msgBox_, runEntryPlace_);
  regIniFile_.SetArea(registryArea_);
  regIniFile_.SetSection("Options");
  TCfgDlg dialog(library);
  dialog.CreateFor(Handle());
  dialog.AnimateIconChkBox.SetChecked(animateIcon_);
  dialog.IntervalEdit.SetText(std::to_string(refreshInterval_));
  dialog.UpDown.SetPosition(refreshInterval_);
  dialog.WinStartUpChkBox.SetChecked(library ? regIniFile_.ReadBool("Autostart", false)
                                             : autoStart.IsAutostartEntered());
  if (dialog.ShowModal() != IDOK) return;

  const bool startUp = dialog.WinStartUpChkBox.Checked();
  if (!library) autoStart.SetAutostart(startUp);
  animateIcon_ = dialog.AnimateIconChkBox.Checked();
  refreshInterval_ = RefreshIntervalFromText(dialog.IntervalEdit.Text());
  regIniFile_.WriteBool("AnimateIcon", animateIcon_);
  regIniFile_.WriteBool("Autostart", startUp);
  regIniFile_.WriteInteger("RefreshInterval", refreshInterval_);

  scheduler_->SetInterval(refreshInterval_);
  trayIcon_->SetInterval(static_cast<int32_t>(TimerPeriodMs(refreshInterval_)));
  trayIcon_->SetAnimate(animateIcon_);
  trayIcon_->SetToolTip("Zelto - Reminder");
  trayIcon_->SetActive(true);
  trayIcon_->SetAnimate(animateIcon_);
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

void TMain::mnuMinimizeClick() {
  if (Visible()) SendMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  SetTrayMenuState();
}

void TMain::TrayIconDblClick() {
  if (closing_ || BringModalToFront()) return;
  if (Visible()) {
    SetForegroundWindow(Handle());
    return;
  }
  if (Application().ShowMainForm()) {
    Show();
    Application().ShowTaskBarWindow();
    SendMessageA(Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  } else {
    Application().SetShowMainForm(true);
    Show();
    Application().ShowTaskBarWindow();
  }
  SetForegroundWindow(Handle());
  SetTrayMenuState();
  Application().ProcessMessages();
}

void TMain::ShowReminder(TReminder& sender, TNotifyInfo& record) {
  TRemindFormContext context;
  context.Store = &sender;
  context.Actions = alertActions_;
  context.MsgBox = &msgBox_;
  context.Clock = &clock_;
  context.Format = fs_;
  context.Owner = Handle();
  context.OnUpdateImage = [this](TNotifyInfo* fired) { UpdateReminderImage(fired); };
  context.OnRescheduled = [this] { RefillList(); };
  reminder::ShowReminder(context, record);
  LVSelectItem();
}

void TMain::UpdateReminderImage(TNotifyInfo* record) {
  const int row = rows_.Find(record);
  if (row < 0) return;
  rows_.Row(static_cast<size_t>(row)).ImageIndex =
      record->Notified != 0 ? kImageFinished : kImagePending;
  lv_.Send(LVM_REDRAWITEMS, row, row);
}

void TMain::RefillList() {
  // The selection stays with the records that are still there; a serial tells a record
  // from a new one at the address of one that went.
  std::unordered_set<uint64_t> selected;
  for (int i : SelectedIndexes()) selected.insert(TRecordPool::Serial(rows_.Row(i).Data));
  scheduler_->FillListView(rows_, fs_);
  ShowRows();
  std::vector<const TNotifyInfo*> still;
  for (size_t i = 0; i < rows_.Count() && !selected.empty(); ++i) {
    const TNotifyInfo* record = rows_.Row(i).Data;
    if (selected.count(TRecordPool::Serial(record))) still.push_back(record);
  }
  SelectRows(still);
  LVSelectItem();
}

}  // namespace reminder
