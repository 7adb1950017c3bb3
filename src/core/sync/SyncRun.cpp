#include "core/sync/SyncRun.h"

#include <map>
#include <optional>
#include <unordered_map>

#include "core/ical/ReminderCalendar.h"
#include "core/store/ActionTarget.h"
#include "core/store/DataFileFormat.h"
#include "core/store/ReservedBlock.h"
#include "core/sync/SyncPlan.h"

namespace reminder {

namespace {

constexpr int kMaxRounds = 3;
constexpr size_t kFetchBatch = 100;
constexpr char kConflictSuffix[] = " (Konflikt)";
constexpr size_t kLabelLength = 60;
constexpr char kUnwrittenText[] =
    "Die Erinnerungen konnten nicht gespeichert werden; die nächste Synchronisation versucht "
    "es wieder.";

std::string Label(const TNotifyInfo& record) {
  std::string text = record.NotifyText.substr(0, kLabelLength);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return "\"" + text + (record.NotifyText.size() > kLabelLength ? "...\"" : "\"");
}

struct TFetched {
  std::optional<TNotifyInfo> Record;
  bool Exact = false;
};

// The event's reminder; none when the module cannot take it (not one event, no identity).
TFetched ReminderOf(const std::string& data, ILocalTime& localTime) {
  TImportResult result;
  std::string error;
  if (!ImportReminders(data, localTime, result, error) || result.EventCount != 1 ||
      result.Events.size() != 1) {
    return {};
  }
  TImportedEvent& event = result.Events[0];
  TNotifyInfo record = std::move(event.Record);
  if (!IdentityOf(record) && event.Uid && BlockContent(record)) SetIdentity(record, *event.Uid);
  if (!IdentityOf(record)) return {};
  return {std::move(record), event.Exact};
}

}  // namespace

bool TSyncRun::Run(TFileIO& store, const std::string& calendarUrl, TSyncState& state,
                   TSyncReport& report) {
  if (state.CalendarUrl != calendarUrl) state = TSyncState{calendarUrl, "", {}};
  for (int round = 0; round < kMaxRounds; ++round) {
    bool retry = false;
    if (!Round(store, calendarUrl, state, report, retry)) return false;
    if (!retry) return true;
  }
  report.Error =
      "Der Kalender wurde während der Synchronisation ständig geändert; die nächste "
      "Synchronisation versucht es wieder.";
  return false;
}

bool TSyncRun::Round(TFileIO& store, const std::string& calendarUrl, TSyncState& state,
                     TSyncReport& report, bool& retry) {
  TRandomIdentitySource ids;
  std::unordered_map<std::string, TNotifyInfo*> localById;
  std::vector<TLocalVersion> locals;
  bool identified = false;
  for (size_t i = 0; i < store.Count(); ++i) {
    TNotifyInfo& record = store.Item(i);
    // A record whose reserved bytes are another program's cannot take an identity and so
    // stays on this computer.
    const bool had = IdentityOf(record).has_value();
    if (!EnsureIdentity(record, ids)) continue;
    identified = identified || !had;
    const std::string id = IdentityOf(record)->Hex();
    if (!localById.emplace(id, &record).second) continue;
    locals.push_back({id, &record});
  }
  // New identities are kept before the server hears of them, so that the next sync finds
  // the same reminders under the same names.
  if (identified && !store.Save()) {
    report.Error = kUnwrittenText;
    return false;
  }

  // The calendar's events; the data only of those that changed since the state.
  TEventList listed;
  if (!dav_.ListEvents(calendarUrl, false, listed)) {
    report.Error = dav_.Error();
    return false;
  }
  std::map<std::string, std::string> idByHref;
  for (const auto& [id, item] : state.Items) idByHref[item.Href] = id;
  std::vector<TRemoteVersion> remotes;
  std::vector<std::string> toFetch;
  for (const TDavResource& event : listed.Events) {
    const auto known = idByHref.find(event.Href);
    if (known != idByHref.end() && state.Items[known->second].ETag == event.ETag) {
      remotes.push_back({known->second, event.Href, event.ETag, nullptr, false});
    } else {
      toFetch.push_back(event.Href);
    }
  }
  std::vector<TNotifyInfo> fetched;
  fetched.reserve(toFetch.size());
  std::vector<TRemoteVersion> fetchedVersions;
  for (size_t at = 0; at < toFetch.size(); at += kFetchBatch) {
    const std::vector<std::string> batch(
        toFetch.begin() + static_cast<std::ptrdiff_t>(at),
        toFetch.begin() + static_cast<std::ptrdiff_t>(std::min(at + kFetchBatch, toFetch.size())));
    TEventList data;
    if (!dav_.FetchEvents(calendarUrl, batch, data)) {
      report.Error = dav_.Error();
      return false;
    }
    for (TDavResource& event : data.Events) {
      TFetched reminder = ReminderOf(event.CalendarData, localTime_);
      if (!reminder.Record) {
        // Known by its address, or a place of its own: never matched with a reminder.
        const auto known = idByHref.find(event.Href);
        fetchedVersions.push_back({known != idByHref.end() ? known->second : "href " + event.Href,
                                   event.Href, event.ETag, nullptr, true});
        continue;
      }
      const std::string id = IdentityOf(*reminder.Record)->Hex();
      // Programs, documents and the session's end come only from the module's own events,
      // and only as this computer already had them, so a calendar cannot start them.
      const auto local = localById.find(id);
      if (StartsOrChangesSystem(reminder.Record->ActionKind) &&
          !(reminder.Exact && local != localById.end() &&
            local->second->ActionKind == reminder.Record->ActionKind &&
            local->second->ActionParam == reminder.Record->ActionParam)) {
        fetchedVersions.push_back({id, event.Href, event.ETag, nullptr, true});
        report.Lines.push_back("nicht übernommen (Aktion \"" +
                               std::string(ActionName(reminder.Record->ActionKind)) +
                               "\"): " + Label(*reminder.Record));
        continue;
      }
      fetched.push_back(std::move(*reminder.Record));
      fetchedVersions.push_back({id, event.Href, event.ETag, &fetched.back(), false});
    }
  }
  remotes.insert(remotes.end(), fetchedVersions.begin(), fetchedVersions.end());

  // The server's part, each on its condition.
  const std::vector<TSyncAction> plan = PlanSync(locals, remotes, state);
  std::vector<TNotifyInfo> added;
  std::vector<const TNotifyInfo*> deleted;
  std::vector<std::pair<TNotifyInfo*, TNotifyInfo>> replaced;
  std::map<std::string, TSyncItem> agreedAfterSave;
  std::vector<std::string> forgotten;
  auto put = [&](const std::string& href, const TNotifyInfo& record, const std::string& ifMatch,
                 const std::string& id) {
    const TPutResult result = dav_.Put(href, ExportReminders({&record}, utcNow_).Calendar, ifMatch);
    if (result.Outcome == TDavOutcome::Done) {
      state.Items[id] = AgreedItem(href, result.ETag, record);
    } else if (result.Outcome == TDavOutcome::Conflict) {
      retry = true;
    } else {
      report.Error = result.Error;
    }
    return result.Outcome == TDavOutcome::Done;
  };
  for (const TSyncAction& action : plan) {
    TNotifyInfo* local = action.Local ? localById[action.Id] : nullptr;
    switch (action.Step) {
      case TSyncStep::Upload:
      case TSyncStep::Update: {
        const std::string href =
            action.Href.empty() ? EventHref(calendarUrl, action.Id) : action.Href;
        if (put(href, *local, action.Step == TSyncStep::Update ? action.ETag : "", action.Id)) {
          ++report.Uploaded;
          report.Lines.push_back("hochgeladen: " + Label(*local));
        }
        break;
      }
      case TSyncStep::DeleteRemote: {
        const TDavOutcome outcome = dav_.Delete(action.Href, action.ETag);
        if (outcome == TDavOutcome::Done) {
          state.Items.erase(action.Id);
          ++report.DeletedThere;
          // The event was not fetched: it is named by its place.
          report.Lines.push_back("auf dem Server gelöscht: " +
                                 action.Href.substr(action.Href.rfind('/') + 1));
        } else if (outcome == TDavOutcome::Conflict) {
          retry = true;
        } else {
          report.Error = dav_.Error();
        }
        break;
      }
      case TSyncStep::MergeMarks: {
        // The server's copy keeps its ETag when it already holds the merged record.
        std::string etag = action.ETag;
        if (!(*action.Merged == *action.Remote)) {
          if (!put(action.Href, *action.Merged, action.ETag, action.Id)) break;
          etag = state.Items[action.Id].ETag;
        }
        replaced.emplace_back(local, *action.Merged);
        agreedAfterSave[action.Id] = AgreedItem(action.Href, etag, *action.Merged);
        break;
      }
      case TSyncStep::Conflict: {
        // The local version goes on as a reminder of its own, on both sides.
        TNotifyInfo copy = *local;
        copy.NotifyText += kConflictSuffix;
        std::optional<TBlockContent> content = BlockContent(copy);
        content->Identity = ids.NewIdentity();
        WriteBlock(copy, *content);
        const std::string copyId = content->Identity->Hex();
        if (put(EventHref(calendarUrl, copyId), copy, "", copyId)) {
          added.push_back(copy);
          replaced.emplace_back(local, *action.Remote);
          agreedAfterSave[action.Id] = AgreedItem(action.Href, action.ETag, *action.Remote);
          ++report.Conflicts;
          report.Lines.push_back("Konflikt: " + Label(*action.Remote) +
                                 " (die Fassung dieses Computers ist als " + Label(copy) +
                                 " erhalten)");
        }
        break;
      }
      case TSyncStep::Download:
        if (local) {
          replaced.emplace_back(local, *action.Remote);
        } else {
          added.push_back(*action.Remote);
        }
        agreedAfterSave[action.Id] = AgreedItem(action.Href, action.ETag, *action.Remote);
        ++report.Downloaded;
        report.Lines.push_back("geholt: " + Label(*action.Remote));
        break;
      case TSyncStep::DeleteLocal:
        deleted.push_back(local);
        forgotten.push_back(action.Id);
        ++report.DeletedHere;
        report.Lines.push_back("gelöscht: " + Label(*local));
        break;
      case TSyncStep::Agree:
        state.Items[action.Id] =
            AgreedItem(action.Href, action.ETag, local ? *local : *action.Remote);
        break;
      case TSyncStep::Forget:
        state.Items.erase(action.Id);
        break;
      case TSyncStep::Leave:
        ++report.Left;
        break;
    }
    if (!report.Error.empty()) return false;
  }

  // The data file's part, in one go through the store.
  if (replaced.empty() && added.empty() && deleted.empty()) return true;
  for (auto& [record, value] : replaced) *record = value;
  if (!deleted.empty()) store.DeleteAll(deleted);
  if (!added.empty()) {
    store.AddRecords(std::move(added));
  } else if (deleted.empty()) {
    store.Save();
  }
  if (store.SaveFailed()) {
    report.Error = kUnwrittenText;
    return false;
  }
  for (auto& [id, item] : agreedAfterSave) state.Items[id] = item;
  for (const std::string& id : forgotten) state.Items.erase(id);
  return true;
}

}  // namespace reminder
