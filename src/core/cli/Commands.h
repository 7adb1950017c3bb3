// What the commands of reminderctl share: the context of one run, the data file's loading
// and writing with the tool's messages and the list line.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "core/cli/CommandDataFile.h"
#include "core/cli/CommandLine.h"
#include "core/cli/MomentText.h"
#include "core/cli/ReminderCtl.h"
#include "core/common/FormatDateTime.h"
#include "core/common/FormatSettings.h"
#include "core/host/WMsgBox.h"
#include "core/store/IOUnit.h"

namespace reminder {

struct TCtlContext {
  const TCtlEnvironment& Env;
  std::ostream& Out;
  std::ostream& Err;
  TCommandArgs Args;
  TFormatSettings Format = GermanFormatSettings();

  // --file, or the default beside the tool.
  std::string DataFile() const;
  // An argument, readable in a Windows-1252 message.
  std::string Shown(const std::string& arg) const;
  // "reminderctl: message" on the error stream; returns the exit code.
  int Fail(const std::string& message, int code = kExitFailure) const;
  // A line of data on the output stream.
  void Print(const std::string& line) const;
  // A line about what was done on the error stream, which keeps the output stream for data;
  // none with --quiet.
  void Report(const std::string& line) const;
  // "reminderctl: message" on the error stream, also with --quiet, for a command that goes on.
  void Warn(const std::string& message) const;
};

// The store's message box: one line on the error stream.
class TStreamMsgBox : public IMsgBox {
 public:
  explicit TStreamMsgBox(const TCtlContext& context) : context_(context) {}
  int Show(const std::string& text, const std::string& caption, uint32_t style,
           TMsgOwner owner) override;

 private:
  const TCtlContext& context_;
};

// After the data file could not be read: prints why and returns false, or returns true for
// a missing file where missingIsEmpty allows it.
bool ExplainUnreadDataFile(const TCtlContext& context, bool missingIsEmpty);
// Loads the store, for a writing command under the writers' lock. When the lock cannot be
// had or the file cannot be read, prints why and returns false; a missing file is an empty
// list where missingIsEmpty allows it. A writing command refuses a damaged file unless
// --force lets the store keep the original beside it and write the file anew, and refuses
// standard input, which cannot be written back.
bool LoadDataFile(const TCtlContext& context, TFileIO& store, TCommandDataFile& file,
                  bool missingIsEmpty);
// Why a writing command leaves a damaged data file alone without --force.
std::string DamagedRefusalText(const TCtlContext& context, const TDamageCount& damage);
// For the commands that only read: decodes the data file record by record as it is read,
// into one record reused for each, so that the file is never held whole; each is numbered
// as list numbers it. "--file -" reads it from standard input. False, after printing why,
// when the file cannot be read; a missing file holds no records where missingIsEmpty allows
// it. A damaged file is read as far as it goes, with a warning.
bool ForEachStoredRecord(const TCtlContext& context,
                         const std::function<void(size_t number, TNotifyInfo& record)>& each,
                         bool missingIsEmpty = false);
// One record as a reading command meets it: its fixed fields are decoded, its strings only
// when asked for, since most commands print few of the records they look at.
class TStoredRecord {
 public:
  TStoredRecord(size_t number, TNotifyInfo& record, std::string_view bytes, bool withStrings)
      : number_(number), record_(record), bytes_(bytes), withStrings_(withStrings) {}
  size_t Number() const { return number_; }
  // The record with its strings empty until WithStrings was called.
  TNotifyInfo& Fields() { return record_; }
  TNotifyInfo& WithStrings();

 private:
  size_t number_;
  TNotifyInfo& record_;
  std::string_view bytes_;
  bool withStrings_;
};
// The same, with the strings decoded on demand; each answers false once it needs no further
// records, and the file is read no further.
bool ForEachStoredRecord(const TCtlContext& context,
                         const std::function<bool(TStoredRecord& record)>& each,
                         bool missingIsEmpty, bool withStrings);
// Hands standard input to piece in parts; false, after printing why, when there is none or
// it cannot be read.
bool ReadStandardInput(const TCtlContext& context,
                       const std::function<void(std::string_view)>& piece);
// Writes what the store saved; false when the store's save was refused (it has said why)
// or the write failed (the store's write error is printed).
bool CommitDataFile(const TCtlContext& context, const TFileIO& store, TCommandDataFile& file);

constexpr char kWriteErrorText[] = "Beim Schreiben der Informationen trat ein Fehler auf!";
constexpr char kStandardInputReadOnlyText[] =
    "Die Datendatei aus der Standardeingabe lesen nur list, due ohne --write und export.";

// A whole number of at most nine digits, as list numbers the reminders; 0 for any other text.
size_t WholeNumber(const std::string& text);
// That the file's count reminders hold none numbered arg; returns the exit code.
int FailNoReminder(const TCtlContext& context, const std::string& arg, size_t count);
// The moment --at gives, or now without it; false, after saying why, for a text that is none.
bool MomentOfAt(const TCtlContext& context, TDateTime& moment);

// "1 Termin", "2 Termine"; the dative plural where a preposition asks for it.
std::string Events(size_t count, bool dative = false);

// Number, the four columns of the main window and the status text, tab-separated.
std::string ListLine(size_t number, TNotifyInfo& record, const TFormatSettings& fs);
// The same for many records, with the date format read once for all of them.
class TListLines {
 public:
  explicit TListLines(const TFormatSettings& fs) : date_("c", fs), statusDate_("c", fs, true) {}
  // Replaces line with the record's line.
  void Make(std::string& line, size_t number, const TNotifyInfo& record) const;

 private:
  TCompiledDateFormat date_;
  TCompiledDateFormat statusDate_;  // the last firing, which reminders fired together share
};

int RunList(TCtlContext& context);
int RunSync(TCtlContext& context);
int RunDue(TCtlContext& context);
int RunAdd(TCtlContext& context);
int RunDelete(TCtlContext& context);
int RunExport(TCtlContext& context);
int RunImport(TCtlContext& context);
int RunSnooze(TCtlContext& context);
int RunNext(TCtlContext& context);

}  // namespace reminder
