// The module's own fields of a reminder as X- properties of its event, so that an export
// read back gives every field byte for byte, the firing marks and the reserved bytes (the
// identity among them) included. They are taken back only while the event's standard
// properties still say what the export wrote; an event changed in a calendar program is
// read from its standard properties.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/ical/Component.h"
#include "core/store/NotifyInfo.h"
#include "core/store/ReservedBlock.h"

namespace reminder {

constexpr char kUidDomain[] = "@reminderctl";

// The content lines (name with parameters, value) that carry the record's own fields.
std::vector<std::pair<std::string, std::string>> ModuleFieldLines(const TNotifyInfo& record);

// The record as the export wrote it, or none when the event has no such fields, one of
// them is damaged or the standard properties no longer agree with it.
std::optional<TNotifyInfo> ModuleRecord(const TComponent& event);

// A reminder's UID: its identity in hexadecimal. Another program's UID gives a reminder
// the identity of its hash, so that the same event always finds the same reminder.
std::string UidOf(const TIdentity& identity);
std::optional<TIdentity> IdentityOfUid(const std::string& uid);

}  // namespace reminder
