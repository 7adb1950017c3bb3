#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/Fakes.h"
#include "core/store/ActionTarget.h"
#include "core/store/IOUnit.h"
#include "core/store/RepeatRule.h"
#include "core/store/ReservedBlock.h"
#include "core/ui/AddNotifyEventRules.h"

namespace reminder {
namespace {

using testing::FakeMsgBox;

const TDateTime kDay = EncodeDate(2000, 7, 24);
const char kDataFile[] = "C:\\Zelto\\Reminder.dat";

TAddNotifyEventModel ModelAt(int hour, int minute) {
  return TAddNotifyEventModel(kDay + EncodeTime(hour, minute, 0, 0));
}

TNotifyInfo SampleRecord() {
  TNotifyInfo record;
  record.Notified = 1;
  record.NotifyKind = nkAtDate;
  record.NotifyDate = EncodeDate(2001, 2, 3) + EncodeTime(10, 15, 30, 0);
  record.NotifyText = "Zahnarzt";
  record.ActionKind = akProgram;
  record.ActionParam = "C:\\Tools\\Kalender.exe";
  record.RepeatKind = rkWeekly;
  record.LastNotified = EncodeDate(2001, 1, 27) + 0.5;
  record.DaysBefore = 12;
  record.Reserved1 = 7;
  record.ReservedBlock[3] = 9;
  return record;
}

TEST(EditorDefaults, StartTwentyMinutesAheadWithTheDateTrigger) {
  const TAddNotifyEventModel model = ModelAt(9, 30);
  EXPECT_EQ(model.DatePicker, kDay);
  EXPECT_EQ(DecodeTime(model.TimePicker).Hour, 9);
  EXPECT_EQ(DecodeTime(model.TimePicker).Minute, 50);
  EXPECT_EQ(model.TriggerRB, nkAtDate);
  EXPECT_EQ(model.ActionCB, akNothing);
  EXPECT_EQ(model.ActionNB(), npNoAction);
  EXPECT_EQ(model.RepeatRB, 0);
  EXPECT_EQ(DaysFromText(model.DaysEdit), 3);
  EXPECT_TRUE(model.notText.empty());
  EXPECT_FALSE(model.OKEnabled());
}

TEST(EditorDefaults, RollOverIntoTheNextDay) {
  const TAddNotifyEventModel late = ModelAt(23, 50);
  EXPECT_EQ(late.DatePicker, kDay + 1);
  const TTimeParts time = DecodeTime(late.TimePicker);
  EXPECT_EQ(time.Hour * 60 + time.Minute, 10);
  // Exactly midnight: the next day at 00:00, not the same day a hair before midnight.
  const TAddNotifyEventModel midnight = ModelAt(23, 40);
  EXPECT_EQ(midnight.DatePicker, kDay + 1);
  EXPECT_EQ(midnight.TimePicker, 0.0);
}

TEST(EditorDefaults, TimesAreWholeSecondsAsDefaultAndAsRead) {
  // The clock's milliseconds go, in the default and in what a time field hands back.
  TAddNotifyEventModel model(kDay + EncodeTime(10, 14, 5, 210));
  EXPECT_EQ(model.TimePicker, EncodeTime(10, 34, 5, 0));
  model.TimePicker = EncodeTime(10, 34, 0, 210);
  EXPECT_EQ(model.ToNotifyInfo().NotifyDate, kDay + EncodeTime(10, 34, 0, 0));
}

TEST(EditorOKState, TheTextIsAlwaysNeeded) {
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.EmailEdit = model.WebsiteEdit = model.ProgramEdit = model.DocumentEdit = "x";
  for (int action = 0; action < kActionCount; ++action) {
    model.ActionCBChange(action);
    EXPECT_FALSE(model.OKEnabled()) << action;
  }
}

TEST(EditorOKState, ActionsWithAParameterNeedTheirOwnField) {
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.notText = "Text";
  for (int action = 0; action < kActionCount; ++action) {
    model.ActionCBChange(action);
    std::string* own = model.ParamText(ParamFieldOf(action));
    EXPECT_EQ(own != nullptr, action >= akEmail && action <= akDocument) << action;
    if (!own) {
      EXPECT_TRUE(model.OKEnabled()) << action;
      continue;
    }
    // Every other parameter field filled does not help.
    model.EmailEdit = model.WebsiteEdit = model.ProgramEdit = model.DocumentEdit = "x";
    own->clear();
    EXPECT_FALSE(model.OKEnabled()) << action;
    *own = "a";
    EXPECT_TRUE(model.OKEnabled()) << action;
    model.EmailEdit = model.WebsiteEdit = model.ProgramEdit = model.DocumentEdit = "";
  }
  model.ActionCB = kNoChoice;
  EXPECT_TRUE(model.OKEnabled());
}

TEST(EditorTrigger, OnlyTheDateTriggerEnablesTheDateAndDaysFields) {
  TAddNotifyEventModel model = ModelAt(12, 0);
  const struct {
    int trigger;
    bool dateControls;
    bool laterRepeats;
  } cases[] = {{nkNever, false, true}, {nkDialUp, false, false}, {nkAtDate, true, true}};
  for (const auto& c : cases) {
    model.RBClick(c.trigger);
    EXPECT_EQ(model.TriggerRB, c.trigger);
    EXPECT_EQ(model.DateControlsEnabled(), c.dateControls) << c.trigger;
    EXPECT_EQ(model.LaterRepeatsEnabled(), c.laterRepeats) << c.trigger;
  }
}

TEST(EditorTrigger, DialUpChecksOnceAndLeavingItKeepsOnce) {
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.RepeatRB = rkMonthly - rkOnce;
  model.RBClick(nkDialUp);
  EXPECT_EQ(model.RepeatRB, 0);
  model.RBClick(nkAtDate);
  EXPECT_TRUE(model.LaterRepeatsEnabled());
  EXPECT_TRUE(model.DateControlsEnabled());
  EXPECT_EQ(model.RepeatRB, 0);
  model.RepeatRB = 2;
  model.RBClick(nkNever);
  EXPECT_EQ(model.RepeatRB, 2);
}

TEST(EditorAction, ChoosingShowsItsPageAndFocusesItsField) {
  TAddNotifyEventModel model = ModelAt(12, 0);
  const struct {
    int action;
    TActionPage page;
    TParamField focus;
  } cases[] = {{akNothing, npNoAction, TParamField::None},
               {akWarning, npWarn, TParamField::None},
               {akEmail, npEMail, TParamField::Email},
               {akWebsite, npWebsite, TParamField::Website},
               {akProgram, npExecProgram, TParamField::Program},
               {akDocument, npOpenDocument, TParamField::Document},
               {akRestart, npNoAction, TParamField::None},
               {akShutdown, npNoAction, TParamField::None},
               {akHangUp, npNoAction, TParamField::None}};
  for (const auto& c : cases) {
    EXPECT_EQ(model.ActionCBChange(c.action), c.focus) << c.action;
    EXPECT_EQ(model.ActionCB, c.action);
    EXPECT_EQ(model.ActionNB(), c.page) << c.action;
  }
}

TEST(EditorFieldChecks, EmailIsOnePlainAddressAndWebsiteAWebAddress) {
  const TFileExists none = [](const std::string&) { return false; };
  const char* const kEmail = "Bitte geben Sie die E-Mail Adresse korrekt an!";
  for (const char* bad : {"name.example.com", "@", "a@", "a@b@c", "a@b?attach=C:\\x.bat",
                          "a@b&body=x", "a@b, c@d", "a b@c", "a@b\r\nBcc: c@d", "mailto:a@b"}) {
    EXPECT_EQ(FieldExitMessage(TParamField::Email, bad, none), kEmail) << bad;
  }
  EXPECT_EQ(FieldExitMessage(TParamField::Email, "anna.m+termine@b\xFCro.example", none),
            std::nullopt);
  EXPECT_EQ(FieldExitMessage(TParamField::Email, "", none), std::nullopt);

  for (const char* bad :
       {"C:\\Users\\Public\\x.bat", "file:///C:/x.bat", "http://", "https:///x", "www.",
        "javascript:alert(1)", "http://x\" --flag", "http://a b", "\\\\server\\share"}) {
    EXPECT_EQ(FieldExitMessage(TParamField::Website, bad, none), kWebsiteInvalidText) << bad;
  }
  for (const char* good : {"http://example.org", "HTTPS://example.org/a?b=1&c=%20", "www.x.de"}) {
    EXPECT_EQ(FieldExitMessage(TParamField::Website, good, none), std::nullopt) << good;
  }
  EXPECT_EQ(WebAddress("www.x.de/a"), "http://www.x.de/a");
}

TEST(EditorFieldChecks, ProgramAndDocumentMustExistUnlessEmpty) {
  std::vector<std::string> asked;
  const std::set<std::string> files = {"C:\\Tools\\Kalender.exe", "C:\\Brief.doc"};
  const TFileExists exists = [&](const std::string& name) {
    asked.push_back(name);
    return files.count(name) > 0;
  };
  EXPECT_EQ(FieldExitMessage(TParamField::Program, "C:\\Tools\\Kalender.exe", exists),
            std::nullopt);
  EXPECT_EQ(FieldExitMessage(TParamField::Program, "C:\\Fehlt.exe", exists),
            "Das angegebene Programm existiert nicht!");
  EXPECT_EQ(FieldExitMessage(TParamField::Document, "C:\\Brief.doc", exists), std::nullopt);
  EXPECT_EQ(FieldExitMessage(TParamField::Document, "C:\\Fehlt.doc", exists),
            "Das angegebene Dokument existiert nicht!");
  EXPECT_EQ(asked.size(), 4u);
  EXPECT_EQ(FieldExitMessage(TParamField::Program, "", exists), std::nullopt);
  EXPECT_EQ(FieldExitMessage(TParamField::Document, "", exists), std::nullopt);
  EXPECT_EQ(asked.size(), 4u);
}

TEST(EditorFieldChecks, AFailedCheckShowsAnErrorBoxAndKeepsTheFocus) {
  const TFileExists none = [](const std::string&) { return false; };
  FakeMsgBox box;
  EXPECT_TRUE(FieldExit(TParamField::Email, "a@b", none, box));
  EXPECT_TRUE(box.shown.empty());
  EXPECT_FALSE(FieldExit(TParamField::Program, "C:\\Fehlt.exe", none, box));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, "Das angegebene Programm existiert nicht!");
  EXPECT_EQ(box.shown[0].caption, "Fehler");
  EXPECT_EQ(box.shown[0].style, MsgBoxStyle(mkError, mbOK));
}

TEST(EditorDays, ReadAsAWholeNumberFromZeroTo30) {
  EXPECT_EQ(DaysFromText("45"), 30);
  EXPECT_EQ(DaysFromText(""), 0);
  EXPECT_EQ(DaysFromText("30"), 30);
  EXPECT_EQ(DaysFromText("0"), 0);
  EXPECT_EQ(DaysFromText("-4"), 0);
  EXPECT_EQ(DaysFromText("7,9"), 7);
  EXPECT_EQ(DaysFromText(" 5 "), 5);
  EXPECT_EQ(DaysFromText("99999999999999999999999"), 30);
  for (const char* text : {"drei", "3x", "-", ",", "1,2,3", "3 4", "1e2"}) {
    EXPECT_EQ(DaysFromText(text), 0) << '"' << text << '"';
  }
}

TEST(EditorMapping, FillSetsTheControlsAndAChangedReminderStartsAfresh) {
  TAddNotifyEventModel model = ModelAt(12, 0);
  const TNotifyInfo original = SampleRecord();
  model.Fill(original);
  EXPECT_EQ(model.DatePicker, EncodeDate(2001, 2, 3));
  EXPECT_EQ(DecodeTime(model.TimePicker).Second, 30);
  EXPECT_EQ(model.ActionNB(), npExecProgram);
  EXPECT_EQ(model.ProgramEdit, "C:\\Tools\\Kalender.exe");
  EXPECT_TRUE(model.EmailEdit.empty());
  EXPECT_EQ(model.RepeatRB, rkWeekly - rkOnce);
  EXPECT_TRUE(model.OKEnabled());
  const TNotifyInfo read = model.ToNotifyInfo();
  EXPECT_EQ(read.Notified, 0);
  EXPECT_EQ(read.LastNotified, 0.0);
  EXPECT_EQ(read.Reserved1, 0);
  EXPECT_EQ(read, EditableCopy(original));
}

TEST(EditorMapping, RecordsWithATriggerFillLikeAClick) {
  TNotifyInfo record = SampleRecord();
  record.NotifyKind = nkDialUp;
  record.RepeatKind = rkOnce;
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.Fill(record);
  EXPECT_EQ(model.TriggerRB, nkDialUp);
  EXPECT_FALSE(model.DateControlsEnabled());
  EXPECT_FALSE(model.LaterRepeatsEnabled());
  EXPECT_EQ(model.ToNotifyInfo().NotifyKind, nkDialUp);
  // A kind no button stands for leaves the default trigger.
  record.NotifyKind = 7;
  TAddNotifyEventModel foreign = ModelAt(12, 0);
  foreign.Fill(record);
  EXPECT_EQ(foreign.TriggerRB, nkAtDate);
}

TEST(EditorMapping, RepeatKindZeroChecksNoButtonAndComesBackYearly) {
  TNotifyInfo record = SampleRecord();
  record.RepeatKind = rkNever;
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.Fill(record);
  EXPECT_EQ(model.RepeatRB, kNoChoice);
  EXPECT_EQ(model.ToNotifyInfo().RepeatKind, rkYearly);
  for (int kind = rkOnce; kind <= rkYearly; ++kind) {
    record.RepeatKind = static_cast<uint8_t>(kind);
    model.Fill(record);
    EXPECT_EQ(model.ToNotifyInfo().RepeatKind, kind);
  }
}

TEST(EditorMapping, OnlyTheChosenActionsParameterIsReturned) {
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.Fill(SampleRecord());
  model.ActionCBChange(akWebsite);
  model.WebsiteEdit = "www.example.com";
  EXPECT_EQ(model.ToNotifyInfo().ActionParam, "www.example.com");
  model.ActionCBChange(akProgram);
  EXPECT_EQ(model.ProgramEdit, "C:\\Tools\\Kalender.exe");
  EXPECT_EQ(model.ToNotifyInfo().ActionParam, "C:\\Tools\\Kalender.exe");
  model.ActionCBChange(akWarning);
  EXPECT_EQ(model.ToNotifyInfo().ActionKind, akWarning);
  EXPECT_EQ(model.ToNotifyInfo().ActionParam, "");
  EXPECT_EQ(model.WebsiteEdit, "www.example.com");
}

TEST(EditorMapping, AnActionKindWithoutAnItemSelectsNothingAndReadsAsNothing) {
  TNotifyInfo record = SampleRecord();
  record.ActionKind = 12;
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.Fill(record);
  EXPECT_EQ(model.ActionCB, kNoChoice);
  EXPECT_EQ(model.ActionNB(), npNoAction);
  EXPECT_TRUE(model.ProgramEdit.empty());
  const TNotifyInfo read = model.ToNotifyInfo();
  EXPECT_EQ(read.ActionKind, akNothing);
  EXPECT_EQ(read.ActionParam, "");
}

TEST(EditorMapping, DaysAreReadWhateverTheTriggerAndAction) {
  TNotifyInfo record = SampleRecord();
  record.NotifyKind = nkNever;
  record.ActionKind = akNothing;
  record.DaysBefore = 45;
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.Fill(record);
  EXPECT_EQ(model.ToNotifyInfo().DaysBefore, 30);
  model.DaysEdit = "";
  EXPECT_EQ(model.ToNotifyInfo().DaysBefore, 0);
}

TEST(EditorMapping, DatesBefore1900KeepTheirTimeOfDay) {
  TNotifyInfo record = SampleRecord();
  record.NotifyDate = EncodeDateTime({1850, 5, 6}, {10, 0, 0, 0});
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.Fill(record);
  EXPECT_EQ(model.DatePicker, EncodeDate(1850, 5, 6));
  EXPECT_EQ(DecodeTime(model.TimePicker).Hour, 10);
  const TDateTime read = model.ToNotifyInfo().NotifyDate;
  EXPECT_EQ(DecodeDate(read).Year, 1850);
  EXPECT_EQ(DecodeTime(read).Hour, 10);
}

TEST(EditorTextLimit, WhatIsSavedIsWhatTheFieldsHold) {
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.notText = std::string(65537, 't');
  model.ActionCBChange(akDocument);
  model.DocumentEdit = std::string(70000, 'd');
  const TNotifyInfo read = model.ToNotifyInfo();
  EXPECT_EQ(read.NotifyText.size(), kMaxFieldLength);
  EXPECT_EQ(read.ActionParam.size(), kMaxFieldLength);
  // Through the data file and back unchanged.
  testing::MemoryDataFile file;
  FakeMsgBox box;
  TFileIO(kDataFile, file, box).Add(read);
  TFileIO store(kDataFile, file, box);
  store.Load();
  ASSERT_EQ(store.Count(), 1u);
  EXPECT_EQ(EditableCopy(store.Item(0)), read);
  // A record from elsewhere that holds more is cut to what the field holds.
  TNotifyInfo longer = read;
  longer.NotifyText += "mehr";
  model.Fill(longer);
  EXPECT_EQ(model.notText, read.NotifyText);
}

TEST(EditorMapping, AnExtendedRuleIsAddedChangedAndRemovedThroughTheStore) {
  TAddNotifyEventModel model = ModelAt(12, 0);
  model.notText = "Tabletten";
  model.RepeatRB = kRuleButton;
  model.Rule.IntervalEdit = "2";
  model.Rule.UnitCB = ruWeeks;
  model.Rule.Weekdays = 0x05;  // Mo, Mi
  model.Rule.EndRB = reCount;
  model.Rule.CountEdit = "10";
  testing::MemoryDataFile file;
  FakeMsgBox box;
  TFileIO(kDataFile, file, box).Add(model.ToNotifyInfo());
  TFileIO store(kDataFile, file, box);
  store.Load();
  ASSERT_EQ(store.Count(), 1u);
  const std::optional<TRepeatRule> stored = RuleOf(store.Item(0));
  ASSERT_TRUE(stored);
  EXPECT_EQ(*stored, model.Rule.ToRule());
  EXPECT_EQ(store.Item(0).RepeatKind, rkWeekly);
  const std::optional<TIdentity> identity = IdentityOf(store.Item(0));
  ASSERT_TRUE(identity);

  // The editor shows the stored rule; a change of it is kept, as is the identity.
  TAddNotifyEventModel changing = ModelAt(12, 0);
  changing.Fill(store.Item(0));
  EXPECT_EQ(changing.RepeatRB, kRuleButton);
  EXPECT_EQ(changing.Rule.ToRule(), *stored);
  changing.Rule.UnitCB = ruHours;
  store.Item(0) = ChangedCopy(store.Item(0), changing.ToNotifyInfo());
  EXPECT_EQ(RuleOf(store.Item(0))->Freq, TRuleFreq::Hourly);
  EXPECT_EQ(RuleOf(store.Item(0))->Weekdays, 0);
  // A plain weekly repetition removes the rule, though weekly was its base.
  changing.RepeatRB = rkWeekly - rkOnce;
  store.Item(0) = ChangedCopy(store.Item(0), changing.ToNotifyInfo());
  EXPECT_FALSE(RuleOf(store.Item(0)));
  EXPECT_EQ(store.Item(0).RepeatKind, rkWeekly);
  EXPECT_EQ(IdentityOf(store.Item(0)), identity);
}

TEST(EditorDateText, TakesExistingDatesWithAFourDigitYear) {
  const TFormatSettings fs = GermanFormatSettings();
  TDateTime date = 0;
  ASSERT_TRUE(TryDatePickerText("24.07.2000", fs, date));
  EXPECT_EQ(date, EncodeDate(2000, 7, 24));
  ASSERT_TRUE(TryDatePickerText("29.2.2000", fs, date));
  EXPECT_EQ(date, EncodeDate(2000, 2, 29));
  TFormatSettings iso = fs;
  iso.ShortDateFormat = "yyyy-MM-dd";
  iso.DateSeparator = '-';
  ASSERT_TRUE(TryDatePickerText("2001-12-31", iso, date));
  EXPECT_EQ(date, EncodeDate(2001, 12, 31));
}

TEST(EditorDateText, RefusesTextThatIsNoDateAndKeepsThePreviousOne) {
  const TFormatSettings fs = GermanFormatSettings();
  const TDateTime before = EncodeDate(2000, 1, 1);
  for (const char* text :
       {"", "31.02.2000", "29.02.1900", "24.07.00", "24.07.02000", "24-07-2000", "24.07.2000.",
        "aa.bb.cccc", "24..2000", " 4.07.2000", "0.07.2000", "24.13.2000", "124.07.2000"}) {
    TDateTime date = before;
    EXPECT_FALSE(TryDatePickerText(text, fs, date)) << '"' << text << '"';
    EXPECT_EQ(date, before);
  }
}

}  // namespace
}  // namespace reminder
