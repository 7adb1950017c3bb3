#include <gtest/gtest.h>

#include <string>

#include "core/sync/Multistatus.h"
#include "core/sync/Url.h"

namespace reminder {
namespace {

TEST(CalDavReply, NamespacesCountNotPrefixesAndOnlyAnsweredPropertiesAreTaken) {
  // Another server's prefixes, a default namespace on an inner element, a property in a
  // foreign namespace under a known name, and a 404 propstat.
  const std::string xml =
      "<?xml version='1.0'?><x:multistatus xmlns:x='DAV:' xmlns:cal='urn:ietf:params:xml:ns:caldav'"
      " xmlns:cs='http://calendarserver.org/ns/'>"
      "<x:response><x:href> /dav/anna/ </x:href><x:propstat><x:prop>"
      "<x:resourcetype><x:collection/><cal:calendar/></x:resourcetype>"
      "<displayname xmlns='DAV:'>Privat</displayname><cs:getctag>42</cs:getctag>"
      "<cal:supported-calendar-component-set><cal:comp "
      "name='VTODO'/></cal:supported-calendar-component-set>"
      "<other:getetag xmlns:other='urn:other'>\"falsch\"</other:getetag>"
      "</x:prop><x:status>HTTP/1.1 200 OK</x:status></x:propstat>"
      "<x:propstat><x:prop><x:getetag>\"404\"</x:getetag></x:prop>"
      "<x:status>HTTP/1.1 404 Not Found</x:status></x:propstat></x:response>"
      "<x:response><x:href>/dav/anna/a.ics</x:href><x:status>HTTP/1.1 404 Not Found</x:status>"
      "</x:response><x:response><x:href>/dav/anna/b.ics</x:href><x:propstat><x:prop>"
      "<x:getetag>\"e1\"</x:getetag><cal:calendar-data><![CDATA[BEGIN:VCALENDAR\r\n]]>"
      "</cal:calendar-data></x:prop><x:status>HTTP/1.1 200 OK</x:status></x:propstat></x:response>"
      "<x:sync-token>tok-7</x:sync-token></x:multistatus>";
  TMultistatus reply;
  std::string error;
  ASSERT_TRUE(ParseMultistatus(xml, reply, error)) << error;
  ASSERT_EQ(reply.Resources.size(), 3u);
  const TDavResource& home = reply.Resources[0];
  EXPECT_EQ(home.Href, "/dav/anna/");
  EXPECT_TRUE(home.IsCollection && home.IsCalendar);
  EXPECT_FALSE(home.TakesEvents);
  EXPECT_EQ(home.DisplayName, "Privat");
  EXPECT_EQ(home.CTag, "42");
  EXPECT_EQ(home.ETag, "");
  EXPECT_EQ(reply.Resources[1].Status, 404);
  EXPECT_EQ(reply.Resources[2].ETag, "\"e1\"");
  // XML ends lines with LF alone, as every conforming reader gives them.
  EXPECT_EQ(reply.Resources[2].CalendarData, "BEGIN:VCALENDAR\n");
  EXPECT_EQ(reply.SyncToken, "tok-7");
}

TEST(CalDavReply, AReplyThatIsNoMultistatusIsRefusedWithAReason) {
  const std::string cut = "<d:multistatus xmlns:d='DAV:'><d:response><d:href>/a";
  std::string nested = "<d:multistatus xmlns:d='DAV:'>";
  for (int i = 0; i < 100000; ++i) nested += "<a>";
  for (const std::string& xml :
       {cut, std::string("<html><body>Anmeldung</body></html>"), nested, std::string()}) {
    TMultistatus reply;
    std::string error;
    EXPECT_FALSE(ParseMultistatus(xml, reply, error)) << xml.substr(0, 60);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(reply.Resources.empty());
  }
}

TEST(CalDavReply, AddressesResolveAsABrowserWould) {
  const std::string base = "https://Cal.example.org:8443/dav/anna/cal/?x=1";
  EXPECT_EQ(ResolveUrl(base, "/dav/bob/"), "https://Cal.example.org:8443/dav/bob/");
  EXPECT_EQ(ResolveUrl(base, "e%20v.ics"), "https://Cal.example.org:8443/dav/anna/cal/e%20v.ics");
  EXPECT_EQ(ResolveUrl(base, "HTTP://other/x"), "http://other/x");
  EXPECT_EQ(ResolveUrl(base, "//other/y"), "https://other/y");
  EXPECT_EQ(Origin("http://h:1/a/b"), "http://h:1");
  EXPECT_EQ(Origin("ftp://h/"), "");
  EXPECT_EQ(UnescapedPath("http://h/a%20b/%7e%2"), "/a b/~%2");
  TUrl url;
  EXPECT_FALSE(ParseUrl("https://user:pw@host/", url));
  EXPECT_FALSE(ParseUrl("https:///nohost", url));
  EXPECT_TRUE(ParseUrl("http://host", url));
  EXPECT_EQ(url.Path, "/");
}

}  // namespace
}  // namespace reminder
