#include "win32/ui/AboutUnit.h"

#include <x86intrin.h>

#include "core/ui/ReadableColor.h"
#include "core/ui/SystemPageText.h"
#include "core/ui/VersionText.h"
#include "win32/components/VerInfo.h"
#include "win32/toolkit/Application.h"

namespace reminder {

namespace {

constexpr char kMailAddress[] = "mailto:reminder@orvandel.example";
constexpr char kWebAddress[] = "http://www.orvandel.example/reminder/";
constexpr char kNotice[] =
    "Zelto - Reminder erinnert an Termine und führt zur rechten Zeit die gewählte Aktion aus.";
// Broken into lines that fit the box, which scrolls sideways rather than wrap.
constexpr char kMemoText[] =
    "Zelto - Reminder läuft hier als eigenständiges Programm.\r\n"
    "Die Erinnerungen stehen in der Datei Reminder.dat neben\r\n"
    "dem Programm, die Einstellungen in der Registrierung des\r\n"
    "angemeldeten Benutzers.";
constexpr COLORREF kNavy = RGB(0, 0, 0x80);

// A display value read as text; none when it is missing or not a text.
std::optional<std::string> ReadTextValue(HKEY key, const char* name) {
  char buffer[1024] = {};
  DWORD type = 0;
  DWORD size = sizeof buffer - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  return std::string(buffer);
}

TDisplaySettings ReadDisplaySettings() {
  TDisplaySettings settings;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDisplaySettingsKey, 0, KEY_READ, &opened) !=
      ERROR_SUCCESS) {
    return settings;
  }
  const TRegKeyHandle key(opened);
  settings.BitsPerPixel = ReadTextValue(key.get(), "BitsPerPixel");
  settings.DisplayFlags = ReadTextValue(key.get(), "DisplayFlags");
  return settings;
}

}  // namespace

double MeasureCpuSpeed() {
  HANDLE process = GetCurrentProcess();
  HANDLE thread = GetCurrentThread();
  const DWORD priorityClass = GetPriorityClass(process);
  const int priority = GetThreadPriority(thread);
  SetPriorityClass(process, REALTIME_PRIORITY_CLASS);
  SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL);
  Sleep(10);
  const uint64_t first = __rdtsc();
  Sleep(500);
  const uint64_t second = __rdtsc();
  SetThreadPriority(thread, priority);
  SetPriorityClass(process, priorityClass);
  return CpuSpeedMHz(first, second, 500000.0);
}

int TAboutDlg::Execute(HWND owner, bool libraryMode, const TCompileInfo& compileInfo) {
  TAboutDlg dialog(compileInfo, libraryMode);
  dialog.CreateFor(owner);
  return dialog.ShowModal();
}

TAboutDlg::TAboutDlg(const TCompileInfo& compileInfo, bool libraryMode)
    : compileInfo_(compileInfo), libraryMode_(libraryMode) {}

TAboutDlg::~TAboutDlg() {
  // The refresh timer goes before the window whose labels it fills.
  SystemInformation_.reset();
  // The font and the icon go after the window that shows them.
  if (Handle()) DestroyWindow(Handle());
}

void TAboutDlg::CreateFor(HWND owner) {
  TFormParams params;
  params.ClassName = "ReminderAboutDlg";
  params.Caption = "Über Zelto - Reminder...";
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  params.ClientWidth = 435;
  params.ClientHeight = 416;
  params.Parent = owner;
  Create(params);
  CenterOnScreen();
}

void TAboutDlg::OnCreate() {
  SetDialogKeys(true);
  const HWND self = Handle();
  AddFrame({8, 8, 419, 338});
  CreateVersionPage();
  CreateSystemPage();
  TabSet.Create(self, kTabSet, {8, 348, 419, 26}, WS_TABSTOP | TCS_BOTTOM | WS_CLIPSIBLINGS);
  TabSet.AddTab(" Version ");
  TabSet.AddTab(" Systeminformation ");
  SetPageTabs(TabSet.Handle());
  CloseBtn.Create(self, IDCANCEL, "Schließen", {337, 382, 90, 26}, BS_DEFPUSHBUTTON | WS_TABSTOP);
  SetDefaultButton(IDCANCEL);
  SetActiveControl(CloseBtn.Handle());

  SystemInformation_ = std::make_unique<TSystemInfo>();
  SystemInformation_->SetOnNewValues([this](TSystemInfo&) { SystemInformationNewValues(); });
  FormCreate();
}

