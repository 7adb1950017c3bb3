// The CalDAV requests over libcurl against a real calendar server, which the test command
// starts on 127.0.0.1 and names in REMINDER_TEST_CALDAV_URL. Each test signs in as a user
// of its own, so that runs never see each other's calendars.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/sync/CalDav.h"
#include "sync/SyncSupport.h"
#include "tools/net/CurlHttpClient.h"

namespace reminder {
namespace {

std::string Event(const std::string& uid, const std::string& summary) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//DE\r\nBEGIN:VEVENT\r\nUID:" + uid +
         "\r\nDTSTAMP:20270101T000000Z\r\nDTSTART:20270115T103000\r\nSUMMARY:" + summary +
         "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

class CalDavServer : public ::testing::Test {
 protected:
  void SetUp() override {
    server = testing::TestServer();
    ASSERT_FALSE(server.empty()) << "no calendar server: scripts/test.sh starts one and sets "
                                    "REMINDER_TEST_CALDAV_URL";
    calendar = server + user + "/erinnerungen/";
  }

  const std::string user = "nutzer" + std::to_string(std::random_device()());
  std::string server;
  std::string calendar;
  TCurlHttpClient http{user, "geheim", 5000};
  TCalDav dav{http};
};

TEST_F(CalDavServer, DiscoveryFromTheServersAddressFindsTheCalendarMadeThere) {
  std::vector<TCalendarInfo> found;
  ASSERT_TRUE(dav.Discover(server, found)) << dav.Error();
  EXPECT_TRUE(found.empty());
  TCalendarInfo made;
  ASSERT_TRUE(dav.MakeCalendar(server, "erinnerungen", "Erinnerungen", made)) << dav.Error();
  EXPECT_EQ(made.Url, calendar);
  ASSERT_TRUE(dav.Discover(server, found)) << dav.Error();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Url, calendar);
  EXPECT_EQ(found[0].DisplayName, "Erinnerungen");
  // The calendar's own address is taken as it is.
  ASSERT_TRUE(dav.Discover(calendar.substr(0, calendar.size() - 1), found)) << dav.Error();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Url, calendar);
  EXPECT_FALSE(dav.MakeCalendar(server, "erinnerungen", "Erinnerungen", made));
  EXPECT_FALSE(dav.Discover("ftp://127.0.0.1/", found));
  EXPECT_EQ(dav.Error(),
            "\"ftp://127.0.0.1/\" ist keine Adresse, die mit http:// oder https:// "
            "beginnt.");
}

TEST_F(CalDavServer, WritesAreConditionalAndChangesAreReportedSinceAToken) {
  TCalendarInfo made;
  ASSERT_TRUE(dav.MakeCalendar(server, "erinnerungen", "Erinnerungen", made)) << dav.Error();
  TEventList list;
  ASSERT_TRUE(dav.ChangesSince(calendar, "", list)) << dav.Error();
  const std::string empty = list.SyncToken;
  EXPECT_FALSE(empty.empty());

  const std::string a = calendar + "a.ics";
  const std::string b = calendar + "b%20b.ics";
  const TPutResult first = dav.Put(a, Event("a", "Eins"), "");
  ASSERT_EQ(first.Outcome, TDavOutcome::Done) << first.Error;
  ASSERT_EQ(dav.Put(b, Event("b", "Zwei"), "").Outcome, TDavOutcome::Done);
  // Made already, or changed meanwhile: never overwritten.
  EXPECT_EQ(dav.Put(a, Event("a", "Anders"), "").Outcome, TDavOutcome::Conflict);
  std::string etagA = first.ETag;
  if (etagA.empty()) {
    ASSERT_TRUE(dav.ListEvents(calendar, false, list));
    for (const TDavResource& event : list.Events) {
      if (event.Href == a) etagA = event.ETag;
    }
  }
  const TPutResult second = dav.Put(a, Event("a", "Eins neu"), etagA);
  ASSERT_EQ(second.Outcome, TDavOutcome::Done) << second.Error;
  EXPECT_EQ(dav.Put(a, Event("a", "Veraltet"), etagA).Outcome, TDavOutcome::Conflict);
  EXPECT_EQ(dav.Delete(a, etagA), TDavOutcome::Conflict);

  ASSERT_TRUE(dav.ChangesSince(calendar, empty, list)) << dav.Error();
  EXPECT_EQ(list.Events.size(), 2u);
  const std::string afterPuts = list.SyncToken;
  ASSERT_TRUE(dav.ListEvents(calendar, true, list)) << dav.Error();
  ASSERT_EQ(list.Events.size(), 2u);
  std::string etagNow;
  for (const TDavResource& event : list.Events) {
    if (event.Href == a) etagNow = event.ETag;
    EXPECT_NE(event.CalendarData.find(event.Href == a ? "SUMMARY:Eins neu" : "SUMMARY:Zwei"),
              std::string::npos)
        << event.Href << "\n"
        << event.CalendarData;
  }
  EXPECT_EQ(dav.Delete(a, etagNow), TDavOutcome::Done);
  EXPECT_EQ(dav.Delete(a, etagNow), TDavOutcome::Done);  // gone already

  ASSERT_TRUE(dav.ChangesSince(calendar, afterPuts, list)) << dav.Error();
  ASSERT_EQ(list.Events.size(), 1u);
  EXPECT_EQ(list.Events[0].Href, a);
  EXPECT_EQ(list.Events[0].Status, 404);
  ASSERT_TRUE(dav.FetchEvents(calendar, {b}, list)) << dav.Error();
  ASSERT_EQ(list.Events.size(), 1u);
  EXPECT_NE(list.Events[0].CalendarData.find("UID:b"), std::string::npos);
  ASSERT_TRUE(dav.ChangesSince(calendar, "http://example.invalid/token/0", list));
  EXPECT_FALSE(list.TokenValid);
}

TEST_F(CalDavServer, AServerThatIsNotThereIsReportedInGerman) {
  TCurlHttpClient closed("x", "y", 2000);
  TCalDav nowhere(closed);
  std::vector<TCalendarInfo> found;
  EXPECT_FALSE(nowhere.Discover("http://127.0.0.1:9/", found));
  EXPECT_EQ(nowhere.Error().rfind("Der Server http://127.0.0.1:9 ist nicht erreichbar (", 0), 0u)
      << nowhere.Error();
}

}  // namespace
}  // namespace reminder
