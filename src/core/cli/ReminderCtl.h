// reminderctl: the reminder file from the command line. Lists, checks, adds and deletes
// reminders and moves them to and from iCalendar files, with the store, the due check,
// the texts and the editor's input rules of the module itself.
#pragma once

#include <functional>
#include <iosfwd>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/Clock.h"
#include "core/ical/LocalTime.h"
#include "core/store/DataFile.h"
#include "core/store/ReservedBlock.h"
#include "core/sync/HttpClient.h"
#include "core/ui/AddNotifyEventRules.h"

namespace reminder {

// How the terminal takes text: UTF-8 on Linux, Windows-1252 as it is in the Windows
// console build. Arguments arrive in the same encoding.
enum class TTerminalCharset { Utf8, Windows1252 };

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;     // a file, a date or another value is wrong
constexpr int kExitUsage = 2;       // unknown command or option, missing argument
constexpr int kExitNothingDue = 3;  // due found nothing due, so that scripts can test for it
constexpr int kExitSkipped = 4;     // import took the rest but skipped something

// The outside world of the tool; the entry point passes the real one, tests fakes.
struct TCtlEnvironment {
  IClock& Clock;
  // The data file and the calendar files.
  IDataFile& Files;
  ILocalTime& LocalTime;
  // For the editor's program and document checks, and to tell a missing data file from
  // an unreadable one.
  TFileExists FileExists;
  // The data file without --file.
  std::string DefaultDataFile;
  TTerminalCharset Charset = TTerminalCharset::Utf8;
  // Standard input, for "import -" and "--file -".
  std::istream* In = nullptr;
  // Called before bytes go to standard output as they are ("export -"), where the system
  // would otherwise change line ends.
  std::function<void()> BinaryOut = nullptr;
  // Where the identities of new reminders come from; the system's random numbers when
  // none is given.
  IIdentitySource* Identities = nullptr;
  // The HTTP client of sync, signed in as user; none in a build without one.
  std::function<std::unique_ptr<IHttpClient>(const std::string& user, const std::string& password)>
      Http = nullptr;
  // Whether only its owner may read the file (a password file); none where the system
  // tells no such thing.
  std::function<bool(const std::string& path)> IsPrivateFile = nullptr;
  // An environment variable's value, or none.
  std::function<std::optional<std::string>(const char* name)> Variable = nullptr;
};

// args without the program name. Errors are one German line on err; the exit code says
// whether the command did its work.
int RunReminderCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const TCtlEnvironment& env);

}  // namespace reminder
