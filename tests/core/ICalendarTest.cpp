#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/Fakes.h"
#include "core/LocalTimeFake.h"
#include "core/RandomRule.h"
#include "core/TestDates.h"
#include "core/ical/Component.h"
#include "core/ical/ContentLine.h"
#include "core/ical/Cp1252.h"
#include "core/ical/ModuleFields.h"
#include "core/ical/ReminderCalendar.h"
#include "core/ical/TimeZone.h"
#include "core/ical/Values.h"
#include "core/store/DataFileFormat.h"
#include "core/store/IOUnit.h"
#include "core/store/RepeatRule.h"
#include "core/store/ReservedBlock.h"
#include "core/store/RuleText.h"
#include "core/store/Snooze.h"

namespace reminder {
namespace {

using testing::At;

using testing::FixedOffsetTime;

TEST(Cp1252, EveryByteSurvivesTheWayToUtf8AndBack) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const TCp1252Text back = Utf8ToCp1252(Cp1252ToUtf8(all));
  EXPECT_TRUE(back.Exact());
  EXPECT_EQ(back.Text, all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\xE4\x9F"),
            "\xE2\x82\xAC\xC3\xA4\xC5\xB8");  // euro, a umlaut, Y diaeresis
}

TEST(Cp1252, CharactersWithoutAByteAndBrokenUtf8BecomeQuestionMarks) {
  const TCp1252Text arrows = Utf8ToCp1252(
      "a\xE2\x86\x92"
      "b\xF0\x9F\x98\x80");  // an arrow, an emoji
  EXPECT_EQ(arrows.Text, "a?b?");
  EXPECT_EQ(arrows.Unmappable, 2u);
  // Overlong slash, lone continuation byte, cut sequence, surrogate.
  const TCp1252Text broken = Utf8ToCp1252("\xC0\xAF|\x80|\xC3|\xED\xA0\x80");
  EXPECT_EQ(broken.Invalid, 7u);
  EXPECT_EQ(broken.Unmappable, 0u);
}

TEST(ContentLines, TextEscapingGoesBothWays) {
  const std::string text = "a;b,c\\d\r\ne\nf";
  EXPECT_EQ(EscapeText(text), "a\\;b\\,c\\\\d\\ne\\nf");
  EXPECT_EQ(UnescapeText(EscapeText(text)), "a;b,c\\d\ne\nf");
  EXPECT_EQ(UnescapeText("x\\Ny\\:"), "x\ny:");
}

TEST(ContentLines, FoldingKeepsLinesAt75OctetsWithoutSplittingCharacters) {
  std::string line = "SUMMARY:";
  for (int i = 0; i < 60; ++i) line += "\xC3\xA4\xE2\x82\xAC";  // ä€
  std::string out;
  AppendFoldedLine(out, line);
  size_t start = 0;
  while (start < out.size()) {
    const size_t end = out.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    const std::string physical = out.substr(start, end - start);
    EXPECT_LE(physical.size(), 75u);
    EXPECT_TRUE(Utf8ToCp1252(physical).Invalid == 0) << physical;
    start = end + 2;
  }
  const std::vector<TUnfoldedLine> unfolded = UnfoldLines(out);
  ASSERT_EQ(unfolded.size(), 1u);
  EXPECT_EQ(unfolded[0].Text, line);

  std::string exact;
  AppendFoldedLine(exact, std::string(75, 'x'));
  EXPECT_EQ(exact, std::string(75, 'x') + "\r\n");
  std::string over;
  AppendFoldedLine(over, std::string(76, 'x'));
  EXPECT_EQ(over, std::string(75, 'x') + "\r\n x\r\n");
}

TEST(ContentLines, ParametersMayBeQuotedAndLineEndsMayBeBareLf) {
  TContentLine line;
  ASSERT_TRUE(ParseContentLine("dtStart;tzid=\"Europe/Berlin;x:y\";X=a,b:20250101T100000", line));
  EXPECT_EQ(line.Name, "DTSTART");
  ASSERT_NE(line.Param("TZID"), nullptr);
  EXPECT_EQ(*line.Param("TZID"), "Europe/Berlin;x:y");
  EXPECT_EQ(*line.Param("X"), "a,b");
  EXPECT_EQ(line.Value, "20250101T100000");
  EXPECT_FALSE(ParseContentLine("no colon here", line));
  EXPECT_FALSE(ParseContentLine(":value", line));

  TParsedCalendar parsed;
  std::string error;
  ASSERT_TRUE(
      ParseComponents("BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:a\n b\nEND:VEVENT\n"
                      "END:VCALENDAR\n",
                      parsed, error));
  EXPECT_EQ(parsed.Roots.at(0).Children.at(0).Find("SUMMARY")->Value, "ab");
  EXPECT_FALSE(ParseComponents("BEGIN:VCALENDAR\nEND:VEVENT\n", parsed, error));
  EXPECT_NE(error.find("Zeile 2"), std::string::npos);
  EXPECT_FALSE(ParseComponents("BEGIN:VCALENDAR\n", parsed, error));
}

// The text in UTF-16 or UTF-32 with its byte-order mark, as Windows programs write it.
std::string WithMark(const std::string& utf8, int unitSize, bool little) {
  std::string out;
  const auto unit = [&](uint32_t value) {
    for (int i = 0; i < unitSize; ++i) {
      const int shift = 8 * (little ? i : unitSize - 1 - i);
      out += static_cast<char>((value >> shift) & 0xFF);
    }
  };
  unit(0xFEFF);
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
    i += length;
    if (unitSize == 2 && code >= 0x10000) {
      unit(0xD800 + ((code - 0x10000) >> 10));
      unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      unit(code);
    }
  }
  return out;
}

