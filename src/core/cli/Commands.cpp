#include "core/cli/Commands.h"

#include <istream>

#include "core/cli/TerminalText.h"
#include "core/store/DataFileFormat.h"
#include "core/ui/ListStatusText.h"
#include "core/ui/ReminderRows.h"

namespace reminder {

std::string TCtlContext::DataFile() const {
  const std::string* file = Args.Value("--file");
  return file ? *file : Env.DefaultDataFile;
}

std::string TCtlContext::Shown(const std::string& arg) const {
  return ShownArg(arg, Env.Charset);
}

int TCtlContext::Fail(const std::string& message, int code) const {
  Err << "reminderctl: " << ToTerminal(VisibleControls(message), Env.Charset) << '\n';
  return code;
}

void TCtlContext::Print(const std::string& line) const {
  Out << ToTerminal(line, Env.Charset) << '\n';
}

void TCtlContext::Report(const std::string& line) const {
  if (!Args.Has("--quiet")) Err << ToTerminal(VisibleControls(line), Env.Charset) << '\n';
}

void TCtlContext::Warn(const std::string& message) const {
  Fail(message);
}

int TStreamMsgBox::Show(const std::string& text, const std::string&, uint32_t, TMsgOwner) {
  context_.Fail(text);
  return 1;  // OK, the only button the store's messages have
}

bool ExplainUnreadDataFile(const TCtlContext& context, bool missingIsEmpty) {
  const std::string path = context.DataFile();
  if (context.Env.Files.WriteObstacle(path) == TWriteObstacle::Directory) {
    context.Fail("\"" + context.Shown(path) + "\" ist ein Verzeichnis, keine Datei.");
    return false;
  }
  if (context.Env.FileExists(path)) {
    context.Fail("Die Datei \"" + context.Shown(path) + "\" kann nicht gelesen werden.");
    return false;
  }
  if (missingIsEmpty) return true;
  context.Fail("Die Datei \"" + context.Shown(path) + "\" existiert nicht.");
  return false;
}

namespace {

// The start of what every command says about a damaged file.
std::string DamagedFileText(const TCtlContext& context) {
  return "Die Datei \"" + context.Shown(context.DataFile()) +
         "\" ist beschädigt: nicht alle Erinnerungen konnten gelesen werden";
}

}  // namespace

bool LoadDataFile(const TCtlContext& context, TFileIO& store, TCommandDataFile& file,
                  bool missingIsEmpty) {
  if (context.DataFile() == "-") {
    context.Fail(kStandardInputReadOnlyText);
    return false;
  }
  if (context.Env.Identities) store.SetIdentitySource(*context.Env.Identities);
  if (file.Writable() && !file.HoldLock(context.DataFile())) {
    context.Fail(LockFailureText(file.LastLockFailure(), context.Shown(context.DataFile())) +
                 "; nichts geändert.");
    return false;
  }
  store.Load();
  if (!file.ReadSucceeded()) return ExplainUnreadDataFile(context, missingIsEmpty);
  if (file.Writable() && store.LoadState() == TLoadState::Damaged && !context.Args.Has("--force")) {
    context.Fail(DamagedRefusalText(context, store.Damage()));
    return false;
  }
  return true;
}

std::string DamagedRefusalText(const TCtlContext& context, const TDamageCount& damage) {
  return DamagedFileText(context) + "; nichts geändert. " + DamageCountText(damage) +
         " Mit --force wird das Original daneben aufbewahrt und die Datei mit den lesbaren "
         "Erinnerungen neu geschrieben.";
}

bool ForEachStoredRecord(const TCtlContext& context,
                         const std::function<void(size_t number, TNotifyInfo& record)>& each,
                         bool missingIsEmpty) {
  return ForEachStoredRecord(
      context,
      [&each](TStoredRecord& record) {
        each(record.Number(), record.WithStrings());
        return true;
      },
      missingIsEmpty, true);
}

TNotifyInfo& TStoredRecord::WithStrings() {
  if (!withStrings_) DecodeRecordStrings(bytes_, record_);
  withStrings_ = true;
  return record_;
}

bool ForEachStoredRecord(const TCtlContext& context,
                         const std::function<bool(TStoredRecord& record)>& each,
                         bool missingIsEmpty, bool withStrings) {
  TNotifyInfo record;
  size_t number = 0;
  TRecordStreamDecoder decoder([&record]() -> TNotifyInfo& { return record; });
  decoder.SetStringsDeferred(!withStrings);
  // Each record is handed on as soon as it is complete, while its bytes are there.
  decoder.SetOnRecordBytes([&](std::string_view bytes) {
    TStoredRecord stored(++number, record, bytes, withStrings);
    if (!each(stored)) decoder.Stop();
  });
  const auto feed = [&decoder](std::string_view part) {
    decoder.Feed(part);
    return !decoder.Stopped();
  };
  if (context.DataFile() == "-") {
    if (!ReadStandardInput(context, [&feed](std::string_view part) { feed(part); })) {
      return false;
    }
  } else if (!context.Env.Files.ReadPieces(context.DataFile(), feed)) {
    return ExplainUnreadDataFile(context, missingIsEmpty);
  }
  decoder.Finish();
  if (!decoder.Exact()) context.Warn(DamagedFileText(context) + "; gezeigt ist, was lesbar war.");
  return true;
}

bool ReadStandardInput(const TCtlContext& context,
                       const std::function<void(std::string_view)>& piece) {
  if (!context.Env.In) {
    context.Fail("Keine Standardeingabe.");
    return false;
  }
  std::istream& in = *context.Env.In;
  std::string part(64 * 1024, '\0');
  while (in.read(part.data(), static_cast<std::streamsize>(part.size())) || in.gcount() > 0) {
    piece(std::string_view(part.data(), static_cast<size_t>(in.gcount())));
  }
  if (in.bad()) {
    context.Fail("Die Standardeingabe kann nicht gelesen werden.");
    return false;
  }
  return true;
}

bool CommitDataFile(const TCtlContext& context, const TFileIO& store, TCommandDataFile& file) {
  if (store.SaveFailed()) return false;
  if (file.Commit()) return true;
  context.Fail(kWriteErrorText);
  return false;
}

size_t WholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 9) return 0;
  size_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + static_cast<size_t>(c - '0');
  }
  return number;
}

