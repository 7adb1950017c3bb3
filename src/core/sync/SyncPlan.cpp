#include "core/sync/SyncPlan.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/store/DataFileFormat.h"
#include "core/store/ReservedBlock.h"

namespace reminder {

namespace {

std::optional<TDateTime> SnoozeIn(const TNotifyInfo& record) {
  const std::optional<TBlockContent> content = BlockContent(record);
  return content ? content->Snooze : std::nullopt;
}

TNotifyInfo WithoutMarks(TNotifyInfo record) {
  record.Notified = 0;
  record.LastNotified = 0;
  if (std::optional<TBlockContent> content = BlockContent(record)) {
    content->Snooze.reset();
    WriteBlock(record, *content);
  }
  return record;
}

// Whether side's marks are no older than other's: it has seen every firing other has.
bool MarksNotOlder(const TNotifyInfo& side, const TNotifyInfo& other) {
  return side.Notified >= other.Notified && side.LastNotified >= other.LastNotified;
}

}  // namespace

std::string EventHref(const std::string& calendarUrl, const std::string& id) {
  std::string href = calendarUrl;
  if (href.empty() || href.back() != '/') href.push_back('/');
  return href + id + ".ics";
}

bool DifferOnlyInMarks(const TNotifyInfo& a, const TNotifyInfo& b) {
  return WithoutMarks(a) == WithoutMarks(b);
}

TNotifyInfo WithLaterMarks(const TNotifyInfo& a, const TNotifyInfo& b) {
  TNotifyInfo merged = a;
  merged.Notified = std::max(a.Notified, b.Notified);
  merged.LastNotified = std::max(a.LastNotified, b.LastNotified);
  // A snooze stays when the side that set it has seen every firing of the other; of two
  // snoozes the later one stays.
  const std::optional<TDateTime> snoozeA = SnoozeIn(a);
  const std::optional<TDateTime> snoozeB = SnoozeIn(b);
  std::optional<TDateTime> snooze;
  if (snoozeA && snoozeB) {
    snooze = std::max(*snoozeA, *snoozeB);
  } else if (snoozeA && MarksNotOlder(a, b)) {
    snooze = snoozeA;
  } else if (snoozeB && MarksNotOlder(b, a)) {
    snooze = snoozeB;
  }
  if (std::optional<TBlockContent> content = BlockContent(merged)) {
    content->Snooze = snooze;
    WriteBlock(merged, *content);
  }
  return merged;
}

TSyncItem AgreedItem(const std::string& href, const std::string& etag, const TNotifyInfo& record) {
  return {href, etag, RecordHash(record), RecordHash(WithoutMarks(record))};
}

std::vector<TSyncAction> PlanSync(const std::vector<TLocalVersion>& locals,
                                  const std::vector<TRemoteVersion>& remotes,
                                  const TSyncState& state) {
  std::map<std::string, const TLocalVersion*> localById;
  for (const TLocalVersion& local : locals) localById.emplace(local.Id, &local);
  std::map<std::string, const TRemoteVersion*> remoteById;
  for (const TRemoteVersion& remote : remotes) remoteById.emplace(remote.Id, &remote);

  std::vector<std::string> order;
  std::set<std::string> seen;
  auto note = [&](const std::string& id) {
    if (seen.insert(id).second) order.push_back(id);
  };
  for (const TLocalVersion& local : locals) note(local.Id);
  for (const TRemoteVersion& remote : remotes) note(remote.Id);
  for (const auto& [id, item] : state.Items) note(id);

  std::vector<TSyncAction> plan;
  for (const std::string& id : order) {
    const auto localAt = localById.find(id);
    const auto remoteAt = remoteById.find(id);
    const auto baseAt = state.Items.find(id);
    const TLocalVersion* local = localAt == localById.end() ? nullptr : localAt->second;
    const TRemoteVersion* remote = remoteAt == remoteById.end() ? nullptr : remoteAt->second;
    const TSyncItem* base = baseAt == state.Items.end() ? nullptr : &baseAt->second;
    TSyncAction action{TSyncStep::Agree,
                       id,
                       "",
                       "",
                       local ? local->Record : nullptr,
                       remote ? remote->Record : nullptr,
                       std::nullopt};
    if (remote) {
      action.Href = remote->Href;
      action.ETag = remote->ETag;
    } else if (base) {
      action.Href = base->Href;
    }
    if (remote && remote->Unreadable) {
      action.Step = TSyncStep::Leave;
      plan.push_back(std::move(action));
      continue;
    }
    const bool localChanged = local && (!base || RecordHash(*local->Record) != base->Hash);
    const bool remoteChanged = remote && (!base || remote->ETag != base->ETag);
    if (local && remote) {
      if (!localChanged && !remoteChanged) continue;
      if (localChanged && !remoteChanged) {
        action.Step = TSyncStep::Update;
      } else if (!localChanged) {
        action.Step = RecordHash(*remote->Record) == RecordHash(*local->Record)
                          ? TSyncStep::Agree
                          : TSyncStep::Download;
      } else if (*remote->Record == *local->Record) {
        action.Step = TSyncStep::Agree;
      } else {
        // Which side changed more than the marks since they last agreed.
        const bool localContent =
            !base || RecordHash(WithoutMarks(*local->Record)) != base->MarklessHash;
        const bool remoteContent =
            !base || RecordHash(WithoutMarks(*remote->Record)) != base->MarklessHash;
        if (DifferOnlyInMarks(*local->Record, *remote->Record) || !remoteContent) {
          action.Step = TSyncStep::MergeMarks;
          action.Merged = WithLaterMarks(*local->Record, *remote->Record);
        } else if (!localContent) {
          action.Step = TSyncStep::MergeMarks;
          action.Merged = WithLaterMarks(*remote->Record, *local->Record);
        } else {
          action.Step = TSyncStep::Conflict;
        }
      }
    } else if (local) {
      if (base && !localChanged) {
        action.Step = TSyncStep::DeleteLocal;
      } else {
        // New here, or changed here while the server deleted it: a change beats a deletion.
        action.Step = TSyncStep::Upload;
        if (!base) action.Href.clear();
      }
    } else if (remote) {
      action.Step = base && !remoteChanged ? TSyncStep::DeleteRemote : TSyncStep::Download;
    } else {
      action.Step = TSyncStep::Forget;
    }
    plan.push_back(std::move(action));
  }
  return plan;
}

}  // namespace reminder