TEST(ContentLines, UnicodeWithAByteOrderMarkAndAnyLineEndReadAlike) {
  const std::string crlf =
      "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:Gr\xC3\xBC\xC3\x9F"
      "e \xF0\x9F\x98\x80\r\n und mehr\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  std::string cr = crlf;
  cr.erase(std::remove(cr.begin(), cr.end(), '\n'), cr.end());
  for (const std::string& text : {crlf, cr}) {
    for (const std::string& bytes :
         {text, "\xEF\xBB\xBF" + text, WithMark(text, 2, true), WithMark(text, 2, false),
          WithMark(text, 4, true), WithMark(text, 4, false)}) {
      // Parts of every small size cut code units, marks and CRLFs apart.
      for (size_t step = 1; step <= 5; ++step) {
        SCOPED_TRACE(::testing::Message() << bytes.size() << " bytes in parts of " << step);
        std::vector<std::pair<std::string, size_t>> summaries;
        TComponentReader reader({[&](const TComponent&, TComponent&& child) {
                                   summaries.emplace_back(child.Find("SUMMARY")->Value, child.Line);
                                 },
                                 nullptr, nullptr});
        for (size_t i = 0; i < bytes.size(); i += step) reader.Feed(bytes.substr(i, step));
        ASSERT_TRUE(reader.Finish()) << reader.Error();
        EXPECT_EQ(summaries,
                  (std::vector<std::pair<std::string, size_t>>{{"Gr\xC3\xBC\xC3\x9F"
                                                                "e \xF0\x9F\x98\x80und mehr",
                                                                2}}));
      }
    }
  }
  // A surrogate without its partner and a unit cut by the end become U+FFFD.
  TParsedCalendar parsed;
  std::string error;
  std::string broken = WithMark("BEGIN:X\nA:", 2, true) + std::string("\x00\xD8\x0A\x00", 4) +
                       WithMark("END:X\n", 2, true).substr(2) + "\x41";
  ASSERT_TRUE(ParseComponents(broken, parsed, error)) << error;
  EXPECT_EQ(parsed.Roots.at(0).Properties.at(0).Value, "\xEF\xBF\xBD");
}

