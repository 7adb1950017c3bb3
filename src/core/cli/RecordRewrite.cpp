#include "core/cli/RecordRewrite.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/store/DataFileFormat.h"
#include "core/store/ReservedBlock.h"

namespace reminder {

namespace {

// Large enough for the largest record, small enough to stay in the processor's cache.
constexpr size_t kPartSize = 256 * 1024;
static_assert(kPartSize >= kRecordFixedSize + 2 * 0xFFFF, "a part holds any record");

// Gathers whole records into parts of the new file.
class TPartBuffer {
 public:
  explicit TPartBuffer(const TPartWrite& write) : write_(write), part_(new char[kPartSize]) {}

  void Append(std::string_view bytes) {
    if (kPartSize - used_ < bytes.size()) Flush();
    std::memcpy(part_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }

  void Append(const TNotifyInfo& record) {
    const size_t size = EncodedSize(record);
    if (kPartSize - used_ < size) Flush();
    EncodeRecordTo(part_.get() + used_, record);
    used_ += size;
  }

  void Flush() {
    if (used_ > 0) write_(std::string_view(part_.get(), used_));
    used_ = 0;
  }

 private:
  const TPartWrite& write_;
  std::unique_ptr<char[]> part_;
  size_t used_ = 0;
};

class TRewriter {
 public:
  TRewriter(const TCtlContext& context, TRecordRewrite& rewrite, bool missingIsEmpty)
      : context_(context),
        files_(context.Env.Files),
        path_(context.DataFile()),
        rewrite_(rewrite),
        missingIsEmpty_(missingIsEmpty),
        ids_(context.Env.Identities ? *context.Env.Identities : randomIds_) {}

  bool Run() {
    if (path_ == "-") {
      context_.Fail(kStandardInputReadOnlyText);
      return false;
    }
    const std::unique_ptr<IFileLockHold> hold = files_.LockForUpdate(path_);
    if (!hold) {
      context_.Fail(LockFailureText(files_.LastLockFailure(), context_.Shown(path_)) +
                    "; nichts geändert.");
      return false;
    }
    for (TNotifyInfo& record : rewrite_.Appended) EnsureIdentity(record, ids_);
    stamped_ = files_.Stamp(path_, stamp_);
    // Where the file cannot be written, it is still read for what the command says first.
    if (const std::optional<std::string> obstacle =
            WriteObstacleText(files_.WriteObstacle(path_), path_)) {
      if (Pass([](std::string_view) {}) && Acceptable()) context_.Fail(*obstacle);
      return false;
    }
    bool started = false;
    bool made = false;
    const bool replaced = files_.ReplaceFrom(path_, [&](const TPartWrite& write) {
      started = true;
      made = Pass(write) && Acceptable() && ReadyToReplace();
      return made;
    });
    // Also where not even the temporary file could be made.
    if (!started || (made && !replaced)) context_.Fail(kWriteErrorText);
    return made && replaced;
  }

 private:
  // Reads the old file and writes the new one; false, after saying why, when the file could
  // not be read, also partly.
  bool Pass(const TPartWrite& write) {
    TPartBuffer out(write);
    TNotifyInfo record;
    TRecordStreamDecoder decoder([&record]() -> TNotifyInfo& { return record; });
    decoder.SetStringsDeferred(true);
    decoder.SetOnRecordBytes([&](std::string_view bytes) {
      TStoredRecord stored(++count_, record, bytes, false);
      const TRecordFate fate = rewrite_.Each ? rewrite_.Each(stored) : TRecordFate::Keep;
      if (fate == TRecordFate::Drop) return;
      const std::array<uint8_t, kReservedBlockSize> block = record.ReservedBlock;
      EnsureIdentity(record, ids_);
      // Bytes that decoded exactly are what the store would encode again.
      if (fate == TRecordFate::Keep && decoder.Exact() && record.ReservedBlock == block) {
        out.Append(bytes);
      } else {
        out.Append(stored.WithStrings());
      }
    });
    size_t fed = 0;
    const bool read = files_.ReadPieces(path_, [&](std::string_view part) {
      fed += part.size();
      decoder.Feed(part);
      return true;
    });
    if (!read) {
      // Nothing of a file that failed halfway is written, as for one that cannot be read.
      if (fed > 0) {
        context_.Fail("Die Datei \"" + context_.Shown(path_) + "\" kann nicht gelesen werden.");
        return false;
      }
      if (!ExplainUnreadDataFile(context_, missingIsEmpty_)) return false;
    } else {
      decoder.Finish();
    }
    damaged_ = !decoder.Exact();
    damage_ = {decoder.Decoded(), decoder.Lost()};
    for (const TNotifyInfo& appended : rewrite_.Appended) out.Append(appended);
    out.Flush();
    return true;
  }

  // What the command asks of the file as read, in the order the commands have always said it.
  bool Acceptable() {
    if (damaged_ && !context_.Args.Has("--force")) {
      context_.Fail(DamagedRefusalText(context_, damage_));
      return false;
    }
    return !rewrite_.Check || rewrite_.Check(count_);
  }

  // Never saves over what was not read; a damaged original is kept first.
  bool ReadyToReplace() {
    TFileStamp now;
    const bool stampedNow = files_.Stamp(path_, now);
    const bool changed = stamped_ ? !stampedNow || !(now == stamp_) : stampedNow;
    if (changed) {
      context_.Fail("Die Datei \"" + context_.Shown(path_) +
                    "\" wurde beim Lesen von einem anderen Programm geändert; nichts geändert.");
      return false;
    }
    if (!damaged_) return true;
    std::string message;
    const bool kept = KeepDamagedCopy(files_, path_, damage_, message);
    context_.Fail(message);
    return kept;
  }

  const TCtlContext& context_;
  IDataFile& files_;
  const std::string path_;
  TRecordRewrite& rewrite_;
  bool missingIsEmpty_;
  TRandomIdentitySource randomIds_;
  IIdentitySource& ids_;
  TFileStamp stamp_;
  bool stamped_ = false;
  size_t count_ = 0;
  bool damaged_ = false;
  TDamageCount damage_;
};

}  // namespace

bool RewriteDataFile(const TCtlContext& context, TRecordRewrite& rewrite, bool missingIsEmpty) {
  return TRewriter(context, rewrite, missingIsEmpty).Run();
}

}  // namespace reminder
