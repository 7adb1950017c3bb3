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
  if (!writable_) return true;
  pending_ = true;
  path_ = path;
  bytes_.assign(bytes.data(), bytes.size());
  return true;
}

bool TCommandDataFile::Commit() {
  if (!pending_) return true;
  pending_ = false;
  return files_.Replace(path_, bytes_);
}

}  // namespace reminder