TEST(ContentLines, NestingAndLineLengthAreBounded) {
  TParsedCalendar parsed;
  std::string error;
  std::string nested;
  for (size_t i = 0; i < kMaxComponentDepth; ++i) nested += "BEGIN:X\n";
  for (size_t i = 0; i < kMaxComponentDepth; ++i) nested += "END:X\n";
  EXPECT_TRUE(ParseComponents(nested, parsed, error)) << error;
  EXPECT_FALSE(ParseComponents("BEGIN:X\n" + nested, parsed, error));
  EXPECT_EQ(error, "mehr als 16 ineinander geschachtelte Komponenten (Zeile 17)");
  // A tree of any depth is freed without running the stack out.
  {
    TComponent root;
    TComponent* leaf = &root;
    for (int i = 0; i < 200000; ++i) leaf = &leaf->Children.emplace_back();
  }
  const std::string folded(kMaxLogicalLine, 'x');
  EXPECT_FALSE(ParseComponents("BEGIN:X\nA:" + folded + "\n" + " y\nEND:X\n", parsed, error));
  EXPECT_EQ(error, "Zeile länger als 1024 KiB (Zeile 2)");
}

TEST(Values, DateTimesDurationsAndOffsets) {
  TICalDateTime value;
  ASSERT_TRUE(ParseICalDateTime("20240229T235960Z", value));
  EXPECT_TRUE(value.Utc);
  EXPECT_EQ(value.Time.Second, 59);
  EXPECT_FALSE(ParseICalDateTime("20250229", value));
  EXPECT_FALSE(ParseICalDateTime("20250101T2400", value));
  ASSERT_TRUE(ParseICalDateTime("20250101", value));
  EXPECT_FALSE(value.HasTime);
  EXPECT_EQ(FormatICalDateTime(At(2025, 7, 4, 9, 5, 7) + 0.4 / 86400), "20250704T090507");

  int64_t seconds = 0;
  ASSERT_TRUE(ParseDuration("-P1W", seconds));
  EXPECT_EQ(seconds, -7 * 86400);
  ASSERT_TRUE(ParseDuration("P1DT2H3M4S", seconds));
  EXPECT_EQ(seconds, 93784);
  EXPECT_FALSE(ParseDuration("P", seconds));
  EXPECT_FALSE(ParseDuration("PT1D", seconds));
  std::string endless = "P";
  for (int i = 0; i < 2000; ++i) endless += "999999999W";
  EXPECT_FALSE(ParseDuration(endless, seconds));  // the sum would overflow
  EXPECT_EQ(DaysAheadDuration(3), "-P3D");
  EXPECT_EQ(DaysAheadDuration(0), "PT0S");
  EXPECT_EQ(DaysAheadDuration(-2), "P2D");
  int offset = 0;
  ASSERT_TRUE(ParseUtcOffset("-0530", offset));
  EXPECT_EQ(offset, -(5 * 3600 + 30 * 60));
  EXPECT_EQ(DecodeDate(FromSeconds(SecondsOf(At(1850, 3, 1, 6)))).Year, 1850);
}

const char kBerlin[] =
    "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n"
    "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nDTSTART:19810329T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nDTSTART:19961027T030000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

