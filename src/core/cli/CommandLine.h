// The options of a command line: "--name value", "--name=value" and flags, in any order
// among the other arguments; "--" ends the options.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace reminder {

struct TOptionSpec {
  const char* Name;  // with the leading "--"
  bool TakesValue;
};

struct TCommandArgs {
  std::map<std::string, std::string> Values;  // options with a value, and flags with ""
  std::vector<std::string> Positional;

  bool Has(const std::string& name) const { return Values.count(name) != 0; }
  const std::string* Value(const std::string& name) const;
};

// Turns an argument into Windows-1252 for a message.
using TShownArg = std::function<std::string(const std::string&)>;

// False, with a German message (Windows-1252) in error, for an unknown or repeated option
// or a missing value.
bool ParseCommandArgs(const std::vector<std::string>& args, const std::vector<TOptionSpec>& specs,
                      const TShownArg& shown, TCommandArgs& result, std::string& error);

}  // namespace reminder
