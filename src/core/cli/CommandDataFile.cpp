#include "core/cli/CommandDataFile.h"

namespace reminder {

bool TCommandDataFile::HoldLock(const std::string& path) {
  hold_ = files_.LockForUpdate(path);
  return hold_ != nullptr;
}

bool TCommandDataFile::Read(const std::string& path, TFileBytes& bytes) {
  readSucceeded_ = files_.Read(path, bytes);
  return readSucceeded_;
}

bool TCommandDataFile::Replace(const std::string& path, std::string_view bytes) {
  return ReplaceInParts(path, OnePart(bytes));
}

bool TCommandDataFile::ReplaceInParts(const std::string& path, const TPartSource& nextPart) {
  // Every part is taken, so that the store's save runs whole, but kept only for a writer,
  // part by part: one string would need twice the file's size while it grows.
  if (writable_) {
    pending_ = true;
    path_ = path;
    parts_.clear();
  }
  for (std::string_view part = nextPart(); !part.empty(); part = nextPart()) {
    if (writable_) parts_.emplace_back(part);
  }
  return true;
}

bool TCommandDataFile::Commit() {
  if (!pending_) return true;
  pending_ = false;
  size_t next = 0;
  return files_.ReplaceInParts(path_, [this, &next]() -> std::string_view {
    return next < parts_.size() ? std::string_view(parts_[next++]) : std::string_view();
  });
}

}  // namespace reminder
