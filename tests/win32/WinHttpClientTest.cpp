// The system's HTTP client against the real calendar server that the test command starts
// on 127.0.0.1 (REMINDER_TEST_CALDAV_URL), through the same CalDAV requests as the native
// client's.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/sync/CalDav.h"
#include "win32/net/WinHttpClient.h"

namespace reminder {
namespace {

std::string ServerUrl() {
  char url[512] = "";
  const DWORD length = GetEnvironmentVariableA("REMINDER_TEST_CALDAV_URL", url, sizeof url);
  return length > 0 && length < sizeof url ? url : "";
}

TEST(WinHttpClient, TalksCalDavToARealServerAndNeverOverwritesUnseenChanges) {
  const std::string server = ServerUrl();
  ASSERT_FALSE(server.empty())
      << "scripts/test.sh starts a server and sets REMINDER_TEST_CALDAV_URL";
  const std::string user =
      "wine" + std::to_string(GetTickCount()) + "x" + std::to_string(GetCurrentProcessId());
  TWinHttpClient http(user, "geheim", 5000);
  TCalDav dav(http);
  TCalendarInfo made;
  ASSERT_TRUE(dav.MakeCalendar(server, "erinnerungen", "Erinnerungen", made)) << dav.Error();
  std::vector<TCalendarInfo> found;
  ASSERT_TRUE(dav.Discover(server, found)) << dav.Error();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Url, made.Url);

  const std::string event =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//DE\r\nBEGIN:VEVENT\r\nUID:w1\r\n"
      "DTSTAMP:20270101T000000Z\r\nDTSTART:20270115T103000\r\nSUMMARY:Aus Wine\r\n"
      "END:VEVENT\r\nEND:VCALENDAR\r\n";
  const TPutResult put = dav.Put(made.Url + "w1.ics", event, "");
  ASSERT_EQ(put.Outcome, TDavOutcome::Done) << put.Error;
  EXPECT_EQ(dav.Put(made.Url + "w1.ics", event, "").Outcome, TDavOutcome::Conflict);
  TEventList list;
  ASSERT_TRUE(dav.ListEvents(made.Url, true, list)) << dav.Error();
  ASSERT_EQ(list.Events.size(), 1u);
  EXPECT_EQ(list.Events[0].Href, made.Url + "w1.ics");
  EXPECT_NE(list.Events[0].CalendarData.find("SUMMARY:Aus Wine"), std::string::npos);
  EXPECT_EQ(dav.Delete(made.Url + "w1.ics", list.Events[0].ETag), TDavOutcome::Done);

  TWinHttpClient closed("x", "y", 2000);
  TCalDav nowhere(closed);
  EXPECT_FALSE(nowhere.Discover("http://127.0.0.1:9/", found));
  EXPECT_EQ(nowhere.Error().rfind("Der Server http://127.0.0.1:9 ist nicht erreichbar (", 0), 0u)
      << nowhere.Error();
}

}  // namespace
}  // namespace reminder
