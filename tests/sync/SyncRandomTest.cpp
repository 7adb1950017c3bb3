// Two computers' data files and one calendar server: random adds, changes, deletions,
// firings and snoozes on either file, synced in random order. After a last round of syncs
// both files and the server hold the same reminders, and no change was lost: every text
// that was written is still there (as a reminder's text or as its " (Konflikt)" copy)
// unless a later change or deletion was made by someone who had seen it. The seed is
// printed; REMINDER_SYNC_SEED replays a run, REMINDER_SYNC_STEPS makes it longer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>

#include "core/ical/ReminderCalendar.h"
#include "core/store/DataFileFormat.h"
#include "core/store/IOUnit.h"
#include "core/store/Snooze.h"
#include "core/sync/SyncRun.h"
#include "sync/SyncSupport.h"
#include "tools/net/CurlHttpClient.h"

namespace reminder {
namespace {

using namespace reminder::testing;

unsigned EnvNumber(const char* name, unsigned fallback) {
  const char* value = std::getenv(name);
  return value && *value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : fallback;
}

std::string Stripped(std::string text) {
  const std::string suffix = " (Konflikt)";
  while (text.size() > suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0) {
    text.resize(text.size() - suffix.size());
  }
  return text;
}

// One computer: its data file, its sync state and what its user has seen of each text.
struct TComputer {
  TComputer(const std::string& path) : store(path, files, box) { store.Load(); }
  TStdDataFile files;
  TQuietBox box;
  TFileIO store;
  TSyncState state;
  std::map<std::string, std::string> seen;  // text -> identity it had
};

std::map<std::string, std::string> Contents(const TFileIO& store) {
  std::map<std::string, std::string> byId;
  for (size_t i = 0; i < store.Count(); ++i) {
    std::string bytes;
    EncodeRecord(bytes, store.Item(i));
    byId[IdentityOf(store.Item(i))->Hex()] = bytes;
  }
  return byId;
}

TEST(SyncRandom, TwoComputersAndTheServerAgreeAndNothingIsLost) {
  const std::string server = TestServer();
  ASSERT_FALSE(server.empty()) << "scripts/test.sh starts a server";
  const unsigned seed = EnvNumber("REMINDER_SYNC_SEED", std::random_device()());
  const unsigned steps = EnvNumber("REMINDER_SYNC_STEPS", 150);
  std::printf("REMINDER_SYNC_SEED=%u\n", seed);
  std::mt19937 random(seed);
  const std::string user =
      "zufall" + std::to_string(seed) + "-" + std::to_string(std::random_device()());
  TCurlHttpClient http(user, "geheim", 5000);
  TCalDav dav(http);
  TCalendarInfo calendar;
  ASSERT_TRUE(dav.MakeCalendar(server, "erinnerungen", "Erinnerungen", calendar)) << dav.Error();

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("sync-random-" + std::to_string(seed));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  TComputer a((dir / "a.dat").string());
  TComputer b((dir / "b.dat").string());
  TComputer* computers[] = {&a, &b};
  std::map<std::string, std::string> serverSeen;
  std::set<std::string> written;
  std::set<std::string> superseded;
  TUtc utc;
  const TDateTime now = EncodeDate(2027, 3, 1) + EncodeTime(9, 0, 0, 0);

  auto sync = [&](TComputer& computer) {
    for (const auto& entry : computer.seen) serverSeen.insert(entry);
    TSyncRun run(dav, utc, now);
    TSyncReport report;
    const bool done = run.Run(computer.store, calendar.Url, computer.state, report);
    EXPECT_TRUE(done) << report.Error;
    for (const auto& entry : serverSeen) computer.seen.insert(entry);
    for (size_t i = 0; i < computer.store.Count(); ++i) {
      computer.seen[computer.store.Item(i).NotifyText] = IdentityOf(computer.store.Item(i))->Hex();
    }
  };
  // What the user of that computer replaces: every text they saw under that identity.
  auto supersede = [&](TComputer& computer, const TNotifyInfo& record) {
    const std::optional<TIdentity> id = IdentityOf(record);
    for (const auto& [text, identity] : computer.seen) {
      if (id && identity == id->Hex()) superseded.insert(Stripped(text));
    }
    superseded.insert(Stripped(record.NotifyText));
  };

  for (unsigned step = 0; step < steps; ++step) {
    TComputer& computer = *computers[random() % 2];
    TFileIO& store = computer.store;
    const std::string text = "Text " + std::to_string(step);
    const unsigned op = random() % 10;
    if (op < 3 || store.Count() == 0) {
      if (op < 2 && store.Count() != 0) {
        sync(computer);
        continue;
      }
      TNotifyInfo values;
      values.NotifyKind = nkAtDate;
      values.NotifyDate = now + static_cast<int>(random() % 30);
      values.RepeatKind = static_cast<uint8_t>(rkOnce + random() % 5);
      values.ActionKind = akWarning;
      values.NotifyText = text;
      const TNotifyInfo* added = store.Add(values);
      written.insert(text);
      computer.seen[text] = IdentityOf(*added)->Hex();
      continue;
    }
    TNotifyInfo& record = store.Item(random() % store.Count());
    switch (op) {
      case 3:
      case 4: {
        supersede(computer, record);
        TNotifyInfo values = record;
        values.NotifyText = text;
        values.DaysBefore = static_cast<int32_t>(random() % 5);
        record = ChangedCopy(record, values);
        store.Save();
        written.insert(text);
        computer.seen[text] = IdentityOf(record)->Hex();
        break;
      }
      case 5:
        supersede(computer, record);
        store.Delete(&record);
        break;
      case 6:
      case 7:
        record.LastNotified = now + step / 1000.0;
        if (record.RepeatKind == rkOnce) record.Notified = 1;
        store.Save();
        break;
      default:
        SetSnooze(record, now + step / 100.0);
        store.Save();
        break;
    }
  }
  sync(a);
  sync(b);
  sync(a);

  const std::map<std::string, std::string> inA = Contents(a.store);
  EXPECT_EQ(inA, Contents(b.store));
  TEventList events;
  ASSERT_TRUE(dav.ListEvents(calendar.Url, true, events)) << dav.Error();
  std::map<std::string, std::string> onServer;
  for (const TDavResource& event : events.Events) {
    TImportResult imported;
    std::string error;
    ASSERT_TRUE(ImportReminders(event.CalendarData, utc, imported, error)) << error;
    ASSERT_EQ(imported.Events.size(), 1u);
    std::string bytes;
    EncodeRecord(bytes, imported.Events[0].Record);
    onServer[IdentityOf(imported.Events[0].Record)->Hex()] = bytes;
  }
  EXPECT_EQ(inA, onServer);

  std::set<std::string> present;
  for (size_t i = 0; i < a.store.Count(); ++i) present.insert(Stripped(a.store.Item(i).NotifyText));
  for (const std::string& text : written) {
    if (superseded.count(text) == 0) {
      EXPECT_EQ(present.count(text), 1u) << "lost: " << text << " (seed " << seed << ")";
    }
  }
  for (const std::string& text : present) {
    EXPECT_EQ(written.count(text), 1u) << "never written: " << text;
  }
  EXPECT_TRUE(a.box.shown.empty() && b.box.shown.empty());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace reminder