TEST(TimeZones, YearlyRulesGiveTheOffsetOfTheSeason) {
  TParsedCalendar parsed;
  std::string error;
  ASSERT_TRUE(ParseComponents(kBerlin, parsed, error));
  const TTimeZone zone(parsed.Roots.at(0));
  const auto offsetAt = [&](int y, int m, int d, int h) {
    int offset = -1;
    EXPECT_TRUE(zone.OffsetAt(ToSeconds({y, m, d}, {h, 0, 0, 0}), offset));
    return offset / 3600;
  };
  EXPECT_EQ(offsetAt(2025, 1, 15, 12), 1);
  EXPECT_EQ(offsetAt(2025, 3, 30, 1), 1);  // the last Sunday of March, before 02:00
  EXPECT_EQ(offsetAt(2025, 3, 30, 3), 2);
  EXPECT_EQ(offsetAt(2025, 10, 25, 12), 2);
  EXPECT_EQ(offsetAt(2025, 10, 26, 4), 1);
  EXPECT_EQ(offsetAt(1970, 6, 1, 12), 1);  // before the first onset

  // Ordinals beyond any month name no day, however large: only the starts count then.
  std::string hostile = kBerlin;
  hostile.replace(hostile.find("-1SU"), 4, "2147483647SU");
  hostile.replace(hostile.find("-1SU"), 4, "-2147483648SU");
  TParsedCalendar hostileParsed;
  ASSERT_TRUE(ParseComponents(hostile, hostileParsed, error));
  int offset = 0;
  ASSERT_TRUE(TTimeZone(hostileParsed.Roots.at(0)).OffsetAt(ToSeconds({2025, 7, 1}, {}), offset));
  EXPECT_EQ(offset, 3600);
}

TNotifyInfo DateReminder(TDateTime when, uint8_t repeat, uint8_t action, std::string param = "",
                         int32_t days = 3) {
  TNotifyInfo r;
  r.NotifyKind = nkAtDate;
  r.NotifyDate = when;
  r.NotifyText = "Termin \xE4\x80 mit \"Zeichen\"; Komma, Backslash\\\r\nZeile 2";
  r.ActionKind = action;
  r.ActionParam = std::move(param);
  r.RepeatKind = repeat;
  r.DaysBefore = days;
  return r;
}

std::vector<const TNotifyInfo*> Pointers(const std::vector<TNotifyInfo>& records) {
  std::vector<const TNotifyInfo*> pointers;
  for (const TNotifyInfo& r : records) pointers.push_back(&r);
  return pointers;
}

TEST(CalendarRoundTrip, EveryReminderComesBackByteForByte) {
  std::vector<TNotifyInfo> records = {
      DateReminder(At(2025, 7, 24, 9, 30), rkOnce, akWarning, "", 3),
      DateReminder(At(2025, 1, 31, 23, 59, 59), rkMonthly, akEmail, "a@b.de", 0),
      DateReminder(At(2024, 2, 29, 8), rkYearly, akWebsite, "http://x.de/?a=1,b=2;c", 7),
      DateReminder(At(2025, 1, 5, 18), rkWeekly, akProgram,
                   "C:\\Programme\\\xDC"
                   "ber.exe",
                   30),
      DateReminder(At(2025, 3, 3), rkDaily, akDocument, "D:\\Brief, neu.doc", 1),
      DateReminder(At(1850, 6, 1, 12), rkOnce, akRestart),
      DateReminder(At(9999, 12, 31, 23), rkDaily, akShutdown),
      DateReminder(At(2025, 6, 6, 6, 6, 6), rkWeekly, akHangUp),
      DateReminder(At(2025, 6, 6, 6, 6, 6), rkWeekly, akNothing),
  };
  records[1].Notified = 1;  // the state is the module's, not the calendar's
  records[2].LastNotified = At(2025, 3, 1, 8);
  records[2].NotifyText = std::string(300, 'x');
  FixedOffsetTime zone;
  const TExportResult exported = ExportReminders(Pointers(records), At(2025, 1, 1));
  EXPECT_EQ(exported.Events, records.size());
  EXPECT_TRUE(exported.Skipped.empty());

  TImportResult imported;
  std::string error;
  ASSERT_TRUE(ImportReminders(exported.Calendar, zone, imported, error)) << error;
  EXPECT_TRUE(imported.Notes.empty()) << imported.Notes.at(0).Text;
  ASSERT_EQ(imported.Events.size(), records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_TRUE(imported.Events[i].Exact) << "record " << i;
    EXPECT_EQ(imported.Events[i].Record, records[i]) << "record " << i;
  }
}

