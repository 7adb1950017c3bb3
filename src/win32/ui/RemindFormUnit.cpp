#include "win32/ui/RemindFormUnit.h"

#include <memory>
#include <stdexcept>
#include <utility>

#include "core/common/FormatDateTime.h"
#include "core/store/ActionTarget.h"
#include "core/store/ReminderListView.h"
#include "core/store/Snooze.h"
#include "win32/toolkit/Application.h"

namespace reminder {

namespace {

constexpr int kClientWidth = 504;
constexpr int kClientHeight = 320;
constexpr int kPanelId = 100;
constexpr int kActionLabelId = 101;
constexpr int kReminderTextId = 102;
constexpr int kDateEditId = 103;
constexpr int kSnoozeChoiceId = 104;

// The edit control breaks lines only at CR LF.
std::string EditLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
    lines += text[i];
  }
  return lines;
}

// The shown alerts of one main window.
struct TAlertSearch {
  HWND Owner;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectAlert(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TAlertSearch*>(data);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == TRemindForm::kClassName && GetWindow(window, GW_OWNER) == search.Owner &&
      IsWindowVisible(window)) {
    search.Found.push_back(window);
  }
  return TRUE;
}

}  // namespace

TRemindForm::TRemindForm(TRemindFormContext context) : context_(std::move(context)) {
  if (!context_.Store || !context_.Actions || !context_.MsgBox || !context_.Clock) {
    throw std::invalid_argument("Dem Erinnerungsfenster fehlt ein Dienst.");
  }
  SetCloseAction(TCloseAction::Free);
}

void TRemindForm::Open(TNotifyInfo* record) {
  TFormParams params;
  params.ClassName = kClassName;
  params.Caption = kAlertCaption;
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
  params.ClientWidth = kClientWidth;
  params.ClientHeight = kClientHeight;
  params.Parent = context_.Owner;
  Create(params);

  record_ = record;
  recordSerial_ = context_.Store->SerialOf(record);
  const TDateTime firedAt = context_.Clock->Now();
  layout_ = AlertLayout(*record, firedAt);
  const TDateTime date = AlertDate(*record);
  dateLabel_.SetText(FormatDateTime("c", date, context_.Format));
  actionLabel_.SetCaption(ActionName(record->ActionKind));
  actionLabel_.SetTag(record->ActionKind);
  actionLabel_.SetUrl(record->ActionParam);
  targetLabel_.SetText(ActionTargetText(*record));
  targetLabel_.SetVisible(!targetLabel_.Text().empty());
  reminderText_.SetText(EditLines(record->NotifyText));
  ShowTextScrollBar();
  dateEdit_.SetValue(date);

  label4_.SetVisible(layout_.Postpone);
  dateEdit_.SetVisible(layout_.Postpone);
  lateLabel_.SetVisible(layout_.LateNote);
}

