// Sync when the network or the server fails at any one request: nothing is lost, and the
// next sync completes. Each request of a sync in turn fails in three ways: the server is
// not reached, it answers 500, or it carries the request out but its answer is cut short;
// and in a fourth run the other computer syncs just before it, so that a write finds the
// event changed (412) and the sync plans anew.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/store/IOUnit.h"
#include "core/sync/SyncRun.h"
#include "sync/SyncSupport.h"
#include "tools/net/CurlHttpClient.h"

namespace reminder {
namespace {

using namespace reminder::testing;

enum class TFault { Unreachable, ServerError, CutAnswer, OtherSyncFirst };

// The real client, but for the request numbered failAt.
class TFaultyHttp : public IHttpClient {
 public:
  TFaultyHttp(IHttpClient& real, int failAt, TFault fault, std::function<void()> other)
      : real_(real), failAt_(failAt), fault_(fault), other_(std::move(other)) {}
  THttpResponse Send(const THttpRequest& request) override {
    if (++count_ != failAt_) {
      THttpResponse response = real_.Send(request);
      refused_ += response.Status == 412 ? 1 : 0;
      return response;
    }
    THttpResponse response;
    if (fault_ == TFault::OtherSyncFirst) {
      other_();
      response = real_.Send(request);
      refused_ += response.Status == 412 ? 1 : 0;
    } else if (fault_ == TFault::Unreachable) {
      response.Error = UnreachableText(request.Url, "getestet");
    } else if (fault_ == TFault::ServerError) {
      response.Status = 500;
    } else {
      response = real_.Send(request);
      response.Body.resize(response.Body.size() / 2);
    }
    return response;
  }
  int Count() const { return count_; }
  int Refused() const { return refused_; }

 private:
  IHttpClient& real_;
  int failAt_;
  TFault fault_;
  std::function<void()> other_;
  int count_ = 0;
  int refused_ = 0;
};

struct TSide {
  explicit TSide(const std::string& path) : store(path, files, box) { store.Load(); }
  TStdDataFile files;
  TQuietBox box;
  TFileIO store;
  TSyncState state;
};

std::set<std::string> Texts(const TFileIO& store) {
  std::set<std::string> texts;
  for (size_t i = 0; i < store.Count(); ++i) texts.insert(store.Item(i).NotifyText);
  return texts;
}

TNotifyInfo& Named(TFileIO& store, const std::string& text) {
  for (size_t i = 0; i < store.Count(); ++i) {
    if (store.Item(i).NotifyText == text) return store.Item(i);
  }
  throw std::runtime_error("no reminder " + text);
}

TNotifyInfo Reminder(const std::string& text) {
  TNotifyInfo record;
  record.NotifyKind = nkAtDate;
  record.NotifyDate = EncodeDate(2027, 5, 1) + EncodeTime(8, 0, 0, 0);
  record.ActionKind = akWarning;
  record.RepeatKind = rkDaily;
  record.NotifyText = text;
  return record;
}

TEST(SyncFaults, AFailureAtAnyRequestLosesNothingAndTheNextSyncCompletes) {
  const std::string server = TestServer();
  ASSERT_FALSE(server.empty()) << "scripts/test.sh starts a server";
  TUtc utc;
  const TDateTime now = EncodeDate(2027, 4, 1);
  int failedRuns = 0;
  int refused = 0;
  for (TFault fault :
       {TFault::Unreachable, TFault::ServerError, TFault::CutAnswer, TFault::OtherSyncFirst}) {
    for (int failAt = 1;; ++failAt) {
      const std::string user = "fehler" + std::to_string(std::random_device()());
      TCurlHttpClient real(user, "geheim", 5000);
      TCalDav dav(real);
      TCalendarInfo calendar;
      ASSERT_TRUE(dav.MakeCalendar(server, "e", "E", calendar)) << dav.Error();
      const std::filesystem::path dir = std::filesystem::temp_directory_path() / user;
      std::filesystem::create_directories(dir);
      TSide a((dir / "a.dat").string());
      TSide b((dir / "b.dat").string());
      auto sync = [&](TSide& side, IHttpClient& http) {
        TCalDav through(http);
        TSyncReport report;
        return TSyncRun(through, utc, now).Run(side.store, calendar.Url, side.state, report);
      };
      a.store.AddAll({Reminder("eins"), Reminder("zwei"), Reminder("drei"), Reminder("vier")});
      ASSERT_TRUE(sync(a, real));
      ASSERT_TRUE(sync(b, real));
      // Changes on both sides, one of them on the same reminder.
      Named(a.store, "eins").NotifyText = "eins (A)";
      a.store.Delete(&Named(a.store, "zwei"));
      a.store.AddAll({Reminder("fünf")});
      Named(a.store, "vier").LastNotified = now;
      a.store.Save();
      Named(b.store, "eins").NotifyText = "eins (B)";
      Named(b.store, "drei").NotifyText = "drei (B)";
      b.store.Save();
      ASSERT_TRUE(sync(b, real));
      // Not yet synced: meets A's firing of the same reminder.
      Named(b.store, "vier").NotifyText = "vier (B)";
      b.store.Save();

      TFaultyHttp faulty(real, failAt, fault, [&] { EXPECT_TRUE(sync(b, real)); });
      const bool done = sync(a, faulty);
      if (faulty.Count() < failAt) {
        EXPECT_TRUE(done);
        std::filesystem::remove_all(dir);
        break;  // every request of the sync has failed once
      }
      failedRuns += done ? 0 : 1;
      refused += faulty.Refused();
      EXPECT_TRUE(sync(a, real)) << "fault " << static_cast<int>(fault) << " at " << failAt;
      EXPECT_TRUE(sync(b, real));
      EXPECT_TRUE(sync(a, real));
      // B's change came first: A's own version of "eins" is kept beside it; A's firing of
      // "vier" joins B's change of it.
      const std::set<std::string> expected = {"eins (B)", "eins (A) (Konflikt)", "drei (B)",
                                              "vier (B)", "fünf"};
      EXPECT_EQ(Named(a.store, "vier (B)").LastNotified, now);
      EXPECT_EQ(Texts(a.store), expected)
          << "fault " << static_cast<int>(fault) << " at " << failAt;
      EXPECT_EQ(Texts(b.store), expected)
          << "fault " << static_cast<int>(fault) << " at " << failAt;
      std::filesystem::remove_all(dir);
    }
  }
  EXPECT_GT(failedRuns, 6);
  EXPECT_GT(refused, 0) << "no write met a changed event";
}

}  // namespace
}  // namespace reminder