// Any record, the module's own fields and its reserved bytes included, comes back from an
// export exactly as it was.
TEST(CalendarRoundTrip, RandomRecordsComeBackByteForByte) {
  std::mt19937 random(2025);
  const auto number = [&](int from, int to) {
    return std::uniform_int_distribution<int>(from, to)(random);
  };
  const auto text = [&](int length) {
    std::string t;
    for (int i = 0; i < length; ++i)
      t += static_cast<char>(number(0, 9) == 0 ? number(1, 31) : number(32, 255));
    return t;
  };
  const auto moment = [&] {
    return number(0, 5) == 0 ? 0.0
                             : At(number(1, 9999), number(1, 12), number(1, 28)) +
                                   number(0, 86399999) / 86400000.0;
  };
  std::vector<TNotifyInfo> records(300);
  for (TNotifyInfo& r : records) {
    r.Notified = static_cast<uint8_t>(number(0, 3) == 0 ? number(0, 255) : number(0, 1));
    r.NotifyKind = static_cast<uint8_t>(number(0, 3));
    r.NotifyDate = moment();
    r.NotifyText = text(number(0, 80));
    r.ActionKind = static_cast<uint8_t>(number(0, 9));
    r.ActionParam = text(number(0, 3) == 0 ? number(1, 40) : 0);
    r.RepeatKind = static_cast<uint8_t>(number(0, 6));
    r.LastNotified = moment();
    r.DaysBefore = number(0, 4) == 0 ? number(INT32_MIN, INT32_MAX) : number(0, 30);
    r.Reserved1 = static_cast<uint8_t>(number(0, 4) == 0 ? number(0, 255) : 0);
    switch (number(0, 3)) {
      case 0:
        break;
      case 1:
        SetIdentity(r,
                    testing::CountingIdentities::Number(static_cast<uint32_t>(number(1, 1000000))));
        if (number(0, 1)) SetSnooze(r, moment() + 1);
        if (number(0, 1)) SetRule(r, testing::RandomRule(random));
        break;
      case 2:
        WriteOldSnooze(r, moment() + 1);
        break;
      default:
        for (uint8_t& b : r.ReservedBlock) b = static_cast<uint8_t>(number(0, 255));
    }
  }
  FixedOffsetTime zone;
  const TExportResult exported = ExportReminders(Pointers(records), At(2025, 1, 1));
  EXPECT_EQ(exported.Events, records.size());
  TImportResult imported;
  std::string error;
  ASSERT_TRUE(ImportReminders(exported.Calendar, zone, imported, error)) << error;
  ASSERT_EQ(imported.Events.size(), records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    std::string bytes;
    std::string back;
    EncodeRecord(bytes, records[i]);
    EncodeRecord(back, imported.Events[i].Record);
    EXPECT_EQ(back, bytes) << "record " << i;
  }
}

// Every reminder is an event, but only one the module fires has an alarm; only a date
// outside the calendar has no event, and none ends after 31.12.9999 23:59:59.
// A UID names the same reminder whatever a server did to its case; another program's
// UID always names the same one.
TEST(CalendarRoundTrip, AUidNamesOneIdentity) {
  const TIdentity id = testing::CountingIdentities::Number(0xC0FFEE);
  EXPECT_EQ(IdentityOfUid(UidOf(id)), id);
  EXPECT_EQ(IdentityOfUid(UpperAscii(UidOf(id))), id);
  EXPECT_EQ(IdentityOfUid("termin-1@example.org"), IdentityOfUid("termin-1@example.org"));
  EXPECT_NE(IdentityOfUid("termin-1@example.org"), IdentityOfUid("termin-2@example.org"));
  EXPECT_FALSE(IdentityOfUid(""));
}