void TRemindForm::OnCreate() {
  SetBackground(COLOR_WINDOW);
  SetDialogKeys(true);
  CenterOnScreen();
  HWND form = Handle();

  panel_.Create(form, kPanelId, {0, 0, kClientWidth, 25});
  panel_.SetColor(GetSysColor(COLOR_INFOBK));
  panel_.SetFontColor(GetSysColor(COLOR_INFOTEXT));
  panel_.SetAlignment(TPanelAlignment::Right);
  panel_.SetCaption(PanelDateText(context_.Clock->Now(), context_.Format));
  captionLabel_.Create(panel_.Handle(), "Erinnerung", {8, 5, 160, 16});
  LOGFONTA bold = {};
  GetObjectA(Application().Font(), sizeof bold, &bold);
  bold.lfHeight = -Scaled(13);
  bold.lfWeight = FW_BOLD;
  captionFont_.reset(CreateFontIndirectA(&bold));
  captionLabel_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(captionFont_.get()), TRUE);

  TLabel label1;
  label1.Create(form, "Termin:", {8, 33, 240, 14});
  dateLabel_.Create(form, "", {8, 49, 240, 16});
  TLabel label2;
  label2.Create(form, "Aktion:", {256, 33, 240, 14});
  // The first stop of Tab: a user without a mouse may run the action early.
  actionLabel_.Create(form, kActionLabelId, "", {256, 49, 240, 16}, WS_TABSTOP);
  actionLabel_.SetHighLightOnBlankURL(false);
  actionLabel_.SetShowUrlAsHint(false);
  actionLabel_.SetPlaySoundOnFocus(true);
  actionLabel_.SetBGColorNormal(GetSysColor(COLOR_WINDOW));
  actionLabel_.SetBGColorHighlight(GetSysColor(COLOR_HIGHLIGHT));
  actionLabel_.SetFontColorNormal(GetSysColor(COLOR_HIGHLIGHT));
  actionLabel_.SetFontColHighlightFocused(GetSysColor(COLOR_HIGHLIGHTTEXT));
  actionLabel_.SetFontColHighlightNoneFocused(GetSysColor(COLOR_HIGHLIGHT));
  actionLabel_.SetFontStyleNormal(fsUnderline);
  actionLabel_.SetFontStyleHighlightFocused(fsUnderline);
  actionLabel_.SetFontStyleHighlightNoneFocused(fsUnderline);
  // The alert carries the action out itself: a click must not open the target twice.
  actionLabel_.SetOpenUrlOnClick(false);
  actionLabel_.OnClick = [this] { ActionLabelClick(); };

  // The ellipsis keeps both ends of a long path or address in view; the link's hint has
  // the whole text.
  targetLabel_.Create(form, "", {8, 69, 488, 16}, SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX);
  TLabel label3;
  // No access key: the text below never keeps the focus.
  label3.Create(form, "Erinnern an:", {8, 89, 488, 14});
  reminderText_.Create(form, kReminderTextId, {8, 105, 488, 102},
                       ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, 0);
  lateLabel_.Create(form, kLateActionText, {8, 212, 488, 16});
  lateLabel_.SetVisible(false);

  label4_.Create(form, "&Termin verschieben:", {8, 232, 150, 14});
  label4_.SetVisible(false);
  dateEdit_.Create(form, kDateEditId, {8, 248, 120, 22});
  dateEdit_.SetVisible(false);
  label5_.Create(form, "Aktion ausführen in:", {200, 232, 150, 14});
  timeLabel_.Create(form, SecondsLeftText(kCountdownSeconds - tickCount_), {200, 250, 150, 16});
  closeBtn_.Create(form, IDCANCEL, "Schließen", {408, 245, 88, 25}, BS_DEFPUSHBUTTON | WS_TABSTOP);
  SetDefaultButton(IDCANCEL);
  SetActiveControl(closeBtn_.Handle());

  snoozeLabel_.Create(form, "S&päter erinnern:", {8, 290, 100, 16});
  snoozeChoice_.Create(form, kSnoozeChoiceId, {110, 286, 150, 200});
  for (const TSnoozeChoice& choice : kSnoozeChoices) snoozeChoice_.Add(choice.Text);
  snoozeChoice_.SetItemIndex(0);
  snoozeBtn_.Create(form, kSnoozeBtnId, "&Zurückstellen", {268, 285, 100, 25},
                    BS_PUSHBUTTON | WS_TABSTOP);
  closeAllBtn_.Create(form, kCloseAllBtnId, "A&lle schließen", {396, 285, 100, 25},
                      BS_PUSHBUTTON | WS_TABSTOP);
  closeAllBtn_.SetVisible(false);
}

void TRemindForm::ShowTextScrollBar() {
  // The text wraps at word boundaries; the bar shows only when the lines need more room.
  const HWND text = reminderText_.Handle();
  ShowScrollBar(text, SB_VERT, FALSE);
  TEXTMETRICA metrics = {};
  {
    const TWindowDC dc(text);
    const TSelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(reminderText_.Send(WM_GETFONT)));
    GetTextMetricsA(dc.get(), &metrics);
  }
  RECT area = {};
  reminderText_.Send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
  const int shown = metrics.tmHeight > 0 ? (area.bottom - area.top) / metrics.tmHeight : 0;
  const int lines = static_cast<int>(reminderText_.Send(EM_GETLINECOUNT));
  ShowScrollBar(text, SB_VERT, lines > shown);
}

void TRemindForm::OnShow() {
  // The hint names what will run or open, so the user sees it before the countdown ends.
  const std::string target = targetLabel_.Text();
  actionLabel_.SetHint(target.empty() ? actionLabel_.Caption() : target);
  actionLabel_.SetShowHint(true);
  const bool countdown = layout_.Countdown && CountsDown(static_cast<uint8_t>(actionLabel_.Tag()));
  if (countdown) StartTimer();
  label5_.SetVisible(countdown);
  timeLabel_.SetVisible(countdown);
  postponed_ = false;
  opening_ = false;
  AlertsChanged(true);
}

