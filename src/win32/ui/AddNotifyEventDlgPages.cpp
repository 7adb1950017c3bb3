// The editor's three pages and the controls on them, and the browse buttons' picture.
#include "win32/system/Handles.h"
#include "win32/toolkit/Application.h"
#include "win32/ui/AddNotifyEventDlgUnit.h"

namespace reminder {

namespace {

constexpr char kWarnNote[] = "&Bei Wiederholung jede Woche, jeden Monat, jedes Jahr:";
constexpr char kProgramNote[] =
    "Geben Sie ein Programm an bzw. klicken Sie auf die Schalfläche mit der Lupe, um ein "
    "Programm auf Ihrer Festplatte zu suchen.";
constexpr char kDocumentNote[] =
    "Geben Sie ein Dokument an bzw. klicken Sie auf die Schalfläche mit der Lupe, um ein "
    "Dokument auf Ihrer Festplatte zu suchen.\r\n\r\n"
    "Hinweis: Damit das Dokument geöffnet werden kann, muss eine Dateiverknüpfung bestehen!";
constexpr char kRepeatNote[] =
    "Sie können die Erinnerung mehrfach anzeigen lassen, wählen Sie die entsprechende "
    "Einstellung.";

}  // namespace

HWND TAddNotifyEventDlg::AddToPage(int page, HWND control) {
  pages_[page].push_back(control);
  return control;
}

HWND TAddNotifyEventDlg::AddToNotebook(int page, HWND control) {
  notebook_[page].push_back(control);
  return control;
}

HWND TAddNotifyEventDlg::AddLabel(int page, const std::string& text, const TBounds& bounds,
                                  int notebookPage) {
  TLabel label;
  label.Create(Handle(), text, bounds, SS_LEFT);
  return notebookPage < 0 ? AddToPage(page, label.Handle())
                          : AddToNotebook(notebookPage, label.Handle());
}

void TAddNotifyEventDlg::CreateTriggerPage() {
  const HWND self = Handle();
  AddLabel(0, "Ich möchte...", {24, 44, 300, 18});
  notRB1.Create(self, kNotRB1, " &garnicht erinnert werden (nur Speicherung).", {24, 66, 460, 20},
                BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP);
  notRB2.Create(self, kNotRB2,
                " nach dem Aufbau der &nächsten DFÜ-Netzwerk Verbindung erinnert werden.",
                {24, 90, 460, 20}, BS_AUTORADIOBUTTON);
  // One sentence on one line: "am <date> um <time> erinnert werden."
  notRB3.Create(self, kNotRB3, " &am", {24, 116, 46, 20}, BS_AUTORADIOBUTTON);
  DatePicker.Create(self, kDatePicker, {72, 114, 110, 22},
                    DTS_SHORTDATECENTURYFORMAT | DTS_APPCANPARSE | WS_TABSTOP | WS_GROUP);
  atLabel.Create(self, "&um", {190, 118, 22, 18});
  TimePicker.Create(self, kTimePicker, {214, 114, 90, 22}, DTS_TIMEFORMAT | WS_TABSTOP);
  atNotifyLabel.Create(self, "erinnert werden.", {312, 118, 150, 18});
  for (HWND control : {notRB1.Handle(), notRB2.Handle(), notRB3.Handle(), DatePicker.Handle(),
                       atLabel.Handle(), TimePicker.Handle(), atNotifyLabel.Handle()}) {
    AddToPage(0, control);
  }
  AddLabel(0, "Erinnern an (&Kurzbeschreibung):", {24, 150, 300, 18});
  notText.Create(self, kNotText, {24, 170, 464, 96},
                 ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP);
  notText.SetMaxLength(static_cast<int>(kMaxFieldLength));
  AddToPage(0, notText.Handle());
}

void TAddNotifyEventDlg::CreateActionPage() {
  const HWND self = Handle();
  AddLabel(1, "&Die folgende Aktion durchführen:", {24, 44, 300, 18});
  ActionCB.Create(self, kActionCB, {24, 64, 300, 200});
  AddToPage(1, ActionCB.Handle());
  AddLabel(1, "Optionen zur Aktion:", {24, 100, 300, 18});

  AddLabel(1, "Keine Optionen für diese Aktion verfügbar.", {24, 124, 460, 18}, npNoAction);

  AddLabel(1, kWarnNote, {24, 124, 460, 18}, npWarn);
  DaysEdit.Create(self, kDaysEdit, {24, 148, 50, 22}, ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP);
  AddToNotebook(npWarn, DaysEdit.Handle());
  DaysLabel.Create(self, "Tage vorher daran erinnern.", {82, 152, 300, 18});
  AddToNotebook(npWarn, DaysLabel.Handle());

  struct TParamPage {
    int page;
    const char* caption;
    TEdit* edit;
    int id;
    const char* note;
    TButton* browse;
    int browseId;
  };
  const TParamPage kPages[] = {
      {npEMail, "&E-Mail Adresse:", &EmailEdit, kEmailEdit,
       "Geben Sie eine gültige E-Mail Adresse ein.", nullptr, 0},
      {npWebsite, "Adresse der Web&seite:", &WebsiteEdit, kWebsiteEdit,
       "Geben Sie eine gültige WWW Adresse ein.", nullptr, 0},
      {npExecProgram, "&Programm:", &ProgramEdit, kProgramEdit, kProgramNote, &BrowseBtn,
       kBrowseBtn},
      {npOpenDocument, "D&okument:", &DocumentEdit, kDocumentEdit, kDocumentNote,
       &DocumentBrowseBtn, kDocumentBrowseBtn},
  };
  for (const TParamPage& p : kPages) {
    AddLabel(1, p.caption, {24, 124, 300, 18}, p.page);
    p.edit->Create(self, p.id, {24, 144, p.browse ? 430 : 460, 22});
    p.edit->SetMaxLength(static_cast<int>(kMaxFieldLength));
    AddToNotebook(p.page, p.edit->Handle());
    if (p.browse) {
      // BS_NOTIFY: leaving the button leaves its field too, and that runs the field's check.
      p.browse->Create(self, p.browseId, "", {460, 144, 24, 22},
                       BS_OWNERDRAW | BS_NOTIFY | WS_TABSTOP);
      AddToNotebook(p.page, p.browse->Handle());
    }
    AddLabel(1, p.note, {24, 176, 460, 90}, p.page);
  }
}

void TAddNotifyEventDlg::CreateRepeatPage() {
  const HWND self = Handle();
  AddLabel(2, kRepeatNote, {24, 44, 460, 36});
  AddLabel(2, "Erinnerung bitte", {24, 84, 300, 18});
  const char* captions[] = {" nu&r einmal", " einmal jeden &Tag", " einmal jede &Woche",
                            " einmal pro &Monat", " einmal jedes &Jahr"};
  for (int i = 0; i < kRepeatButtonCount; ++i) {
    const DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_TABSTOP | WS_GROUP : 0);
    RepeatButtons(i)->Create(self, kRepOnce + i, captions[i], {40, 104 + 22 * i, 300, 20}, style);
    AddToPage(2, RepeatButtons(i)->Handle());
  }
  Rule.Create(self, [this](HWND control) { AddToPage(2, control); });
}

void TAddNotifyEventDlg::DrawMagnifier(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  RECT r = item.rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (item.itemState & ODS_SELECTED) {
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    OffsetRect(&r, 1, 1);
  }
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(dc, &focus);
  }
  // Drawn at 96 DPI and scaled, so that the glass grows with its button.
  const TGdiObject<HPEN> pen(CreatePen(PS_SOLID, Scaled(2), GetSysColor(COLOR_BTNTEXT)));
  const TSelectedObject selectedPen(dc, pen.get());
  const TSelectedObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
  const int cx = (r.left + r.right) / 2 - Scaled(2);
  const int cy = (r.top + r.bottom) / 2 - Scaled(2);
  const int radius = Scaled(5);
  Ellipse(dc, cx - radius, cy - radius, cx + radius, cy + radius);
  MoveToEx(dc, cx + Scaled(4), cy + Scaled(4), nullptr);
  LineTo(dc, cx + Scaled(9), cy + Scaled(9));
}

}  // namespace reminder