TEST(CalendarExport, OnlyWhatTheModuleFiresHasAnAlarm) {
  std::vector<TNotifyInfo> records(7, DateReminder(At(2025, 5, 5, 10), rkOnce, akWarning));
  records[0].NotifyKind = nkNever;
  records[1].NotifyKind = nkDialUp;
  records[2].RepeatKind = rkNever;
  records[3].ActionKind = akNothing;
  records[4].NotifyDate = kMaxDateTime + 5;
  records[5].NotifyDate = At(9999, 12, 31, 23, 59);
  records[5].NotifyText = "Erste Zeile\r\nzweite";
  const TExportResult exported = ExportReminders(Pointers(records), At(2025, 1, 1));
  EXPECT_EQ(exported.Events, 6u);
  EXPECT_EQ(exported.Skipped, std::vector<std::string>{
                                  "Erinnerung 5 nicht exportiert: Datum außerhalb des Kalenders"});
  EXPECT_EQ(exported.Notes, std::vector<std::string>{"Erinnerung 3 ohne Alarm exportiert: ihre "
                                                     "Wiederholung trifft auf keinen Tag zu"});
  std::vector<std::string> alarms;
  for (size_t at = exported.Calendar.find("BEGIN:VALARM"); at != std::string::npos;
       at = exported.Calendar.find("BEGIN:VALARM", at + 1)) {
    alarms.push_back(exported.Calendar.substr(exported.Calendar.rfind("UID:", at), 9));
  }
  EXPECT_EQ(alarms.size(), 2u);
  EXPECT_NE(exported.Calendar.find("DTSTART:99991231T235900\r\nDURATION:PT59S\r\n"
                                   "SUMMARY:Erste Zeile\r\nDESCRIPTION:Erste Zeile\\nzweite\r\n"),
            std::string::npos);
}

TEST(CalendarExport, IdenticalRemindersGetDistinctStableUids) {
  const std::vector<TNotifyInfo> records(2, DateReminder(At(2025, 5, 5, 10), rkOnce, akWarning));
  const std::string first = ExportReminders(Pointers(records), At(2025, 1, 1)).Calendar;
  const std::string again = ExportReminders(Pointers(records), At(2025, 2, 2)).Calendar;
  const size_t uid1 = first.find("UID:");
  const size_t uid2 = first.find("UID:", uid1 + 1);
  const std::string a = first.substr(uid1, first.find('\r', uid1) - uid1);
  const std::string b = first.substr(uid2, first.find('\r', uid2) - uid2);
  EXPECT_NE(a, b);
  EXPECT_NE(again.find(a), std::string::npos);
  EXPECT_NE(again.find(b), std::string::npos);
}

std::string Calendar(const std::string& events) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + std::string(kBerlin) + events + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& body) {
  return "BEGIN:VEVENT\r\nSUMMARY:Fremd\r\n" + body + "END:VEVENT\r\n";
}