std::vector<HWND> TRemindForm::OpenAlerts() const {
  TAlertSearch search{GetWindow(Handle(), GW_OWNER), {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectAlert, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

void TRemindForm::AlertsChanged(bool includingThis) {
  for (HWND alert : OpenAlerts()) {
    if (alert != Handle()) PostMessageA(alert, kAlertsChangedMessage, 0, 0);
  }
  // While it opens, the alert is not shown yet and so not among the open ones.
  if (includingThis) PostMessageA(Handle(), kAlertsChangedMessage, 0, 0);
}

void TRemindForm::Snooze() {
  const int choice = snoozeChoice_.ItemIndex();
  if (choice < 0) return;
  StopTimer();
  // A record deleted meanwhile has nothing left to snooze.
  if (RecordInList()) {
    SetSnooze(*record_, SnoozeUntil(context_.Clock->Now(), kSnoozeChoices[choice]));
    context_.Store->Save();
  }
  postponed_ = false;
  Close();
}

void TRemindForm::CloseAll() {
  for (HWND alert : OpenAlerts()) PostMessageA(alert, WM_CLOSE, 0, 0);
}

void TRemindForm::StartTimer() {
  SetTimer(kCountdownTimer, context_.CountdownIntervalMs);
  timerOn_ = true;
}

void TRemindForm::StopTimer() {
  KillTimer(kCountdownTimer);
  timerOn_ = false;
}

void TRemindForm::OnTimer(UINT_PTR id) {
  // A tick still queued after the countdown was stopped is dropped.
  if (id != kCountdownTimer || !timerOn_) return;
  StopTimer();
  const TCountdownStep step = CountdownTick(tickCount_);
  tickCount_ = step.TickCount;
  if (!step.Text.empty()) timeLabel_.SetText(step.Text);
  if (!step.CarryOut) {
    StartTimer();
    return;
  }
  ActionLabelClick();
  Close();
}

void TRemindForm::ActionLabelClick() {
  CarryOutAction(static_cast<uint8_t>(actionLabel_.Tag()), actionLabel_.Url(), Handle(),
                 *context_.Actions, *context_.MsgBox);
}

void TRemindForm::OnCommand(int id, int code, HWND control) {
  if (id == IDCANCEL) {
    Close();
  } else if (id == kSnoozeBtnId && code == BN_CLICKED) {
    Snooze();
  } else if (id == kCloseAllBtnId && code == BN_CLICKED) {
    CloseAll();
  } else if (control == reminderText_.Handle() && code == EN_SETFOCUS) {
    // The text is only read: it never keeps the focus or shows a selection.
    reminderText_.Send(EM_SETSEL, 0, 0);
    closeBtn_.SetFocus();
  }
}

LRESULT TRemindForm::OnNotify(NMHDR* header) {
  if (header->hwndFrom == dateEdit_.Handle() && header->code == DTN_DATETIMECHANGE) {
    DateEditChange();
  }
  return 0;
}

void TRemindForm::DateEditChange() {
  if (opening_) return;
  StopTimer();
  postponed_ = true;
}

bool TRemindForm::HandleMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT& result) {
  if (message == kAlertsChangedMessage) {
    closeAllBtn_.SetVisible(!closed_ && OpenAlerts().size() > 1);
    result = 0;
    return true;
  }
  // The text shows the arrow, not the edit's I-beam.
  if (message == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == reminderText_.Handle()) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    result = TRUE;
    return true;
  }
  return false;
}

bool TRemindForm::OnClose() {
  if (closed_) return true;
  closed_ = true;
  StopTimer();
  Hide();
  AlertsChanged(false);
  CloseStep();
  return true;
}

void TRemindForm::OnDestroy() {
  // Destroyed with its owner: no close step, and no tick may follow.
  timerOn_ = false;
}

bool TRemindForm::RecordInList() const {
  // The serial tells the record from a new one made at its address after it was deleted.
  return recordSerial_ != 0 && context_.Store->SerialOf(record_) == recordSerial_;
}

void TRemindForm::CloseStep() {
  // A record deleted while the alert was open is gone: nothing of it is read or written.
  if (!RecordInList()) return;
  if (!postponed_) {
    if (context_.OnUpdateImage) context_.OnUpdateImage(record_);
    return;
  }
  Postpone(*record_, dateEdit_.Value());
  context_.Store->Save();
  if (context_.OnRescheduled) context_.OnRescheduled();
}

TRemindForm* ShowReminder(const TRemindFormContext& context, TNotifyInfo& record) {
  auto form = std::make_unique<TRemindForm>(context);
  form->Open(&record);
  // From here on the window owns the form: closing or its owner's end releases it.
  TRemindForm* alert = form.release();
  alert->Show();
  return alert;
}

}  // namespace reminder
