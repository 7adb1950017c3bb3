#include "core/cli/CommandLine.h"

namespace reminder {

const std::string* TCommandArgs::Value(const std::string& name) const {
  const auto it = Values.find(name);
  return it == Values.end() ? nullptr : &it->second;
}

bool ParseCommandArgs(const std::vector<std::string>& args, const std::vector<TOptionSpec>& specs,
                      const TShownArg& shown, TCommandArgs& result, std::string& error) {
  result = {};
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      result.Positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const TOptionSpec* spec = nullptr;
    for (const TOptionSpec& candidate : specs) {
      if (name == candidate.Name) spec = &candidate;
    }
    if (!spec) {
      error = "Unbekannte Option: \"" + shown(name) + "\".";
      return false;
    }
    if (result.Has(name)) {
      error = "Die Option " + name + " ist mehrfach angegeben.";
      return false;
    }
    std::string value;
    if (!spec->TakesValue) {
      if (equals != std::string::npos) {
        error = "Die Option " + name + " hat keinen Wert.";
        return false;
      }
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = "Die Option " + name + " braucht einen Wert.";
      return false;
    }
    result.Values[name] = value;
  }
  return true;
}

}  // namespace reminder