TEST(CalendarImport, ForeignEventsWarnAtTheirFirstWholeDayAlarm) {
  FixedOffsetTime zone;
  TImportResult result;
  std::string error;
  ASSERT_TRUE(ImportReminders(
      Calendar(Event("DTSTART:20250610T080000Z\r\nRRULE:FREQ=WEEKLY;BYDAY=TU;WKST=MO\r\n"
                     "BEGIN:VALARM\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n"
                     "BEGIN:VALARM\r\nTRIGGER;RELATED=START:-P1W\r\nEND:VALARM\r\n") +
               Event("DTSTART;TZID=Europe/Berlin:20250115T100000\r\nRRULE:COUNT=1;FREQ=DAILY\r\n") +
               Event("DTSTART;VALUE=DATE:20251224\r\nRRULE:FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=24\r\n"
                     "BEGIN:VALARM\r\nTRIGGER:-PT30M\r\nEND:VALARM\r\n") +
               Event("DTSTART;TZID=Mars/Olympus:20250115T100000\r\n") +
               Event("DESCRIPTION:Fremd\\nmit Einzelheiten\r\nDTSTART:20250115T100000\r\n")),
      zone, result, error));
  ASSERT_EQ(result.Events.size(), 4u);
  const TNotifyInfo& utc = result.Events[0].Record;
  // The module fires a weekly reminder first in the week after its date.
  EXPECT_EQ(utc.NotifyDate, At(2025, 6, 3, 10));
  EXPECT_EQ(utc.RepeatKind, rkWeekly);
  EXPECT_EQ(utc.ActionKind, akWarning);
  EXPECT_EQ(utc.DaysBefore, 7);
  // Berlin is one hour east of UTC in January, this machine two.
  EXPECT_EQ(result.Events[1].Record.NotifyDate, At(2025, 1, 15, 11));
  EXPECT_EQ(result.Events[1].Record.RepeatKind, rkOnce);
  EXPECT_EQ(result.Events[2].Record.NotifyDate, At(2025, 12, 24));
  EXPECT_EQ(result.Events[2].Record.RepeatKind, rkYearly);
  EXPECT_EQ(result.Events[2].Record.DaysBefore, 0);
  EXPECT_EQ(result.Events[3].Record.NotifyText, "Fremd\r\nmit Einzelheiten");

  std::vector<std::string> notes;
  for (const TImportNote& note : result.Notes) notes.push_back(note.Text);
  EXPECT_EQ(notes, (std::vector<std::string>{
                       "Termin 1 \"Fremd\": Beginn in UTC, in Ortszeit umgerechnet",
                       "Termin 2 \"Fremd\": Zeitzone Europe/Berlin in Ortszeit umgerechnet",
                       "Termin 3 \"Fremd\": Erinnerung TRIGGER:-PT30M nicht in ganzen Tagen vor "
                       "Beginn, erinnert zum Beginn",
                       "Termin 4 \"Fremd\" übersprungen: Zeitzone Mars/Olympus ohne "
                       "Beschreibung (VTIMEZONE) in der Datei",
                   }));
}

// The rules calendars are full of come in as the module's extended rules.
TEST(CalendarImport, TheRulesTheModuleFiresAreKept) {
  FixedOffsetTime zone;
  TImportResult result;
  std::string error;
  const std::vector<std::pair<std::string, std::string>> rules = {
      {"FREQ=WEEKLY;INTERVAL=2", "FREQ=WEEKLY;INTERVAL=2"},
      {"FREQ=WEEKLY;BYDAY=MO,TU;WKST=MO", "FREQ=WEEKLY;BYDAY=MO,TU"},
      {"FREQ=HOURLY;INTERVAL=4;COUNT=10", "FREQ=HOURLY;INTERVAL=4;COUNT=10"},
      {"FREQ=MONTHLY;BYDAY=2TU", "FREQ=MONTHLY;BYDAY=2TU"},
      {"FREQ=YEARLY;BYMONTH=6;BYDAY=-1FR", "FREQ=YEARLY;BYMONTH=6;BYDAY=-1FR"},
      {"FREQ=MONTHLY;BYMONTHDAY=-1;UNTIL=20261231T230000Z",
       "FREQ=MONTHLY;BYMONTHDAY=-1;UNTIL=20270101T010000"},
  };
  std::string events;
  for (const auto& rule : rules)
    events += Event("DTSTART:20250610T080000\r\nRRULE:" + rule.first + "\r\n");
  ASSERT_TRUE(ImportReminders(Calendar(events), zone, result, error));
  ASSERT_EQ(result.Events.size(), rules.size());
  for (size_t i = 0; i < rules.size(); ++i) {
    const TNotifyInfo& r = result.Events[i].Record;
    const std::optional<TRepeatRule> rule = RuleOf(r);
    ASSERT_TRUE(rule) << rules[i].first;
    EXPECT_EQ(FormatRRule(*rule, r.NotifyDate), rules[i].second);
    EXPECT_EQ(r.NotifyDate, At(2025, 6, 10, 8));
  }
  // A count's end is the last occurrence, the series' end for the import.
  EXPECT_EQ(result.Events[2].SeriesEnd, At(2025, 6, 11, 20));

  // Tuesdays at 23:00 UTC are Wednesdays here: the weekdays would be a day off.
  TImportResult shifted;
  ASSERT_TRUE(ImportReminders(
      Calendar(Event("DTSTART:20250610T230000Z\r\nRRULE:FREQ=WEEKLY;BYDAY=TU,FR\r\n")), zone,
      shifted, error));
  EXPECT_TRUE(shifted.Events.empty());
  ASSERT_EQ(shifted.Notes.size(), 1u);
  EXPECT_NE(shifted.Notes[0].Text.find("(Ortszeit an einem anderen Tag)"), std::string::npos);
}

