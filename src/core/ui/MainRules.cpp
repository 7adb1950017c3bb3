#include "core/ui/MainRules.h"

#include "core/common/FormatDateTime.h"
#include "core/settings/RegIniRules.h"
#include "core/store/ActionTarget.h"
#include "core/ui/ListStatusText.h"

namespace reminder {

std::optional<std::string> SelectionStatusText(const TNotifyInfo* firstSelected,
                                               const TFormatSettings& fs) {
  if (firstSelected == nullptr) return std::nullopt;
  const std::string target = ActionTargetText(*firstSelected);
  const std::string status = ListStatusText(*firstSelected, fs);
  return target.empty() ? status : status + " \x96 " + target;
}

TTrayMenuState TrayMenuState(bool windowVisible) {
  TTrayMenuState state;
  state.Restore = !windowVisible;
  state.Minimize = windowVisible;
  return state;
}

TSysCommandAction SysCommandAction(unsigned command) {
  switch (command & 0xFFF0u) {
    case kScClose:
    case kScMinimize:
      return TSysCommandAction::HideToTray;
    case kScRestore:
      return TSysCommandAction::Restore;
    default:
      return TSysCommandAction::Default;
  }
}

bool AnimateIconSetting(bool stored, int32_t errorCode) {
  return errorCode != kRegIniOk ? true : stored;
}

int32_t RefreshIntervalSetting(int32_t stored, int32_t errorCode) {
  // Below a second the check timer would fire without pause.
  if (errorCode != kRegIniOk || stored < 1) return kDefaultRefreshInterval;
  return stored;
}

TSortStep ColumnSortStep(int toggle, int column) {
  if (column < 0 || column > 3) column = 0;
  TSortStep step;
  if (toggle == 0) {
    step.Code = column + 10;
    step.NextToggle = 1;
  } else {
    step.Code = column + 20;
    step.NextToggle = 0;
  }
  return step;
}

bool SortsDescending(int code) {
  return code < 20;
}

std::string FiredBalloonTitle(const TNotifyInfo& record) {
  return std::string("Erinnerung: ") + ActionName(record.ActionKind);
}

}  // namespace reminder