int FailNoReminder(const TCtlContext& context, const std::string& arg, size_t count) {
  return context.Fail("Keine Erinnerung mit der Nummer \"" + context.Shown(arg) +
                      "\" (die Datei hat " + std::to_string(count) + ").");
}

bool MomentOfAt(const TCtlContext& context, TDateTime& moment) {
  const std::string* at = context.Args.Value("--at");
  if (!at) {
    moment = context.Env.Clock.Now();
    return true;
  }
  if (ParseMomentText(*at, context.Format, moment)) return true;
  context.Fail("Ungültiger Zeitpunkt: \"" + context.Shown(*at) +
               "\" (erwartet TT.MM.JJJJ hh:mm:ss oder JJJJ-MM-TTThh:mm:ss).");
  return false;
}

std::string Events(size_t count, bool dative) {
  return std::to_string(count) + (count == 1 ? " Termin" : dative ? " Terminen" : " Termine");
}

std::string ListLine(size_t number, TNotifyInfo& record, const TFormatSettings& fs) {
  std::string line;
  TListLines(fs).Make(line, number, record);
  return line;
}

void TListLines::Make(std::string& line, size_t number, const TNotifyInfo& record) const {
  // Built in the line's own memory, which the next record reuses.
  char digits[24];
  char* const end = digits + sizeof digits;
  char* first = end;
  *--first = '\t';
  do {
    *--first = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  line.assign(first, static_cast<size_t>(end - first));
  date_.Append(line, record.NotifyDate);
  line += '\t';
  AppendOneLine(line, record.NotifyText);
  line += '\t';
  line += ActionName(record.ActionKind);
  line += '\t';
  line += RepeatText(record);
  line += '\t';
  AppendListStatusText(line, record, statusDate_);
}

}  // namespace reminder