TEST(CalendarImport, WhatTheModuleCannotRepeatIsSkippedWithItsReason) {
  FixedOffsetTime zone;
  TImportResult result;
  std::string error;
  const std::string start = "DTSTART:20250610T080000\r\n";
  ASSERT_TRUE(ImportReminders(
      // A skipped event names no conversion, only why it was skipped.
      Calendar(Event("DTSTART:20250610T080000Z\r\nRRULE:FREQ=WEEKLY;BYSETPOS=2\r\n") +
               Event(start + "RRULE:FREQ=MONTHLY;BYDAY=MO,TU\r\n") +
               Event(start + "RRULE:FREQ=DAILY\r\nEXDATE:20250611T080000\r\n") +
               Event(start + "RRULE:FREQ=MINUTELY\r\n") + Event(start + "RECURRENCE-ID:1\r\n") +
               Event(start + "RRULE:FREQ=DAILY;FREQ=WEEKLY\r\n") + Event("DTSTART:2025\r\n") +
               Event("") + Event(start + "STATUS:CANCELLED\r\n") +
               "BEGIN:VTODO\r\nSUMMARY:Aufgabe\r\nEND:VTODO\r\nnot a line\r\n"),
      zone, result, error));
  EXPECT_TRUE(result.Events.empty());
  EXPECT_EQ(result.EventCount, 9u);
  std::vector<std::string> notes;
  for (const TImportNote& note : result.Notes) notes.push_back(note.Text);
  // The notes follow the file, as it is read.
  EXPECT_EQ(notes,
            (std::vector<std::string>{
                "Termin 1 \"Fremd\" übersprungen: Regel RRULE:FREQ=WEEKLY;BYSETPOS=2 nicht "
                "darstellbar (Regelteil \"BYSETPOS=2\" wird nicht unterstützt)",
                "Termin 2 \"Fremd\" übersprungen: Regel RRULE:FREQ=MONTHLY;BYDAY=MO,TU nicht "
                "darstellbar (Regelteil \"BYDAY\" wird monatlich und jährlich nur mit einer "
                "Ordnungszahl unterstützt)",
                "Termin 3 \"Fremd\" übersprungen: Wiederholung mit EXDATE nicht darstellbar",
                "Termin 4 \"Fremd\" übersprungen: Regel RRULE:FREQ=MINUTELY nicht "
                "darstellbar (Regelteil \"FREQ=MINUTELY\" wird nicht unterstützt)",
                "Termin 5 \"Fremd\" übersprungen: geänderter Einzeltermin einer Serie "
                "(RECURRENCE-ID)",
                "Termin 6 \"Fremd\" übersprungen: Regel RRULE:FREQ=DAILY;FREQ=WEEKLY nicht "
                "lesbar (FREQ doppelt angegeben)",
                "Termin 7 \"Fremd\" übersprungen: Beginn DTSTART:2025 nicht lesbar",
                "Termin 8 \"Fremd\" übersprungen: ohne Beginn (DTSTART)",
                "Termin 9 \"Fremd\" übersprungen: abgesagt (STATUS:CANCELLED)",
                "VTODO in Zeile 61 übersprungen: nur Termine (VEVENT) werden übernommen",
                "Zeile 64 nicht lesbar, übersprungen",
            }));
  EXPECT_FALSE(ImportReminders("BEGIN:VCARD\r\nEND:VCARD\r\n", zone, result, error));
  EXPECT_EQ(error, "keine iCalendar-Datei (BEGIN:VCALENDAR fehlt)");
}

}  // namespace
}  // namespace reminder