HWND TAboutDlg::AddLabel(std::vector<HWND>& page, const std::string& text, const TBounds& bounds,
                         int id, DWORD style) {
  TLabel label;
  label.Create(Handle(), text, bounds, style, id);
  page.push_back(label.Handle());
  return label.Handle();
}

void TAboutDlg::CreateVersionPage() {
  const HWND self = Handle();
  iconFrame_ = AddFrame({20, 20, 65, 65});
  AddLabel(versionPage_, "", {22, 22, 60, 60}, kProgramIcon, SS_ICON | SS_CENTERIMAGE);

  productName_ = AddLabel(versionPage_, "Zelto - Reminder", {100, 24, 310, 20});
  productFont_.reset(CreateFontA(-Scaled(13), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
  SendMessageA(productName_, WM_SETFONT, reinterpret_cast<WPARAM>(productFont_.get()), FALSE);
  AddLabel(versionPage_, "Version ", {100, 48, 310, 18}, kVersion);
  AddLabel(versionPage_, "vom ", {100, 68, 310, 18}, kCompileDateLabel);
  AddLabel(versionPage_, kNotice, {20, 96, 395, 32}, -1, SS_LEFT | SS_NOPREFIX);

  TEdit memo;
  memo.Create(self, kMemo, {20, 134, 395, 80},
              ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                  WS_HSCROLL | WS_TABSTOP);
  memo.SetText(kMemoText);
  versionPage_.push_back(memo.Handle());

  Panel2.Create(self, -1, {20, 222, 395, 112});
  SetWindowLongA(Panel2.Handle(), GWL_STYLE,
                 GetWindowLongA(Panel2.Handle(), GWL_STYLE) | WS_BORDER);
  SetWindowPos(Panel2.Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  const COLORREF panelColor = GetSysColor(COLOR_DESKTOP);
  Panel2.SetColor(panelColor);
  versionPage_.push_back(Panel2.Handle());
  TLabel heading;
  heading.Create(Panel2.Handle(), "Fehler und Verbesserungsvorschläge:", {4, 10, 385, 18},
                 SS_CENTER | SS_NOPREFIX);
  Panel2Heading_ = heading.Handle();
  MailLabel.Create(Panel2.Handle(), -1, "E-Mail an den Autor", {120, 42, 150, 20}, WS_TABSTOP);
  HTTPLabel.Create(Panel2.Handle(), -1, "Zelto - Reminder im WWW", {105, 72, 180, 20}, WS_TABSTOP);
  for (THTTPLabel* link : {&MailLabel, &HTTPLabel}) {
    link->SetBGColorNormal(panelColor);
    link->SetBGColorHighlight(GetSysColor(COLOR_HIGHLIGHT));
    link->SetFontColorNormal(PanelTextColor());
    link->SetFontColHighlightFocused(GetSysColor(COLOR_HIGHLIGHTTEXT));
    link->SetFontColHighlightNoneFocused(
        ReadableTextColor(GetSysColor(COLOR_HIGHLIGHT), panelColor));
    link->SetFontStyleNormal(0);
    link->SetFontStyleHighlightFocused(fsBold | fsUnderline);
    link->SetFontStyleHighlightNoneFocused(fsUnderline);
    link->SetHighLightOnBlankURL(false);
    link->SetShowUrlAsHint(false);
  }
}

void TAboutDlg::CreateSystemPage() {
  struct TRow {
    const char* caption;
    int value;
    const char* secondCaption;
    int secondValue;
  };
  static const TRow kRows[] = {
      {"Computername:", kComputername, nullptr, 0},
      {"Angemeldet als:", kUserName, nullptr, 0},
      {"Bildschirm:", kScreenResolution, nullptr, 0},
      {"Prozessor:", kCPU, "Anzahl:", kNumOfProc},
      {"Phys. Speicher total:", kPhysMemTotal, "verfügbar:", kPhysMemFree},
      {"Ausnutzung:", kMemoryPercInUse, nullptr, 0},
      {"Virt. Speicher total:", kVirtualMemUsed, "verfügbar:", kVirtualMemFree},
      {"für Auslag.datei total:", kPageFileUsed, "verfügbar:", kPageFileAvail},
  };
  AddLabel(systemPage_, "Windows-Version:", {20, 24, 130, 18});
  AddLabel(systemPage_, "", {150, 24, 265, 32}, kWindowsversion, SS_LEFT | SS_NOPREFIX);
  int y = 66;
  for (const TRow& row : kRows) {
    AddLabel(systemPage_, row.caption, {20, y, 130, 18});
    if (row.secondCaption) {
      // A processor's name with its speed needs more room than a number of bytes, the
      // number of processors less.
      const int valueWidth = row.value == kCPU ? 175 : 120;
      const int captionWidth = row.value == kCPU ? 45 : 60;
      const int secondX = 155 + valueWidth + captionWidth;
      AddLabel(systemPage_, "", {150, y, valueWidth, 18}, row.value);
      AddLabel(systemPage_, row.secondCaption, {155 + valueWidth, y, captionWidth, 18});
      AddLabel(systemPage_, "", {secondX, y, 420 - secondX, 18}, row.secondValue);
    } else {
      AddLabel(systemPage_, "", {150, y, 265, 18}, row.value);
    }
    y += 30;
  }
}

void TAboutDlg::FormCreate() {
  speedSuffix_.clear();
  icon_.reset(static_cast<HICON>(
      LoadImageA(TApplication::Instance(), "MAINICON", IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
  SendDlgItemMessageA(Handle(), kProgramIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()),
                      0);
  // The notice on running standalone means nothing inside a host program.
  ShowWindow(GetDlgItem(Handle(), kMemo), libraryMode_ ? SW_HIDE : SW_SHOW);
  ShowPage(0);
}

void TAboutDlg::OnShow() {
  FormShow();
}

void TAboutDlg::FormShow() {
  SetLabel(kCompileDateLabel, CompileDateLabelText(compileInfo_.CompileDate()));
  Panel2.SetFontColor(PanelTextColor());
  SetLabel(kVersion, VersionLabelText(TVersionInfo(OwnModuleFileName()).GetFileVersion()));
  MailLabel.SetUrl(kMailAddress);
  HTTPLabel.SetUrl(kWebAddress);
  SystemInformationNewValues();
}

void TAboutDlg::OnCommand(int id, int code, HWND) {
  if (id == IDCANCEL && (code == BN_CLICKED || code == 0)) {
    if (Modal()) {
      SetModalResult(IDCANCEL);
    } else {
      Close();
    }
  }
}

LRESULT TAboutDlg::OnNotify(NMHDR* header) {
  if (header->idFrom == kTabSet && header->code == TCN_SELCHANGE) TabSetClick();
  return 0;
}

COLORREF TAboutDlg::PanelTextColor() {
  // The desktop colour and the caption text colour may both be dark.
  return ReadableTextColor(GetSysColor(COLOR_CAPTIONTEXT), GetSysColor(COLOR_DESKTOP));
}

bool TAboutDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == productName_) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, kNavy);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
  }
  return false;
}

void TAboutDlg::TabSetClick() {
  ShowPage(TabSet.Selected());
}

void TAboutDlg::ShowPage(int index) {
  pageIndex_ = index;
  for (HWND control : versionPage_) {
    const bool hiddenMemo = control == GetDlgItem(Handle(), kMemo) && libraryMode_;
    ShowWindow(control, index == 0 && !hiddenMemo ? SW_SHOW : SW_HIDE);
  }
  for (HWND control : systemPage_) ShowWindow(control, index == 1 ? SW_SHOW : SW_HIDE);
  ShowFrame(iconFrame_, index == 0);
}

void TAboutDlg::SetLabel(int id, const std::string& text) {
  SetDlgItemTextA(Handle(), id, text.c_str());
}

void TAboutDlg::SystemInformationNewValues() {
  const TSystemInfoTexts& info = SystemInformation_->Texts();
  if (NeedsCpuSpeed(info.CPU, speedSuffix_)) {
    ++cpuMeasurements_;
    speedSuffix_ = CpuSpeedSuffix(cpuSpeedMeter_());
  }
  const TSystemPageTexts page =
      MakeSystemPageTexts(info, speedSuffix_, DisplayDetails(ReadDisplaySettings()));
  SetLabel(kWindowsversion, page.Windowsversion);
  SetLabel(kComputername, page.Computername);
  SetLabel(kPhysMemTotal, page.PhysMemTotal);
  SetLabel(kPhysMemFree, page.PhysMemFree);
  SetLabel(kMemoryPercInUse, page.MemoryPercInUse);
  SetLabel(kCPU, page.CPU);
  SetLabel(kNumOfProc, page.NumOfProc);
  SetLabel(kVirtualMemUsed, page.VirtualMemUsed);
  SetLabel(kVirtualMemFree, page.VirtualMemFree);
  SetLabel(kPageFileUsed, page.PageFileUsed);
  SetLabel(kPageFileAvail, page.PageFileAvail);
  SetLabel(kUserName, page.UserName);
  SetLabel(kScreenResolution, page.ScreenResolution);
}

}  // namespace reminder
