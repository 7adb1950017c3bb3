// The settings dialog's page "Synchronisation". The search for calendars runs on the
// window thread under the wait cursor, with short time limits: it is one short exchange
// the user asked for and waits on, and the dialog has nothing else to do meanwhile.
#include "win32/net/WinHttpClient.h"
#include "win32/ui/CfgDlgUnit.h"

namespace reminder {

namespace {

// Per request of the search, so that an unreachable server holds the dialog only briefly.
constexpr DWORD kSearchTimeoutMs = 5000;
constexpr char kCalendarName[] = "erinnerungen";
constexpr char kCalendarDisplayName[] = "Erinnerungen";

// Shows the wait cursor while it lives.
class TWaitCursor {
 public:
  TWaitCursor() : old_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~TWaitCursor() { SetCursor(old_); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  HCURSOR old_;
};

}  // namespace

void TCfgDlg::CreateSyncPage() {
  const HWND self = Handle();
  SyncChkBox.Create(self, kSyncChkBox, " Erinnerungen mit dem Server ab&gleichen",
                    {20, 40, 305, 20}, BS_AUTOCHECKBOX | WS_TABSTOP);
  TLabel server, user, password, calendar;
  server.Create(self, "Ser&ver:", {20, 72, 88, 18});
  ServerEdit.Create(self, kServerEdit, {110, 68, 215, 22});
  user.Create(self, "Ben&utzername:", {20, 100, 88, 18});
  UserEdit.Create(self, kUserEdit, {110, 96, 215, 22});
  password.Create(self, "&Passwort:", {20, 128, 88, 18});
  PasswordEdit.Create(self, kPasswordEdit, {110, 124, 215, 22},
                      ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP);
  calendar.Create(self, "Kalen&der:", {20, 156, 88, 18});
  CalendarCombo.Create(self, kCalendarCombo, {110, 152, 215, 160});
  FindCalendarsBtn.Create(self, kFindCalendarsBtn, "&Kalender suchen", {20, 180, 150, 26});
  MakeCalendarBtn.Create(self, kMakeCalendarBtn, "Erinnerungen an&legen", {175, 180, 150, 26});
  MakeCalendarBtn.SetEnabled(false);
  SyncNowBtn.Create(self, kSyncNowBtn, "&Jetzt synchronisieren", {20, 210, 150, 26});
  SyncInfoLabel.Create(self, "", {20, 242, 305, 32}, SS_LEFT);
  pages_[1] = {SyncChkBox.Handle(),   server.Handle(),           ServerEdit.Handle(),
               user.Handle(),         UserEdit.Handle(),         password.Handle(),
               PasswordEdit.Handle(), calendar.Handle(),         CalendarCombo.Handle(),
               SyncNowBtn.Handle(),   FindCalendarsBtn.Handle(), MakeCalendarBtn.Handle(),
               SyncInfoLabel.Handle()};
}

void TCfgDlg::SetSyncSettings(const TSyncSettings& settings) {
  SyncChkBox.SetChecked(settings.Enabled);
  ServerEdit.SetText(settings.Server);
  UserEdit.SetText(settings.User);
  PasswordEdit.SetText(settings.Password);
  std::vector<TCalendarInfo> chosen;
  if (!settings.CalendarUrl.empty())
    chosen.push_back({settings.CalendarUrl, settings.CalendarName});
  OfferCalendars(chosen, settings.CalendarUrl);
}

TSyncSettings TCfgDlg::SyncSettings() const {
  TSyncSettings settings;
  settings.Enabled = SyncChkBox.Checked();
  settings.Server = ServerEdit.Text();
  settings.User = UserEdit.Text();
  settings.Password = PasswordEdit.Text();
  const int index = CalendarCombo.ItemIndex();
  if (index >= 0 && static_cast<size_t>(index) < calendars_.size()) {
    settings.CalendarUrl = calendars_[index].Url;
    settings.CalendarName = calendars_[index].DisplayName;
  }
  return settings;
}

void TCfgDlg::OfferCalendars(const std::vector<TCalendarInfo>& calendars,
                             const std::string& selectUrl) {
  calendars_ = calendars;
  CalendarCombo.Clear();
  int selected = calendars_.empty() ? -1 : 0;
  for (size_t i = 0; i < calendars_.size(); ++i) {
    const TCalendarInfo& info = calendars_[i];
    CalendarCombo.Add(info.DisplayName.empty() ? info.Url : info.DisplayName);
    if (info.Url == selectUrl) selected = static_cast<int>(i);
  }
  CalendarCombo.SetItemIndex(selected);
}

void TCfgDlg::FindCalendarsClick() {
  const TSyncSettings typed = SyncSettings();
  TSyncSettings check = typed;
  check.Enabled = false;
  const std::string problem = SyncSettingsProblem(check);
  if (!problem.empty() || typed.Server.empty()) {
    SyncInfoLabel.SetText(problem.empty() ? "Bitte geben Sie die Adresse des Servers an."
                                          : problem);
    return;
  }
  std::vector<TCalendarInfo> found;
  std::string error;
  {
    TWaitCursor wait;
    TWinHttpClient http(typed.User, typed.Password, kSearchTimeoutMs);
    TCalDav dav(http);
    if (!dav.Discover(typed.Server, found)) error = dav.Error();
  }
  OfferCalendars(found, typed.CalendarUrl);
  MakeCalendarBtn.SetEnabled(found.empty());
  if (found.empty()) {
    SyncInfoLabel.SetText(error.empty() ? "Der Server hat keinen Kalender für Erinnerungen."
                                        : error);
  } else {
    SyncInfoLabel.SetText(std::to_string(found.size()) + " Kalender gefunden.");
  }
}

void TCfgDlg::MakeCalendarClick() {
  const TSyncSettings typed = SyncSettings();
  TCalendarInfo made;
  bool done = false;
  std::string error;
  {
    TWaitCursor wait;
    TWinHttpClient http(typed.User, typed.Password, kSearchTimeoutMs);
    TCalDav dav(http);
    done = dav.MakeCalendar(typed.Server, kCalendarName, kCalendarDisplayName, made);
    if (!done) error = dav.Error();
  }
  if (!done) {
    SyncInfoLabel.SetText(error);
    return;
  }
  OfferCalendars({made}, made.Url);
  MakeCalendarBtn.SetEnabled(false);
  SyncInfoLabel.SetText("Der Kalender \"Erinnerungen\" wurde angelegt.");
}

void TCfgDlg::OKClick() {
  const std::string problem = SyncSettingsProblem(SyncSettings());
  if (problem.empty()) {
    SetModalResult(IDOK);
    return;
  }
  ShowPage(1);
  SyncInfoLabel.SetText(problem);
}

void TCfgDlg::SyncNowClick() {
  TSyncSettings settings = SyncSettings();
  settings.Enabled = true;
  const std::string problem = SyncSettingsProblem(settings);
  if (!problem.empty()) {
    SyncInfoLabel.SetText(problem);
    return;
  }
  SyncChkBox.SetChecked(true);
  syncNow_ = true;
  SetModalResult(IDOK);
}

}  // namespace reminder
